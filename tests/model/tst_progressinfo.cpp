#include "disk/DiskUtilityError.h"
#include "model/ProgressInfo.h"

#include <QTest>
#include <QTranslator>
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

// Marks every text it is asked for, so a test sees which texts went through translation.
class MarkingTranslator : public QTranslator {
public:
    MarkingTranslator() { QCoreApplication::installTranslator(this); }
    ~MarkingTranslator() override { QCoreApplication::removeTranslator(this); }
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *source, const char *, int) const override
    {
        return u'«' + QString::fromUtf8(source) + u'»';
    }
};

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

    // Steps and standard messages are translated when they are made, never cached in English;
    // a text given through a placeholder is inserted as it is, "%1" and all.
    void textsAreTranslatedWhenMade()
    {
        QCOMPARE(withSteps(Type::usbCreation).steps.at(1).title, "Preaparing the Disk");
        {
            const MarkingTranslator marking;
            for (Type type : {Type::usbCreation, Type::dmgCreation, Type::pkgInstallation,
                              Type::installerDownload, Type::verification}) {
                for (const ProgressStep &s : withSteps(type).steps) {
                    QVERIFY2(s.title.startsWith(u'«') && s.title.endsWith(u'»'),
                             qPrintable(s.title));
                    QVERIFY2(s.message.startsWith(u'«') && s.message.endsWith(u'»'),
                             qPrintable(s.message));
                }
            }
            QCOMPARE(withSteps(Type::usbCreation).steps.at(1).title, "«Preaparing the Disk»");

            ProgressInfo info = withSteps(Type::usbCreation, 2);
            info.markComplete(false, {}, QString("disk %1 is gone %2"));
            QCOMPARE(info.message, "«Operation failed: disk %1 is gone %2»");
            QCOMPARE(info.errorMessage, OptText("disk %1 is gone %2"));
            info.markComplete(false);
            QCOMPARE(info.message, "«Operation failed: «Unknown error»»");
            info.completeAllSteps(true, std::nullopt);
            QCOMPARE(info.message, "«Operation completed successfully»");
            info.markComplete(true, "Done %1");
            QCOMPARE(info.message, "Done %1");
        }
        ProgressInfo after;
        after.markComplete(true);
        QCOMPARE(after.message, "Operation completed successfully");
    }

    // Diagnostic lines keep the English of an error the user reads translated.
    void errorKeepsItsEnglishForDiagnostics()
    {
        using namespace std::chrono_literals;
        const MarkingTranslator marking;
        const DiskUtilityError slow = DiskUtilityError::timedOut("csrutil %1", 1500ms);
        QCOMPARE(slow.description(), "«csrutil %1 did not answer within 1.5 seconds»");
        QCOMPARE(slow.englishDescription(), "csrutil %1 did not answer within 1.5 seconds");
        QCOMPARE(DiskUtilityError::timedOut("diskutil", 1s).englishDescription(),
                 "diskutil did not answer within 1 second");
        QCOMPARE(DiskUtilityError::commandFailed("no %2").englishDescription(),
                 "Command failed: no %2");
        QCOMPARE(DiskUtilityError::launchFailed("%1 not found").englishDescription(),
                 "%1 not found");
    }
};

QTEST_GUILESS_MAIN(TestProgressInfo)
#include "tst_progressinfo.moc"
