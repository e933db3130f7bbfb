#include "MainWindow.h"
#include "Menus.h"
#include "state/AppState.h"
#include "support/StandInSession.h"
#include "ui/AlertDialog.h"
#include "ui/ContentView.h"
#include "ui/FileDialogPicker.h"
#include "ui/InstallerRow.h"
#include "ui/MainView.h"
#include "ui/NoInstallerSelectedView.h"
#include "ui/SidebarView.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace std::chrono_literals;
using Kind = UnifiedProgressOverlay::OperationType;

namespace {

InstallerApp installer(const QString &name)
{
    InstallerApp app;
    app.id = QUuid::createUuid();
    app.url = QUrl::fromLocalFile("/Applications/" + name + ".app");
    app.name = name;
    return app;
}

QStringList buttonLabels(const AlertDialog *alert)
{
    QStringList labels;
    for (const QAbstractButton *button : alert->alertButtons())
        labels << button->text();
    return labels;
}

bool alertShown(const ContentView &content)
{
    return QTest::qWaitFor([&] { return content.alert() && content.alert()->isVisible(); });
}

} // namespace

class MainWindowTest : public QObject, private StandInSession {
    Q_OBJECT

private slots:
    void init() { startSession(SharedSupport::attached); }
    void cleanup() { endSession(); }

    void sidebarSelectionDrivesTheDetail()
    {
        ContentView content(*state);
        QListWidget *list = content.sidebar()->list();
        QCOMPARE(list->count(), 0);
        QCOMPARE(content.detail(), content.noInstallerView());
        const QList<InstallerApp> library{installer("Install macOS Sequoia"),
                                          installer("Install macOS Sonoma")};
        state->installers = library;
        const auto row = [&](int i) {
            return static_cast<InstallerRow *>(list->itemWidget(list->item(i)));
        };
        QCOMPARE(list->count(), 2);
        QCOMPARE(row(0)->installer().name, "Install macOS Sequoia");
        list->setCurrentRow(1);
        QCOMPARE(state->selectedInstaller()->name, "Install macOS Sonoma");
        QCOMPARE(content.detail(), content.mainView());
        // Without an icon of its own or a desktop picture for its bundle, an installer still shows
        // a picture in its row and in the detail pane.
        const QImage image = row(1)->findChild<QLabel *>()->pixmap().toImage();
        QImage blank(image.size(), image.format());
        blank.fill(Qt::transparent);
        QVERIFY(!image.isNull() && image != blank);
        const auto *icon = content.findChild<QAbstractButton *>("installerIcon");
        QVERIFY(!icon->icon().actualSize(QSize(100, 100)).isEmpty());
        // A selection made elsewhere shows in the list; an unknown one selects no row.
        state->selectedInstaller = library.first();
        QVERIFY(list->item(0)->isSelected() && !list->item(1)->isSelected());
        state->selectedInstaller = installer("Install macOS Mojave");
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(state->selectedInstaller()->name, "Install macOS Mojave");
        // Other announcements leave the rows alone, so nothing flickers or loses its place.
        InstallerRow *before = row(0);
        state->progressInfo.modify([](ProgressInfo &progress) { progress.percentage = 40; });
        state->isLoadingDisks = true;
        QCOMPARE(row(0), before);
        // A new library replaces the rows, in its own order.
        state->installers = {library[1]};
        QCOMPARE(list->count(), 1);
        QCOMPARE(row(0)->installer().name, "Install macOS Sonoma");
        state->selectedInstaller = std::nullopt;
        QCOMPARE(content.detail(), content.noInstallerView());
    }

    // While a job runs or its result is shown, whatever would start another job or change its
    // installer is disabled and says why; the toolbar's Refresh waits for the disk list only.
    void controlsFollowTheJobAndTheDiskList()
    {
        MainWindow window(*state);
        ContentView *content = window.content();
        const Menus &menus = window.menus();
        state->isLoadingDisks = true;
        state->isScanning = true;
        state->isCreatingMedia = true;
        QVERIFY(!content->refreshAction()->isEnabled());
        const QList<QAction *> starters{content->scanAction(), content->addAction(),
                                        menus.scanForInstallers, menus.addInstaller};
        for (QAction *starter : starters) {
            QVERIFY(!starter->isEnabled());
            QCOMPARE(starter->toolTip(), AppState::busyReason());
        }
        for (QAction *always :
             {content->toggleSidebarAction(), content->infoAction(), content->donateAction(),
              menus.refreshDiskList, menus.aboutMaker, menus.supportDevelopment, menus.quit})
            QVERIFY(always->isEnabled());
        QCOMPARE(menus.quit->shortcut(), QKeySequence(QKeySequence::Quit));
        state->isLoadingDisks = false;
        QVERIFY(content->refreshAction()->isEnabled());
        state->isCreatingMedia = false;
        for (QAction *starter : starters)
            QVERIFY(starter->isEnabled() && starter->toolTip() != AppState::busyReason());
    }

    void overlayKindFollowsTheFlags_data()
    {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QList<Kind>>("kinds");
        QTest::newRow("nothing running") << "" << QList<Kind>{};
        QTest::newRow("an ISO job with a disk selected is a disk image")
            << "create disk iso" << QList<Kind>{Kind::createBootableDMG};
        QTest::newRow("a USB job is USB") << "create" << QList<Kind>{Kind::creatingUSB};
        QTest::newRow("media with a disk is USB")
            << "create disk" << QList<Kind>{Kind::creatingUSB};
        QTest::newRow("terminal above media")
            << "create disk terminal" << QList<Kind>{Kind::creatingUSB, Kind::terminalOperation};
        QTest::newRow("everything at once")
            << "scan install create terminal iso"
            << QList<Kind>{Kind::scanning, Kind::installingPKG, Kind::createBootableDMG,
                           Kind::terminalOperation};
    }

    // The media overlay is of the job's kind, whatever is selected; overlays go with their
    // condition.
    void overlayKindFollowsTheFlags()
    {
        QFETCH(QString, flags);
        QFETCH(QList<Kind>, kinds);
        ContentView content(*state);
        // Raised back to front, so the terminal comes up first and must still end on top.
        state->jobKind = flags.contains("iso") ? AppState::JobKind::iso : AppState::JobKind::usb;
        state->isShowingTerminalOverlay = flags.contains("terminal");
        state->isCreatingMedia = flags.contains("create");
        if (flags.contains("disk"))
            state->selectedDisk = DiskInfo("disk4s2", "UNTITLED", "/Volumes/UNTITLED", 1, 1, true);
        state->isInstallingPKG = flags.contains("install");
        state->isScanning = flags.contains("scan");
        QCOMPARE(content.overlayKinds(), kinds);
        const QList<UnifiedProgressOverlay *> overlays = content.overlays();
        QList<QPointer<UnifiedProgressOverlay>> gone;
        for (qsizetype i = 0; i < overlays.size(); ++i) {
            const QObjectList stack = overlays[i]->parentWidget()->children();
            QVERIFY(i == 0 || stack.indexOf(overlays[i - 1]) < stack.indexOf(overlays[i]));
            QCOMPARE(overlays[i]->operationType(), kinds[i]);
            gone << overlays[i];
        }
        state->isShowingTerminalOverlay = false;
        state->isCreatingMedia = false;
        state->isInstallingPKG = false;
        state->isScanning = false;
        QVERIFY(content.overlays().isEmpty());
        QTRY_VERIFY(std::all_of(gone.begin(), gone.end(), [](auto &o) { return o.isNull(); }));
    }

    // The pressed button's action runs once the alert is put away.
    void oneAndTwoButtonAlerts()
    {
        ContentView content(*state);
        QStringList ran;
        state->alertTitle = "Erase Disk?";
        state->alertPrimaryButton = AlertButton::destructiveButton("Erase and Create", [&] {
            QVERIFY(!state->isShowingAlert());
            ran << "erase";
        });
        state->alertSecondaryButton = AlertButton::cancelButton("Cancel", [&] { ran << "cancel"; });
        state->isShowingAlert = true;
        QVERIFY(alertShown(content));
        AlertDialog *alert = content.alert();
        QCOMPARE(buttonLabels(alert), (QStringList{"Erase and Create", "Cancel"}));
        // Return must not erase a disk: with no default-style button it is the cancel.
        QCOMPARE(static_cast<QAbstractButton *>(alert->defaultButton()), alert->alertButtons()[1]);
        alert->alertButtons()[0]->click();
        QCOMPARE(ran, QStringList{"erase"});
        state->isShowingAlert = true;
        QVERIFY(alertShown(content));
        QTest::keyClick(content.alert(), Qt::Key_Escape);
        QCOMPARE(ran, (QStringList{"erase", "cancel"}));
        QVERIFY(!state->isShowingAlert());
        // An alert raised by that action takes the place of the one up.
        state->alertPrimaryButton = AlertButton::defaultButton(
            "Install Automatically", [&] { state->showError("Installation Failed", "No."); });
        state->isShowingAlert = true;
        QVERIFY(alertShown(content));
        QPointer<AlertDialog> first = content.alert();
        first->alertButtons()[0]->click();
        QVERIFY(state->isShowingAlert() && alertShown(content) && content.alert() != first);
        QCOMPARE(content.alert()->text() + '|' + content.alert()->informativeText(),
                 "Installation Failed|No.");
        QCOMPARE(buttonLabels(content.alert()), QStringList{"OK"});
        QTest::keyClick(content.alert(), Qt::Key_Escape);
        QVERIFY(!state->isShowingAlert() && !content.alert());
        // So does one raised while another is up, buttons and all; withdrawn, it runs nothing.
        state->alertSecondaryButton = AlertButton::cancelButton("Cancel", [&] { ran << "cancel"; });
        state->isShowingAlert = true;
        QVERIFY(alertShown(content));
        QPointer<AlertDialog> shown = content.alert();
        QCOMPARE(buttonLabels(shown), (QStringList{"OK", "Cancel"}));
        state->showError("Error", "Something else went wrong.");
        QCOMPARE(content.alert(), shown.data());
        QCOMPARE(shown->text(), "Error");
        QCOMPARE(buttonLabels(shown), QStringList{"OK"});
        state->isShowingAlert = false;
        QVERIFY(!content.alert());
        QTRY_VERIFY(shown.isNull());
        QCOMPARE(ran, (QStringList{"erase", "cancel"}));
    }

    // The window shows the selection in its title; scan and refresh run from the keyboard too.
    void firstShowScansAndCommandsRun()
    {
        MainWindow window(*state);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(state->isScanning());
        QTRY_VERIFY(!state->isScanning());
        QCOMPARE(state->installers().size(), 4); // the demo world's Applications folder
        QTRY_COMPARE(window.windowTitle(), "macOS Sequoia");
        // Showing again is not a first showing.
        window.hide();
        window.show();
        QVERIFY(!state->isScanning());
        window.content()->scanAction()->trigger();
        QVERIFY(state->isScanning());
        QTRY_VERIFY(!state->isScanning());
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
        state->selectedInstaller = std::nullopt;
        QTRY_COMPARE(window.windowTitle(), "Tessaline");
    }

    void aJobEndingUnseenIsNotified_data()
    {
        QTest::addColumn<bool>("behind");
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QString>("notice");
        QTest::newRow("ISO, window in front") << false << false << QString();
        QTest::newRow("ISO, window behind another")
            << true << false << "The ISO is ready. It was verified.";
        QTest::newRow("USB cancelled at the password, window behind another")
            << true << true << "The bootable USB was not made. Cancelled. Nothing was erased.";
    }
    // A job that ends while the user works in another window says how it ended in a
    // notification; the window in front shows it itself, and nothing is posted.
    void aJobEndingUnseenIsNotified()
    {
        QFETCH(bool, behind);
        QFETCH(bool, usb);
        QFETCH(QString, notice);
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        MainWindow window(*state);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_VERIFY_WITH_TIMEOUT(!state->isScanning() && state->selectedInstaller(), 20000);
        QWidget other;
        if (behind) {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            QVERIFY(!window.isActiveWindow());
        }
        if (usb) {
            // Protection is on: the terminal path waits for the password, and is cancelled there.
            QTRY_VERIFY(!state->availableDisks().isEmpty());
            state->selectedDisk = state->availableDisks().first();
            state->createBootableUSB();
            state->isShowingAlert = false;
            state->alertPrimaryButton().action();
            QTRY_VERIFY(state->isWaitingForPassword());
            state->requestCancel();
        } else {
            state->createBootableDMG();
        }
        QTRY_VERIFY_WITH_TIMEOUT(state->jobDuration(), 20000);
        waitForBackgroundWork();
        QFile log(world->path("var/standin/notifications.log"));
        if (notice.isEmpty()) {
            QVERIFY(!log.exists());
            return;
        }
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(log.readAll()).object(),
                 (QJsonObject{{"text", notice}, {"title", "Tessaline"}}));
    }

    void bundleFolderIsChosenAsAFile_data()
    {
        QTest::addColumn<bool>("byOpenButton");
        QTest::newRow("selected, then Open") << true;
        QTest::newRow("double-clicked") << false;
    }

    void bundleFolderIsChosenAsAFile()
    {
#ifdef __SANITIZE_THREAD__
        // The dialog's file model reads folders on a thread of Qt's own, which this sanitizer
        // cannot see into; nothing of ours runs there, and the other builds run this test.
        QSKIP("The file dialog's folder-reading thread is Qt's own");
#endif
        QFETCH(bool, byOpenButton);
        const QString bundle = world->path("Applications/Install macOS Sonoma.app");
        QVERIFY(QFileInfo(bundle).isDir());
        FileDialogPicker picker;
        QString folder;
        bool openEnabled = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            folder = dialog->directory().absolutePath();
            dialog->selectFile(bundle);
            auto *view = dialog->findChild<QAbstractItemView *>("treeView");
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            QPushButton *open = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
            if (!view || !open) {
                dialog->close();
                return;
            }
            openEnabled = open->isEnabled();
            QTimer::singleShot(5s, dialog, &QDialog::reject); // whatever happens, the test goes on
            if (byOpenButton)
                open->click();
            else
                emit view->activated(view->selectionModel()->selectedRows().value(0));
        });
        const std::optional<QUrl> chosen = picker.pickInstallerOrPackage();
        QCOMPARE(folder, QDir(world->path("Applications")).absolutePath());
        QVERIFY(openEnabled);
        QCOMPARE(chosen.value_or(QUrl()).toLocalFile(), bundle);
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!picker.pickInstallerOrPackage());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
