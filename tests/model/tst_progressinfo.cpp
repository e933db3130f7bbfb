#include "model/ProgressInfo.h"

#include <QTest>
#include <limits>

using Type = ProgressInfo::OperationType;
using OptText = std::optional<QString>;

static ProgressInfo withSteps(Type type, qint64 current = 0)
{
    ProgressInfo info;
    info.setupSteps(type);
    if (current != 0) // moving to 0 again would complete the first step
        info.updateCurrentStep(current);
    return info;
}

class TestProgressInfo : public QObject {
    Q_OBJECT

private slots:
    // Step states: '.' neither flag, 'I' in progress, 'C' complete, 'B' both.
    void updateCurrentStep_data()
    {
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::addColumn<QString>("states");
        QTest::addColumn<double>("percentage");
        QTest::newRow("next") << 0LL << 1LL << "CI..." << 15.0;
        QTest::newRow("jump leaves middle") << 0LL << 2LL << "C.I.." << 25.0;
        QTest::newRow("same again") << 2LL << 2LL << "I.B.." << 25.0;
        QTest::newRow("from invalid") << -1LL << 3LL << "I..I." << 85.0;
        QTest::newRow("negative") << 0LL << -1LL << "I...." << 77.0;
        QTest::newRow("past end") << 0LL << 5LL << "I...." << 77.0;
    }
    void updateCurrentStep()
    {
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        QFETCH(QString, states);
        ProgressInfo info = withSteps(Type::usbCreation);
        info.currentStep = from;
        info.percentage = 77;
        info.message = info.detailMessage = "stale";
        info.updateCurrentStep(to);
        const bool moved = to >= 0 && to < states.size();
        QCOMPARE(info.currentStep, moved ? to : from);
        QTEST(info.percentage, "percentage");
        QCOMPARE(info.message, moved ? info.steps.at(to).message : "stale");
        QCOMPARE(info.detailMessage, "stale");
        for (qsizetype i = 0; i < states.size(); ++i) {
            const ProgressStep &s = info.steps.at(i);
            QCOMPARE(s.inProgress, states[i] == u'I' || states[i] == u'B');
            QCOMPARE(s.isComplete, states[i] == u'C' || states[i] == u'B');
            QCOMPARE(s.progressWithinStep, s.isComplete ? 100.0 : 0.0);
        }
    }

    void parseTerminalOutput_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<QString>("chunk");
        QTest::addColumn<double>("percentage");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("detail");
        const QString huge(400, u'9');
        const QString copying = "Copying installer files...";
        const QString copied = "Copying macOS installer: %1% complete";
        const QString done = "Operation completed successfully";
        const auto row = [](const char *name, const QString &chunk, double percentage,
                            const QString &message, const QString &detail, double from = 3) {
            QTest::newRow(name) << from << chunk << percentage << message << detail;
        };
        row("erasing beats done", "Erasing Disk... done", 15, "Erasing disk...",
            "Preparing target drive");
        row("copy", "Copying installer files 50%", 50, copying, copied.arg(50));
        row("first percent", "COPYING INSTALLER FILES 10%.. 20%", 26, copying, copied.arg(10));
        row("over 100", "copying installer files 150%", 110, copying, copied.arg(150));
        row("no number", "Copying installer files to disk...", 30, copying, "old");
        // Installers that make the disk bootable first copy afterwards: the bar keeps going up.
        row("copy after bootable", "Copying to disk: 50%", 92, copying, copied.arg(50), 85);
        // Past the 64-bit range the digits are shown as printed, leading zeros dropped.
        row("19 digits", "copying installer files 9999999999999999999%",
            9999999999999999999.0 * 0.6 + 20, copying, copied.arg("9999999999999999999"));
        row("23 digits", "copying installer files 00012345678901234567890123%",
            12345678901234567890123.0 * 0.6 + 20, copying, copied.arg("12345678901234567890123"));
        row("400 digits", "copying installer files " + huge + "%",
            std::numeric_limits<double>::infinity(), copying, copied.arg(huge));
        row("bootable", "Making disk bootable...", 85, "Making disk bootable...", "old");
        row("done", "Done.", 100, done, "old");
        row("done inside a word", "abandoned", 100, done, "old");
        row("copy complete", "Copy complete.", 100, done, "old");
        row("media available", "Install media now available at \"/Volumes/Install macOS Sonoma\"\n",
            100, done, "old");
        row("unrelated", "Ready to start.", 3, "idle", "old");
    }
    void parseTerminalOutput()
    {
        QFETCH(double, from);
        QFETCH(QString, chunk);
        ProgressInfo info = withSteps(Type::usbCreation, 1);
        info.percentage = from;
        info.message = "idle";
        info.detailMessage = "old";
        const QList<ProgressStep> steps = info.steps;
        info.parseTerminalOutput(chunk);
        QTEST(info.percentage, "percentage");
        QTEST(info.message, "message");
        QTEST(info.detailMessage, "detail");
        QCOMPARE(info.isComplete, info.percentage == 100);
        QCOMPARE(info.success, info.isComplete);
        QVERIFY(info.currentStep == 1 && info.steps == steps);
    }
};

QTEST_GUILESS_MAIN(TestProgressInfo)
#include "tst_progressinfo.moc"
