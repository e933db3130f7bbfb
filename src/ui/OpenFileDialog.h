#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class QWidget;

// What to ask for in an open dialog for one file.
struct OpenFileRequest {
    QString title;
    // Shown above the file list.
    QString message;
    QString startFolder;
    // Such as "Applications (*.app)".
    QString nameFilter;
};

// The toolkit's modal open dialog for one file; nothing when the user cancels. On macOS the
// desktop's own panel treats application bundles as files; elsewhere a bundle is a folder, so
// the dialog takes a folder whose name matches the filter ("Install macOS Sonoma.app") as a
// chosen file instead of opening it.
std::optional<QUrl> chooseOneFile(const OpenFileRequest &request, QWidget *parent);
