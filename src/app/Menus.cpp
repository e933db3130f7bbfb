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
    //: The menu's title.
    QMenu *file = menuBar.addMenu(tr("File"));
    newWindow = addCommand(file, tr("New Window"), [] {});
    // Qt::CTRL is the Command key on macOS.
    newWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    newWindow->setEnabled(false);
    file->addSeparator();
    scanForInstallers =
        addCommand(file, tr("Scan for Installers"), [&state] { state.scanForInstallers(); });
    scanForInstallers->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    refreshDiskList =
        addCommand(file, tr("Refresh Disk List"), [&state] { state.refreshDiskList(); });
    refreshDiskList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    addInstaller =
        addCommand(file, tr("Add macOS Installer"), [&state] { state.addInstallerFromFinder(); });
    downloadInstaller = addCommand(file, tr("Download an Installer\u2026"), [&state, &menuBar] {
        DownloadSheet::showOver(state, menuBar.window());
    });
    file->addSeparator();
    this->quit = addCommand(file, tr("Quit"), std::move(quit));
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

    //: The menu's title.
    QMenu *help = menuBar.addMenu(tr("Help"));
    help->addSeparator();
    //: Opens the maker's page; Corvenna is a name.
    aboutMaker =
        addCommand(help, tr("About Corvenna"), [] { QDesktopServices::openUrl(infoURL()); });
    supportDevelopment = addCommand(help, tr("Support Development"),
                                    [] { QDesktopServices::openUrl(donationURL()); });
}
