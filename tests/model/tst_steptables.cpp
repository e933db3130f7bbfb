// The steps each kind of job shows, row by row, in the English the window shows them in: a step
// changed, added, removed or moved fails the row it is in. The texts are written out here, not
// taken from the code, so that a slip in a table cannot pass as its own expectation.
// USB and ISO jobs end with a check of what they wrote, a step the state adds after the table;
// those two lists are taken from real jobs on a stand-in Mac, as the jobs first show them.

#include "model/ProgressInfo.h"
#include "state/AppState.h"
#include "support/MediaSession.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <QtTest>

namespace {

using Type = ProgressInfo::OperationType;

struct Row {
    const char *title;
    const char *message;
    double start;
    double end;
};

// One data row for each step of the table: the row's tag is its place and title.
void table(std::initializer_list<Row> rows)
{
    QTest::addColumn<qint64>("index");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    qint64 index = 0;
    for (const Row &row : rows) {
        QTest::addRow("%lld %s", index + 1, row.title)
            << index << qint64(rows.size()) << QString(row.title) << QString(row.message)
            << row.start << row.end;
        ++index;
    }
}

// Compares the current data row with the step in its place in `steps`, a table as just set up:
// its first step under way and nothing done yet.
void compareRow(const QList<ProgressStep> &steps)
{
    QFETCH(qint64, index);
    QFETCH(qint64, count);
    QCOMPARE(steps.size(), count);
    const ProgressStep &step = steps.at(index);
    QTEST(step.title, "title");
    QTEST(step.message, "message");
    QTEST(step.startPercentage, "start");
    QTEST(step.endPercentage, "end");
    QCOMPARE(step.inProgress, index == 0);
    QCOMPARE(step.isComplete, false);
    QCOMPARE(step.progressWithinStep, 0.0);
    QCOMPARE(step.detailMessage, QString());
}

QList<ProgressStep> made(Type type)
{
    ProgressInfo info;
    info.setupSteps(type);
    return info.steps;
}

} // namespace

class TestStepTables : public QObject {
    Q_OBJECT

    QTemporaryDir m_workingFolder;
    QList<ProgressStep> m_usbShown;
    QList<ProgressStep> m_isoShown;

    // Runs a job of `kind` ("usb" or "iso") on a fresh stand-in Mac to its end and keeps the
    // first steps it showed.
    void runJob(const QString &kind, QList<ProgressStep> &shown)
    {
        const StandInWorld world;
        QVERIFY(world.isValid());
        MediaSession session;
        QVERIFY(session.state.verifiesMedia());
        connect(&session.state, &AppState::changed, &session.state, [&] {
            if (shown.isEmpty())
                shown = session.state.progressInfo().steps;
        });
        if (kind == "usb") {
            world.writeState("protection.json", {{"status", "disabled"}});
            session.state.createBootableUSB();
            session.pressPrimary();
        } else {
            session.state.createBootableDMG();
        }
        QVERIFY(session.finish());
        QVERIFY2(session.state.progressInfo().success,
                 qPrintable(session.state.progressInfo().message));
    }

private slots:
    void initTestCase()
    {
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        QVERIFY(m_workingFolder.isValid());
        QDir::setCurrent(m_workingFolder.path());
        Timing::setCurrent(quickTiming());
        runJob("usb", m_usbShown);
        runJob("iso", m_isoShown);
    }

    void usbCreation_data()
    {
        table({
            {"Erasing Disk", "Preparing the disk by erasing target volume", 0, 15},
            // Misspelt on purpose, and kept so.
            {"Preaparing the Disk",
             "Transferring macOS Installer files, this could take a while...", 15, 25},
            {"Copying Files", "Copying macOS installer files", 25, 85},
            {"Making Bootable", "Making disk bootable", 85, 95},
            {"Finishing", "Finalizing bootable USB", 95, 100},
        });
    }
    void usbCreation() { compareRow(made(Type::usbCreation)); }

    // The check takes the last 15 per cent of the bar; the table's steps share the rest.
    void usbCreationChecked_data()
    {
        table({
            {"Erasing Disk", "Preparing the disk by erasing target volume", 0, 12.75},
            {"Preaparing the Disk",
             "Transferring macOS Installer files, this could take a while...", 12.75, 21.25},
            {"Copying Files", "Copying macOS installer files", 21.25, 72.25},
            {"Making Bootable", "Making disk bootable", 72.25, 80.75},
            {"Finishing", "Finalizing bootable USB", 80.75, 85},
            {"Verifying", "Comparing the USB drive with the installer", 85, 100},
        });
    }
    void usbCreationChecked() { compareRow(m_usbShown); }

    void dmgCreation_data()
    {
        table({
            {"Creating DMG", "Creating empty DMG file", 0, 30},
            {"Making Bootable", "Making DMG bootable", 30, 70},
            {"Converting", "Converting DMG to ISO", 70, 90},
            {"Finishing", "Cleaning up temporary files", 90, 100},
        });
    }
    void dmgCreation() { compareRow(made(Type::dmgCreation)); }

    void dmgCreationChecked_data()
    {
        table({
            {"Creating DMG", "Creating empty DMG file", 0, 25.5},
            {"Making Bootable", "Making DMG bootable", 25.5, 59.5},
            {"Converting", "Converting DMG to ISO", 59.5, 76.5},
            {"Finishing", "Cleaning up temporary files", 76.5, 85},
            {"Verifying", "Comparing the ISO with the installer", 85, 100},
        });
    }
    void dmgCreationChecked() { compareRow(m_isoShown); }

    void pkgInstallation_data()
    {
        table({
            {"Preparing", "Preparing package installation", 0, 10},
            {"Extracting", "Extracting package contents", 10, 30},
            {"Installing", "Installing macOS Installer", 30, 90},
            {"Finishing", "Finalizing installation", 90, 100},
        });
    }
    void pkgInstallation() { compareRow(made(Type::pkgInstallation)); }

    void installerDownload_data()
    {
        table({
            {"Preparing", "Asking Apple for the installer", 0, 5},
            {"Downloading", "Downloading and installing the installer from Apple", 5, 95},
            {"Finishing", "Adding the installer to the library", 95, 100},
        });
    }
    void installerDownload() { compareRow(made(Type::installerDownload)); }

    // Checking media made before, on its own.
    void verification_data()
    {
        table({
            {"Verifying", "Comparing the media with the installer", 0, 100},
        });
    }
    void verification() { compareRow(made(Type::verification)); }

    void scanningHasNone() { QCOMPARE(made(Type::scanning).size(), 0); }
};

QTEST_GUILESS_MAIN(TestStepTables)
#include "tst_steptables.moc"
