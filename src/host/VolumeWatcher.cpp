#include "host/VolumeWatcher.h"

#include "host/Host.h"

#include <QFileInfo>

VolumeWatcher::VolumeWatcher(const Host &host, Timing::Duration settling, QObject *parent)
    : QObject(parent), m_volumesFolder(host.volumesFolder()), m_layoutFile(host.diskLayoutFile())
{
    m_settling.setSingleShot(true);
    m_settling.setInterval(settling);
    connect(&m_settling, &QTimer::timeout, this, &VolumeWatcher::volumesChanged);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &VolumeWatcher::folderChanged);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &VolumeWatcher::layoutFileChanged);

    if (QFileInfo(m_volumesFolder).isDir())
        m_watcher.addPath(m_volumesFolder);
    if (m_layoutFile) {
        // The folder tells of a layout file made where there was none.
        const QString layoutFolder = QFileInfo(*m_layoutFile).path();
        if (QFileInfo(layoutFolder).isDir())
            m_watcher.addPath(layoutFolder);
        watchLayoutFile();
    }
}

void VolumeWatcher::folderChanged(const QString &folder)
{
    if (folder == m_volumesFolder) {
        m_settling.start();
        return;
    }
    // Every file written beside the layout changes the layout's folder; only a layout file made
    // where there was none is news.
    if (!m_watcher.files().contains(*m_layoutFile) && watchLayoutFile())
        m_settling.start();
}

void VolumeWatcher::layoutFileChanged()
{
    // A layout replaced by renaming a new file over it leaves the watch on the old file, or
    // drops it from the watch: the file now at the path is watched instead.
    watchLayoutFile();
    m_settling.start();
}

bool VolumeWatcher::watchLayoutFile()
{
    m_watcher.removePath(*m_layoutFile);
    return QFileInfo::exists(*m_layoutFile) && m_watcher.addPath(*m_layoutFile);
}
