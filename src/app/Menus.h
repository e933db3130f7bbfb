#pragma once

#include <QUrl>

class AppState;
class QAction;
class QMenuBar;

// The File and Help menus of the window's menu bar. The commands run whatever the state is
// doing: none of them looks at the busy flags.
class Menus {
public:
    Menus(QMenuBar &menuBar, AppState &state);

    // The maker's pages, opened in the default browser by the Help menu.
    static QUrl infoURL();
    static QUrl donationURL();

    QAction *newWindow = nullptr; // shown, never enabled: there is one window
    QAction *scanForInstallers = nullptr;
    QAction *refreshDiskList = nullptr;
    QAction *addInstaller = nullptr;
    QAction *aboutMaker = nullptr;
    QAction *supportDevelopment = nullptr;
};
