// A USB job run under a translator that marks every text it is asked for: what the user reads
// comes out translated, values put into the texts come out as they are, and the diagnostic lines
// stay as they were written.

#include "World.h"
#include "exec/AppleScriptHelper.h"
#include "state/AppState.h"
#include "support/CapturedOutput.h"
#include "support/MediaSession.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTranslator>
#include <QtTest>

#include <algorithm>

namespace {

// Every text, of every context, in guillemets: what went through it is told apart from what
// did not.
class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *sourceText, const char * = nullptr,
                      int = -1) const override
    {
        return u'«' + QString::fromUtf8(sourceText) + u'»';
    }
};

bool isMarked(const QString &text)
{
    return text.startsWith(u'«') && text.endsWith(u'»');
}

// Names the stick `name`, mounted under the same name.
bool renameStick(const StandInWorld &world, const QString &name)
{
    const bool renamed = World(world.root()).updateDisks([&](QJsonArray &disks) {
        for (QJsonValueRef disk : disks) {
            QJsonObject record = disk.toObject();
            QJsonArray volumes = record.value(u"Partitions").toArray();
            for (QJsonValueRef volume : volumes) {
                QJsonObject stick = volume.toObject();
                if (stick.value(u"DeviceIdentifier").toString() != u"disk4s2")
                    continue;
                stick.insert("VolumeName", name);
                stick.insert("MountPoint", "/Volumes/" + name);
                volume = stick;
                record.insert("Partitions", volumes);
                disk = record;
                return true;
            }
        }
        return false;
    });
    return renamed && QDir().rename(world.path("Volumes/UNTITLED"), world.path("Volumes/" + name));
}

} // namespace

class TranslatedMessagesTest : public QObject {
    Q_OBJECT

    MarkingTranslator m_translator;

private slots:
    void initTestCase()
    {
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        Timing::setCurrent(quickTiming());
        QCoreApplication::installTranslator(&m_translator);
    }
    void cleanupTestCase() { QCoreApplication::removeTranslator(&m_translator); }

    // A failed script is told to the user in the user's language and to the diagnostic lines in
    // English; what the script itself said is in both as it was.
    void scriptFailuresKeepTheirEnglish_data()
    {
        QTest::addColumn<std::optional<ScriptOutcome>>("outcome");
        QTest::addColumn<QString>("english");
        QTest::newRow("no answer")
            << std::optional<ScriptOutcome>() << "AppleScript Error -1: Unknown error";
        QTest::newRow("script error")
            << std::optional(ScriptOutcome{std::nullopt, "Unable to find disk5", 1})
            << "AppleScript Error 1: Unable to find disk5";
        QTest::newRow("prompt refused")
            << std::optional(ScriptOutcome{std::nullopt, "User canceled.", -128})
            << "Admin authorization denied: User canceled.";
    }
    void scriptFailuresKeepTheirEnglish()
    {
        QFETCH(std::optional<ScriptOutcome>, outcome);
        const AppleScriptHelper::Result result = AppleScriptHelper::resultOf(outcome);
        QVERIFY2(isMarked(result.output), qPrintable(result.output));
        QTEST(result.diagnosticText(), "english");
    }

    // Through the system's prompt, checked afterwards. The stick's name holds placeholders, which
    // a text filled in twice would replace with the device's name or leave one short.
    void usbJob()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        world.writeState("protection.json", {{"status", "disabled"}});
        const QString stick = QStringLiteral("Stick %1 %2");
        QVERIFY(renameStick(world, stick));

        // Whatever fails while standard output is caught is told once it is given back.
        auto diagnostics = std::make_unique<CapturedOutput>();
        QStringList shown;
        QList<ProgressStep> steps;
        MediaSession session;
        QObject::connect(&session.state, &AppState::changed, [&] {
            const ProgressInfo &progress = session.state.progressInfo();
            for (const QString &text : {progress.message, progress.detailMessage})
                if (!text.isEmpty() && !shown.contains(text))
                    shown << text;
            steps = progress.steps;
        });
        const std::optional<DiskInfo> target = session.state.selectedDisk();
        session.state.createBootableUSB();
        const AppState::Question question = session.state.alertQuestion();
        const QString title = session.state.alertTitle();
        const QString message = session.state.alertMessage();
        const QStringList buttons{
            session.state.alertPrimaryButton().label,
            session.state.alertSecondaryButton().value_or(AlertButton()).label};
        session.pressPrimary();
        const bool finished = session.finish();
        const QString printed = diagnostics->text();
        diagnostics.reset();

        QVERIFY(target);
        QCOMPARE(target->volumeName, stick);
        QCOMPARE(question, AppState::Question::eraseTarget);
        QCOMPARE(title, "«Warning»");
        QCOMPARE(message, "«This will erase all data on 'Stick %1 %2' (disk4s2). Are you sure you "
                          "want to continue?»");
        QCOMPARE(buttons, (QStringList{"«Erase and Create»", "«Cancel»"}));
        QVERIFY(finished);
        const ProgressInfo &progress = session.state.progressInfo();
        QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(progress.message)));
        QVERIFY(progress.verified);
        QCOMPARE(progress.message, "«Bootable USB creation successful!»");
        QCOMPARE(progress.detailMessage,
                 "«Verified: the USB drive holds an exact copy of the installer.»");
        QCOMPARE(session.state.jobOutcome(), "«The bootable USB is ready. It was verified.»");
        // What the engine and the state say on the way, in the order they say it.
        const QStringList said{
            "«Verifying the installer's signature...»", "«Starting bootable USB creation»",
            "«Validating disk and installer»",          "«Preparing disk for bootable media»",
            "«Checking the new installer volume»",      "«Bootable USB creation completed»"};
        qsizetype at = 0;
        for (const QString &text : said) {
            at = shown.indexOf(text, at);
            QVERIFY2(at >= 0, qPrintable(text + "\nnot after the others in:\n" + shown.join('\n')));
        }
        // The check reports the bytes read in a text filled in with them.
        QVERIFY(std::any_of(shown.begin(), shown.end(), [](const QString &text) {
            return isMarked(text) && text.endsWith(u" read»") && !text.contains(u'%');
        }));
        // The check the state adds to the engine's steps is its own.
        QVERIFY(!steps.isEmpty());
        QCOMPARE(steps.last().title, "«Verifying»");
        QCOMPARE(steps.last().message, "«Comparing the USB drive with the installer»");

        // Diagnostic lines were written, and none went through the translator.
        QVERIFY(printed.contains("Disk loading: "));
        QVERIFY2(!printed.contains(u'«') && !printed.contains(u'»'), qPrintable(printed));
    }
};

QTEST_GUILESS_MAIN(TranslatedMessagesTest)
#include "tst_translatedmessages.moc"
