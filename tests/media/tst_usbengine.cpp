// The USB engine's own rules: how the tool's phases move the step table, and which words a
// failed run ends with.

#include "media/InstallMediaFailure.h"
#include "media/USBRun.h"

#include <QTest>

namespace {

using Stream = InstallMediaOutput::Stream;
using Chunks = QList<std::pair<Stream, QString>>;

UsbRun startedRun(QList<ProgressInfo> *reports)
{
    UsbRun run;
    run.report = [reports](const ProgressInfo &progress) { reports->append(progress); };
    run.progress.setupSteps(ProgressInfo::OperationType::usbCreation);
    run.progress.currentStep = 0;
    return run;
}

} // namespace

class UsbEngineTest : public QObject {
    Q_OBJECT

private slots:
    void steps_data()
    {
        QTest::addColumn<Chunks>("chunks");
        QTest::addColumn<QList<qint64>>("steps");
        QTest::addColumn<QString>("lastDetail");
        const Chunks highSierra{
            {Stream::output, "Erasing Disk: 0%... 10%... 100%...\n"},
            {Stream::output, "Copying installer files to disk...\n"},
            {Stream::output, "Copy complete.\n"},
            {Stream::output, "Making disk bootable...\n"},
            {Stream::output, "Copying boot files...\n"},
            {Stream::output, "Copy complete.\nDone.\n"},
        };
        QTest::newRow("High Sierra")
            << highSierra << QList<qint64>{0, 0, 2, 2, 3, 3, 3} << "Finalizing bootable media";
        // Made bootable before the copy: that is still preparing the disk, and the steps never
        // go back.
        const Chunks monterey{
            {Stream::error, "Erasing disk: 0%... 50%... "},
            {Stream::error, "100%\n"},
            {Stream::output, "Making disk bootable...\n"},
            {Stream::output, "Copying to disk: 0%... 40%... "},
            {Stream::output,
             "Install media now available at \"/Volumes/Install macOS Monterey\"\n"},
        };
        QTest::newRow("Monterey") << monterey << QList<qint64>{0, 0, 0, 1, 2, 3}
                                  << "Finalizing bootable media";
        // Error lines only change what the tool's phase shows.
        const Chunks failing{
            {Stream::error, "Erasing disk: 0%... 10%...\n"},
            {Stream::error, "Error erasing disk error number (-69888, 0)\n"},
        };
        QTest::newRow("erase error")
            << failing << QList<qint64>{0, 0, 0} << "Erasing target disk for installation";
    }
    void steps()
    {
        QFETCH(Chunks, chunks);
        QFETCH(QList<qint64>, steps);
        QFETCH(QString, lastDetail);
        QList<ProgressInfo> reports;
        UsbRun run = startedRun(&reports);
        QList<qint64> seen{run.progress.currentStep};
        double latest = 0;
        for (const auto &[stream, text] : chunks) {
            handleInstallMediaOutput(run, stream, text);
            seen << run.progress.currentStep;
            QVERIFY(run.progress.percentage >= latest);
            QVERIFY(run.progress.percentage < 100);
            QVERIFY(!run.progress.isComplete);
            latest = run.progress.percentage;
        }
        QCOMPARE(seen, steps);
        QCOMPARE(run.progress.detailMessage, lastDetail);
        QCOMPARE(reports.size(), chunks.size());
    }

    void failureMessages_data()
    {
        QTest::addColumn<QString>("toolError");
        QTest::addColumn<std::optional<QString>>("runnerError");
        QTest::addColumn<QString>("message");
        const QString fallback = "Process terminated with status: 1";
        const QString tooSmall = "/Volumes/TINY is not large enough for install media. An "
                                 "additional 54.5 MB is needed.";
        QTest::newRow("tool's own line") << tooSmall + "\n" << std::optional<QString>() << tooSmall;
        QTest::newRow("inside osascript's error")
            << QString() << std::optional<QString>("0:312: execution error: " + tooSmall + " (246)")
            << tooSmall;
        // do shell script hands back line breaks as carriage returns.
        QTest::newRow("several lines inside osascript's error")
            << QString()
            << std::optional<QString>("0:300: execution error: Erasing disk: 0%... 10%...\rError "
                                      "erasing disk error number (-69888, 0)\rAn error occurred "
                                      "erasing the disk. (252)\n")
            << "Error erasing disk error number (-69888, 0)\nAn error occurred erasing the disk.";
        QTest::newRow("the prompt refused")
            << QString() << std::optional<QString>("Admin privileges required but not granted")
            << "Admin privileges required but not granted";
        QTest::newRow("nothing said") << "Erasing disk: 0%... 10%...\n"
                                      << std::optional<QString>() << fallback;
    }
    void failureMessages()
    {
        QFETCH(QString, toolError);
        QFETCH(std::optional<QString>, runnerError);
        InstallMediaOutput output;
        output.read(Stream::error, toolError);
        QTEST(installMediaFailure(output, runnerError, "Process terminated with status: 1"),
              "message");
    }
};

QTEST_GUILESS_MAIN(UsbEngineTest)
#include "tst_usbengine.moc"
