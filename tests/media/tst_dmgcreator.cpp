#include "media/DMGCreator.h"
#include "model/ByteFormat.h"
#include "model/Timing.h"
#include "support/BackgroundWork.h"
#include "support/StandInWorld.h"

#include "exec/Cancellation.h"
#include "hardening/Leftovers.h"

#include <QJsonArray>
#include <QMutex>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <thread>

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
const QString sonomaOutput =
    QStringLiteral("Erasing disk: 0%... 10%... 20%... 30%... 100%\nMaking disk bootable...\n"
                   "Copying to disk: 0%... 10%... 50%... 90%... 100%\n"
                   "Install media now available at \"/Volumes/Install macOS Sonoma\"\n");

// The shell lines that put an installer application at the top of the volume at `volume`, as
// createinstallmedia does.
QByteArray writeInstaller(const QByteArray &volume)
{
    return "mkdir -p " + volume + "/'Install macOS Sonoma.app/Contents' && touch " + volume +
           "/'Install macOS Sonoma.app/Contents/Info.plist'";
}

// Puts an hdiutil in the world that logs each call as one line of "|"-joined arguments to
// "hdiutil.log", runs the shell lines `verbs` gives for the call's verb, if any, and then, unless
// those exited, the stand-in's own hdiutil. An "osascript" entry replaces osascript with its lines.
void fitTools(const StandInWorld &world, const QMap<QByteArray, QByteArray> &verbs = {})
{
    QByteArray hdiutil =
        "log='" + world.path("hdiutil.log").toUtf8() + "'\n(IFS='|'; echo \"$*\") >> \"$log\"\n";
    for (auto it = verbs.cbegin(); it != verbs.cend(); ++it)
        if (it.key() != "osascript")
            hdiutil += "if [ \"$1\" = " + it.key() + " ]; then " + it.value() + "\nfi\n";
    world.replaceTool("usr/bin/hdiutil", hdiutil + "exec \"$TESSALINE_STANDIN\" hdiutil \"$@\"");
    if (verbs.contains("osascript"))
        world.replaceTool("usr/bin/osascript", verbs.value("osascript"));
}

InstallerApp installer(const StandInWorld &world, const QString &name = sonoma)
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
    // The detail lines shown while `step` was the current one.
    QStringList details(qint64 step) const
    {
        QStringList found;
        for (const ProgressInfo &report : reports)
            if (report.currentStep == step && !report.isComplete)
                found << report.detailMessage;
        return found;
    }
};

// Runs the job, cancelled once `cancelWhen` holds for the reports so far: it is asked at every
// report and every few milliseconds besides, since a tool at work may say nothing for long.
Run run(const InstallerApp &app, const std::function<bool(const Run &)> &cancelWhen = {})
{
    QMutex lock;
    Run result;
    const auto job = std::make_shared<Cancellation>();
    const auto check = [&] {
        if (cancelWhen && cancelWhen(result))
            job->request();
    };
    std::atomic<bool> finished = false;
    std::thread watcher([&] {
        for (; cancelWhen && !finished; std::this_thread::sleep_for(5ms)) {
            QMutexLocker locker(&lock);
            check();
        }
    });
    {
        const Cancellation::Scope scope(job);
        DMGCreator().createBootableDMG(app, [&](const ProgressInfo &progress) {
            QMutexLocker locker(&lock);
            result.reports << progress;
            result.threads << QThread::currentThread();
            check();
        });
    }
    waitForBackgroundWork();
    finished = true;
    watcher.join();
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

// The images on the desktop the world's hdiutil has attached, by their paths on the Mac.
QStringList attachedImages(const StandInWorld &world)
{
    QFile file(world.path("var/standin/disks.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {"unreadable disks.json"};
    QStringList images;
    for (const QJsonValue &disk : QJsonDocument::fromJson(file.readAll())["disks"].toArray())
        if (const QString image = disk["Standin"]["ImagePath"].toString();
            image.startsWith("/Desktop/"))
            images << image;
    return images;
}

// The private mount points left in the world's temporary folder.
QStringList mountFolders(const StandInWorld &world)
{
    return QDir(world.path("tmp")).entryList({"DMGMount-*"}, QDir::AllEntries | QDir::Hidden);
}

// The private mount point the run attached its image on, from the hdiutil log.
QString mountPointOf(const StandInWorld &world)
{
    for (const QString &call : lines(world.path("hdiutil.log")))
        if (call.startsWith("attach|"))
            return call.section(u'|', -1);
    return {};
}

} // namespace

class DMGCreatorTest : public QObject {
    Q_OBJECT

    std::optional<StandInWorld> m_world;
    // A fresh stand-in Mac, made when the test first asks for it.
    const StandInWorld &world()
    {
        if (!m_world)
            m_world.emplace();
        return *m_world;
    }

private slots:
    void initTestCase()
    {
        // The stand-in tools work without pauses, and every process they start is found after.
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        Leftovers::markProcessTree();
    }
    void init()
    {
        Timing timing;
        timing.imageToolFeedbackInterval = 10ms;
        Timing::setCurrent(timing);
    }
    void cleanup()
    {
        QVERIFY(!m_world || m_world->isValid());
        m_world.reset();
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
        // The tool's progress fills the step from where it starts (15) to 95.
        const QString erasing = "Erasing target disk for installation";
        const QString bootable = "Creating bootable configuration";
        const QString finishing = "Finalizing bootable media";
        row("erasing", "Erasing Disk: 0%... 100%...", {{23, erasing}});
        row("copy figure", "Copying to disk: 45%", {{58, "Copying macOS installer: 45% complete"}});
        row("latest figure of the line", "Copying to disk: 0%... 10%... 20%",
            {{43, "Copying macOS installer: 20% complete"}});
        row("copying, no figure", "Copying installer files to disk...",
            {{31, "Copying macOS installer files"}});
        row("other, trimmed", " \tAnything else \t", {{{}, "Anything else"}});
        row("80 characters whole", QString(80, u'a'), {{{}, QString(80, u'a')}});
        row("81 characters cut", QString(81, u'a'), {{{}, QString(77, u'a') + "..."}});
        const QString accented = QString(79, u'a') + QStringLiteral("e\u0301");
        row("80 characters in 81 code units", accented, {{{}, accented}});
        row("blank lines and CRLF", "\r\n  \nDone.\r\n\r\n", {{94.2, finishing}});
        // The first "Copy complete." ends the copy, not the run.
        row("High Sierra order",
            "Erasing Disk: 0%... 100%...\nCopying installer files to disk...\nCopy complete.\n"
            "Making disk bootable...\nCopying boot files...\nCopy complete.\nDone.\n",
            {{23, erasing},
             {31, "Copying macOS installer files"},
             {91, "Copying macOS installer: 100% complete"},
             {91.8, bootable},
             {92.6, "Copying boot files"},
             {94.2, finishing},
             {{}, "Done."}});
        row("Sonoma order moves forward", sonomaOutput,
            {{23, erasing},
             {27, bootable},
             {91, "Copying macOS installer: 100% complete"},
             {94.2, finishing}});
    }
    void toolOutput()
    {
        QFETCH(QString, output);
        QFETCH(double, reached);
        QFETCH(Reports, reports);
        const Reports read = DMGCreator::readToolOutput(output, reached);
        QCOMPARE(read.size(), reports.size());
        for (qsizetype i = 0; i < read.size(); ++i) {
            QCOMPARE(read[i].message, reports[i].message);
            QCOMPARE(read[i].progress.has_value(), reports[i].progress.has_value());
            if (read[i].progress)
                QVERIFY2(qAbs(*read[i].progress - *reports[i].progress) < 1e-9,
                         qPrintable(QString::number(*read[i].progress)));
        }
    }

    // The installer's name is hostile: the administrator script reaches a real shell, where the
    // name must stay one word and run nothing.
    void successfulRun()
    {
        const QString name = QStringLiteral("it's \"new\" $(touch x) `touch y`");
        const QString sandbox = world().path("sandbox");
        QVERIFY(QDir().mkpath(sandbox));
        fitTools(world(), {{"create", "ls -A \"$9\" > \"$log.staging\""}});
        // Undoes the AppleScript string and hands the command to the real bash.
        world().replaceTool(
            "usr/bin/osascript",
            "cmd=${2#'do shell script \"'}; cmd=${cmd%'\" with administrator "
            "privileges'}\ncmd=$(printf '%s' \"$cmd\" | sed -e 's/\\\\\\(.\\)/\\1/g')\n"
            "cd '" +
                sandbox.toUtf8() + "' && exec bash -c \"$cmd\"");
        world().replaceTool("Applications/" + name + ".app/Contents/Resources/createinstallmedia",
                            "printf '%s\\n' \"$@\" > '" + world().path("args").toUtf8() +
                                "'\nprintf '%s' '" + sonomaOutput.toUtf8() + "'\n" +
                                writeInstaller("\"$2\""));
        const QString desktop = world().path("Desktop/");
        const QString dmg = desktop + name + ".dmg";
        QFile old(desktop + name + ".iso");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const Run result = run(installer(world(), name));
        QCOMPARE(result.reports.first().message, "Starting DMG creation...");
        QCOMPARE(result.reports.at(1).detailMessage, "Removed existing ISO file");
        const QStringList creating = result.details(0);
        QVERIFY(creating.contains("Allocating space for DMG file (" +
                                  formatGigabytes(14'073'741'824) + ")"));
        QVERIFY(creating.contains("Creating DMG file (14921 MB)"));
        // The tool's pieces of output may come together.
        QVERIFY(std::any_of(creating.begin(), creating.end(), [&](const QString &line) {
            return line.startsWith("Creating DMG: ") && line.endsWith("created: " + dmg);
        }));
        // The staging folder and the mount point are fresh ones below the temporary folder, the
        // first holding only ".temp", and both are gone afterwards.
        QStringList calls = lines(world().path("hdiutil.log"));
        QCOMPARE(calls.size(), 4);
        QStringList create = calls[0].split(u'|');
        const QString staging = create.value(8);
        const QString mountPoint = mountPointOf(world());
        const auto isFresh = [&](const QString &path, const QString &name) {
            return QRegularExpression("^" + QRegularExpression::escape(world().path("tmp/")) +
                                      name + "-[A-Za-z0-9]{6}$")
                .match(path)
                .hasMatch();
        };
        QVERIFY2(isFresh(staging, "DMGStaging"), qPrintable(staging));
        QVERIFY2(isFresh(mountPoint, "DMGMount"), qPrintable(mountPoint));
        QCOMPARE(lines(world().path("hdiutil.log.staging")), QStringList{".temp"});
        QVERIFY(!QFileInfo::exists(staging) && !QFileInfo::exists(mountPoint));
        create[8] = "STAGING";
        calls[0] = create.join(u'|');
        // Mounted out of sight and let go of by its device.
        QCOMPARE(calls,
                 (QStringList{"create|-size|14921m|-volname|" + name +
                                  "|-fs|HFS+J|-srcfolder|STAGING|-format|UDRW|" + dmg,
                              "attach|" + dmg + "|-noverify|-nobrowse|-mountpoint|" + mountPoint,
                              "detach|/dev/disk8|-force",
                              "convert|" + dmg + "|-format|UDTO|-o|" + desktop + name}));
        QCOMPARE(attachedImages(world()), QStringList{});
        QCOMPARE(entries(sandbox), QStringList{});
        QCOMPARE(lines(world().path("args")),
                 (QStringList{"--volume", mountPoint, "--nointeraction"}));
        double previous = 0; // making the image bootable only moves forward
        for (const ProgressInfo &report : result.reports) {
            if (report.currentStep != 1 || report.isComplete)
                continue;
            QVERIFY2(report.percentage >= previous, qPrintable(report.detailMessage));
            previous = report.percentage;
        }
        QCOMPARE(entries(desktop), QStringList{name + ".iso"});
        QCOMPARE(QFileInfo(desktop + name + ".iso").size(), 14921LL * 1048576);
        const ProgressInfo &last = result.last();
        QVERIFY(last.isComplete && last.success && last.percentage == 100);
        QCOMPARE(last.message, "ISO creation complete!");
        QCOMPARE(last.outputPath, desktop + name + ".iso");
        // The preparatory reports come on the caller's thread, all others from one more thread.
        QVERIFY(result.threads.at(0) == QThread::currentThread() &&
                result.threads.at(1) == QThread::currentThread());
        QVERIFY(result.threads.at(2) != QThread::currentThread());
        QCOMPARE(result.threads.count(result.threads.at(2)), result.threads.size() - 2);
    }

    // Whatever the bundle's name holds, the images stay on the desktop and the volume's name is
    // one path entry.
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
        fitTools(world());
        InstallerApp app = installer(world());
        app.name = name;
        QVERIFY(run(app).last().success);
        const QStringList calls = lines(world().path("hdiutil.log"));
        QVERIFY(!calls.isEmpty());
        QVERIFY(calls[0].contains("|-volname|" + entry + '|'));
        QVERIFY(calls[0].endsWith(u'|' + world().path("Desktop/") + entry + ".dmg"));
        QVERIFY(!QFileInfo::exists(world().path("Escape.iso")));
        QVERIFY(!QFileInfo::exists(world().path("Desktop/...iso")));
        QCOMPARE(entries(world().path("Desktop")), QStringList{entry + ".iso"});
    }

    // Each failure stops the run with its own text, and the run takes away what it made: the
    // image is let go of, its private mount point and its files on the desktop are removed. What
    // stays (an image still attached, a file that will not go) is named.
    void failures_data()
    {
        QTest::addColumn<QByteArray>("verb");
        QTest::addColumn<QByteArray>("action");
        QTest::addColumn<QString>("error");
        QTest::addColumn<qint64>("step");
        QTest::addColumn<QString>("lastCall");
        QTest::addColumn<QString>("kept"); // on the desktop, and named in the detail line
        QTest::addColumn<QString>("detail");
        const auto row = [](const char *name, const char *verb, const char *action,
                            const QString &error, qint64 step, const char *lastCall,
                            const char *kept = "", const QString &detail = {}) {
            QTest::newRow(name) << QByteArray(verb) << QByteArray(action) << error << step
                                << QString(lastCall) << QString(kept) << detail;
        };
        row("create", "create", "echo 'hdiutil: create failed' >&2; exit 1",
            "Failed to create DMG: hdiutil: create failed\n", 0, "create");
        row("create, undecodable error", "create", "printf '\\xff' >&2; exit 1",
            "Failed to create DMG: \uFFFD", 0, "create");
        row("create leaves part of the image", "create",
            "touch \"${12}\"; echo 'hdiutil: create failed - No space left on device' >&2; exit 1",
            "Failed to create DMG: hdiutil: create failed - No space left on device\n", 0,
            "create");
        row("attach", "attach", "echo 'hdiutil: attach failed - Resource busy' >&2; exit 1",
            "Failed to mount DMG: hdiutil: attach failed - Resource busy\n", 1, "attach");
        // Mounted, but not where it was asked to be: it is still let go of.
        row("attached elsewhere", "attach",
            "set -- attach \"$2\" -mountpoint \"$TESSALINE_HOST_ROOT/Volumes/Elsewhere\"",
            "DMG mounted but volume not found at MOUNT", 1, "detach");
        row("administrator rights refused", "osascript",
            "echo '0:60: execution error: User canceled. (-128)' >&2; exit 1",
            "Failed to make DMG bootable: Admin authorization denied: 0:60: execution error: User "
            "canceled. (-128)\n",
            1, "detach");
        // Status 0 proves nothing by itself: what the tools say they made must be there.
        row("no installer on the image", "osascript", "printf 'Install media now available'",
            "Failed to make DMG bootable: createinstallmedia reported success, but the disk image "
            "holds no installer",
            1, "detach");
        // Its device would be left without a file.
        row("detach", "detach",
            "echo 'hdiutil: couldn'\\''t unmount \"disk8\" - Resource busy' >&2; exit 16",
            "Failed to unmount DMG: hdiutil: couldn't unmount \"disk8\" - Resource busy\n", 1,
            "detach", ".dmg",
            "The unfinished disk image is still attached as /dev/disk8 and was left at DESK.dmg");
        row("convert", "convert", "echo 'hdiutil: convert failed' >&2; exit 1",
            "Failed to convert DMG to ISO: hdiutil: convert failed\n", 2, "convert");
        row("convert, partial output", "convert", "touch \"$6.cdr\"; exit 1",
            "Failed to convert DMG to ISO: ", 2, "convert");
        row("convert, output that will not go", "convert", "mkdir -p \"$6.cdr/part\"; exit 1",
            "Failed to convert DMG to ISO: ", 2, "convert", ".cdr",
            "The partial conversion could not be removed from DESK.cdr: Is a directory");
        row("convert writes nothing", "convert", "exit 0",
            "Failed to convert DMG to ISO: hdiutil reported success, but wrote nothing at "
            "ROOT/Desktop/Install macOS Sonoma.cdr",
            2, "convert");
        row("convert writes part", "convert",
            "truncate -s 5M \"$2\"; head -c 1000 /dev/zero > \"$6.cdr\"; exit 0",
            "Failed to convert DMG to ISO: hdiutil reported success, but wrote 1000 bytes of an "
            "image of 5242880",
            2, "convert");
    }
    void failures()
    {
        QFETCH(QByteArray, verb);
        QFETCH(QByteArray, action);
        QFETCH(QString, error);
        QFETCH(qint64, step);
        QFETCH(QString, kept);
        QFETCH(QString, detail);
        fitTools(world(), {{verb, action}});
        const ProgressInfo last = run(installer(world())).last();
        QVERIFY(last.isComplete && !last.success && !last.steps[step].inProgress);
        QCOMPARE(last.errorMessage.value_or(""),
                 "Command failed: " +
                     error.replace("ROOT", world().root()).replace("MOUNT", mountPointOf(world())));
        QCOMPARE(last.currentStep, step);
        QTEST(lines(world().path("hdiutil.log")).last().section(u'|', 0, 0), "lastCall");
        QCOMPARE(mountFolders(world()), QStringList{});
        const QString desk = world().path("Desktop/") + sonoma;
        QCOMPARE(entries(world().path("Desktop")),
                 kept.isEmpty() ? QStringList{} : QStringList{sonoma + kept});
        QCOMPARE(attachedImages(world()).isEmpty(), kept != ".dmg");
        QCOMPARE(last.detailMessage.contains(desk), !kept.isEmpty());
        if (!kept.isEmpty())
            QCOMPARE(last.detailMessage, detail.replace("DESK", desk));
    }

    // A file of the run's names that was there before is not the run's to remove.
    void earlierMasterStays()
    {
        fitTools(world());
        QFile earlier(world().path("Desktop/") + sonoma + ".cdr");
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
        earlier.close();
        QVERIFY(run(installer(world())).last().errorMessage->endsWith("File exists\n"));
        QCOMPARE(entries(world().path("Desktop")), QStringList{sonoma + ".cdr"});
        QCOMPARE(QFileInfo(earlier).size(), 7);
    }

    // A cancel at any point ends the run there: the tool at work is ended with what it started
    // and no other is started, the image is let go of, and nothing the run made is left.
    void cancel_data()
    {
        QTest::addColumn<QByteArray>("slowTool"); // an hdiutil verb, or createinstallmedia
        QTest::addColumn<qint64>("atStep"); // cancelled as it begins; -1: while slowTool works
        QTest::addColumn<QString>("lastCall");
        QTest::newRow("while the image is made") << QByteArray("create") << -1LL << "create";
        QTest::newRow("before it is mounted") << QByteArray() << 1LL << "create";
        QTest::newRow("during createinstallmedia")
            << QByteArray("createinstallmedia") << -1LL << "detach";
        QTest::newRow("before the conversion") << QByteArray() << 2LL << "detach";
        QTest::newRow("during the conversion") << QByteArray("convert") << -1LL << "convert";
    }
    void cancel()
    {
        QFETCH(QByteArray, slowTool);
        QFETCH(qint64, atStep);
        const QString busy = world().path("busy");
        // The slow tool does its work, says so, and then takes its time.
        const QByteArray slowly = "touch '" + busy.toUtf8() + "'; sleep 30; exit 0";
        QMap<QByteArray, QByteArray> verbs;
        if (slowTool == "createinstallmedia") {
            const QString tools = "Applications/" + sonoma + ".app/Contents/Resources/";
            QVERIFY(QDir().mkpath(world().path(tools + "real")));
            QVERIFY(QFile::link(qEnvironmentVariable("TESSALINE_STANDIN"),
                                world().path(tools + "real/createinstallmedia")));
            world().replaceTool(tools + "createinstallmedia",
                                "\"$(dirname \"$0\")/real/createinstallmedia\" \"$@\"\n" + slowly);
        } else if (!slowTool.isEmpty()) {
            verbs.insert(slowTool, "\"$TESSALINE_STANDIN\" hdiutil \"$@\"; " + slowly);
        }
        fitTools(world(), verbs);
        const Run result = run(installer(world()), [&](const Run &sofar) {
            return atStep < 0
                       ? QFileInfo::exists(busy)
                       : !sofar.reports.isEmpty() && sofar.reports.last().currentStep == atStep;
        });
        const ProgressInfo &last = result.last();
        QVERIFY(last.isComplete && !last.success);
        QCOMPARE(last.errorMessage.value_or(""), "Cancelled. The partial disk image was removed.");
        QTRY_COMPARE(Leftovers::processes(), QStringList{});
        QTEST(lines(world().path("hdiutil.log")).last().section(u'|', 0, 0), "lastCall");
        QCOMPARE(entries(world().path("Desktop")), QStringList{});
        QCOMPARE(attachedImages(world()), QStringList{});
        QCOMPARE(mountFolders(world()), QStringList{});
        // createinstallmedia had mounted the erased volume there.
        QVERIFY(!QFileInfo::exists(world().path("Volumes/") + sonoma));
    }

    void missingHdiutilIsThePlatformsError()
    {
        world().removeTool("usr/bin/hdiutil");
        const QStringList temporary = entries(world().path("tmp"));
        const ProgressInfo last = run(installer(world())).last();
        QVERIFY(last.isComplete && !last.success);
        QVERIFY(!last.errorMessage.value_or("").isEmpty());
        QVERIFY(!last.errorMessage->startsWith("Command failed"));
        QCOMPARE(entries(world().path("tmp")), temporary);
    }

    // Only the file's own ".iso" is dropped for the conversion's output name.
    void isoInFolderName()
    {
        const StandInWorld inIsoFolder(
            {.payloadSize = StandInWorld::asShipped, .folder = "images.iso"});
        QVERIFY(inIsoFolder.isValid());
        fitTools(inIsoFolder);
        QVERIFY(run(installer(inIsoFolder)).last().success);
        QCOMPARE(lines(inIsoFolder.path("hdiutil.log")).last().section(u'|', -1),
                 inIsoFolder.root() + "/Desktop/" + sonoma);
        QCOMPARE(entries(inIsoFolder.root() + "/Desktop"), QStringList{sonoma + ".iso"});
    }

    void desktopFolder()
    {
        fitTools(world());
        QVERIFY(QDir(world().path("Desktop")).removeRecursively());
        QVERIFY(run(installer(world())).last().success);
        QCOMPARE(entries(world().path("Desktop")), QStringList{sonoma + ".iso"});
        // A file where the desktop should be: the run stops before any tool is run.
        QVERIFY(QDir(world().path("Desktop")).removeRecursively());
        QFile blocker(world().path("Desktop"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QVERIFY(QFile::remove(world().path("hdiutil.log")));
        const ProgressInfo last = run(installer(world())).last();
        QVERIFY(last.isComplete && !last.success);
        QCOMPARE(last.errorMessage.value_or(""), "No desktop folder to save the ISO to");
        QVERIFY(!QFileInfo::exists(world().path("hdiutil.log")));
    }
};

QTEST_GUILESS_MAIN(DMGCreatorTest)
#include "tst_dmgcreator.moc"
