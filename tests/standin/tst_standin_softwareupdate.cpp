// Runs the stand-in's softwareupdate through a world's own link, through a pipe as the application
// does and on a terminal as a user does, and holds it to the real tool's transcripts and to what
// each way a download ends leaves in /Applications.
#include "Plist.h"
#include "World.h"
#include "model/InstallerApp.h"
#include "standin/StandInTools.h"
#include "support/StandInWorld.h"
#include "support/Transcript.h"
#include "tools/Package.h"
#include "tools/Signatures.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <QThread>

#include <list>

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

using Result = ToolResult;

class TestStandinSoftwareupdate : public QObject {
    Q_OBJECT

private:
    // The worlds made, kept until the suite ends.
    std::list<StandInWorld> m_worlds;

    QString newWorld() { return m_worlds.emplace_back(StandInWorld::asMade()).canonicalRoot(); }
    static Result su(const QString &root, const QStringList &args)
    {
        return runWorldTool(root, "/usr/sbin/softwareupdate", args);
    }
    static QStringList fetch(const char *version)
    {
        return {u"--fetch-full-installer"_s, u"--full-installer-version"_s,
                QString::fromLatin1(version)};
    }
    static Result recorded(const char *name)
    {
        const Transcript run = Transcript::read(u"softwareupdate"_s, QLatin1String(name));
        return {run.exitStatus, run.streamText(false), run.streamText(true)};
    }
    static Result withVersion(Result result, const char *recordedVersion, const char *version)
    {
        std::get<1>(result).replace(QLatin1String(recordedVersion), QLatin1String(version));
        return result;
    }

    static bool changeCatalogue(const QString &root, const std::function<void(QJsonObject &)> &edit)
    {
        return World(root).updateState(u"catalogue"_s, [&](QJsonObject &catalogue) {
            edit(catalogue);
            return true;
        });
    }
    static bool setCatalogueKey(const QString &root, const char *key, const QString &value)
    {
        return changeCatalogue(root, [&](QJsonObject &c) { c.insert(QLatin1String(key), value); });
    }
    static QJsonArray offers(const QString &root)
    {
        return World(root).readState(u"catalogue"_s).value(u"installers").toArray();
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QString bundle(const QString &root, const char *name)
    {
        return root + "/Applications/Install macOS "_L1 + QLatin1String(name) + ".app"_L1;
    }
    static QString buildOf(const QString &app)
    {
        const QJsonObject info =
            Plist::toJson(readFile(app + "/Contents/Info.plist"_L1)).toObject();
        return info.value(u"DTPlatformBuild").toString();
    }
    static QStringList applications(const QString &root)
    {
        return QDir(root + "/Applications"_L1)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    // What a package left when it had only begun to go in.
    static bool isHalfMade(const QString &app, const char *build)
    {
        return QDir(app).entryList(QDir::AllEntries | QDir::NoDotAndDotDot) ==
                   QStringList{u"Contents"_s} &&
               QDir(app + "/Contents"_L1).entryList(QDir::AllEntries | QDir::NoDotAndDotDot) ==
                   QStringList{u"Info.plist"_s} &&
               buildOf(app) == QLatin1String(build);
    }

    // The run with its standard output on a terminal that passes bytes as they are written (no
    // line-ending translation); its status and all it printed there.
    static std::pair<int, QByteArray> runOnTerminal(const QString &root, const QStringList &args)
    {
        int master = -1;
        int slave = -1;
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
            return {-1, {}};
        termios mode{};
        ::tcgetattr(slave, &mode);
        mode.c_oflag &= ~tcflag_t(OPOST);
        ::tcsetattr(slave, TCSANOW, &mode);
        ::fcntl(master, F_SETFD, FD_CLOEXEC);
        ::fcntl(master, F_SETFL, O_NONBLOCK);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TESSALINE_STANDIN_SPEED"_s, u"0"_s);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setChildProcessModifier([slave] { ::dup2(slave, STDOUT_FILENO); });
        process.start(root + "/usr/sbin/softwareupdate"_L1, args);
        ::close(slave);
        QByteArray output;
        const auto drain = [&] {
            char buffer[4096];
            ssize_t got = 0;
            while ((got = ::read(master, buffer, sizeof buffer)) > 0)
                output.append(buffer, got);
        };
        const QDeadlineTimer deadline(10'000);
        while (!process.waitForFinished(20) && !deadline.hasExpired())
            drain();
        drain();
        ::close(master);
        if (process.state() != QProcess::NotRunning || process.exitStatus() != QProcess::NormalExit)
            return {-1, output};
        return {process.exitCode(), output};
    }

    static QByteArray progress(int upTo)
    {
        QByteArray text = "Installing: 0.0%";
        for (int percent = 1; percent <= upTo; ++percent)
            text += "\rInstalling: " + QByteArray::number(percent) + ".0%";
        return text + "\r\x1b[K";
    }

    // The manifest through its JSON object and back, as the package file it makes.
    static QByteArray roundTripped(const Package::Manifest &manifest)
    {
        const auto back = Package::fromJsonObject(Package::toJsonObject(manifest));
        return back ? Package::toJson(*back) : QByteArray();
    }

    static bool waitFor(const std::function<bool()> &condition)
    {
        const QDeadlineTimer deadline(10'000);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(2);
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
    }

    // The recorded listing, newest first; the world's Monterey is deferred, and says so.
    void listing()
    {
        const QString root = newWorld();
        Result expected = recorded("list-full-installers");
        std::get<1>(expected).replace("21H1123, Deferred: NO"_L1, "21H1123, Deferred: YES"_L1);
        QCOMPARE(su(root, {u"--list-full-installers"_s}), expected);
        QVERIFY(changeCatalogue(root, [](QJsonObject &catalogue) {
            QJsonArray entries = catalogue.value(u"installers").toArray();
            QJsonObject monterey = entries.last().toObject();
            monterey.insert(u"deferred"_s, false);
            entries.replace(entries.size() - 1, monterey);
            catalogue.insert(u"installers"_s, entries);
        }));
        QCOMPARE(su(root, {u"--list-full-installers"_s}), recorded("list-full-installers"));

        QVERIFY(setCatalogueKey(root, "failure", u"network"_s));
        QCOMPARE(su(root, {u"--list-full-installers"_s}),
                 Result(1, u"Finding available software\n"_s,
                        u"Software Update can’t connect to the update server.\n"_s));
        QVERIFY(setCatalogueKey(root, "failure", QString()));
        QVERIFY(
            changeCatalogue(root, [](QJsonObject &c) { c.insert(u"installers"_s, QJsonArray()); }));
        QCOMPARE(su(root, {u"--list-full-installers"_s}),
                 Result(0, u"Finding available software\n"_s, {}));
    }

    // Each era's columns, from the recorded hosts' own catalogues. Big Sur printed bytes, which
    // were not whole KiB; the world keeps KiB, so its byte counts are the nearest below.
    void listingOnOlderHosts_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QStringList>("rows"); // title, version, build, KiB
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QStringList>("recordedSizes");
        QTest::newRow("Ventura") << u"13.1"_s
                                 << QStringList{"macOS Ventura",  "13.1",    "22C65", "11931164",
                                                "macOS Catalina", "10.15.7", "19H15", "8055650"}
                                 << u"list-full-installers-ventura-host"_s << QStringList();
        QTest::newRow("Big Sur") << u"11.2.3"_s
                                 << QStringList{"macOS Big Sur",  "11.2.3",  "20D91", "11924880",
                                                "macOS Catalina", "10.15.7", "19H15", "8055650",
                                                "macOS Catalina", "10.15.7", "19H2",  "8055521"}
                                 << u"list-full-installers-big-sur-host"_s
                                 << QStringList{"12211077798", "8248985973", "8248854894"};
    }

    void listingOnOlderHosts()
    {
        QFETCH(QString, host);
        QFETCH(QStringList, rows);
        QFETCH(QString, fixture);
        QFETCH(QStringList, recordedSizes);
        const QString root = newWorld();
        const QJsonValue package = offers(root).first().toObject().value(u"package");
        QVERIFY(changeCatalogue(root, [&](QJsonObject &catalogue) {
            QJsonArray entries;
            for (qsizetype at = 0; at < rows.size(); at += 4)
                entries.append(QJsonObject{{u"title"_s, rows.at(at)},
                                           {u"version"_s, rows.at(at + 1)},
                                           {u"build"_s, rows.at(at + 2)},
                                           {u"sizeKiB"_s, rows.at(at + 3).toLongLong()},
                                           {u"deferred"_s, false},
                                           {u"package"_s, package}});
            catalogue.insert(u"installers"_s, entries);
            catalogue.insert(u"macOS"_s, host);
        }));
        Result expected = recorded(fixture.toLatin1().constData());
        for (qsizetype row = 0; row < recordedSizes.size(); ++row)
            std::get<1>(expected).replace(
                "Size: "_L1 + recordedSizes.at(row) + u'K',
                "Size: "_L1 + QString::number(rows.at(row * 4 + 3).toLongLong() * 1024) + u'K');
        QCOMPARE(su(root, {u"--list-full-installers"_s}), expected);
    }

    // Catalina could fetch but not list; before it, neither. Mistakes get the usage, unplayed
    // commands say so; every run is logged.
    void options()
    {
        const QString root = newWorld();
        const auto refused = [&](const QStringList &args, const QString &complaint) {
            const auto [status, out, err] = su(root, args);
            const QString usage = u"usage: softwareupdate <cmd>"_s;
            const bool ok = status == 1 && out.isEmpty() &&
                            err.startsWith(complaint.isEmpty() ? usage : complaint + u'\n' + usage);
            if (!ok)
                qWarning() << args << status << out << err;
            return ok ? err : QString();
        };
        QVERIFY(!refused({u"--list-full-installers-now"_s},
                         u"softwareupdate: unrecognized option '--list-full-installers-now'"_s)
                     .isEmpty());
        QVERIFY(!refused({u"-x"_s}, u"softwareupdate: invalid option -- 'x'"_s).isEmpty());
        QVERIFY(!refused({u"--fetch-full-installer"_s, u"--full-installer-version"_s},
                         u"softwareupdate: option '--full-installer-version' requires an "
                         "argument"_s)
                     .isEmpty());
        QVERIFY(!refused({}, {}).isEmpty());
        QVERIFY(!refused({u"--list-full-installers"_s, u"--fetch-full-installer"_s}, {}).isEmpty());
        QVERIFY(!refused({u"--full-installer-version"_s, u"15.3"_s}, {}).isEmpty());
        QCOMPARE(std::get<0>(su(root, {u"--list"_s})), 127);

        QVERIFY(setCatalogueKey(root, "macOS", u"10.15.7"_s));
        const QString catalina =
            refused({u"--list-full-installers"_s},
                    u"softwareupdate: unrecognized option '--list-full-installers'"_s);
        QVERIFY(catalina.contains("--fetch-full-installer"_L1));
        QVERIFY(!catalina.contains("--list-full-installers\t"_L1));
        QCOMPARE(std::get<0>(su(root, fetch("15.0"))), 1);
        QCOMPARE(std::get<1>(su(root, fetch("15.0"))), std::get<1>(recorded("fetch-not-found")));
        QVERIFY(setCatalogueKey(root, "macOS", u"10.14.6"_s));
        QVERIFY(!refused(fetch("13.7.4"),
                         u"softwareupdate: unrecognized option '--fetch-full-installer'"_s)
                     .isEmpty());
        QVERIFY(!QFileInfo::exists(bundle(root, "Ventura")));

        const QList<QByteArray> log =
            readFile(root + "/var/standin/softwareupdate.log"_L1).split('\n');
        QCOMPARE(log.size(), 11 + 1);
        QCOMPARE(QJsonDocument::fromJson(log.at(10)).array(),
                 QJsonArray::fromStringList(QStringList{u"softwareupdate"_s} + fetch("13.7.4")));
    }

    // Through a pipe only the first and last lines; the installer lands over the copy there was,
    // complete, signed as Apple's and readable by the program as that release.
    void fetchThroughPipe()
    {
        const QString root = newWorld();
        const QStringList before = applications(root);
        const QString sequoia = bundle(root, "Sequoia");
        QCOMPARE(buildOf(sequoia), u"24B83"_s);
        QCOMPARE(su(root, fetch("15.3.1")),
                 withVersion(recorded("fetch-ok-pipe"), "15.2", "15.3.1"));
        QCOMPARE(applications(root), before);
        QCOMPARE(buildOf(sequoia), u"24D70"_s);

        const QJsonObject entry = offers(root).at(3).toObject();
        QCOMPARE(entry.value(u"version").toString(), u"13.7.4"_s);
        const std::optional<Package::Manifest> ventura =
            Package::fromJsonObject(entry.value(u"package").toObject());
        QVERIFY(ventura);
        QCOMPARE(su(root, fetch("13.7.4")),
                 withVersion(recorded("fetch-ok-pipe"), "15.2", "13.7.4"));
        QCOMPARE(applications(root).size(), before.size() + 1);
        QVERIFY(applications(root).contains(u"Install macOS Ventura.app"_s));
        const QString app = bundle(root, "Ventura");
        QCOMPARE(readFile(app + "/Contents/Info.plist"_L1),
                 Plist::fromJson(ventura->infoPlist, ventura->infoPlistFormat));
        QCOMPARE(Signatures::signerOf(app), QLatin1String(Signatures::apple));
        QCOMPARE(QFileInfo(app + "/Contents/Resources/createinstallmedia"_L1).canonicalFilePath(),
                 standinProgram());
        const QString payload = app + "/Contents/SharedSupport/SharedSupport.dmg"_L1;
        QCOMPARE(QFileInfo(payload).size(), ventura->sharedSupportSize);
        QVERIFY(ventura->sharedSupportSize > 10'000'000'000);
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(payload).constData(), &status), 0);
        QVERIFY(qint64(status.st_blocks) * 512 < 1024 * 1024);
        QVERIFY(
            World(root)
                .readState(u"images"_s)
                .value(u"images")
                .toObject()
                .contains(
                    "/Applications/Install macOS Ventura.app/Contents/SharedSupport/SharedSupport.dmg"_L1));

        const std::optional<InstallerApp> installer =
            InstallerApp::fromBundle(QUrl::fromLocalFile(app));
        QVERIFY(installer);
        QCOMPARE(installer->name, u"Install macOS Ventura"_s);
        QCOMPARE(installer->macOSVersion, u"13.7"_s);
        QCOMPARE(installer->buildNumber, u"22H420"_s);
        QVERIFY(!installer->icon.isNull());

        // Without a version: the newest there is, which here is the one that landed first.
        QCOMPARE(su(root, {u"--fetch-full-installer"_s}),
                 withVersion(recorded("fetch-ok-pipe"), "15.2", "15.3.1"));
        QCOMPARE(buildOf(sequoia), u"24D70"_s);
    }

    // On a terminal the progress is redrawn in place in steps of one per cent, the recorded
    // steps among them, and wiped before the verdict; a dropped download stops where it dropped.
    void fetchOnTerminal()
    {
        const QString root = newWorld();
        const Transcript recording = Transcript::read(u"softwareupdate"_s, u"fetch-ok-terminal"_s);
        const auto [status, output] = runOnTerminal(root, fetch("14.7.4"));
        QCOMPARE(status, recording.exitStatus);
        QCOMPARE(output, "Scanning for 14.7.4 installer\n" + progress(100) +
                             "Install finished successfully\n");
        qsizetype from = 0;
        for (const Transcript::Piece &piece : recording.pieces) {
            from = output.indexOf(piece.text.toUtf8(), from);
            QVERIFY2(from >= 0, qPrintable(piece.text));
        }
        QCOMPARE(buildOf(bundle(root, "Sonoma")), u"23H420"_s);

        QVERIFY(setCatalogueKey(root, "failure", u"network"_s));
        const auto [dropped, partly] = runOnTerminal(root, fetch("13.7.4"));
        QCOMPARE(dropped, 1);
        const QByteArray lost = "The network connection was lost.";
        QVERIFY(partly.startsWith("Scanning for 13.7.4 installer\n" + progress(40) +
                                  "Install failed with error: " + lost +
                                  "\nError Domain=NSURLErrorDomain Code=-1005 \"" + lost + '"'));
        QCOMPARE(partly.count('\n'), 3);
        QVERIFY(!QFileInfo::exists(bundle(root, "Ventura")));
    }

    // How each way of failing reads, and what it leaves of Sequoia's bundle: the copy there was,
    // or a half-made one in its place when the package's scripts failed while installing.
    void fetchFailures_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("version");
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<QString>("out");
        QTest::addColumn<bool>("halfMade");
        const QString notFound = std::get<1>(recorded("fetch-not-found"));
        const auto scanning = [](const char *version) {
            return "Scanning for "_L1 + QLatin1String(version) + " installer\n"_L1;
        };
        const QString noSpace = scanning("15.3.1") +
                                "Install failed with error: Not enough free disk space to "
                                "download macOS Sequoia.\n"_L1;
        QTest::newRow("unknown version")
            << QString() << u"15.0"_s << qint64(0) << notFound << false;
        QTest::newRow("not found") << u"not-found"_s << u"15.3.1"_s << qint64(0)
                                   << QString(notFound).replace("15.0"_L1, "15.3.1"_L1) << false;
        QTest::newRow("deferred") << QString() << u"12.7.4"_s << qint64(0)
                                  << QString(notFound).replace("15.0"_L1, "12.7.4"_L1) << false;
        QTest::newRow("no space") << u"no-space"_s << u"15.3.1"_s << qint64(0) << noSpace << false;
        // 15,248,872,448 bytes to download.
        QTest::newRow("full volume")
            << QString() << u"15.3.1"_s << qint64(15'248'872'447) << noSpace << false;
        QTest::newRow("script")
            << u"script"_s << u"15.3.1"_s << qint64(0)
            << std::get<1>(recorded("fetch-script-failed")).replace("15.3.2"_L1, "15.3.1"_L1)
            << true;
    }

    void fetchFailures()
    {
        QFETCH(QString, failure);
        QFETCH(QString, version);
        QFETCH(qint64, freeBytes);
        QFETCH(QString, out);
        QFETCH(bool, halfMade);
        const QString root = newWorld();
        QVERIFY(setCatalogueKey(root, "failure", failure));
        if (freeBytes > 0)
            QVERIFY(World(root).writeState(u"space"_s, {{u"freeBytes"_s, freeBytes}}));
        const QStringList before = applications(root);
        QCOMPARE(su(root, fetch(version.toLatin1().constData())), Result(1, out, {}));
        QCOMPARE(applications(root), before);
        const QString sequoia = bundle(root, "Sequoia");
        if (halfMade)
            QVERIFY(isHalfMade(sequoia, "24D70"));
        else
            QCOMPARE(Signatures::signerOf(sequoia), QLatin1String(Signatures::apple));
        QCOMPARE(buildOf(sequoia), halfMade ? u"24D70"_s : u"24B83"_s);
    }

    // Ended by a signal it dies of: once installing, the half-made bundle stays; before, nothing.
    void endedBySignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("late");
        QTest::newRow("SIGTERM late") << int(SIGTERM) << true;
        QTest::newRow("SIGHUP late") << int(SIGHUP) << true;
        QTest::newRow("SIGTERM early") << int(SIGTERM) << false;
        QTest::newRow("SIGINT early") << int(SIGINT) << false;
    }

    void endedBySignal()
    {
        QFETCH(int, signal);
        QFETCH(bool, late);
        const QString root = newWorld();
        const QString app = bundle(root, "Ventura");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // About four seconds, the install taking the last few tenths.
        environment.insert(u"TESSALINE_STANDIN_SPEED"_s, u"0.5"_s);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(root + "/usr/sbin/softwareupdate"_L1, fetch("13.7.4"));
        QVERIFY(process.waitForStarted());
        // Early is once the scan has been announced; late, once the bundle has begun to go in.
        QByteArray out;
        if (late)
            QVERIFY(waitFor([&] { return QFileInfo(app + "/Contents/Info.plist"_L1).size() > 0; }));
        else
            QVERIFY(process.waitForReadyRead(10'000));
        out += process.readAllStandardOutput();
        QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
        QVERIFY(process.waitForFinished(10'000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(process.exitCode(), signal);
        QCOMPARE(out + process.readAllStandardOutput(), "Scanning for 13.7.4 installer\n");
        if (late)
            QVERIFY(isHalfMade(app, "22H420"));
        else
            QVERIFY(!QFileInfo::exists(app));
        QVERIFY(!applications(root).contains(u".Install macOS Ventura.app.partial"_s));
    }

    // Every offer's package reads back as written, is the release the entry names, and what a
    // package file of it says is the same manifest.
    void catalogueHoldsPackages()
    {
        const QString root = newWorld();
        const QJsonArray entries = offers(root);
        QCOMPARE(entries.size(), 5);
        for (const QJsonValue &value : entries) {
            const QJsonObject entry = value.toObject();
            const QString version = entry.value(u"version").toString();
            const QJsonObject package = entry.value(u"package").toObject();
            const std::optional<Package::Manifest> manifest = Package::fromJsonObject(package);
            QVERIFY2(manifest, qPrintable(version));
            QCOMPARE(Package::toJsonObject(*manifest), package);
            const QString title = entry.value(u"title").toString();
            QCOMPARE(manifest->application, "Install "_L1 + title + ".app"_L1);
            QCOMPARE(manifest->infoPlist.value(u"CFBundleDisplayName").toString(),
                     "Install "_L1 + title);
            QCOMPARE(manifest->infoPlist.value(u"DTPlatformBuild").toString(),
                     entry.value(u"build").toString());
            QVERIFY(version.startsWith(manifest->infoPlist.value(u"DTPlatformVersion").toString()));
            QVERIFY(manifest->icon);
            QVERIFY(manifest->sharedSupportSize < entry.value(u"sizeKiB").toInteger() * 1024);
        }
        const std::optional<Package::Manifest> downloaded =
            Package::read(root + "/Downloads/InstallAssistant.pkg"_L1);
        QVERIFY(downloaded);
        QCOMPARE(roundTripped(*downloaded), Package::toJson(*downloaded));

        // Without an icon, and broken in the ways a hand-edited catalogue could be.
        Package::Manifest plain = *downloaded;
        plain.icon.reset();
        QCOMPARE(roundTripped(plain), Package::toJson(plain));
        const auto broken = [&](const char *key, const QJsonValue &value) {
            QJsonObject object = Package::toJsonObject(plain);
            object.insert(QLatin1String(key), value);
            return !Package::fromJsonObject(object);
        };
        QVERIFY(broken("standinPackage", 2));
        QVERIFY(broken("application", u"../Install macOS Ventura.app"_s));
        QVERIFY(broken("application", u"Install macOS Ventura"_s));
        QVERIFY(broken("sharedSupportSize", -1));
        QVERIFY(broken("sharedSupportSize", u"12"_s));
        QVERIFY(broken("infoPlistFormat", u"json"_s));
        QVERIFY(broken("infoPlist", QJsonObject()));
    }
};

QTEST_MAIN(TestStandinSoftwareupdate)
#include "tst_standin_softwareupdate.moc"
