#include "disk/DiskUtilityError.h"
#include "model/ProgressInfo.h"

#include <QTest>
#include <QTranslator>
#include <functional>

using Type = ProgressInfo::OperationType;
using OptText = std::optional<QString>;

using Operation = std::function<void(ProgressInfo &)>;

// A record after an operation; a row names only the fields that differ from an empty record
// (each has an initializer, so leaving one out is meant). Its steps are written one word each:
// '.' for a step neither under way nor complete, 'I' under way, 'C' complete, 'B' both; then how
// far it got within itself unless that is 0, and ':' and its detail if it has one
// ("C100 I40:1 of 2 GB . . .").
struct Expected {
    QString steps{};
    double percentage = 0;
    QString message{};
    QString detail{};
    qint64 current = 0;
    bool complete = false;
    bool success = false;
    OptText error{};
    // Each step's slice of the bar, "start-end", one word each; unset for the table's own.
    OptText slices{};
};

Q_DECLARE_METATYPE(Type)
Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(Expected)

const QString transferring = "Transferring macOS Installer files, this could take a while...";
const QString copying = "Copying macOS installer files";
const QString succeeded = "Operation completed successfully";

static QString stepsText(const QList<ProgressStep> &steps)
{
    QStringList words;
    for (const ProgressStep &s : steps) {
        QString word = s.inProgress ? (s.isComplete ? "B" : "I") : (s.isComplete ? "C" : ".");
        if (s.progressWithinStep != 0)
            word += QString::number(s.progressWithinStep);
        if (!s.detailMessage.isEmpty())
            word += u':' + s.detailMessage;
        words << word;
    }
    return words.join(u' ');
}

static QString slicesText(const QList<ProgressStep> &steps)
{
    QStringList words;
    for (const ProgressStep &s : steps)
        words << QString::number(s.startPercentage) + u'-' + QString::number(s.endPercentage);
    return words.join(u' ');
}

// One row of the operations: `operation` applied to the `table` moved on to step `at`, and the
// record it leaves.
static void row(const char *name, Type table, qint64 at, const Operation &operation,
                const Expected &expected)
{
    QTest::newRow(name) << table << at << operation << expected;
}

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
    void operations_data()
    {
        QTest::addColumn<Type>("table");
        QTest::addColumn<qint64>("at");
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<Expected>("expected");
        const Type usb = Type::usbCreation;
        // setupSteps(scanning) leaves a record with no steps.
        const Type none = Type::scanning;

        // Moving from one step to another, from a record that says something else than the
        // steps: only the step's message is taken, the detail is left.
        const auto move = [](qint64 from, qint64 to) {
            return [from, to](ProgressInfo &info) {
                info.currentStep = from;
                info.percentage = 77;
                info.message = info.detailMessage = "stale";
                info.updateCurrentStep(to);
            };
        };
        row("step: the next", usb, 0, move(0, 1),
            {.steps = "C100 I . . .",
             .percentage = 15,
             .message = transferring,
             .detail = "stale",
             .current = 1});
        row("step: a jump leaves the ones between", usb, 0, move(0, 2),
            {.steps = "C100 . I . .",
             .percentage = 25,
             .message = copying,
             .detail = "stale",
             .current = 2});
        row("step: the same again", usb, 0, move(2, 2),
            {.steps = "I . B100 . .",
             .percentage = 25,
             .message = copying,
             .detail = "stale",
             .current = 2});
        row("step: from none", usb, 0, move(-1, 3),
            {.steps = "I . . I .",
             .percentage = 85,
             .message = "Making disk bootable",
             .detail = "stale",
             .current = 3});
        row("step: negative", usb, 0, move(0, -1),
            {.steps = "I . . . .", .percentage = 77, .message = "stale", .detail = "stale"});
        row("step: past the end", usb, 0, move(0, 5),
            {.steps = "I . . . .", .percentage = 77, .message = "stale", .detail = "stale"});
        row("no steps: only the detail is taken", none, 0,
            [](ProgressInfo &info) {
                info.updateCurrentStep(0);
                info.updateProgressWithinCurrentStep(50, "ignored");
                info.updateDetailMessage("Reading");
            },
            {.detail = "Reading"});

        row("within: halfway, with a detail", usb, 2,
            [](ProgressInfo &info) { info.updateProgressWithinCurrentStep(50, "1 of 2 GB"); },
            {.steps = "C100 . I50:1 of 2 GB . .",
             .percentage = 55,
             .message = copying,
             .detail = "1 of 2 GB",
             .current = 2});
        row("within: no detail keeps the last one", usb, 2,
            [](ProgressInfo &info) {
                info.updateProgressWithinCurrentStep(50, "1 of 2 GB");
                info.updateProgressWithinCurrentStep(75);
            },
            {.steps = "C100 . I75:1 of 2 GB . .",
             .percentage = 70,
             .message = copying,
             .detail = "1 of 2 GB",
             .current = 2});
        // Values outside 0-100 are not held back: the bar leaves the step's slice.
        row("within: above 100", usb, 2,
            [](ProgressInfo &info) { info.updateProgressWithinCurrentStep(150); },
            {.steps = "C100 . I150 . .", .percentage = 115, .message = copying, .current = 2});
        row("within: below 0", usb, 2,
            [](ProgressInfo &info) { info.updateProgressWithinCurrentStep(-50); },
            {.steps = "C100 . I-50 . .", .percentage = -5, .message = copying, .current = 2});
        row("within: the end of the last step", usb, 4,
            [](ProgressInfo &info) { info.updateProgressWithinCurrentStep(100); },
            {.steps = "C100 . . . I100",
             .percentage = 100,
             .message = "Finalizing bootable USB",
             .current = 4});
        row("within: past the steps", usb, 0,
            [](ProgressInfo &info) {
                info.currentStep = 5;
                info.updateProgressWithinCurrentStep(50, "ignored");
            },
            {.steps = "I . . . .", .current = 5});

        row("detail: to the record and the current step", usb, 2,
            [](ProgressInfo &info) { info.updateDetailMessage("a"); },
            {.steps = "C100 . I:a . .",
             .percentage = 25,
             .message = copying,
             .detail = "a",
             .current = 2});
        row("detail: empty clears both", usb, 2,
            [](ProgressInfo &info) {
                info.updateProgressWithinCurrentStep(10, "a");
                info.updateDetailMessage({});
            },
            {.steps = "C100 . I10 . .", .percentage = 31, .message = copying, .current = 2});
        row("detail: kept by its step when the next begins", usb, 1,
            [](ProgressInfo &info) {
                info.updateDetailMessage("a");
                info.updateCurrentStep(2);
            },
            {.steps = "C100 C100:a I . .",
             .percentage = 25,
             .message = copying,
             .detail = "a",
             .current = 2});

        row("progress: the bar and the message, not the steps", usb, 2,
            [](ProgressInfo &info) { info.updateProgress(40, "Halfway", "a"); },
            {.steps = "C100 . I . .",
             .percentage = 40,
             .message = "Halfway",
             .detail = "a",
             .current = 2});
        row("progress: no detail keeps the last one, any value is taken", usb, 2,
            [](ProgressInfo &info) {
                info.updateProgress(140, "Over", "a");
                info.updateProgress(-3, "Under");
            },
            {.steps = "C100 . I . .",
             .percentage = -3,
             .message = "Under",
             .detail = "a",
             .current = 2});

        // Succeeding leaves the steps as they are; failing stops the one under way.
        row("complete: success", usb, 2, [](ProgressInfo &info) { info.markComplete(true); },
            {.steps = "C100 . I . .",
             .percentage = 100,
             .message = succeeded,
             .current = 2,
             .complete = true,
             .success = true});
        row("complete: success in its own words", usb, 2,
            [](ProgressInfo &info) { info.markComplete(true, "Made it"); },
            {.steps = "C100 . I . .",
             .percentage = 100,
             .message = "Made it",
             .current = 2,
             .complete = true,
             .success = true});
        row("complete: failure, its own words ignored", usb, 2,
            [](ProgressInfo &info) {
                info.updateProgressWithinCurrentStep(40);
                info.markComplete(false, "Made it", QString("disk gone"));
            },
            {.steps = "C100 . .40 . .",
             .percentage = 49,
             .message = "Operation failed: disk gone",
             .current = 2,
             .complete = true,
             .error = "disk gone"});
        row("complete: failure without an error", usb, 2,
            [](ProgressInfo &info) { info.markComplete(false); },
            {.steps = "C100 . . . .",
             .percentage = 25,
             .message = "Operation failed: Unknown error",
             .current = 2,
             .complete = true});
        row("complete: failure with no steps", none, 0,
            [](ProgressInfo &info) { info.markComplete(false, {}, QString("gone")); },
            {.message = "Operation failed: gone", .complete = true, .error = "gone"});

        row("all steps: success", usb, 2,
            [](ProgressInfo &info) {
                info.updateProgressWithinCurrentStep(40, "a");
                info.completeAllSteps(true, std::nullopt);
            },
            {.steps = "C100 C100 C100:a C100 C100",
             .percentage = 100,
             .message = succeeded,
             .detail = "a",
             .current = 2,
             .complete = true,
             .success = true});
        row("all steps: success clears an earlier error", usb, 4,
            [](ProgressInfo &info) {
                info.markComplete(false, {}, QString("gone"));
                info.completeAllSteps(true, std::nullopt);
            },
            {.steps = "C100 C100 C100 C100 C100",
             .percentage = 100,
             .message = succeeded,
             .current = 4,
             .complete = true,
             .success = true});
        row("all steps: failure", usb, 2,
            [](ProgressInfo &info) {
                info.updateProgressWithinCurrentStep(40);
                info.completeAllSteps(false, QString("gone"));
            },
            {.steps = "C100 . .40 . .",
             .percentage = 49,
             .message = "Operation failed: gone",
             .current = 2,
             .complete = true,
             .error = "gone"});
        row("all steps: failure without an error", usb, 1,
            [](ProgressInfo &info) { info.completeAllSteps(false, std::nullopt); },
            {.steps = "C100 . . . .",
             .percentage = 15,
             .message = "Operation failed: Unknown error",
             .current = 1,
             .complete = true});
        // With no step under way, the message says what it said before.
        row("all steps: failure with no steps", none, 0,
            [](ProgressInfo &info) {
                info.message = "Working";
                info.completeAllSteps(false, QString("gone"));
            },
            {.message = "Working", .complete = true, .error = "gone"});

        // The bar reached and every slice shrink by the share the added step takes.
        row("append: during a step", usb, 2,
            [](ProgressInfo &info) {
                info.updateProgressWithinCurrentStep(50);
                info.appendStep("Checking", "Reading back", 15);
            },
            {.steps = "C100 . I50 . . .",
             .percentage = 46.75,
             .message = copying,
             .current = 2,
             .slices = "0-12.75 12.75-21.25 21.25-72.25 72.25-80.75 80.75-85 85-100"});
        row("append: a step's progress maps onto its shrunk slice", usb, 2,
            [](ProgressInfo &info) {
                info.appendStep("Checking", "Reading back", 15);
                info.updateProgressWithinCurrentStep(100);
            },
            {.steps = "C100 . I100 . . .",
             .percentage = 72.25,
             .message = copying,
             .current = 2,
             .slices = "0-12.75 12.75-21.25 21.25-72.25 72.25-80.75 80.75-85 85-100"});
        row("append: then on to the added step", usb, 4,
            [](ProgressInfo &info) {
                info.appendStep("Checking", "Reading back", 20);
                info.updateCurrentStep(5);
            },
            {.steps = "C100 . . . C100 I",
             .percentage = 80,
             .message = "Reading back",
             .current = 5,
             .slices = "0-12 12-20 20-68 68-76 76-80 80-100"});
        row("append: to no steps", none, 0,
            [](ProgressInfo &info) { info.appendStep("Checking", "Reading", 15); },
            {.steps = ".", .slices = "85-100"});

        row("scanning keeps the steps there", usb, 2,
            [](ProgressInfo &info) { info.setupSteps(Type::scanning); },
            {.steps = "C100 . I . .", .percentage = 25, .message = copying, .current = 2});
        row("reset", usb, 2,
            [](ProgressInfo &info) {
                info.updateProgressWithinCurrentStep(40, "a");
                info.outputPath = "/Volumes/Install macOS Sequoia";
                info.targetErased = info.verified = true;
                info.markComplete(false, {}, QString("gone"));
                info.reset();
            },
            {.slices = ""});
    }
    void operations()
    {
        QFETCH(Type, table);
        QFETCH(qint64, at);
        QFETCH(Operation, operation);
        QFETCH(Expected, expected);
        ProgressInfo info = withSteps(table, at);
        operation(info);
        QCOMPARE(stepsText(info.steps), expected.steps);
        QCOMPARE(slicesText(info.steps),
                 expected.slices.value_or(slicesText(withSteps(table).steps)));
        QCOMPARE(info.percentage, expected.percentage);
        QCOMPARE(info.message, expected.message);
        QCOMPARE(info.detailMessage, expected.detail);
        QCOMPARE(info.currentStep, expected.current);
        QCOMPARE(info.isComplete, expected.complete);
        QCOMPARE(info.success, expected.success);
        QCOMPARE(info.errorMessage.has_value(), expected.error.has_value());
        QCOMPARE(info.errorMessage.value_or(QString()), expected.error.value_or(QString()));
        // Only the jobs set these, and only reset clears them.
        QCOMPARE(info.outputPath, QString());
        QVERIFY(!info.targetErased && !info.verified);
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
