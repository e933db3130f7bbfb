#include "exec/AppleScriptHelper.h"
#include "media/DMGCreator.h"
#include "model/ByteFormat.h"
#include "model/Timing.h"
#include "support/StandInWorld.h"

#include <QMutex>
#include <QThread>
#include <QtTest>

using namespace std::chrono_literals;
using Report = DMGCreator::ToolReport;
using Reports = QList<Report>;

// Readable failures of the report tables.
char *toString(const Report &report)
{
    const QString progress = report.progress ? QString::number(*report.progress) : "detail";
    return qstrdup(qPrintable(progress + ": " + report.message));
}

namespace {

const QString sonoma = QStringLiteral("Install macOS Sonoma");
const QString created = QStringLiteral("Created bootable disk image");
const QString sonomaOutput =
    QStringLiteral("Erasing disk: 0%... 10%... 20%... 30%... 100%\nMaking disk bootable...\n"
                   "Copying to disk: 0%... 10%... 50%... 90%... 100%\n"
                   "Install media now available at \"/Volumes/Install macOS Sonoma\"\n");

// Puts a scripted hdiutil and osascript in the world at `root` (a folder below the test's world).
// hdiutil logs each call as one line of "|"-joined arguments to "hdiutil.log" and makes what the
// engine looks for, unless `verbs` says otherwise; osascript keeps its script in "script" and
// answers like a granted createinstallmedia run.
void fitTools(const StandInWorld &world, const QMap<QByteArray, QByteArray> &verbs = {},
              const QString &root = {})
{
    QMap<QByteArray, QByteArray> actions{
        {"create", "ls -A \"$9\" > \"$log.staging\"; echo \"created: ${12}\"; touch \"${12}\""},
        {"attach", "mkdir -p \"$5\""},
        {"detach", "rmdir \"$2\""},
        {"convert", "touch \"$6.cdr\""}};
    actions.insert(verbs);
    QByteArray hdiutil =
        "log='" + world.path("hdiutil.log").toUtf8() + "'\n(IFS='|'; echo \"$*\") >> \"$log\"\n";
    for (auto it = actions.cbegin(); it != actions.cend(); ++it)
        hdiutil += "if [ \"$1\" = " + it.key() + " ]; then " + it.value() + "; fi\n";
    world.replaceTool(root + "usr/bin/hdiutil", hdiutil);
    world.replaceTool(root + "usr/bin/osascript",
                      "printf '%s' \"$2\" > '" + world.path("script").toUtf8() +
                          "'\nprintf '%s' '" + sonomaOutput.toUtf8() + "'");
}

InstallerApp installer(const StandInWorld &world, const QString &name)
{
    InstallerApp app;
    app.name = name;
    app.url = QUrl::fromLocalFile(world.path("Applications/" + name + ".app"));
    app.macOSVersion = QStringLiteral("14.6");
    app.size = 13'000'000'000;
    return app;
}

struct Run {
    QList<ProgressInfo> reports;
    QList<QThread *> threads;

    const ProgressInfo &last() const { return reports.last(); }
    QList<ProgressInfo> during(qint64 step) const
    {
        QList<ProgressInfo> found;
        for (const ProgressInfo &report : reports)
            if (report.currentStep == step && !report.isComplete)
                found << report;
        return found;
    }
    QStringList details(qint64 step) const
    {
        QStringList found;
        for (const ProgressInfo &report : during(step))
            found << report.detailMessage;
        return found;
    }
};

Run run(const InstallerApp &app)
{
    QMutex lock;
    Run result;
    DMGCreator().createBootableDMG(app, [&](const ProgressInfo &progress) {
        QMutexLocker locker(&lock);
        result.reports << progress;
        result.threads << QThread::currentThread();
    });
    QThreadPool::globalInstance()->waitForDone();
    return result;
}

QStringList lines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
}

} // namespace

class DMGCreatorTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        Timing timing;
        timing.imageToolFeedbackInterval = 10ms;
        Timing::setCurrent(timing);
    }

    void toolOutput_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<double>("reached");
        QTest::addColumn<Reports>("reports");
        const auto row = [](const char *name, const QString &output, const Reports &reports,
                            double reached = 15) {
            QTest::newRow(name) << output << reached << reports;
        };
        row("erasing", "Erasing Disk: 0%... 100%...", {{25, "Erasing disk image"}});
        row("erasing needs its colon", "erasing disk", {{50, "erasing disk"}});
        row("45%", "Copying installer files to disk: 45%",
            {{55.25, "Copying installer files: 45% complete"}});
        row("copy from, 100%", "Copy from source 100%",
            {{80, "Copying installer files: 100% complete"}});
        row("older phrase, first figure", "Copying installer files: 10%... 20%",
            {{39.5, "Copying installer files: 10% complete"}});
        row("newer phrase, last figure", "Copying to disk: 0%... 10%... 20%",
            {{44, "Copying installer files: 20% complete"}});
        row("copying, no figure", "Copying installer files to disk...",
            {{35, "Copying macOS installer files to disk image"}});
        row("bootable", "Making disk bootable...", {{85, "Making disk bootable"}});
        row("copy complete", "Copy complete.", {{95, created}});
        row("media available", "Install media now available at /Volumes/X", {{95, created}});
        row("other, trimmed", " \tAnything else \t", {{50, "Anything else"}});
        row("80 characters whole", QString(80, u'a'), {{50, QString(80, u'a')}});
        row("81 characters cut", QString(81, u'a'), {{50, QString(77, u'a') + "..."}});
        const QString accented = QString(79, u'a') + QStringLiteral("e\u0301");
        row("80 characters in 81 code units", accented, {{50, accented}});
        row("blank lines and CRLF", "\r\n  \nDone.\r\n\r\n", {{95, created}});
        row("below the start", "Erasing disk: 0%", {{{}, "Erasing disk image"}}, 30);
        row("High Sierra order",
            "Erasing Disk: 0%... 100%...\nCopying installer files to disk...\nCopy complete.\n"
            "Making disk bootable...\nCopying boot files...\nCopy complete.\nDone.\n",
            {{25, "Erasing disk image"},
             {35, "Copying macOS installer files to disk image"},
             {95, created},
             {{}, "Making disk bootable"},
             {{}, "Copying boot files..."},
             {95, created},
             {95, created}});
        row("Sonoma order moves forward only", sonomaOutput,
            {{25, "Erasing disk image"},
             {85, "Making disk bootable"},
             {{}, "Copying installer files: 100% complete"},
             {95, created}});
    }
    void toolOutput()
    {
        QFETCH(QString, output);
        QFETCH(double, reached);
        QFETCH(Reports, reports);
        QCOMPARE(DMGCreator::readToolOutput(output, reached), reports);
    }

    void successfulRun()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        fitTools(world);
        const QString desktop = world.path("Desktop/");
        const QString dmg = desktop + sonoma + ".dmg";
        const QString mountPoint = world.path("Volumes/") + sonoma;
        QFile old(desktop + sonoma + ".iso");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();

        const Run result = run(installer(world, sonoma));

        QCOMPARE(result.reports.first().message, "Starting DMG creation...");
        QCOMPARE(result.reports.at(1).detailMessage, "Removed existing ISO file");
        const QStringList creating = result.details(0);
        QVERIFY(creating.contains("Allocating space for DMG file (" +
                                  formatGigabytes(14'073'741'824) + ")"));
        QVERIFY(creating.contains("Creating DMG file (14921 MB)"));
        QVERIFY(creating.contains("Creating DMG: created: " + dmg));

        QStringList calls = lines(world.path("hdiutil.log"));
        QCOMPARE(calls.size(), 4);
        QStringList create = calls[0].split(u'|');
        const QString staging = create.value(8);
        QVERIFY2(QRegularExpression("^" + QRegularExpression::escape(world.path("tmp/")) +
                                    "[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$")
                     .match(staging)
                     .hasMatch(),
                 qPrintable(staging));
        QCOMPARE(lines(world.path("hdiutil.log.staging")), QStringList{".temp"});
        QVERIFY(!QFileInfo::exists(staging));
        create[8] = "STAGING";
        calls[0] = create.join(u'|');
        QCOMPARE(calls, (QStringList{"create|-size|14921m|-volname|" + sonoma +
                                         "|-fs|HFS+J|-srcfolder|STAGING|-format|UDRW|" + dmg,
                                     "attach|" + dmg + "|-noverify|-mountpoint|" + mountPoint,
                                     "detach|" + mountPoint + "|-force",
                                     "convert|" + dmg + "|-format|UDTO|-o|" + desktop + sonoma}));
        QVERIFY(!QFileInfo::exists(mountPoint));

        double previous = 0;
        for (const ProgressInfo &report : result.during(1)) {
            QVERIFY2(report.percentage >= previous, qPrintable(report.detailMessage));
            previous = report.percentage;
        }

        QCOMPARE(entries(desktop), QStringList{sonoma + ".iso"});
        QCOMPARE(QFileInfo(desktop + sonoma + ".iso").size(), 0);
        const ProgressInfo &last = result.last();
        QVERIFY(last.isComplete && last.success);
        QCOMPARE(last.message, "ISO creation complete!");
        QCOMPARE(last.outputPath, desktop + sonoma + ".iso");
        QCOMPARE(last.percentage, 100.0);

        // The preparatory reports come on the caller's thread, all others from one more thread.
        QVERIFY(result.threads.at(0) == QThread::currentThread());
        QVERIFY(result.threads.at(1) == QThread::currentThread());
        QVERIFY(result.threads.at(2) != QThread::currentThread());
        QCOMPARE(result.threads.count(result.threads.at(2)), result.threads.size() - 2);
    }

    void privilegedCommand_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("command");
        QTest::newRow("plain path")
            << "Installer"
            << "ROOT/Applications/Installer.app/Contents/Resources/createinstallmedia "
               "--volume ROOT/Volumes/Installer --nointeraction";
        QTest::newRow("spaces") << sonoma
                                << "'ROOT/Applications/Install macOS Sonoma.app/Contents/"
                                   "Resources/createinstallmedia' --volume 'ROOT/Volumes/Install "
                                   "macOS Sonoma' --nointeraction";
    }
    void privilegedCommand()
    {
        QFETCH(QString, name);
        QFETCH(QString, command);
        StandInWorld world;
        QVERIFY(world.isValid());
        fitTools(world);
        QVERIFY(run(installer(world, name)).last().success);
        QCOMPARE(lines(world.path("script")), QStringList{AppleScriptHelper::adminScript(
                                                  command.replace("ROOT", world.root()))});
    }

    void hostileNameStaysOneWord()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        const QString name = QStringLiteral("it's \"new\" $(touch x) `touch y`");
        const QString sandbox = world.path("sandbox");
        QVERIFY(QDir().mkpath(sandbox));
        fitTools(world);
        // Undoes the AppleScript string and hands the command to the real bash.
        world.replaceTool(
            "usr/bin/osascript",
            "cmd=${2#'do shell script \"'}; cmd=${cmd%'\" with administrator "
            "privileges'}\ncmd=$(printf '%s' \"$cmd\" | sed -e 's/\\\\\\(.\\)/\\1/g')\n"
            "cd '" +
                sandbox.toUtf8() + "' && exec bash -c \"$cmd\"");
        world.replaceTool("Applications/" + name + ".app/Contents/Resources/createinstallmedia",
                          "printf '%s\\n' \"$@\" > '" + world.path("args").toUtf8() +
                              "'\necho Done.");

        const ProgressInfo last = run(installer(world, name)).last();
        QCOMPARE(entries(sandbox), QStringList{});
        QCOMPARE(lines(world.path("args")),
                 (QStringList{"--volume", world.path("Volumes/") + name, "--nointeraction"}));
        QVERIFY(last.success);
    }

    // An installer's name comes from its bundle; whatever it holds, the images stay on the
    // desktop and the mount point in the volumes folder.
    void nameIsOnePathEntry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("entry");
        QTest::newRow("slashes") << QStringLiteral("../../Escape")
                                 << QStringLiteral("..:..:Escape");
        QTest::newRow("folder above") << QStringLiteral("..") << QStringLiteral("_..");
    }
    void nameIsOnePathEntry()
    {
        QFETCH(QString, name);
        QFETCH(QString, entry);
        StandInWorld world;
        QVERIFY(world.isValid());
        fitTools(world);
        InstallerApp app = installer(world, QStringLiteral("Install macOS Sonoma"));
        app.name = name;
        QVERIFY(run(app).last().success);
        const QStringList calls = lines(world.path("hdiutil.log"));
        QVERIFY(calls.size() >= 2);
        QVERIFY(calls[0].endsWith(u'|' + world.path("Desktop/") + entry + ".dmg"));
        QVERIFY(calls[1].contains(u'|' + world.path("Volumes/") + entry));
        QVERIFY(!QFileInfo::exists(world.path("Escape.iso")));
        QVERIFY(!QFileInfo::exists(world.path("Desktop/...iso")));
        QCOMPARE(entries(world.path("Desktop")), QStringList{entry + ".iso"});
    }

    void denialDetachesTheImage()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        fitTools(world);
        world.replaceTool("usr/bin/osascript",
                          "echo '0:60: execution error: User canceled. (-128)' >&2; exit 1");
        const Run result = run(installer(world, sonoma));

        const QString denial = QStringLiteral(
            "Admin authorization denied: 0:60: execution error: User canceled. (-128)");
        QVERIFY(result.details(1).contains(denial));
        const ProgressInfo &last = result.last();
        QVERIFY(last.isComplete && !last.success);
        QCOMPARE(last.errorMessage.value_or(""),
                 "Command failed: Failed to make DMG bootable: " + denial + "\n");
        QCOMPARE(last.currentStep, 1);
        const QString dmg = world.path("Desktop/") + sonoma + ".dmg";
        QCOMPARE(last.detailMessage, "The unfinished disk image was left at " + dmg);
        QVERIFY(QFileInfo::exists(dmg));
        QCOMPARE(lines(world.path("hdiutil.log")).last(),
                 "detach|" + world.path("Volumes/") + sonoma + "|-force");
    }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("verb");
        QTest::addColumn<QByteArray>("action");
        QTest::addColumn<QString>("error");
        QTest::addColumn<qint64>("step");
        QTest::addColumn<QString>("detail");
        const QString left = QStringLiteral("The unfinished disk image was left at DESK.dmg");
        QTest::newRow("create") << QByteArray("create")
                                << QByteArray("echo 'hdiutil: create failed' >&2; exit 1")
                                << "Failed to create DMG: hdiutil: create failed\n"
                                << qint64(0) << QString();
        QTest::newRow("create, undecodable error")
            << QByteArray("create") << QByteArray("printf '\\xff' >&2; exit 1")
            << "Failed to create DMG: Unknown error" << qint64(0) << QString();
        QTest::newRow("attach") << QByteArray("attach")
                                << QByteArray("echo 'hdiutil: attach failed' >&2; exit 1")
                                << "Failed to mount DMG: hdiutil: attach failed\n"
                                << qint64(1) << left;
        QTest::newRow("attached elsewhere")
            << QByteArray("attach") << QByteArray("true")
            << "DMG mounted but volume not found at ROOT/Volumes/Install macOS Sonoma" << qint64(1)
            << left;
        QTest::newRow("detach") << QByteArray("detach")
                                << QByteArray("echo 'Resource busy' >&2; exit 16")
                                << "Failed to unmount DMG: Resource busy\n"
                                << qint64(1) << left;
        QTest::newRow("convert") << QByteArray("convert")
                                 << QByteArray("echo 'hdiutil: convert failed' >&2; exit 1")
                                 << "Failed to convert DMG to ISO: hdiutil: convert failed\n"
                                 << qint64(2) << left;
        QTest::newRow("convert, partial output")
            << QByteArray("convert") << QByteArray("touch \"$6.cdr\"; exit 1")
            << "Failed to convert DMG to ISO: " << qint64(2)
            << left + ", its partial conversion at DESK.cdr";
    }
    void failures()
    {
        QFETCH(QByteArray, verb);
        QFETCH(QByteArray, action);
        QFETCH(QString, error);
        QFETCH(qint64, step);
        QFETCH(QString, detail);
        StandInWorld world;
        QVERIFY(world.isValid());
        fitTools(world, {{verb, action}});
        const ProgressInfo last = run(installer(world, sonoma)).last();

        QVERIFY(last.isComplete && !last.success);
        QCOMPARE(last.errorMessage.value_or(""),
                 "Command failed: " + error.replace("ROOT", world.root()));
        QCOMPARE(last.currentStep, step);
        QVERIFY(!last.steps[step].inProgress);
        if (detail.isEmpty())
            QVERIFY(!last.detailMessage.startsWith("The unfinished"));
        else
            QCOMPARE(last.detailMessage, detail.replace("DESK", world.path("Desktop/") + sonoma));
    }

    void missingHdiutilIsThePlatformsError()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        world.removeTool("usr/bin/hdiutil");
        const QStringList temporary = entries(world.path("tmp"));
        const ProgressInfo last = run(installer(world, sonoma)).last();
        QVERIFY(last.isComplete && !last.success);
        QVERIFY(!last.errorMessage.value_or("").isEmpty());
        QVERIFY(!last.errorMessage->startsWith("Command failed"));
        QCOMPARE(entries(world.path("tmp")), temporary);
    }

    void isoInFolderName()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        const QString root = world.path("images.iso");
        fitTools(world, {}, "images.iso/");
        Host::setCurrent(Host::standIn(root));

        QVERIFY(run(installer(world, sonoma)).last().success);
        QCOMPARE(lines(world.path("hdiutil.log")).last().section(u'|', -1),
                 root + "/Desktop/" + sonoma);
        QCOMPARE(entries(root + "/Desktop"), QStringList{sonoma + ".iso"});
    }

    void pleaseWaitWhileToolsWork()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        fitTools(world, {{"create", "sleep 0.4; touch \"${12}\""},
                         {"convert", "sleep 0.6; touch \"$6.cdr\""}});
        const Run result = run(installer(world, sonoma));
        QVERIFY(result.last().success);
        const auto waits = [&](qint64 step, const QString &message) {
            QList<double> within;
            for (const ProgressInfo &report : result.during(step))
                if (report.detailMessage == message)
                    within << report.steps[step].progressWithinStep;
            return within;
        };
        QCOMPARE(waits(0, "Creating DMG file - please wait..."),
                 (QList<double>{60, 65, 70, 75, 80, 85, 90}));
        QCOMPARE(waits(2, "Converting DMG to ISO - please wait..."),
                 (QList<double>{25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90}));
    }

    void desktopFolder()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        fitTools(world);
        QVERIFY(QDir(world.path("Desktop")).removeRecursively());
        QVERIFY(run(installer(world, sonoma)).last().success);
        QCOMPARE(entries(world.path("Desktop")), QStringList{sonoma + ".iso"});

        // A file where the desktop should be: the run stops before any tool is run.
        QVERIFY(QDir(world.path("Desktop")).removeRecursively());
        QFile blocker(world.path("Desktop"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QVERIFY(QFile::remove(world.path("hdiutil.log")));
        const ProgressInfo last = run(installer(world, sonoma)).last();
        QVERIFY(last.isComplete && !last.success);
        QCOMPARE(last.errorMessage.value_or(""), "No desktop folder to save the ISO to");
        QVERIFY(!QFileInfo::exists(world.path("hdiutil.log")));
    }
};

QTEST_GUILESS_MAIN(DMGCreatorTest)
#include "tst_dmgcreator.moc"
