#include "host/Host.h"
#include "state/AppState.h"
#include "support/StandInSession.h"
#include "ui/AlertDialog.h"
#include "ui/ButtonStyles.h"
#include "ui/DiskRow.h"
#include "ui/DiskSelectionView.h"
#include "ui/InstallerDetailView.h"
#include "ui/NamedColors.h"
#include "ui/NoInstallerSelectedView.h"
#include "ui/SidebarView.h"

#include <QClipboard>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

using Request = NoInstallerSelectedView::FileRequest;

namespace {

DiskInfo disk(const QString &device, const QString &name, qint64 size = 1, qint64 freeSpace = 1)
{
    return DiskInfo(device, name, "/Volumes/" + name, size, freeSpace, true);
}

QString bodyPage(const DiskSelectionView &view)
{
    return view.findChild<QStackedWidget *>("diskTableBody")->currentWidget()->objectName();
}

QString labelText(const QWidget &widget, const QString &name)
{
    return widget.findChild<QLabel *>(name)->text();
}

// Whether an action button is filled with about this colour, above its label.
bool filledWith(QWidget *button, const QColor &b)
{
    const QImage image = button->grab().toImage();
    const QColor a = image.pixelColor(image.width() / 2, 2);
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 30;
}

bool looksDisabled(StyledButton *button)
{
    return std::get<AppButtonStyle>(button->buttonStyle()).isDisabled;
}

} // namespace

// On a stand-in Mac that starts no disk listing of its own, so a test's disks stay put.
class DetailPaneTest : public QObject, private StandInSession {
    Q_OBJECT

    QUrl application(const QString &name) const
    {
        return QUrl::fromLocalFile(world->path("Applications/" + name));
    }

    InstallerApp installer(const QString &name) const
    {
        return InstallerApp::fromBundle(application(name)).value();
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void init() { startSession(SharedSupport::ejected); }
    void cleanup() { endSession(); }

    // The spinner while disks load, the rows, scrolling inside a table of fixed height when there
    // are many, and the empty state.
    void diskTableBodyFollowsTheState()
    {
        DiskSelectionView view(*state);
        view.resize(650, 320);
        view.show();
        // Disks from an earlier listing are not shown while a new one loads.
        state->availableDisks = {disk("disk4s2", "UNTITLED"), disk("disk6s1", "SD")};
        state->isLoadingDisks = true;
        QCOMPARE(bodyPage(view), "loadingDisks");
        QCOMPARE(view.rows().size(), 2);
        QVERIFY(!view.rows().first()->isVisible());
        state->isLoadingDisks = false;
        QCOMPARE(bodyPage(view), "diskList");
        QVERIFY(view.rows().first()->isVisible());
        QCOMPARE(view.rows().last()->disk().volumeName, "SD");
        // The eject button shows only a symbol, so it must be named for everyone else.
        QCOMPARE(view.rows().first()->ejectButton()->accessibleName(), "Eject");
        QApplication::processEvents();
        const QWidget *table = view.findChild<QWidget *>("diskTable");
        const int tableHeight = table->height();
        QList<DiskInfo> many;
        for (int i = 0; i < 12; ++i)
            many << disk(QString("disk%1s1").arg(i + 4), QString("STICK %1").arg(i));
        state->availableDisks = many;
        QApplication::processEvents();
        QCOMPARE(table->height(), tableHeight);
        QCOMPARE(view.findChild<QStackedWidget *>("diskTableBody")->height(),
                 DiskSelectionView::listHeight);
        const auto *list = view.findChild<QScrollArea *>("diskList");
        QTRY_VERIFY(list->verticalScrollBar()->isVisible());
        QVERIFY(list->verticalScrollBar()->maximum() >= 12 * DiskRow::rowHeight - 180);
        // No disks: the note replaces the body, the column titles stay.
        state->availableDisks = {};
        QCOMPARE(bodyPage(view), "noDisks");
        const QList<QLabel *> labels = view.findChildren<QLabel *>();
        for (const char *title :
             {"No removable disks detected", "Disk", "Size", "Free Space", "Select", "Eject"})
            QVERIFY2(std::any_of(labels.begin(), labels.end(),
                                 [&](QLabel *l) { return l->isVisible() && l->text() == title; }),
                     title);
        QVERIFY(!view.findChild<QLabel *>("noDisksSymbol")->pixmap().isNull());
        QVERIFY(view.rows().isEmpty());
    }

    // A bundle's name is its own text: markup in it is shown, never rendered, wherever it
    // appears; two installers of one name show where each lies; an unsigned one says so.
    void bundleTextIsShownAsItIs()
    {
        const QString name = "<b>x</b><img src=\"/etc/hostname\">Verified by Apple ✔";
        InstallerApp first = installer("Install macOS Sequoia.app");
        first.name = name;
        first.version = "<i>1.0</i>";
        first.signature = CodeSignature::failed("code object is not signed at all");
        InstallerApp second = installer("Install macOS Sonoma.app");
        second.name = name;
        state->installers = {first, second};
        state->selectedInstaller = first;
        InstallerDetailView detail(*state);
        SidebarView sidebar(*state);
        state->showError("Error", name);
        AlertDialog alert(*state);
        QStringList shown;
        for (QWidget *view : std::initializer_list<QWidget *>{&detail, &sidebar, &alert}) {
            for (QLabel *label : view->findChildren<QLabel *>()) {
                if (label->text().contains("<b>") || label->text().contains("<i>")) {
                    QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->text()));
                    shown << label->text();
                }
            }
        }
        QVERIFY(shown.contains(name));
        QVERIFY(shown.contains("Installer Version: <i>1.0</i>"));
        QVERIFY(shown.size() >= 4); // detail pane, both rows, the alert
        QCOMPARE(labelText(detail, "installerSignature"),
                 "⚠ Not signed by Apple: cannot be used (codesign: code object is not signed at "
                 "all)");
        QStringList locations;
        for (QLabel *label : sidebar.findChildren<QLabel *>())
            if (label->text().endsWith(".app") && !label->isHidden())
                locations << label->text();
        QCOMPARE(locations, (QStringList{first.bundlePath(), second.bundlePath()}));
    }

    void sizesAreInGigabytesOnly_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("half a gigabyte") << qint64(500'000'000) << "0.50 GB";
        QTest::newRow("a few megabytes") << qint64(64'000'000) << "0.06 GB";
        QTest::newRow("decimal, not binary") << qint64(1'073'741'824) << "1.07 GB";
        QTest::newRow("two terabytes") << qint64(2'000'000'000'000) << "2000.00 GB";
        QTest::newRow("empty") << qint64(0) << "0.00 GB";
    }

    void sizesAreInGigabytesOnly()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, shown);
        DiskRow row(disk("disk4s2", "UNTITLED", bytes, bytes), false, {});
        QCOMPARE(labelText(row, "size"), shown);
        QCOMPARE(labelText(row, "freeSpace"), shown);
    }

    void selectionGoesByRecordNotDevice()
    {
        DiskSelectionView view(*state);
        view.resize(650, 320);
        view.show();
        // Two records of the same device, as two listings would give.
        const DiskInfo first = disk("disk4s2", "OLD");
        const DiskInfo second = disk("disk4s2", "NEW");
        state->availableDisks = {first, second};
        state->selectedDisk = second;
        const auto row = [&](int i) { return view.rows().at(i); };
        QVERIFY(!row(0)->isSelected() && row(1)->isSelected());
        // A click selects on the next turn of the loop, not inside the click.
        QTest::mouseClick(row(0), Qt::LeftButton, {}, QPoint(150, 20));
        QCOMPARE(state->selectedDisk()->id, second.id);
        QTRY_COMPARE(state->selectedDisk()->id, first.id);
        QVERIFY(row(0)->isSelected() && !row(1)->isSelected());
        // Clicking the selected row again, even on empty cells, keeps it selected.
        QSignalSpy changes(state.get(), &AppState::changed);
        QTest::mouseClick(row(0), Qt::LeftButton, {}, QPoint(450, 20));
        QTRY_COMPARE(changes.size(), 1);
        QCOMPARE(state->selectedDisk()->id, first.id);
        state->selectedDisk = std::nullopt;
        QVERIFY(!row(0)->isSelected() && !row(1)->isSelected());
    }

    void particularsAndMediaButtonsFollowTheSelection()
    {
        InstallerDetailView pane(*state);
        pane.resize(650, 700);
        pane.show();
        QWidget *particulars = pane.findChild<QWidget *>("installerParticulars");
        StyledButton *iso = pane.createISOButton();
        StyledButton *usb = pane.createUSBButton();
        QVERIFY(!particulars->isVisible());
        QVERIFY(!iso->isEnabled() && looksDisabled(iso));
        QVERIFY(!usb->isEnabled() && looksDisabled(usb));
        InstallerApp sonoma = installer("Install macOS Sonoma.app");
        sonoma.macOSVersion = "14.6";
        sonoma.buildNumber = "23G80";
        sonoma.version = "19.6.02";
        sonoma.size = 13'340'000'000;
        QPixmap picture(64, 48);
        picture.fill(Qt::red);
        sonoma.icon = QIcon(picture);
        state->selectedInstaller = sonoma;
        QVERIFY(particulars->isVisible());
        QCOMPARE(labelText(pane, "installerName"), "Install macOS Sonoma");
        QCOMPARE(labelText(pane, "macOSVersion"), "macOS Version: 14.6 (23G80)");
        QCOMPARE(labelText(pane, "installerVersion"), "Installer Version: 19.6.02");
        QCOMPARE(labelText(pane, "installerSize"), "Installer Size: 13.34 GB");
        // The icon copies itself, as an image and nothing else.
        QGuiApplication::clipboard()->setText("left over");
        pane.findChild<QAbstractButton *>("installerIcon")->click();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(64, 48));
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
        // Installer but no disk: an ISO can be made, a USB stick cannot, and it shows.
        QVERIFY(iso->isEnabled() && !looksDisabled(iso));
        QVERIFY(!usb->isEnabled() && looksDisabled(usb));
        QVERIFY(filledWith(iso, NamedColors::blue()));
        QVERIFY(filledWith(usb, NamedColors::gray()));
        QTest::mouseClick(usb, Qt::LeftButton);
        QApplication::processEvents();
        QVERIFY(!state->isShowingAlert());
        state->selectedDisk = disk("disk4s2", "UNTITLED", 32'000'000'000, 31'000'000'000);
        QVERIFY(usb->isEnabled() && !looksDisabled(usb));
        QVERIFY(filledWith(usb, NamedColors::accent(usb->palette())));
        // The erase confirmation is the first thing the USB workflow does.
        QTest::mouseClick(usb, Qt::LeftButton);
        QTRY_VERIFY(state->isShowingAlert());
        QVERIFY(state->alertSecondaryButton().has_value());
        // A disk alone is not enough.
        state->isShowingAlert = false;
        state->selectedInstaller = std::nullopt;
        QVERIFY(!iso->isEnabled() && !usb->isEnabled());
        QVERIFY(filledWith(usb, NamedColors::gray()));
    }

    // A new application is appended (the pane does not sort), one already listed is selected, a
    // package goes to the state to be installed, anything else is refused; cancelling either
    // dialog changes nothing.
    void addButtonsAppendOnlyNewInstallers()
    {
        QVERIFY(QDir().mkpath(world->path("Applications/Chess.app")));
        state->installers = {installer("Install macOS Sonoma.app"),
                             installer("Install macOS Mojave.app")};
        NoInstallerSelectedView view(*state);
        QList<Request> requests;
        std::optional<QUrl> answer = application("Install macOS Sequoia.app");
        view.setFileChooser([&](const Request &request) {
            requests << request;
            return answer;
        });
        view.addApplicationButton()->click();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].fileType + '|' + requests[0].startFolder,
                 "app|" + Host::current().applicationsFolder());
        QCOMPARE(state->installers().size(), 3);
        QCOMPARE(state->installers().last().name, "Install macOS Sequoia");
        QCOMPARE(state->selectedInstaller()->name, "Install macOS Sequoia");
        answer = application("Install macOS Mojave.app");
        view.addApplicationButton()->click();
        QCOMPARE(state->installers().size(), 3);
        QCOMPARE(state->selectedInstaller()->name, "Install macOS Mojave");
        QVERIFY(!state->isShowingAlert());
        answer = application("Chess.app");
        view.addApplicationButton()->click();
        QVERIFY(state->isShowingAlert());
        QCOMPARE(state->alertTitle(), "Invalid Installer");
        QCOMPARE(state->installers().size(), 3);
        QCOMPARE(state->selectedInstaller()->name, "Install macOS Mojave");
        state->isShowingAlert = false;
        answer = QUrl::fromLocalFile("/tmp/any name.pkg");
        view.addPackageButton()->click();
        // The Mac's home, which on a stand-in is not this machine's.
        QCOMPARE(requests.last().fileType + '|' + requests.last().startFolder,
                 "pkg|" + Host::current().homeFolder());
        QVERIFY(Host::current().homeFolder() != QDir::homePath());
        QVERIFY(state->isShowingAlert());
        QCOMPARE(state->alertTitle(), "Install Package");
        state->isShowingAlert = false;
        answer = std::nullopt;
        QSignalSpy changes(state.get(), &AppState::changed);
        view.addApplicationButton()->click();
        view.addPackageButton()->click();
        QCOMPARE(changes.size(), 0);
    }
};

QTEST_MAIN(DetailPaneTest)
#include "tst_detailpane.moc"
