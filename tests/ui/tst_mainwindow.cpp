#include "MainWindow.h"
#include "Menus.h"
#include "state/AppState.h"
#include "support/StandInWorld.h"
#include "ui/AlertDialog.h"
#include "ui/ContentView.h"
#include "ui/FileDialogPicker.h"
#include "ui/InstallerRow.h"
#include "ui/MainView.h"
#include "ui/NoInstallerSelectedView.h"
#include "ui/SidebarView.h"

#include <QAbstractButton>
#include <QAction>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <memory>

using namespace std::chrono_literals;
using Kind = UnifiedProgressOverlay::OperationType;

namespace {

InstallerApp installer(const QString &name, const QString &macOSVersion)
{
    InstallerApp app;
    app.id = QUuid::createUuid();
    app.url = QUrl::fromLocalFile(QStringLiteral("/Applications/%1.app").arg(name));
    app.name = name;
    app.macOSVersion = macOSVersion;
    return app;
}

DiskInfo disk()
{
    return DiskInfo(QStringLiteral("disk4s2"), QStringLiteral("UNTITLED"),
                    QStringLiteral("/Volumes/UNTITLED"), 32'000'000'000, 31'000'000'000, true);
}

// Collects the pages handed to the desktop instead of opening a browser.
class PageCatcher : public QObject {
    Q_OBJECT

public:
    PageCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~PageCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

QStringList buttonLabels(const AlertDialog *alert)
{
    QStringList labels;
    for (const QAbstractButton *button : alert->alertButtons())
        labels << button->text();
    return labels;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StandInWorld> world;
    std::unique_ptr<AppState> state;

private slots:
    void init()
    {
        Timing timing;
        timing.startupRefreshDelay = 24h; // the tests start what they look at
        timing.scanFinishDelay = 20ms;
        Timing::setCurrent(timing);
        world = std::make_unique<StandInWorld>();
        QVERIFY(world->isValid());
        state = std::make_unique<AppState>();
    }

    void cleanup()
    {
        state.reset();
        world.reset();
    }

    // --- detail column and sidebar

    void detailFollowsSelection()
    {
        ContentView content(*state);
        QCOMPARE(content.detail(), content.noInstallerView());
        state->installers = {installer(QStringLiteral("Install macOS Sonoma"), "14.6")};
        state->selectedInstaller = state->installers().first();
        QCOMPARE(content.detail(), content.mainView());
        state->selectedInstaller = std::nullopt;
        QCOMPARE(content.detail(), content.noInstallerView());
    }

    void emptySidebarShowsOnlyTheHeader()
    {
        ContentView content(*state);
        QCOMPARE(content.sidebar()->header()->text(), QStringLiteral("Available Installers"));
        QCOMPARE(content.sidebar()->list()->count(), 0);
        QVERIFY(content.sidebar()->minimumWidth() >= 250);
    }

    // An installer without an icon of its own, and no desktop picture for its bundle, still shows
    // a picture in its row and in the detail pane.
    void installerWithoutIconShowsAPicture()
    {
        const InstallerApp bare = installer(QStringLiteral("Install macOS Sonoma"), "14.6");
        QVERIFY(bare.icon.isNull());
        InstallerRow row(bare);
        const QLabel *picture = row.findChild<QLabel *>();
        QVERIFY(picture);
        const QImage image = picture->pixmap().toImage();
        bool painted = false;
        for (int y = 0; y < image.height() && !painted; ++y)
            for (int x = 0; x < image.width() && !painted; ++x)
                painted = qAlpha(image.pixel(x, y)) > 0;
        QVERIFY(painted);

        state->installers = {bare};
        state->selectedInstaller = bare;
        ContentView content(*state);
        const auto *button = content.findChild<QAbstractButton *>(QStringLiteral("installerIcon"));
        QVERIFY(button);
        QVERIFY(!button->icon().actualSize(QSize(100, 100)).isEmpty());
    }

    void sidebarListIsBoundToTheSelection()
    {
        SidebarView sidebar(*state);
        const QList<InstallerApp> library{
            installer(QStringLiteral("Install macOS Sequoia"), "15.0"),
            installer(QStringLiteral("Install macOS Sonoma"), "14.6")};
        state->installers = library;
        QListWidget *list = sidebar.list();
        QCOMPARE(list->count(), 2);
        auto row = [&](int i) {
            return static_cast<InstallerRow *>(list->itemWidget(list->item(i)));
        };
        QCOMPARE(row(0)->installer().name, QStringLiteral("Install macOS Sequoia"));

        // Choosing a row selects its installer.
        list->setCurrentRow(1);
        QVERIFY(state->selectedInstaller());
        QCOMPARE(state->selectedInstaller()->name, QStringLiteral("Install macOS Sonoma"));

        // A selection made elsewhere shows in the list; an unknown one selects no row.
        state->selectedInstaller = library.first();
        QVERIFY(list->item(0)->isSelected() && !list->item(1)->isSelected());
        state->selectedInstaller = installer(QStringLiteral("Install macOS Mojave"), "10.14");
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(state->selectedInstaller()->name, QStringLiteral("Install macOS Mojave"));

        // Other announcements leave the rows alone, so nothing flickers or loses its place.
        InstallerRow *before = row(0);
        state->progressInfo.modify([](ProgressInfo &progress) { progress.percentage = 40; });
        state->isLoadingDisks = true;
        QCOMPARE(row(0), before);

        // A new library replaces the rows, in its own order.
        state->installers = {library[1]};
        QCOMPARE(list->count(), 1);
        QCOMPARE(row(0)->installer().name, QStringLiteral("Install macOS Sonoma"));
    }

    // --- toolbar

    void refreshButtonWaitsForTheDiskListButTheMenuDoesNot()
    {
        MainWindow window(*state);
        ContentView *content = window.content();
        QVERIFY(content->refreshAction()->isEnabled());
        state->isLoadingDisks = true;
        QVERIFY(!content->refreshAction()->isEnabled());
        QVERIFY(window.menus().refreshDiskList->isEnabled());
        for (QAction *always :
             {content->toggleSidebarAction(), content->scanAction(), content->addAction(),
              content->infoAction(), content->donateAction()})
            QVERIFY(always->isEnabled());
        state->isLoadingDisks = false;
        QVERIFY(content->refreshAction()->isEnabled());
    }

    void toolbarCommandsReachTheState()
    {
        ContentView content(*state);
        PageCatcher pages;
        content.infoAction()->trigger();
        content.donateAction()->trigger();
        QCOMPARE(pages.opened.size(), 2);
        QCOMPARE(pages.opened[0].host(), QStringLiteral("quorvale.com"));
        QVERIFY(pages.opened[1].path().endsWith(QStringLiteral("/donate")));

        content.scanAction()->trigger();
        QVERIFY(state->isScanning());
        QTRY_VERIFY(!state->isScanning());
        QCOMPARE(state->installers().size(), 4); // the demo world's Applications folder
    }

    void sidebarToggleCollapsesAndExpands()
    {
        ContentView content(*state);
        content.resize(900, 600);
        content.show();
        QVERIFY(content.isSidebarShown());
        content.toggleSidebarAction()->trigger();
        QVERIFY(!content.isSidebarShown());
        QTRY_VERIFY(content.detail()->width() > 800);
        content.toggleSidebarAction()->trigger();
        QVERIFY(content.isSidebarShown());
        QTRY_VERIFY(content.sidebar()->width() >= 250);
    }

    // --- overlays

    void overlayKindFollowsTheFlags_data()
    {
        QTest::addColumn<bool>("scanning");
        QTest::addColumn<bool>("installing");
        QTest::addColumn<bool>("creating");
        QTest::addColumn<bool>("diskSelected");
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QList<Kind>>("kinds");
        QTest::newRow("nothing running")
            << false << false << false << false << false << QList<Kind>{};
        QTest::newRow("scan") << true << false << false << false << false
                              << QList<Kind>{Kind::scanning};
        QTest::newRow("package") << false << true << false << false << false
                                 << QList<Kind>{Kind::installingPKG};
        QTest::newRow("media without a disk is a disk image")
            << false << false << true << false << false << QList<Kind>{Kind::createBootableDMG};
        QTest::newRow("media with a disk is USB")
            << false << false << true << true << false << QList<Kind>{Kind::creatingUSB};
        QTest::newRow("terminal above media")
            << false << false << true << true << true
            << QList<Kind>{Kind::creatingUSB, Kind::terminalOperation};
        QTest::newRow("everything at once")
            << true << true << true << false << true
            << QList<Kind>{Kind::scanning, Kind::installingPKG, Kind::createBootableDMG,
                           Kind::terminalOperation};
    }

    void overlayKindFollowsTheFlags()
    {
        QFETCH(bool, scanning);
        QFETCH(bool, installing);
        QFETCH(bool, creating);
        QFETCH(bool, diskSelected);
        QFETCH(bool, terminal);
        QFETCH(QList<Kind>, kinds);
        ContentView content(*state);
        // Raised back to front, so the terminal comes up first and must still end on top.
        state->isShowingTerminalOverlay = terminal;
        if (diskSelected)
            state->selectedDisk = disk();
        state->isCreatingMedia = creating;
        state->isInstallingPKG = installing;
        state->isScanning = scanning;
        QCOMPARE(content.overlayKinds(), kinds);
        const QList<UnifiedProgressOverlay *> overlays = content.overlays();
        if (!overlays.isEmpty()) {
            const QObjectList stack = overlays.last()->parentWidget()->children();
            for (qsizetype i = 1; i < overlays.size(); ++i)
                QVERIFY(stack.indexOf(overlays[i - 1]) < stack.indexOf(overlays[i]));
        }
    }

    void overlaysComeAndGoWithTheirCondition()
    {
        ContentView content(*state);
        state->isCreatingMedia = true;
        QCOMPARE(content.overlayKinds(), QList<Kind>{Kind::createBootableDMG});
        QPointer<UnifiedProgressOverlay> first = content.overlays().first();
        // Choosing a disk while media is being made turns the overlay into the USB kind.
        state->selectedDisk = disk();
        QCOMPARE(content.overlayKinds(), QList<Kind>{Kind::creatingUSB});
        QCOMPARE(content.overlays().first()->operationType(), Kind::creatingUSB);
        state->isCreatingMedia = false;
        QVERIFY(content.overlays().isEmpty());
        QTRY_VERIFY(first.isNull());
    }

    // --- the alert

    void oneButtonAlert()
    {
        ContentView content(*state);
        state->showError(QStringLiteral("Invalid Installer"), QStringLiteral("Not an installer."));
        AlertDialog *alert = content.alert();
        QVERIFY(alert);
        QTRY_VERIFY(alert->isVisible());
        QCOMPARE(alert->text(), QStringLiteral("Invalid Installer"));
        QCOMPARE(alert->informativeText(), QStringLiteral("Not an installer."));
        QCOMPARE(buttonLabels(alert), QStringList{"OK"});
        QTest::keyClick(alert, Qt::Key_Escape);
        QVERIFY(!state->isShowingAlert());
        QVERIFY(!content.alert());
    }

    void twoButtonAlertRunsThePressedAction()
    {
        ContentView content(*state);
        QStringList ran;
        state->alertTitle = QStringLiteral("Erase Disk?");
        state->alertMessage = QStringLiteral("Everything on UNTITLED will be lost.");
        state->alertPrimaryButton =
            AlertButton::destructiveButton(QStringLiteral("Erase and Create"), [&] {
                // The action runs with the alert already put away.
                QVERIFY(!state->isShowingAlert());
                ran << QStringLiteral("erase");
            });
        state->alertSecondaryButton =
            AlertButton::cancelButton(QStringLiteral("Cancel"), [&] { ran << "cancel"; });
        state->isShowingAlert = true;
        AlertDialog *alert = content.alert();
        QTRY_VERIFY(alert && alert->isVisible());
        QCOMPARE(buttonLabels(alert), (QStringList{"Erase and Create", "Cancel"}));
        // Return must not erase a disk: with no default-style button it is the cancel.
        QCOMPARE(static_cast<QAbstractButton *>(alert->defaultButton()), alert->alertButtons()[1]);
        alert->alertButtons()[0]->click();
        QCOMPARE(ran, QStringList{"erase"});
        QVERIFY(!state->isShowingAlert());

        state->isShowingAlert = true;
        QTRY_VERIFY(content.alert() && content.alert()->isVisible());
        QTest::keyClick(content.alert(), Qt::Key_Escape);
        QCOMPARE(ran, (QStringList{"erase", "cancel"}));
        QVERIFY(!state->isShowingAlert());
    }

    void alertRaisedByAnActionIsShown()
    {
        ContentView content(*state);
        state->alertTitle = QStringLiteral("Installer Package Detected");
        state->alertPrimaryButton =
            AlertButton::defaultButton(QStringLiteral("Install Automatically"), [&] {
                state->showError(QStringLiteral("Installation Failed"), QStringLiteral("No."));
            });
        state->alertSecondaryButton =
            AlertButton::defaultButton(QStringLiteral("Open in Installer"));
        state->isShowingAlert = true;
        QTRY_VERIFY(content.alert() && content.alert()->isVisible());
        QPointer<AlertDialog> first = content.alert();
        first->alertButtons()[0]->click();
        QVERIFY(state->isShowingAlert());
        QVERIFY(content.alert() && content.alert() != first);
        QCOMPARE(content.alert()->text(), QStringLiteral("Installation Failed"));
        QCOMPARE(buttonLabels(content.alert()), QStringList{"OK"});
    }

    void alertReplacedOrWithdrawnByTheState()
    {
        ContentView content(*state);
        bool cancelled = false;
        state->alertTitle = QStringLiteral("Replace Existing File?");
        state->alertPrimaryButton = AlertButton::destructiveButton(QStringLiteral("Replace"));
        state->alertSecondaryButton =
            AlertButton::cancelButton(QStringLiteral("Cancel"), [&] { cancelled = true; });
        state->isShowingAlert = true;
        QTRY_VERIFY(content.alert() && content.alert()->isVisible());
        QPointer<AlertDialog> alert = content.alert();

        // A second alert while one is up takes its place, buttons and all.
        state->showError(QStringLiteral("Error"), QStringLiteral("Something else went wrong."));
        QCOMPARE(content.alert(), alert.data());
        QCOMPARE(alert->text(), QStringLiteral("Error"));
        QCOMPARE(buttonLabels(alert), QStringList{"OK"});

        // Put away by the state: closed without running anything.
        state->isShowingAlert = false;
        QVERIFY(!content.alert());
        QTRY_VERIFY(alert.isNull());
        QVERIFY(!cancelled);
    }

    // --- the window and its menus

    void windowIsFixedAndFollowsTheSelectionInItsTitle()
    {
        MainWindow window(*state);
        QCOMPARE(window.content()->size(), QSize(900, 600));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(window.windowTitle(), QStringLiteral("Tessaline"));
        state->selectedInstaller = installer(QStringLiteral("Install macOS Ventura"), "13.6");
        QTRY_COMPARE(window.windowTitle(), QStringLiteral("macOS Ventura"));
        state->selectedInstaller = installer(QStringLiteral("Install OS X El Capitan"), "10.11");
        state->selectedInstaller = std::nullopt;
        QTRY_COMPARE(window.windowTitle(), QStringLiteral("Tessaline"));
    }

    void menusAndTheirShortcuts()
    {
        MainWindow window(*state);
        const Menus &menus = window.menus();
        QStringList titles;
        for (QAction *menu : window.menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"File", "Help"}));

        QCOMPARE(menus.newWindow->text(), QStringLiteral("New Window"));
        QCOMPARE(menus.newWindow->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QVERIFY(!menus.newWindow->isEnabled());
        QCOMPARE(menus.scanForInstallers->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
        QCOMPARE(menus.refreshDiskList->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
        QVERIFY(menus.addInstaller->shortcut().isEmpty());
        QCOMPARE(menus.aboutMaker->text(), QStringLiteral("About Corvenna"));
        QCOMPARE(menus.supportDevelopment->text(), QStringLiteral("Support Development"));

        // Busy flags disable none of them.
        state->isScanning = true;
        state->isCreatingMedia = true;
        for (QAction *command : {menus.scanForInstallers, menus.refreshDiskList, menus.addInstaller,
                                 menus.aboutMaker, menus.supportDevelopment})
            QVERIFY(command->isEnabled());

        PageCatcher pages;
        menus.aboutMaker->trigger();
        menus.supportDevelopment->trigger();
        QCOMPARE(pages.opened, (QList<QUrl>{Menus::infoURL(), Menus::donationURL()}));
    }

    void firstShowScansAndKeysRunTheCommands()
    {
        MainWindow window(*state);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(state->isScanning());
        QTRY_VERIFY(!state->isScanning());
        QCOMPARE(state->installers().size(), 4);

        // Showing again is not a first showing.
        window.hide();
        window.show();
        QVERIFY(!state->isScanning());

        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(state->isScanning());
        QTRY_VERIFY(!state->isScanning());
        // Refresh by key works while the toolbar button is disabled. The start-up eject of the
        // world's Shared Support volume lists the disks once first.
        QTRY_VERIFY(!state->availableDisks().isEmpty() && !state->isLoadingDisks());
        state->availableDisks = {};
        state->isLoadingDisks = true;
        QTest::keyClick(&window, Qt::Key_D, Qt::ControlModifier);
        QTRY_VERIFY(!state->availableDisks().isEmpty());
    }

    // --- the file dialog

    void bundleFolderIsChosenAsAFile_data()
    {
        QTest::addColumn<bool>("byOpenButton");
        QTest::newRow("selected, then Open") << true;
        QTest::newRow("double-clicked") << false;
    }

    void bundleFolderIsChosenAsAFile()
    {
#ifdef __SANITIZE_THREAD__
        // The dialog's file model reads folders on a thread Qt starts and hands its findings over
        // through Qt's own event queue, which this sanitizer cannot see into. Nothing of ours runs
        // on that thread; the other builds run this test.
        QSKIP("The file dialog's folder-reading thread is Qt's own");
#endif
        QFETCH(bool, byOpenButton);
        const QString bundle = world->path(QStringLiteral("Applications/Install macOS Sonoma.app"));
        QVERIFY(QFileInfo(bundle).isDir());
        FileDialogPicker picker;
        QString title;
        QString folder;
        bool openEnabled = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            folder = dialog->directory().absolutePath();
            dialog->selectFile(bundle);
            auto *view = dialog->findChild<QAbstractItemView *>(QStringLiteral("treeView"));
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            QPushButton *open = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
            if (!view || !open) {
                dialog->close();
                return;
            }
            openEnabled = open->isEnabled();
            // Whatever happens, the test goes on.
            QTimer::singleShot(5s, dialog, &QDialog::reject);
            if (byOpenButton)
                open->click();
            else
                emit view->activated(view->selectionModel()->selectedRows().value(0));
        });
        const std::optional<QUrl> chosen = picker.pickInstallerOrPackage();
        QCOMPARE(title, QStringLiteral("Select macOS Installer"));
        QCOMPARE(folder, QDir(world->path(QStringLiteral("Applications"))).absolutePath());
        QVERIFY(openEnabled);
        QVERIFY(chosen);
        QCOMPARE(chosen->toLocalFile(), bundle);

        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!picker.pickInstallerOrPackage());
    }

    // Last: it runs and ends the application's event loop.
    void closingTheWindowEndsTheApplication()
    {
        MainWindow window(*state);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, qApp, &QApplication::quit);
        giveUp.start(10s);
        QTimer::singleShot(0, &window, &QWidget::close);
        QApplication::exec();
        QVERIFY(giveUp.isActive());
        QCOMPARE(lastClosed.size(), 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
