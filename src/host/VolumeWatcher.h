#pragma once

#include "model/Timing.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <optional>

class Host;

// Tells when the host's volumes may have changed: an entry of the volumes folder made, removed or
// renamed, as volumes are mounted, unmounted and renamed, and on a stand-in Mac its disk layout
// rewritten. A burst of changes is told once, when nothing has changed for the settling time.
//
// DiskArbitration would also tell of disks that mount nothing, but only mounted volumes can be
// offered, and each of those has its entry in the volumes folder.
class VolumeWatcher : public QObject {
    Q_OBJECT

public:
    VolumeWatcher(const Host &host, Timing::Duration settling, QObject *parent = nullptr);

signals:
    void volumesChanged();

private:
    void folderChanged(const QString &folder);
    void layoutFileChanged();
    // Watches the layout file now at its path, if there is one there.
    bool watchLayoutFile();

    QFileSystemWatcher m_watcher;
    QTimer m_settling;
    QString m_volumesFolder;
    std::optional<QString> m_layoutFile;
};
