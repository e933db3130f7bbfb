#include "state/AppState.h"
#include "support/StandInWorld.h"
#include "ui/ButtonStyles.h"
#include "ui/DiskRow.h"
#include "ui/DiskSelectionView.h"
#include "ui/InstallerDetailView.h"
#include "ui/NamedColors.h"
#include "ui/NoInstallerSelectedView.h"

#include <QClipboard>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

// A stand-in Mac whose state starts no disk listing of its own, so a test's disks stay put.
struct Scene {
    Scene()
    {
        Timing timing;
        timing.startupRefreshDelay = 24h;
        timing.diskReselectionDelay = 20ms;
        Timing::setCurrent(timing);
        if (world.isValid())
            QProcess::execute(world.path(QStringLiteral("usr/sbin/diskutil")),
                              {QStringLiteral("eject"), QStringLiteral("disk5")});
        state = std::make_unique<AppState>();
    }

    QUrl application(const QString &name) const
    {
        return QUrl::fromLocalFile(world.path(QStringLiteral("Applications/") + name));
    }

    InstallerApp installer(const QString &name) const
    {
        return InstallerApp::fromBundle(application(name)).value();
    }

    StandInWorld world;
    std::unique_ptr<AppState> state;
};

DiskInfo disk(const QString &device, const QString &name, qint64 size, qint64 freeSpace)
{
    return DiskInfo(device, name, QStringLiteral("/Volumes/") + name, size, freeSpace, true);
}

QString bodyPage(const DiskSelectionView &view)
{
    return view.findChild<QStackedWidget *>(QStringLiteral("diskTableBody"))
        ->currentWidget()
        ->objectName();
}

QStringList visibleTexts(const QWidget &widget)
{
    QStringList texts;
    for (const QLabel *label : widget.findChildren<QLabel *>()) {
        if (label->isVisible() && !label->text().isEmpty())
            texts << label->text();
    }
    return texts;
}

QString labelText(const QWidget &widget, const QString &name)
{
    return widget.findChild<QLabel *>(name)->text();
}

// The fill of an action button, above its label.
QColor buttonFill(QWidget *button)
{
    const QImage image = button->grab().toImage();
    return image.pixelColor(image.width() / 2, 2);
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 30;
}

} // namespace

class DetailPaneTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void diskTableBodyFollowsTheState()
    {
        Scene scene;
        QVERIFY(scene.world.isValid());
        AppState &state = *scene.state;
        DiskSelectionView view(state);
        view.resize(650, 320);
        view.show();

        // Disks from an earlier listing are not shown while a new one loads.
        state.availableDisks = {disk(QStringLiteral("disk4s2"), QStringLiteral("UNTITLED"),
                                     16'000'000'000, 15'000'000'000),
                                disk(QStringLiteral("disk6s1"), QStringLiteral("SDCARD"),
                                     32'000'000'000, 1'000'000'000)};
        state.isLoadingDisks = true;
        QCOMPARE(bodyPage(view), QStringLiteral("loadingDisks"));
        QVERIFY(visibleTexts(view).contains(QStringLiteral("Loading available disks...")));
        QCOMPARE(view.rows().size(), 2);
        QVERIFY(!view.rows().first()->isVisible());

        state.isLoadingDisks = false;
        QCOMPARE(bodyPage(view), QStringLiteral("diskList"));
        QVERIFY(view.rows().first()->isVisible());
        QCOMPARE(view.rows().last()->disk().volumeName, QStringLiteral("SDCARD"));

        // No disks: the note replaces the body, the column titles stay.
        state.availableDisks = {};
        QCOMPARE(bodyPage(view), QStringLiteral("noDisks"));
        const QStringList texts = visibleTexts(view);
        QVERIFY(texts.contains(QStringLiteral("No removable disks detected")));
        for (const char *title : {"Disk", "Size", "Free Space", "Select", "Eject"})
            QVERIFY2(texts.contains(QLatin1String(title)), title);
        QVERIFY(!view.findChild<QLabel *>(QStringLiteral("noDisksSymbol"))->pixmap().isNull());
        QVERIFY(view.rows().isEmpty());
    }

    void manyDisksScrollInsideTheTable()
    {
        Scene scene;
        QVERIFY(scene.world.isValid());
        AppState &state = *scene.state;
        DiskSelectionView view(state);
        view.resize(650, 320);
        view.show();
        state.availableDisks = {disk(QStringLiteral("disk4s1"), QStringLiteral("ONE"), 1, 1)};
        QApplication::processEvents();
        const QWidget *table = view.findChild<QWidget *>(QStringLiteral("diskTable"));
        const int tableHeight = table->height();

        QList<DiskInfo> many;
        for (int i = 0; i < 12; ++i)
            many << disk(QStringLiteral("disk%1s1").arg(i + 4), QStringLiteral("STICK %1").arg(i),
                         8'000'000'000, 4'000'000'000);
        state.availableDisks = many;
        QApplication::processEvents();
        QCOMPARE(table->height(), tableHeight);
        QCOMPARE(view.findChild<QStackedWidget *>(QStringLiteral("diskTableBody"))->height(),
                 DiskSelectionView::listHeight);
        const auto *list = view.findChild<QScrollArea *>(QStringLiteral("diskList"));
        QTRY_VERIFY(list->verticalScrollBar()->isVisible());
        QVERIFY(list->verticalScrollBar()->maximum() >= 12 * DiskRow::rowHeight - 180);
    }

    void sizesAreInGigabytesOnly_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("half a gigabyte") << qint64(500'000'000) << QStringLiteral("0.50 GB");
        QTest::newRow("a few megabytes") << qint64(64'000'000) << QStringLiteral("0.06 GB");
        QTest::newRow("decimal, not binary") << qint64(1'073'741'824) << QStringLiteral("1.07 GB");
        QTest::newRow("two terabytes") << qint64(2'000'000'000'000) << QStringLiteral("2000.00 GB");
        QTest::newRow("empty") << qint64(0) << QStringLiteral("0.00 GB");
    }

    void sizesAreInGigabytesOnly()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, shown);
        DiskRow row(disk(QStringLiteral("disk4s2"), QStringLiteral("UNTITLED"), bytes, bytes),
                    false, {});
        QCOMPARE(labelText(row, QStringLiteral("size")), shown);
        QCOMPARE(labelText(row, QStringLiteral("freeSpace")), shown);

        Scene scene;
        QVERIFY(scene.world.isValid());
        InstallerApp installer;
        installer.name = QStringLiteral("Install macOS Sonoma");
        installer.size = bytes;
        scene.state->selectedInstaller = installer;
        InstallerDetailView pane(*scene.state);
        QCOMPARE(labelText(pane, QStringLiteral("installerSize")),
                 QStringLiteral("Installer Size: ") + shown);
    }

    void selectionGoesByRecordNotDevice()
    {
        Scene scene;
        QVERIFY(scene.world.isValid());
        AppState &state = *scene.state;
        DiskSelectionView view(state);
        view.resize(650, 320);
        view.show();
        // Two records of the same device, as two listings would give.
        const DiskInfo first = disk(QStringLiteral("disk4s2"), QStringLiteral("OLD"), 1, 1);
        const DiskInfo second = disk(QStringLiteral("disk4s2"), QStringLiteral("NEW"), 1, 1);
        state.availableDisks = {first, second};
        state.selectedDisk = second;
        QVERIFY(!view.rows().at(0)->isSelected());
        QVERIFY(view.rows().at(1)->isSelected());

        // A click selects on the next turn of the loop, not inside the click.
        QTest::mouseClick(view.rows().at(0), Qt::LeftButton, {}, QPoint(150, 20));
        QCOMPARE(state.selectedDisk()->id, second.id);
        QTRY_COMPARE(state.selectedDisk()->id, first.id);
        QVERIFY(view.rows().at(0)->isSelected());
        QVERIFY(!view.rows().at(1)->isSelected());

        // Clicking the selected row again keeps it selected; so does a click on empty cells.
        QSignalSpy changes(&state, &AppState::changed);
        QTest::mouseClick(view.rows().at(0), Qt::LeftButton, {}, QPoint(450, 20));
        QTRY_COMPARE(changes.size(), 1);
        QCOMPARE(state.selectedDisk()->id, first.id);

        state.selectedDisk = std::nullopt;
        QVERIFY(!view.rows().at(0)->isSelected() && !view.rows().at(1)->isSelected());
    }

    void ejectButtonEjectsItsDisk()
    {
        Scene scene;
        QVERIFY(scene.world.isValid());
        AppState &state = *scene.state;
        state.refreshDiskList();
        QTRY_VERIFY(state.isLoadingDisks());
        QTRY_VERIFY(!state.isLoadingDisks());
        DiskSelectionView view(state);
        view.show();
        DiskRow *stick = nullptr;
        const QList<DiskRow *> rows = view.rows();
        for (DiskRow *row : rows) {
            if (row->disk().deviceIdentifier == QLatin1String("disk4s2"))
                stick = row;
        }
        QVERIFY(stick);
        QToolButton *eject = stick->ejectButton();
        // Only a symbol on screen, so it must be named for everyone else.
        QVERIFY(eject->text().isEmpty());
        QCOMPARE(eject->accessibleName(), QStringLiteral("Eject"));
        QVERIFY(eject->toolTip().contains(QStringLiteral("Eject")));

        eject->click();
        QVERIFY(state.isLoadingDisks());
        QCOMPARE(bodyPage(view), QStringLiteral("loadingDisks"));
        QTRY_VERIFY(!QFileInfo::exists(scene.world.path(QStringLiteral("Volumes/UNTITLED"))));
        QTRY_VERIFY(!state.isLoadingDisks());
        const auto showsStick = [&view] {
            const QList<DiskRow *> rows = view.rows();
            return std::any_of(rows.begin(), rows.end(), [](DiskRow *row) {
                return row->disk().deviceIdentifier == QLatin1String("disk4s2");
            });
        };
        QTRY_VERIFY(!showsStick());
        QVERIFY(!state.isShowingAlert());
    }

    void particularsOfTheSelectedInstaller()
    {
        Scene scene;
        QVERIFY(scene.world.isValid());
        AppState &state = *scene.state;
        InstallerDetailView pane(state);
        pane.show();
        QWidget *particulars = pane.findChild<QWidget *>(QStringLiteral("installerParticulars"));
        QVERIFY(!particulars->isVisible());

        InstallerApp installer;
        installer.name = QStringLiteral("Install macOS Sonoma");
        installer.macOSVersion = QStringLiteral("14.6");
        installer.buildNumber = QStringLiteral("23G80");
        installer.version = QStringLiteral("19.6.02");
        installer.size = 13'340'000'000;
        QPixmap picture(64, 48);
        picture.fill(Qt::red);
        installer.icon = QIcon(picture);
        state.selectedInstaller = installer;
        QVERIFY(particulars->isVisible());
        QCOMPARE(labelText(pane, QStringLiteral("installerName")), installer.name);
        QCOMPARE(labelText(pane, QStringLiteral("macOSVersion")),
                 QStringLiteral("macOS Version: 14.6 (23G80)"));
        QCOMPARE(labelText(pane, QStringLiteral("installerVersion")),
                 QStringLiteral("Installer Version: 19.6.02"));
        QCOMPARE(labelText(pane, QStringLiteral("installerSize")),
                 QStringLiteral("Installer Size: 13.34 GB"));

        auto *icon = pane.findChild<QAbstractButton *>(QStringLiteral("installerIcon"));
        QCOMPARE(icon->toolTip(), QStringLiteral("Click to copy icon to clipboard"));
        QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
        icon->click();
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(64, 48));
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    }

    void mediaButtonsFollowTheSelection()
    {
        Scene scene;
        QVERIFY(scene.world.isValid());
        AppState &state = *scene.state;
        InstallerDetailView pane(state);
        pane.resize(650, 700);
        pane.show();
        StyledButton *iso = pane.createISOButton();
        StyledButton *usb = pane.createUSBButton();
        const auto looksDisabled = [](StyledButton *button) {
            return std::get<AppButtonStyle>(button->buttonStyle()).isDisabled;
        };
        QVERIFY(!iso->isEnabled() && looksDisabled(iso));
        QVERIFY(!usb->isEnabled() && looksDisabled(usb));

        // Installer but no disk: an ISO can be made, a USB stick cannot, and it shows.
        state.selectedInstaller = scene.installer(QStringLiteral("Install macOS Sonoma.app"));
        QVERIFY(iso->isEnabled() && !looksDisabled(iso));
        QVERIFY(!usb->isEnabled() && looksDisabled(usb));
        QVERIFY(near(buttonFill(iso), NamedColors::blue()));
        QVERIFY(near(buttonFill(usb), NamedColors::gray()));
        QTest::mouseClick(usb, Qt::LeftButton);
        QApplication::processEvents();
        QVERIFY(!state.isShowingAlert());

        state.selectedDisk = disk(QStringLiteral("disk4s2"), QStringLiteral("UNTITLED"),
                                  32'000'000'000, 31'000'000'000);
        QVERIFY(usb->isEnabled() && !looksDisabled(usb));
        QVERIFY(near(buttonFill(usb), NamedColors::accent(usb->palette())));
        // The erase confirmation is the first thing the USB workflow does.
        QTest::mouseClick(usb, Qt::LeftButton);
        QTRY_VERIFY(state.isShowingAlert());
        QVERIFY(state.alertSecondaryButton().has_value());

        // A disk alone is not enough.
        state.isShowingAlert = false;
        state.selectedInstaller = std::nullopt;
        QVERIFY(!iso->isEnabled() && !usb->isEnabled());
        QVERIFY(near(buttonFill(usb), NamedColors::gray()));
    }

    void addingAnApplicationAppendsOnce()
    {
        Scene scene;
        QVERIFY(scene.world.isValid());
        AppState &state = *scene.state;
        state.installers = {scene.installer(QStringLiteral("Install macOS Sonoma.app")),
                            scene.installer(QStringLiteral("Install macOS Mojave.app"))};
        NoInstallerSelectedView view(state);
        QList<NoInstallerSelectedView::FileRequest> requests;
        QUrl answer = scene.application(QStringLiteral("Install macOS Sequoia.app"));
        view.setFileChooser([&](const NoInstallerSelectedView::FileRequest &request) {
            requests << request;
            return std::optional<QUrl>(answer);
        });

        view.addApplicationButton()->click();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].title, QStringLiteral("Select macOS Installer"));
        QCOMPARE(requests[0].message,
                 QStringLiteral("Please select a macOS Installer application"));
        QCOMPARE(requests[0].fileType, QStringLiteral("app"));
        QCOMPARE(requests[0].startFolder, Host::current().applicationsFolder());
        // Newest of all, yet added at the end: the pane does not sort.
        QCOMPARE(state.installers().size(), 3);
        QCOMPARE(state.installers().last().name, QStringLiteral("Install macOS Sequoia"));
        QCOMPARE(state.selectedInstaller()->name, QStringLiteral("Install macOS Sequoia"));

        // An application already listed is selected, not added again.
        answer = scene.application(QStringLiteral("Install macOS Mojave.app"));
        view.addApplicationButton()->click();
        QCOMPARE(state.installers().size(), 3);
        QCOMPARE(state.selectedInstaller()->name, QStringLiteral("Install macOS Mojave"));
        QVERIFY(!state.isShowingAlert());
    }

    void applicationThatIsNoInstallerIsRefused()
    {
        Scene scene;
        QVERIFY(scene.world.isValid());
        AppState &state = *scene.state;
        QVERIFY(QDir().mkpath(scene.world.path(QStringLiteral("Applications/Chess.app"))));
        NoInstallerSelectedView view(state);
        std::optional<QUrl> answer = scene.application(QStringLiteral("Chess.app"));
        view.setFileChooser([&](const NoInstallerSelectedView::FileRequest &) { return answer; });

        view.addApplicationButton()->click();
        QVERIFY(state.isShowingAlert());
        QCOMPARE(state.alertTitle(), QStringLiteral("Invalid Installer"));
        QCOMPARE(state.alertMessage(),
                 QStringLiteral("The selected application doesn't appear to be a valid macOS "
                                "installer."));
        QVERIFY(state.installers().isEmpty());
        QVERIFY(!state.selectedInstaller());

        // Cancelling either dialog changes nothing at all.
        state.isShowingAlert = false;
        answer = std::nullopt;
        QSignalSpy changes(&state, &AppState::changed);
        view.addApplicationButton()->click();
        view.addPackageButton()->click();
        QCOMPARE(changes.size(), 0);
    }

    void packageIsHandedToTheState()
    {
        Scene scene;
        QVERIFY(scene.world.isValid());
        AppState &state = *scene.state;
        NoInstallerSelectedView view(state);
        QList<NoInstallerSelectedView::FileRequest> requests;
        view.setFileChooser([&](const NoInstallerSelectedView::FileRequest &request) {
            requests << request;
            return std::optional<QUrl>(QUrl::fromLocalFile(QStringLiteral("/tmp/any name.pkg")));
        });

        view.addPackageButton()->click();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].title, QStringLiteral("Select macOS Installer Package"));
        QCOMPARE(requests[0].message, QStringLiteral("Please select an InstallAssistant.pkg file"));
        QCOMPARE(requests[0].fileType, QStringLiteral("pkg"));
        QCOMPARE(requests[0].startFolder, QDir::homePath());
        QVERIFY(state.isShowingAlert());
        QCOMPARE(state.alertTitle(), QStringLiteral("Install Package"));
        QVERIFY(state.installers().isEmpty() && !state.selectedInstaller());
    }
};

QTEST_MAIN(DetailPaneTest)
#include "tst_detailpane.moc"
