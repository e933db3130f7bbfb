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
    void stepTables_data()
    {
        QTest::addColumn<Type>("type");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("usb") << Type::usbCreation
                             << QStringList{
                                    "Erasing Disk|Preparing the disk by erasing target volume|0-15",
                                    "Preaparing the Disk|Transferring macOS Installer files, this "
                                    "could take a while...|15-25",
                                    "Copying Files|Copying macOS installer files|25-85",
                                    "Making Bootable|Making disk bootable|85-95",
                                    "Finishing|Finalizing bootable USB|95-100"};
        QTest::newRow("dmg") << Type::dmgCreation
                             << QStringList{"Creating DMG|Creating empty DMG file|0-30",
                                            "Making Bootable|Making DMG bootable|30-70",
                                            "Converting|Converting DMG to ISO|70-90",
                                            "Finishing|Cleaning up temporary files|90-100"};
        QTest::newRow("pkg") << Type::pkgInstallation
                             << QStringList{"Preparing|Preparing package installation|0-10",
                                            "Extracting|Extracting package contents|10-30",
                                            "Installing|Installing macOS Installer|30-90",
                                            "Finishing|Finalizing installation|90-100"};
    }
    void stepTables()
    {
        QFETCH(Type, type);
        QFETCH(QStringList, rows);
        ProgressInfo info = withSteps(type, 2);
        info.steps[0].title = "changed"; // must not leak into the next copy
        info.percentage = 42;
        info.setupSteps(type);
        QCOMPARE(info.percentage, 42.0);
        QCOMPARE(info.steps.size(), rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const ProgressStep &s = info.steps.at(i);
            QCOMPARE(QString("%1|%2|%3-%4")
                         .arg(s.title, s.message)
                         .arg(s.startPercentage)
                         .arg(s.endPercentage),
                     rows.at(i));
            QCOMPARE(s.inProgress, i == 0);
            QVERIFY(!s.isComplete && s.detailMessage.isEmpty() && s.progressWithinStep == 0);
        }
        const QList<ProgressStep> before = info.steps;
        info.setupSteps(Type::scanning);
        QCOMPARE(info.steps, before);
    }

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
        QCOMPARE(info.detailMessage, QString("stale"));
        for (qsizetype i = 0; i < states.size(); ++i) {
            const ProgressStep &s = info.steps.at(i);
            QCOMPARE(s.inProgress, states[i] == u'I' || states[i] == u'B');
            QCOMPARE(s.isComplete, states[i] == u'C' || states[i] == u'B');
            QCOMPARE(s.progressWithinStep, s.isComplete ? 100.0 : 0.0);
        }
    }

    void progressWithinStep_data()
    {
        QTest::addColumn<Type>("type");
        QTest::addColumn<qint64>("step");
        QTest::addColumn<double>("progress");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<double>("percentage");
        QTest::addColumn<QString>("recordDetail");
        QTest::newRow("empty detail kept")
            << Type::usbCreation << 2LL << 50.0 << "" << 55.0 << "old";
        QTest::newRow("detail replaced") << Type::usbCreation << 2LL << 50.0 << "x" << 55.0 << "x";
        QTest::newRow("not clamped") << Type::usbCreation << 4LL << 200.0 << "" << 105.0 << "old";
        QTest::newRow("no steps") << Type::scanning << 0LL << 50.0 << "x" << 0.0 << "old";
    }
    void progressWithinStep()
    {
        QFETCH(qint64, step);
        QFETCH(double, progress);
        QFETCH(QString, detail);
        QFETCH(Type, type);
        ProgressInfo info = withSteps(type, step);
        info.detailMessage = "old";
        info.updateProgressWithinCurrentStep(progress, detail);
        QTEST(info.percentage, "percentage");
        QTEST(info.detailMessage, "recordDetail");
        if (!info.steps.isEmpty()) {
            QCOMPARE(info.steps.at(step).progressWithinStep, progress);
            QCOMPARE(info.steps.at(step).detailMessage, detail);
        }
    }

    void detailAndPlainProgress()
    {
        ProgressInfo info = withSteps(Type::dmgCreation, 1);
        info.updateDetailMessage("writing");
        QCOMPARE(info.steps.at(1).detailMessage, QString("writing"));
        info.updateDetailMessage({});
        QVERIFY(info.detailMessage.isEmpty() && info.steps.at(1).detailMessage.isEmpty());
        info.updateProgress(12.5, "a", "kept");
        info.updateProgress(20, "b");
        QCOMPARE(info.detailMessage, QString("kept"));

        ProgressInfo bare;
        bare.updateDetailMessage("only here");
        QCOMPARE(bare.detailMessage, QString("only here"));
    }

    void markComplete_data()
    {
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("message");
        QTest::addColumn<OptText>("error");
        QTest::addColumn<double>("percentage");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<OptText>("kept");
        QTest::newRow("success default") << true << "" << OptText("new") << 100.0
                                         << "Operation completed successfully" << OptText("old");
        QTest::newRow("success custom")
            << true << "Done!" << OptText() << 100.0 << "Done!" << OptText("old");
        QTest::newRow("failure") << false << "unused" << OptText("disk full") << 40.0
                                 << "Operation failed: disk full" << OptText("disk full");
        QTest::newRow("failure no error")
            << false << "" << OptText() << 40.0 << "Operation failed: Unknown error" << OptText();
    }
    void markComplete()
    {
        QFETCH(bool, success);
        QFETCH(QString, message);
        QFETCH(OptText, error);
        ProgressInfo info;
        info.percentage = 40;
        info.errorMessage = "old";
        info.markComplete(success, message, error);
        QVERIFY(info.isComplete);
        QCOMPARE(info.success, success);
        QTEST(info.percentage, "percentage");
        QTEST(info.message, "shown");
        QTEST(info.errorMessage, "kept");
    }

    void completeAllSteps()
    {
        ProgressInfo ok = withSteps(Type::pkgInstallation, 1);
        ok.completeAllSteps(true, QString("odd"));
        QVERIFY(ok.success && ok.currentStep == 1 && ok.percentage == 100);
        QCOMPARE(ok.errorMessage, OptText("odd"));
        for (const ProgressStep &s : ok.steps)
            QVERIFY(s.isComplete && !s.inProgress && s.progressWithinStep == 100);

        ProgressInfo failed = withSteps(Type::pkgInstallation, 2);
        failed.completeAllSteps(false, std::nullopt);
        QVERIFY(failed.isComplete && !failed.success && failed.percentage == 30);
        QVERIFY(!failed.steps.at(2).inProgress && !failed.steps.at(2).isComplete);
        QCOMPARE(failed.message, QString("Operation failed: Unknown error"));

        ProgressInfo bare;
        bare.message = "working";
        bare.completeAllSteps(false, QString("boom"));
        QVERIFY(bare.isComplete && !bare.success && bare.message == "working");
        QCOMPARE(bare.errorMessage, OptText("boom"));

        failed.reset();
        QVERIFY(failed.steps.isEmpty() && !failed.isComplete && failed.percentage == 0);
    }

    void parseTerminalOutput_data()
    {
        QTest::addColumn<QString>("chunk");
        QTest::addColumn<double>("percentage");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("detail");
        const QString huge(400, u'9');
        const QString copying = "Copying installer files...";
        const QString copied = "Copying macOS installer: %1% complete";
        const QString done = "Operation completed successfully";
        QTest::newRow("erasing beats done") << "Erasing Disk... done" << 15.0 << "Erasing disk..."
                                            << "Preparing target drive";
        QTest::newRow("copy") << "Copying installer files 50%" << 50.0 << copying << copied.arg(50);
        QTest::newRow("first percent")
            << "COPYING INSTALLER FILES 10%.. 20%" << 26.0 << copying << copied.arg(10);
        QTest::newRow("over 100") << "copying installer files 150%" << 110.0 << copying
                                  << copied.arg(150);
        QTest::newRow("no number")
            << "Copying installer files to disk..." << 30.0 << copying << "old";
        // Past the 64-bit range the digits are shown as printed, leading zeros dropped.
        QTest::newRow("19 digits")
            << "copying installer files 9999999999999999999%" << 9999999999999999999.0 * 0.6 + 20
            << copying << copied.arg("9999999999999999999");
        QTest::newRow("23 digits") << "copying installer files 00012345678901234567890123%"
                                   << 12345678901234567890123.0 * 0.6 + 20 << copying
                                   << copied.arg("12345678901234567890123");
        QTest::newRow("400 digits")
            << "copying installer files " + huge + "%" << std::numeric_limits<double>::infinity()
            << copying << copied.arg(huge);
        QTest::newRow("bootable") << "Making disk bootable..." << 85.0 << "Making disk bootable..."
                                  << "old";
        QTest::newRow("done") << "Done." << 100.0 << done << "old";
        QTest::newRow("done inside a word") << "abandoned" << 100.0 << done << "old";
        QTest::newRow("copy complete") << "Copy complete." << 100.0 << done << "old";
        QTest::newRow("media available")
            << "Install media now available at \"/Volumes/Install macOS Sonoma\"\n"
            << 100.0 << done << "old";
        QTest::newRow("unrelated") << "Ready to start." << 3.0 << "idle"
                                   << "old";
    }
    void parseTerminalOutput()
    {
        QFETCH(QString, chunk);
        ProgressInfo info = withSteps(Type::usbCreation, 1);
        info.percentage = 3;
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
