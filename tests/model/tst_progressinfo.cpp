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
};

QTEST_GUILESS_MAIN(TestProgressInfo)
#include "tst_progressinfo.moc"
