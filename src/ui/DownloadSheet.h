#pragma once

#include "model/FullInstallerList.h"

#include <QDialog>

class AppState;
class ProgressSpinner;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

// "Download an Installer…": what Apple offers this Mac, newest first and grouped by major
// version, with what is already in Applications marked and what the Mac's management defers
// greyed. The listing runs in the background behind a spinner; a failed one says why and offers
// Retry, and a Mac that cannot list installers is offered a package instead. Download starts the
// job and closes the sheet: the job shows in the window like any other.
class DownloadSheet : public QDialog {
    Q_OBJECT

public:
    DownloadSheet(AppState &state, QWidget *parent = nullptr);

    // Opens a sheet over `window`, which asks Apple afresh, and deletes it when it closes.
    static DownloadSheet *showOver(AppState &state, QWidget *window);

    QTreeWidget *list() const { return m_list; }
    QPushButton *downloadButton() const { return m_download; }
    QPushButton *retryButton() const { return m_retry; }
    // Shown on a Mac that cannot list installers: installs one from a package instead.
    QPushButton *packageButton() const { return m_package; }
    // What the sheet says in place of a list: the listing's progress, its failure, or nothing.
    QString notice() const;

private:
    void refresh();
    void fillList();
    void updateButtons();
    void startDownload();
    void choosePackage();
    // The installer of the selected row, if it may be downloaded now.
    std::optional<AvailableInstaller> chosen() const;

    AppState &m_state;
    QStackedWidget *m_pages = nullptr;
    ProgressSpinner *m_spinner = nullptr;
    QLabel *m_waiting = nullptr;
    QLabel *m_problem = nullptr;
    QTreeWidget *m_list = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_retry = nullptr;
    QPushButton *m_package = nullptr;
    QPushButton *m_download = nullptr;
    // The listing shown, so that a refresh that changes nothing keeps the selection.
    QList<AvailableInstaller> m_shown;
    bool m_filled = false;
};
