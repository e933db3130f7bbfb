// The window from the keyboard and to assistive tools: Tab reaches every control of each state in
// reading order and never leaves an overlay or an alert, every control reached is named, the
// arrow keys move the installer and disk selections, Escape is each window's way out, and the
// custom-drawn parts tell what they show.

#include "MainWindow.h"
#include "state/AppState.h"
#include "support/StandInSession.h"
#include "ui/AlertDialog.h"
#include "ui/ButtonStyles.h"
#include "ui/ContentView.h"
#include "ui/DiskRow.h"
#include "ui/DiskSelectionView.h"
#include "ui/DownloadSheet.h"
#include "ui/InstallerDetailView.h"
#include "ui/KeyboardAccess.h"
#include "ui/MainView.h"
#include "ui/NoInstallerSelectedView.h"
#include "ui/SidebarView.h"
#include "ui/StepIndicatorDot.h"
#include "ui/StepRowView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

QString accessibleText(QWidget *widget, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(text) : QString();
}

QString describe(const QWidget *widget)
{
    return QStringLiteral("%1 \"%2\"")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName());
}

// What a person can operate: buttons, lists, fields, the output view, disk rows. A list's header
// is part of its list.
bool isControl(QWidget *widget)
{
    if (qobject_cast<QHeaderView *>(widget))
        return false;
    return qobject_cast<QAbstractButton *>(widget) || qobject_cast<QAbstractItemView *>(widget) ||
           qobject_cast<QLineEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget) ||
           qobject_cast<DiskRow *>(widget);
}

QList<QWidget *> controlsIn(QWidget *scope)
{
    QList<QWidget *> controls;
    for (QWidget *widget : scope->findChildren<QWidget *>())
        if (isControl(widget) && widget->isVisible() && widget->isEnabled())
            controls << widget;
    return controls;
}

QWidget *focused()
{
    return QApplication::focusWidget();
}

// A dialog in front, as the user would have it when it opens.
bool activate(QWidget *dialog)
{
    dialog->activateWindow();
    return QTest::qWaitFor([&] { return dialog->isActiveWindow(); });
}

// Presses Tab from the focused widget until the focus comes back to it: the widgets it passed.
QList<QWidget *> tabCycle()
{
    QList<QWidget *> reached;
    QWidget *start = focused();
    if (!start)
        return reached;
    reached << start;
    for (int i = 0; i < 80; ++i) {
        QTest::keyClick(focused(), Qt::Key_Tab);
        if (!focused() || focused() == start)
            break;
        reached << focused();
    }
    return reached;
}

// Tab from the focused widget goes round `scope`'s controls and only those; each is named. The
// rows of a table are one stop, at one of its rows; the others are reached with the arrows.
void checkTabCycle(QWidget *scope)
{
    const QList<QWidget *> reached = tabCycle();
    QVERIFY(!reached.isEmpty());
    QCOMPARE(focused(), reached.first());
    for (QWidget *widget : reached) {
        QVERIFY2(scope == widget || scope->isAncestorOf(widget), qPrintable(describe(widget)));
        QVERIFY2(!accessibleText(widget).isEmpty(), qPrintable(describe(widget)));
    }
    const bool tableReached = std::any_of(reached.begin(), reached.end(),
                                          [](QWidget *w) { return qobject_cast<DiskRow *>(w); });
    for (QWidget *control : controlsIn(scope)) {
        if (qobject_cast<DiskRow *>(control) && tableReached)
            continue;
        QVERIFY2(reached.contains(control), qPrintable(describe(control) + " not reached"));
    }
}

// The toolbar's button for `action`.
QWidget *toolButton(MainWindow &window, QAction *action)
{
    for (QToolButton *button : window.content()->toolBar()->findChildren<QToolButton *>())
        if (button->defaultAction() == action)
            return button;
    return nullptr;
}

} // namespace

class KeyboardAccessTest : public QObject, private StandInSession {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    ContentView *content() const { return window->content(); }
    InstallerDetailView *detail() const { return content()->mainView()->detail(); }
    QList<DiskRow *> rows() const { return detail()->diskSelection()->rows(); }

    // The window shown on a stand-in Mac, its scan over and its disks listed.
    void showWindow()
    {
        window = std::make_unique<MainWindow>(*state);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY_WITH_TIMEOUT(!state->isScanning() && !state->installers().isEmpty(), 20000);
        state->refreshDiskList();
        QTRY_VERIFY_WITH_TIMEOUT(!state->isLoadingDisks() && rows().size() >= 3, 20000);
    }

private slots:
    void init()
    {
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        startSession(SharedSupport::ejected);
    }

    void cleanup()
    {
        window.reset();
        waitForBackgroundWork();
        endSession();
    }

    // With no installer selected and with one selected, Tab goes through the toolbar, the list
    // and the detail column in that order, every control on the way.
    void tabReachesTheWindowInReadingOrder()
    {
        showWindow();
        // The keys start in the installer list, and come back there after the first scan.
        QCOMPARE(focused(), content()->sidebar()->list());

        state->selectedInstaller = std::nullopt;
        QCOMPARE(content()->detail(), content()->noInstallerView());
        checkTabCycle(window.get());
        // From the first control of the window, the top left one.
        QWidget *first = toolButton(*window, content()->toggleSidebarAction());
        first->setFocus(Qt::TabFocusReason);
        QList<QWidget *> reached = tabCycle();
        const auto at = [&](QWidget *widget) { return reached.indexOf(widget); };
        NoInstallerSelectedView *empty = content()->noInstallerView();
        QVERIFY(at(toolButton(*window, content()->toggleSidebarAction())) <
                at(toolButton(*window, content()->donateAction())));
        QVERIFY(at(toolButton(*window, content()->donateAction())) <
                at(content()->sidebar()->list()));
        QVERIFY(at(content()->sidebar()->list()) < at(empty->addApplicationButton()));
        QVERIFY(at(empty->addApplicationButton()) < at(empty->addPackageButton()));
        QVERIFY(at(empty->addPackageButton()) < at(empty->downloadButton()));

        state->selectedInstaller = state->installers().first();
        state->selectedDisk = state->availableDisks().first();
        QTRY_VERIFY(detail()->createUSBButton()->isEnabled());
        content()->sidebar()->list()->setFocus(Qt::TabFocusReason);
        checkTabCycle(window.get());
        first->setFocus(Qt::TabFocusReason);
        reached = tabCycle();
        // The table is one stop, at the selected disk; each disk's eject button follows its row.
        DiskSelectionView *disks = detail()->diskSelection();
        QCOMPARE(disks->tabStop(), rows().first());
        QVERIFY(reached.contains(rows().first()) && !reached.contains(rows().last()));
        QVERIFY(at(content()->sidebar()->list()) < at(rows().first()));
        QVERIFY(at(rows().first()) < at(rows().first()->ejectButton()));
        QVERIFY(at(rows().first()->ejectButton()) < at(rows().last()->ejectButton()));
        QVERIFY(at(rows().last()->ejectButton()) < at(detail()->createISOButton()));
        QVERIFY(at(detail()->createISOButton()) < at(detail()->createUSBButton()));
        QVERIFY(at(detail()->createUSBButton()) < at(detail()->verifyCheckBox()));
        // While the disks are listed again the focus waits, and then goes back to its disk's
        // new row; the new rows keep their place in the order.
        rows().at(1)->setFocus(Qt::TabFocusReason);
        const QString device = rows().at(1)->disk().deviceIdentifier;
        const QPointer<DiskRow> before = rows().at(1);
        state->refreshDiskList();
        QTRY_VERIFY_WITH_TIMEOUT(before.isNull() && !state->isLoadingDisks(), 20000);
        QTRY_COMPARE(focused(), rows().at(1));
        QCOMPARE(rows().at(1)->disk().deviceIdentifier, device);
        QVERIFY(rows().at(1)->showsFocusRing());
        first->setFocus(Qt::TabFocusReason);
        reached = tabCycle();
        QVERIFY(at(content()->sidebar()->list()) < at(rows().first()));
        QVERIFY(at(rows().first()) < at(rows().at(1)->ejectButton()));
        QVERIFY(at(rows().last()->ejectButton()) < at(detail()->createISOButton()));
    }

    // Keyboard focus shows a ring; a click that gives the focus does not. Return presses a
    // button as Space does.
    void focusRingsAndReturn()
    {
        showWindow();
        StyledButton *iso = detail()->createISOButton();
        state->selectedInstaller = state->installers().first();
        QTRY_VERIFY(iso->isEnabled());
        iso->setFocus(Qt::TabFocusReason);
        QVERIFY(KeyboardAccess::showsFocusRing(iso));
        content()->sidebar()->list()->setFocus(Qt::TabFocusReason);
        QVERIFY(!KeyboardAccess::showsFocusRing(iso));
        iso->setFocus(Qt::MouseFocusReason);
        QVERIFY(!KeyboardAccess::showsFocusRing(iso));
        rows().first()->setFocus(Qt::BacktabFocusReason);
        QVERIFY(rows().first()->showsFocusRing() && !KeyboardAccess::showsFocusRing(iso));
        content()->sidebar()->list()->setFocus(Qt::TabFocusReason);
        rows().first()->setFocus(Qt::MouseFocusReason);
        QVERIFY(!rows().first()->showsFocusRing());

        QWidget *toggle = toolButton(*window, content()->toggleSidebarAction());
        toggle->setFocus(Qt::TabFocusReason);
        QVERIFY(KeyboardAccess::showsFocusRing(toggle));
        QTest::keyClick(toggle, Qt::Key_Return);
        QTRY_VERIFY(!content()->isSidebarShown());
        QTest::keyClick(toggle, Qt::Key_Space);
        QTRY_VERIFY(content()->isSidebarShown());
    }

    // Up and Down move the selection, Home and End go to the ends; a disk that cannot be the
    // target is passed over.
    void arrowsMoveTheSelections()
    {
        showWindow();
        QListWidget *list = content()->sidebar()->list();
        const QList<InstallerApp> installers = state->installers();
        QVERIFY(installers.size() >= 3);
        state->selectedInstaller = installers.first();
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(state->selectedInstaller()->url, installers.at(1).url);
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(state->selectedInstaller()->url, installers.last().url);
        QTest::keyClick(list, Qt::Key_Home);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(state->selectedInstaller()->url, installers.first().url);

        // An installer kept on the middle volume makes that volume no target.
        const QList<DiskInfo> disks = state->availableDisks();
        InstallerApp onVolume = installers.first();
        onVolume.url = QUrl::fromLocalFile(disks.at(1).mountPoint + "/Install macOS.app");
        state->selectedInstaller = onVolume;
        state->selectedDisk = disks.first();
        QTRY_VERIFY(!rows().at(1)->isEnabled());
        DiskRow *first = rows().first();
        first->setFocus(Qt::TabFocusReason);
        QTest::keyClick(first, Qt::Key_Down);
        QCOMPARE(focused(), rows().at(2));
        QTRY_COMPARE(state->selectedDisk()->id, disks.at(2).id);
        QCOMPARE(detail()->diskSelection()->tabStop(), rows().at(2));
        QTest::keyClick(focused(), Qt::Key_Down); // the end: it stays
        QTest::keyClick(focused(), Qt::Key_Home);
        QCOMPARE(focused(), first);
        QTRY_COMPARE(state->selectedDisk()->id, disks.first().id);
        QTest::keyClick(first, Qt::Key_End);
        QTRY_COMPARE(state->selectedDisk()->id, disks.last().id);
        // Space selects the row that has the focus, as a click does.
        state->selectedDisk = std::nullopt;
        QTest::keyClick(focused(), Qt::Key_Space);
        QTRY_VERIFY(state->selectedDisk() && state->selectedDisk()->id == disks.last().id);
    }

    // Ejecting a volume from the keyboard takes its row away, eject button and all: the focus
    // stays in the table, on the row Tab stops at, rather than being lost with the button.
    void ejectingKeepsTheFocusInTheTable()
    {
        showWindow();
        const int before = int(rows().size());
        QToolButton *eject = rows().last()->ejectButton();
        QVERIFY(eject);
        eject->setFocus(Qt::TabFocusReason);
        QTest::keyClick(eject, Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(!state->isLoadingDisks() && rows().size() == before - 1, 20000);
        QTRY_COMPARE(focused(), detail()->diskSelection()->tabStop());
    }

    // A disk row is a selectable list item named after its volume and described by what it
    // shows; an installer row by its version.
    void rowsTellAssistiveTools()
    {
        showWindow();
        const QList<DiskInfo> disks = state->availableDisks();
        state->selectedInstaller = state->installers().first();
        state->selectedDisk = disks.first();
        DiskRow *row = rows().first();
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(row);
        QCOMPARE(accessible->role(), QAccessible::ListItem);
        QCOMPARE(accessible->parent()->role(), QAccessible::List);
        QCOMPARE(accessible->text(QAccessible::Name), disks.first().volumeName);
        const QString shown =
            QStringLiteral("%1 USB volume, %2 free, %3, selected")
                .arg(disks.first().formattedSize(), disks.first().formattedFreeSpace(),
                     disks.first().deviceIdentifier);
        QCOMPARE(accessible->text(QAccessible::Description), shown);
        QVERIFY(accessible->state().selectable && accessible->state().selected);
        state->selectedDisk = disks.at(1);
        QVERIFY(accessible->text(QAccessible::Description).endsWith(", not selected"));
        QVERIFY(!accessible->state().selected);
        // Pressed by an assistive tool, it is selected as by a click.
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(state->selectedDisk()->id, disks.first().id);
        // The fixed external disk says what it is; one that cannot be the target says why.
        const auto fixed = std::find_if(disks.begin(), disks.end(),
                                        [](const DiskInfo &disk) { return disk.isFixedExternal; });
        QVERIFY(fixed != disks.end());
        QVERIFY(accessibleText(rows().at(fixed - disks.begin()), QAccessible::Description)
                    .contains("external disk (not a USB stick)"));
        InstallerApp onVolume = state->installers().first();
        onVolume.url = QUrl::fromLocalFile(disks.first().mountPoint + "/Install macOS.app");
        state->selectedInstaller = onVolume;
        QVERIFY(
            accessibleText(rows().first(), QAccessible::Description).contains(", not available: "));
        QVERIFY(QAccessible::queryAccessibleInterface(rows().first())->state().disabled);

        QListWidget *list = content()->sidebar()->list();
        QAccessibleInterface *items = QAccessible::queryAccessibleInterface(list);
        QCOMPARE(items->text(QAccessible::Name), "Available Installers");
        const InstallerApp &firstInstaller = state->installers().first();
        QAccessibleInterface *item = items->child(0);
        QCOMPARE(item->text(QAccessible::Name), firstInstaller.name);
        QVERIFY2(
            item->text(QAccessible::Description).startsWith("macOS " + firstInstaller.macOSVersion),
            qPrintable(item->text(QAccessible::Description)));
    }

    // A running job's overlay keeps Tab to itself; Escape does what Cancel does, and on the
    // result what Close does; the keys then go back where they were.
    void overlayTakesTheKeysAndEscapeIsItsWayOut()
    {
        // The job's long tool takes its time, until the job is cancelled.
        world->replaceWithHangingTool(
            "Applications/Install macOS Sequoia.app/Contents/Resources/createinstallmedia");
        showWindow();
        for (const InstallerApp &installer : state->installers())
            if (installer.name == "Install macOS Sequoia")
                state->selectedInstaller = installer;
        QCOMPARE(state->selectedInstaller()->name, "Install macOS Sequoia");
        QTRY_VERIFY(detail()->createISOButton()->isEnabled());
        StyledButton *iso = detail()->createISOButton();
        iso->setFocus(Qt::TabFocusReason);
        QTest::keyClick(iso, Qt::Key_Space);
        QTRY_VERIFY(state->hasJob() && !content()->overlays().isEmpty());
        UnifiedProgressOverlay *overlay = content()->overlays().last();
        QCOMPARE(focused(), overlay);
        QTest::keyClick(overlay, Qt::Key_Tab);
        checkTabCycle(overlay);
        QVERIFY(tabCycle().contains(overlay->findChild<QWidget *>("cancelButton")));
        QTest::keyClick(focused(), Qt::Key_Backtab);
        QVERIFY(overlay->isAncestorOf(focused()));
        QTest::keyClick(focused(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!state->hasJob(), 20000);
        QVERIFY(state->jobWasCancelled());
        QTRY_VERIFY(overlay->findChild<QWidget *>("completionView")->isVisible());
        QCOMPARE(accessibleText(overlay->findChild<QWidget *>("completionView")),
                 "Operation Cancelled");
        checkTabCycle(overlay);
        QVERIFY(tabCycle().contains(overlay->findChild<QWidget *>("closeButton")));
        QTest::keyClick(focused(), Qt::Key_Escape);
        QVERIFY(!state->isCreatingMedia());
        QTRY_VERIFY(content()->overlays().isEmpty());
        QCOMPARE(focused(), iso);
        QVERIFY(KeyboardAccess::showsFocusRing(iso));
    }

    // The terminal's window: the password field has the keys, Escape cancels there and closes
    // once the run has ended.
    void terminalWindowFromTheKeyboard()
    {
        showWindow();
        state->terminalOutput = "Please enter your administrator password.\n";
        state->isWaitingForPassword = true;
        state->isCreatingMedia = true;
        state->isShowingTerminalOverlay = true;
        UnifiedProgressOverlay *terminal = content()->overlays().last();
        QCOMPARE(focused(), terminal->findChild<QLineEdit *>("passwordField"));
        checkTabCycle(terminal);
        QVERIFY(tabCycle().contains(terminal->findChild<QPlainTextEdit *>("terminalOutput")));
        QTest::keyClick(focused(), Qt::Key_Escape);
        QVERIFY(!state->isShowingTerminalOverlay() && !state->isCreatingMedia());

        state->isWaitingForPassword = false;
        ProgressInfo ended;
        ended.markComplete(true, "USB creation completed successfully");
        state->progressInfo = ended;
        state->isCreatingMedia = true;
        state->isShowingTerminalOverlay = true;
        terminal = content()->overlays().last();
        QCOMPARE(focused(), terminal);
        QTest::keyClick(terminal, Qt::Key_Escape);
        QVERIFY(!state->isShowingTerminalOverlay());
    }

    // The overlay's parts say what they show: the dialog its title, the step and its dots, the
    // bars their value.
    void overlayTellsAssistiveTools()
    {
        showWindow();
        state->selectedInstaller = state->installers().first();
        ProgressInfo progress;
        progress.setupSteps(ProgressInfo::OperationType::usbCreation);
        progress.updateCurrentStep(1);
        progress.updateCurrentStep(2);
        progress.updateProgressWithinCurrentStep(40, "Copying to disk: 40%");
        state->progressInfo = progress;
        state->isCreatingMedia = true;
        UnifiedProgressOverlay *overlay = content()->overlays().last();
        QAccessibleInterface *dialog = QAccessible::queryAccessibleInterface(overlay);
        QCOMPARE(dialog->role(), QAccessible::Dialog);
        QVERIFY(dialog->state().modal);
        QCOMPARE(dialog->text(QAccessible::Name),
                 UnifiedProgressOverlay::windowTitle(overlay->operationType(), *state));

        const QList<StepIndicatorDot *> dots = overlay->findChildren<StepIndicatorDot *>();
        QCOMPARE(dots.size(), progress.steps.size());
        const QString count = QString::number(dots.size());
        QAccessibleInterface *done = QAccessible::queryAccessibleInterface(dots.at(0));
        QCOMPARE(done->role(), QAccessible::Graphic);
        QCOMPARE(done->text(QAccessible::Name), progress.steps.at(0).title);
        QCOMPARE(done->text(QAccessible::Description), "Step 1 of " + count + ", done");
        QCOMPARE(accessibleText(dots.at(2), QAccessible::Description),
                 "Step 3 of " + count + ", current");
        QCOMPARE(accessibleText(dots.last(), QAccessible::Description),
                 "Step " + count + " of " + count + ", to come");

        QWidget *stepRow = overlay->findChild<StepRowView *>();
        QCOMPARE(accessibleText(stepRow), progress.steps.at(2).title);
        QCOMPARE(accessibleText(stepRow, QAccessible::Description), "Copying to disk: 40%");
        QAccessibleInterface *ring =
            QAccessible::queryAccessibleInterface(overlay->findChild<QWidget *>("stepRing"));
        QCOMPARE(ring->role(), QAccessible::ProgressBar);
        QCOMPARE(ring->valueInterface()->currentValue().toDouble(), 40.0);
        QCOMPARE(ring->text(QAccessible::Value), "40%");
        // A new step renames the row; the bar follows the whole run.
        state->progressInfo.modify([](ProgressInfo &p) { p.updateCurrentStep(3); });
        QCOMPARE(accessibleText(stepRow), progress.steps.at(3).title);
        QCOMPARE(accessibleText(dots.at(2), QAccessible::Description),
                 "Step 3 of " + count + ", done");
        QWidget *bar = nullptr;
        for (QWidget *widget : overlay->findChildren<QWidget *>())
            if (widget->isVisible() &&
                QString(widget->metaObject()->className()) == "LinearProgressBar")
                bar = widget;
        QAccessibleInterface *barAccessible = QAccessible::queryAccessibleInterface(bar);
        QCOMPARE(barAccessible->role(), QAccessible::ProgressBar);
        QCOMPARE(barAccessible->valueInterface()->currentValue().toDouble(),
                 state->progressInfo().percentage);
    }

    // An alert keeps Tab among its buttons; Escape answers as its cancel-style button does and
    // closes a one-button alert.
    void alertsFromTheKeyboard()
    {
        showWindow();
        QStringList ran;
        state->alertTitle = "Erase Disk?";
        state->alertMessage = "This will erase all data on UNTITLED.";
        state->alertPrimaryButton =
            AlertButton::destructiveButton("Erase and Create", [&] { ran << "erase"; });
        state->alertSecondaryButton = AlertButton::cancelButton("Cancel", [&] { ran << "cancel"; });
        state->isShowingAlert = true;
        QTRY_VERIFY(content()->alert() && content()->alert()->isVisible());
        AlertDialog *alert = content()->alert();
        QVERIFY(activate(alert));
        QCOMPARE(accessibleText(alert), "Erase Disk?");
        checkTabCycle(alert);
        QCOMPARE(tabCycle().size(), 2);
        QTest::keyClick(focused(), Qt::Key_Escape);
        QCOMPARE(ran, QStringList{"cancel"});
        QTRY_VERIFY(!content()->alert());

        state->showError("Invalid Installer", "Not an installer.");
        QTRY_VERIFY(content()->alert() && content()->alert()->isVisible());
        QVERIFY(activate(content()->alert()));
        checkTabCycle(content()->alert());
        QTest::keyClick(focused(), Qt::Key_Escape);
        QVERIFY(!state->isShowingAlert());
        QTRY_VERIFY(!content()->alert());
        QCOMPARE(window->focusWidget(), content()->sidebar()->list());
    }

    // The download sheet: Tab among its list and buttons, Escape puts it away.
    void downloadSheetFromTheKeyboard()
    {
        showWindow();
        QPointer<DownloadSheet> sheet = DownloadSheet::showOver(*state, window.get());
        QTRY_VERIFY_WITH_TIMEOUT(!state->isListingOfferedInstallers(), 20000);
        QVERIFY(activate(sheet));
        QCOMPARE(focused(), sheet->list());
        checkTabCycle(sheet);
        QTest::keyClick(focused(), Qt::Key_Escape);
        QTRY_VERIFY(sheet.isNull());
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "tst_keyboardaccess.moc"
