#pragma once

#include <QString>

// Trees of files as the tools copy, move and weigh them. An installer is mostly one sparse
// payload of many gigabytes, so copies keep holes as holes: copying one takes a moment and next
// to no space.
namespace FileTree {

// Copies the folder, file or link at `source` to `target`, which must not exist yet: folders with
// all they hold; regular files byte for byte, only their data written, at the same size; links as
// links to the same target text, never followed; each with its permissions. Anything else (a
// socket, a device) is refused. On failure what was copied so far stays.
bool copy(const QString &source, const QString &target, QString *error);

// Moves what `folder` holds into `into`, made when missing, replacing entries of the same name.
// Entries are renamed, so both must lie on one file system.
bool moveEntries(const QString &folder, const QString &into, QString *error);

// Every file's apparent size, links not followed, so a sparse payload counts in full.
qint64 apparentSize(const QString &folder);

} // namespace FileTree
