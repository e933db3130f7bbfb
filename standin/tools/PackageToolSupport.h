#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

class World;

// What the tools have in common: paths the caller may give either way, the pace of their
// progress, and the logs tests read.
namespace ToolSupport {

// Multiplies every pause the tools make: unset means 1, "0" means no pauses at all (for tests),
// "0.1" a tenth of the usual time.
inline constexpr char speedVariable[] = "TESSALINE_STANDIN_SPEED";

// `argument` as a file in the world. The program hands host paths into the world, a user Mac
// paths; a path that is not inside the world is taken as a Mac path, a relative one as relative
// to the working folder.
QString hostPath(const World &world, const QString &argument);
// The same file as the stand-in Mac names it ("/Volumes/NAME").
QString macPath(const World &world, const QString &argument);
// `argument` made absolute but otherwise as given, as the real tools echo paths back.
QString echoedPath(const QString &argument);

// Waits `milliseconds` scaled by the speed variable.
void pause(int milliseconds);

void writeOut(const QByteArray &bytes);
void writeErr(const QByteArray &bytes);

// Appends `argv` as one JSON array line to var/standin/LOGNAME.
void logArguments(const World &world, const QString &logName, const QStringList &argv);
// Appends `entry` as one JSON line to var/standin/LOGNAME.
void logEntry(const World &world, const QString &logName, const QJsonObject &entry);

// A file that reports `size` bytes but takes no space.
bool makeSparseFile(const QString &path, qint64 size, QString *error);

} // namespace ToolSupport
