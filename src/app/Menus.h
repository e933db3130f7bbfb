#pragma once

#include <QCoreApplication>
#include <QUrl>

class AppState;
class QAction;
class QMenuBar;

#include <functional>

// The File and Help menus of the window's menu bar. Commands that would start another job or
// change the installer a job uses are disabled while one runs or its result is shown.
class Menus {
    Q_DECLARE_TR_FUNCTIONS(Menus)

public:
    // `quit` is what File ▸ Quit does: closing the window, which asks first during a job.
    // File ▸ Download an Installer… opens its sheet over the menu bar's window.
    Menus(QMenuBar &menuBar, AppState &state, std::function<void()> quit);

    // The maker's pages, opened in the default browser by the Help menu.
    static QUrl infoURL();
    static QUrl donationURL();

    QAction *newWindow = nullptr; // shown, never enabled: there is one window
    QAction *scanForInstallers = nullptr;
    QAction *refreshDiskList = nullptr;
    QAction *addInstaller = nullptr;
    QAction *downloadInstaller = nullptr;
    QAction *quit = nullptr;
    QAction *aboutMaker = nullptr;
    QAction *supportDevelopment = nullptr;
};
