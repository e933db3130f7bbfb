#include "tools/PackageToolSupport.h"

#include "World.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>

#include <cstdio>

namespace ToolSupport {

QString hostPath(const World &world, const QString &argument)
{
    const QString absolute = QDir::cleanPath(QFileInfo(argument).absoluteFilePath());
    const QString root = world.root();
    if (absolute == root || absolute.startsWith(root + u'/'))
        return absolute;
    // The world may also be reached through a symbolic link on the way to it.
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    if (!canonicalRoot.isEmpty() && canonicalRoot != root) {
        if (absolute == canonicalRoot)
            return root;
        if (absolute.startsWith(canonicalRoot + u'/'))
            return root + absolute.mid(canonicalRoot.size());
    }
    return world.hostPath(absolute);
}

QString macPath(const World &world, const QString &argument)
{
    return world.macPath(hostPath(world, argument));
}

QString echoedPath(const QString &argument)
{
    return QDir::cleanPath(QFileInfo(argument).absoluteFilePath());
}

void pause(int milliseconds)
{
    bool ok = false;
    double factor = qEnvironmentVariable(speedVariable).toDouble(&ok);
    if (!ok || factor < 0)
        factor = 1;
    const auto scaled = static_cast<unsigned long>(milliseconds * factor);
    if (scaled > 0)
        QThread::msleep(scaled);
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void writeErr(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

namespace {

void appendLine(const World &world, const QString &logName, const QJsonDocument &line)
{
    QDir().mkpath(world.stateFolder());
    QFile file(world.stateFolder() + u'/' + logName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    // One write per line, so tools running side by side do not interleave.
    file.write(line.toJson(QJsonDocument::Compact) + '\n');
}

} // namespace

void logArguments(const World &world, const QString &logName, const QStringList &argv)
{
    appendLine(world, logName, QJsonDocument(QJsonArray::fromStringList(argv)));
}

void logEntry(const World &world, const QString &logName, const QJsonObject &entry)
{
    appendLine(world, logName, QJsonDocument(entry));
}

bool makeSparseFile(const QString &path, qint64 size, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace ToolSupport
