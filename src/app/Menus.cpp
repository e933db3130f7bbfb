#include "Menus.h"

#include "state/AppState.h"
#include "ui/DownloadSheet.h"

#include <QAction>
#include <QDesktopServices>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

// Text heuristics would move "About …" into the macOS application menu; these stay put.
QAction *addCommand(QMenu *menu, const QString &title, std::function<void()> run)
{
    QAction *action = menu->addAction(title);
    action->setMenuRole(QAction::NoRole);
    QObject::connect(action, &QAction::triggered, action, std::move(run));
    return action;
}

} // namespace

QUrl Menus::infoURL()
{
    return QUrl(QStringLiteral("https://quorvale.com/tessaline"));
}

QUrl Menus::donationURL()
{
    return QUrl(QStringLiteral("https://quorvale.com/tessaline/donate"));
}

Menus::Menus(QMenuBar &menuBar, AppState &state, std::function<void()> quit)
{
    QMenu *file = menuBar.addMenu(QStringLiteral("File"));
    newWindow = addCommand(file, QStringLiteral("New Window"), [] {});
    // Qt::CTRL is the Command key on macOS.
    newWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    newWindow->setEnabled(false);
    file->addSeparator();
    scanForInstallers = addCommand(file, QStringLiteral("Scan for Installers"),
                                   [&state] { state.scanForInstallers(); });
    scanForInstallers->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    refreshDiskList = addCommand(file, QStringLiteral("Refresh Disk List"),
                                 [&state] { state.refreshDiskList(); });
    refreshDiskList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    addInstaller = addCommand(file, QStringLiteral("Add macOS Installer"),
                              [&state] { state.addInstallerFromFinder(); });
    downloadInstaller =
        addCommand(file, QStringLiteral("Download an Installer\u2026"), [&state, &menuBar] {
            DownloadSheet::showOver(state, menuBar.window());
        });
    file->addSeparator();
    this->quit = addCommand(file, QStringLiteral("Quit"), std::move(quit));
    this->quit->setShortcut(QKeySequence::Quit);
    // The application menu's Quit on macOS.
    this->quit->setMenuRole(QAction::QuitRole);
    QObject::connect(&state, &AppState::changed, scanForInstallers, [this, &state] {
        const bool busy = state.isBusy();
        for (QAction *starter : {scanForInstallers, addInstaller, downloadInstaller}) {
            starter->setEnabled(!busy);
            starter->setToolTip(busy ? AppState::busyReason() : QString());
        }
    });

    QMenu *help = menuBar.addMenu(QStringLiteral("Help"));
    help->addSeparator();
    aboutMaker = addCommand(help, QStringLiteral("About Corvenna"),
                            [] { QDesktopServices::openUrl(infoURL()); });
    supportDevelopment = addCommand(help, QStringLiteral("Support Development"),
                                    [] { QDesktopServices::openUrl(donationURL()); });
}
