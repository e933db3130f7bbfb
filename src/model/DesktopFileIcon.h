#pragma once

#include <QIcon>
#include <QString>

// The icon the desktop shows for the file or folder at `path`. Safe to call on any thread: the
// desktop is only asked when the icon is first drawn, which happens on the interface thread.
QIcon desktopIconForFile(const QString &path);
