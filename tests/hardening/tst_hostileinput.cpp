// Hostile text wherever users or files can put it - installer bundle paths, the names installers
// give themselves, USB volume names, package folders, the administrator password and the stand-in
// Mac's own folder - run through every engine that hands text to a tool. Each tool must receive
// exactly the intended arguments (the stand-in tools log what they got), and the file an injected
// command would make, CANARY, must never appear.

#include "Plist.h"
#include "World.h"
#include "disk/DiskUtility.h"
#include "host/Host.h"
#include "media/DMGCreator.h"
#include "state/AppState.h"
#include "support/QuickTiming.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

#include <algorithm>

using namespace std::chrono_literals;

namespace {

const QString canaryName = QStringLiteral("CANARY");
const QString plainFolder = QStringLiteral("mac");
// The stand-in Mac's own folder starts every path the program hands to a tool. It holds no ':',
// which would split the search path that finds the bare "sudo" and "diskutil".
const QString hostileFolder =
    QStringLiteral("Mac it's \"q\" $(touch CANARY) `touch CANARY` ; && \\ \u00fc\nx");

// Linux takes at most 255 bytes per file name: a longer text becomes a path of several folders,
// and names that must stay one entry (volumes, the names installers give themselves) are cut.
constexpr qsizetype nameLength = 200;

QString thousandCharacters()
{
    const QString piece =
        QStringLiteral("$(touch CANARY) `touch CANARY` it's \"q\" ; && \\ \u00fc -x ");
    QString text;
    while (text.size() < 1000)
        text += piece;
    return text.left(1000);
}

struct HostileText {
    const char *row;
    QString text;
};

QList<HostileText> hostileTexts()
{
    return {
        {"single quotes", QStringLiteral("it's 'q' '\\''$(touch CANARY)'")},
        {"double quotes",
         QStringLiteral("say \"$(touch CANARY)\" \" & (do shell script \"touch CANARY\") & \"")},
        {"command substitution", QStringLiteral("$(touch CANARY)")},
        {"backquotes", QStringLiteral("`touch CANARY`")},
        {"backslashes", QStringLiteral("\\\" \\$(touch CANARY) \\`touch CANARY\\` \\")},
        // Also what a URL would read as escapes or a fragment, and a printf format.
        {"separators and globs",
         QStringLiteral("x; touch CANARY; y && touch CANARY | z & *?[a] ~ #f %20 %s")},
        {"line breaks", QStringLiteral("one\ntouch CANARY\n")},
        {"leading dash", QStringLiteral("-rf --nointeraction")},
        {"non-ASCII letters",
         QStringLiteral("f\u00fcr \u00dcbergr\u00f6\u00dfe \u65e5\u672c\u8a9e")},
        {"1000 characters", thousandCharacters()},
    };
}

// Every hostile text in the names of a plain Mac, then plain names in a Mac whose own folder is
// hostile.
void addNameRows()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folder");
    for (const HostileText &hostile : hostileTexts())
        QTest::newRow(hostile.row) << hostile.text << plainFolder;
    QTest::newRow("hostile Mac folder") << QString() << hostileFolder;
}

// A stand-in Mac copied from the one made at the start into a folder called `folder`, and
// installed as the current host.
class Mac {
public:
    Mac(const QString &model, const QString &folder) : m_root(m_base.filePath(folder))
    {
        m_valid = m_base.isValid() && QProcess::execute(QStringLiteral("cp"),
                                                        {QStringLiteral("-a"), model, m_root}) == 0;
        if (m_valid)
            Host::setCurrent(Host::standIn(m_root));
    }
    // Background work of the test must not outlive the Mac it works on.
    ~Mac() { QThreadPool::globalInstance()->waitForDone(); }

    bool isValid() const { return m_valid; }
    QString root() const { return m_root; }
    QString path(const QString &relative) const { return m_root + u'/' + relative; }
    World world() const { return World(m_root); }

private:
    QTemporaryDir m_base;
    QString m_root;
    bool m_valid = false;
};

// `text` as folders of at most nameLength characters below `parent`, the last with `suffix`.
QString pathBelow(const QString &parent, const QString &text, const QString &suffix)
{
    QStringList folders;
    for (qsizetype at = 0; at < text.size(); at += nameLength)
        folders << text.mid(at, nameLength);
    return parent + u'/' + folders.join(u'/') + suffix;
}

bool moveTo(const QString &from, const QString &to)
{
    return QDir().mkpath(QFileInfo(to).path()) && QDir().rename(from, to);
}

// Changes the volume `identifier` in the Mac's disk records; its folder follows its mount point.
bool changeVolume(const Mac &mac, const QString &identifier,
                  const std::function<void(QJsonObject &volume)> &change)
{
    QString before;
    QString after;
    const bool changed = mac.world().updateDisks([&](QJsonArray &disks) {
        for (qsizetype d = 0; d < disks.size(); ++d) {
            QJsonObject disk = disks.at(d).toObject();
            QJsonArray partitions = disk.value(u"Partitions").toArray();
            for (qsizetype p = 0; p < partitions.size(); ++p) {
                QJsonObject volume = partitions.at(p).toObject();
                if (volume.value(u"DeviceIdentifier").toString() != identifier)
                    continue;
                before = volume.value(u"MountPoint").toString();
                change(volume);
                after = volume.value(u"MountPoint").toString();
                partitions.replace(p, volume);
                disk.insert(QStringLiteral("Partitions"), partitions);
                disks.replace(d, disk);
                return true;
            }
        }
        return false;
    });
    return changed &&
           (before == after || QDir().rename(mac.path(before.mid(1)), mac.path(after.mid(1))));
}

bool renameVolume(const Mac &mac, const QString &identifier, const QString &name)
{
    return changeVolume(mac, identifier, [&](QJsonObject &volume) {
        volume.insert(QStringLiteral("VolumeName"), name);
        volume.insert(QStringLiteral("MountPoint"), QStringLiteral("/Volumes/") + name);
    });
}

// Where a row's text goes on a Mac. Without text the Mac's own names stay.
struct Names {
    QString bundle;      // the installer's bundle path
    QString displayName; // the name the installer gives itself in its Info.plist
    QString volume;      // the USB stick's volume name

    // Moves `installer` ("Install macOS Sequoia") to a bundle path made of `text`, has it call
    // itself by its old name, a blank and `text` (cut to `displayLength`), and renames the USB
    // volume to `text`. Empty when anything could not be changed.
    static Names place(const Mac &mac, const QString &installer, const QString &text,
                       qsizetype displayLength = nameLength)
    {
        const QString original =
            mac.path(QStringLiteral("Applications/") + installer + QStringLiteral(".app"));
        if (text.isEmpty())
            return {original, installer, QStringLiteral("UNTITLED")};
        const Names names{
            pathBelow(mac.path(QStringLiteral("Applications")), text, QStringLiteral(".app")),
            (installer + u' ' + text).left(displayLength), text.left(nameLength)};
        QFile info(original + QStringLiteral("/Contents/Info.plist"));
        if (!info.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = info.readAll();
        info.close();
        QJsonObject keys = Plist::toJson(bytes).toObject();
        keys.insert(QStringLiteral("CFBundleDisplayName"), names.displayName);
        const auto format = bytes.startsWith("bplist") ? Plist::Format::Binary : Plist::Format::Xml;
        if (!info.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            info.write(Plist::fromJson(keys, format)) < 0)
            return {};
        info.close();
        if (!moveTo(original, names.bundle) ||
            !renameVolume(mac, QStringLiteral("disk4s2"), names.volume))
            return {};
        return names;
    }

    QString tool() const
    {
        return bundle + QStringLiteral("/Contents/Resources/createinstallmedia");
    }
};

// The argument vectors a stand-in tool logged, one a call.
QList<QStringList> loggedCalls(const Mac &mac, const QString &tool)
{
    QList<QStringList> calls;
    QFile log(mac.path(QStringLiteral("var/standin/") + tool + QStringLiteral(".log")));
    if (!log.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray &line : log.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        QStringList call;
        for (const QJsonValue &argument : QJsonDocument::fromJson(line).array())
            call << argument.toString();
        calls << call;
    }
    return calls;
}

QList<QJsonObject> sudoCalls(const Mac &mac)
{
    QList<QJsonObject> calls;
    QFile log(mac.path(QStringLiteral("var/standin/sudo.log")));
    if (log.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : log.readAll().split('\n'))
            if (!line.isEmpty())
                calls << QJsonDocument::fromJson(line).object();
    }
    return calls;
}

QStringList canaries(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName() == canaryName)
            found << path;
    }
    return found;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The application's state with the USB stick and the installer at `bundle` selected.
struct Session {
    AppState state;

    explicit Session(const QString &bundle)
    {
        state.refreshDiskList();
        QTRY_VERIFY(!state.isLoadingDisks() && !state.availableDisks().isEmpty());
        for (const DiskInfo &disk : state.availableDisks())
            if (disk.deviceIdentifier == QLatin1String("disk4s2"))
                state.selectedDisk = disk;
        state.selectedInstaller = InstallerApp::fromBundle(QUrl::fromLocalFile(bundle));
    }

    bool isReady() const { return state.selectedDisk() && state.selectedInstaller(); }

    void confirmUSB()
    {
        state.createBootableUSB();
        QVERIFY(state.isShowingAlert());
        state.isShowingAlert = false;
        state.alertPrimaryButton().action();
    }
};

} // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The stand-in tools work without pauses; an injected command would write in here.
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        QVERIFY(m_workingFolder.isValid());
        QDir::setCurrent(m_workingFolder.path());
        QVERIFY(m_model.isValid());
        QCOMPARE(QProcess::execute(qEnvironmentVariable("TESSALINE_STANDIN"),
                                   {QStringLiteral("make-world"), m_model.path()}),
                 0);
    }

    void init() { Timing::setCurrent(quickTiming()); }

    void cleanup()
    {
        // Removed once seen, so that an injection fails only the row that made it.
        const QStringList found = canaries(m_workingFolder.path());
        for (const QString &canary : found)
            QFile::remove(canary);
        QCOMPARE(found, QStringList());
    }

    // The system's administrator prompt: the command goes through AppleScript and a shell. Then
    // the new volume, named after the installer, is ejected; that goes by its device.
    void usbThroughTheSystemPromptThenEject_data() { addNameRows(); }
    void usbThroughTheSystemPromptThenEject()
    {
        QFETCH(QString, text);
        QFETCH(QString, folder);
        Mac mac(m_model.path(), folder);
        QVERIFY(mac.isValid());
        QVERIFY(mac.world().setProtection(World::Protection::Disabled));
        // El Capitan's tool is also told where its installer is.
        const Names names = Names::place(mac, QStringLiteral("Install OS X El Capitan"), text);
        QVERIFY(!names.bundle.isEmpty());
        Session session(names.bundle);
        QVERIFY(session.isReady());
        QCOMPARE(session.state.selectedDisk()->volumeName, names.volume);
        // The state clears away the installers' Shared Support volume as it starts.
        QTRY_VERIFY(!QFileInfo::exists(mac.path(QStringLiteral("Volumes/Shared Support"))));
        session.confirmUSB();
        QTRY_VERIFY(session.state.isCreatingMedia());
        QTRY_VERIFY_WITH_TIMEOUT(!session.state.isCreatingMedia(), 20000);

        const ProgressInfo progress = session.state.progressInfo();
        QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(progress.message)));
        QCOMPARE(loggedCalls(mac, QStringLiteral("createinstallmedia")),
                 (QList<QStringList>{{names.tool(), QStringLiteral("--volume"),
                                      mac.path(QStringLiteral("Volumes/") + names.volume),
                                      QStringLiteral("--applicationpath"), names.bundle,
                                      QStringLiteral("--nointeraction")}}));
        // The Finder's icon script finds the new volume by the installer's own name.
        const QString made = mac.path(QStringLiteral("Volumes/") + names.displayName);
        QTRY_VERIFY(QFileInfo::exists(made + QStringLiteral("/.VolumeIcon.icns")));

        // The list is read anew after the run, and the stick stays selected under its new name.
        QTRY_COMPARE(session.state.selectedDisk()->mountPoint, made);
        const DiskInfo disk = *session.state.selectedDisk();
        session.state.ejectDisk(disk);
        QTRY_VERIFY(!session.state.isLoadingDisks() &&
                    !session.state.availableDisks().contains(disk));
        QVERIFY(!session.state.isShowingAlert());
        QVERIFY(!QFileInfo::exists(made));
        QThreadPool::globalInstance()->waitForDone();
        QList<QStringList> ejects;
        for (const QStringList &call : loggedCalls(mac, QStringLiteral("diskutil")))
            if (call.value(1) == QLatin1String("eject"))
                ejects << call;
        std::sort(ejects.begin(), ejects.end());
        QCOMPARE(ejects, (QList<QStringList>{{"diskutil", "eject", "disk4s2"},
                                             {"diskutil", "eject", "disk5s1"}}));
        QCOMPARE(canaries(mac.root()), QStringList());
    }

    // The terminal path: the command and the password go into a shell script through sudo -S.
    void usbThroughTheTerminal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("folder");
        // sudo takes one line for the password, so a password of several lines is refused.
        for (const HostileText &hostile : hostileTexts()) {
            if (hostile.text.contains(u'\n')) {
                QTest::addRow("%s in names", hostile.row)
                    << hostile.text << QStringLiteral("tessaline") << plainFolder;
                QTest::addRow("%s in the password", hostile.row)
                    << QString() << hostile.text << plainFolder;
            } else {
                QTest::newRow(hostile.row) << hostile.text << hostile.text << plainFolder;
            }
        }
        QTest::newRow("hostile Mac folder")
            << QString() << QStringLiteral("tessaline") << hostileFolder;
    }
    void usbThroughTheTerminal()
    {
        QFETCH(QString, text);
        QFETCH(QString, password);
        QFETCH(QString, folder);
        Mac mac(m_model.path(), folder);
        QVERIFY(mac.isValid());
        QVERIFY(
            mac.world().writeState(QStringLiteral("admin"), {{QStringLiteral("password"), password},
                                                             {QStringLiteral("prompt"), "grant"}}));
        const Names names = Names::place(mac, QStringLiteral("Install macOS Sequoia"), text);
        QVERIFY(!names.bundle.isEmpty());
        Session session(names.bundle);
        QVERIFY(session.isReady());
        session.confirmUSB();
        QTRY_VERIFY(session.state.isWaitingForPassword());
        session.state.executeTerminalCommand(password);
        QTRY_VERIFY_WITH_TIMEOUT(
            session.state.progressInfo().isComplete && !session.state.isCreatingMedia(), 20000);

        const QStringList command{names.tool(), QStringLiteral("--volume"),
                                  mac.path(QStringLiteral("Volumes/") + names.volume),
                                  QStringLiteral("--nointeraction")};
        const QList<QJsonObject> sudo = sudoCalls(mac);
        QVERIFY(!sudo.isEmpty());
        QCOMPARE(sudo.first().value(u"argv").toArray(),
                 QJsonArray::fromStringList(QStringList{QStringLiteral("sudo")} + command));
        const ProgressInfo progress = session.state.progressInfo();
        if (password.contains(u'\n')) {
            // sudo reads one line as the password; the lines after it are more wrong guesses,
            // never commands.
            QCOMPARE(sudo.first().value(u"password").toString(), QStringLiteral("wrong"));
            QCOMPARE(progress.errorMessage, std::optional<QString>("Process exited with code 1"));
            QVERIFY(session.state.isWaitingForPassword());
            QCOMPARE(loggedCalls(mac, QStringLiteral("createinstallmedia")), QList<QStringList>());
        } else {
            QCOMPARE(sudo.first().value(u"password").toString(), QStringLiteral("matched"));
            QCOMPARE(sudo.first().value(u"attempts").toInt(), 1);
            QCOMPARE(progress.message, QStringLiteral("USB creation completed successfully"));
            QCOMPARE(loggedCalls(mac, QStringLiteral("createinstallmedia")),
                     QList<QStringList>{command});
            QTRY_VERIFY_WITH_TIMEOUT(
                QFileInfo::exists(mac.path(QStringLiteral("Volumes/") + names.displayName +
                                           QStringLiteral("/.VolumeIcon.icns"))),
                20000);
        }
        // A hostile password is not shown with the command's output.
        if (text.isEmpty() && password != QLatin1String("tessaline"))
            QVERIFY(!session.state.terminalOutput().contains(password));
        // The password's script and the icon's picture are gone once their work is done (which
        // takes longest in the sanitizer builds).
        QTRY_COMPARE_WITH_TIMEOUT(entries(mac.path(QStringLiteral("tmp"))), QStringList(), 20000);
        QCOMPARE(canaries(mac.root()), QStringList());
    }

    // hdiutil gets its arguments as a list; createinstallmedia still goes through a shell. A
    // name longer than a file name may be stops the run at its first step.
    void isoOfAHostileInstaller_data() { addNameRows(); }
    void isoOfAHostileInstaller()
    {
        QFETCH(QString, text);
        QFETCH(QString, folder);
        Mac mac(m_model.path(), folder);
        QVERIFY(mac.isValid());
        const Names names = Names::place(mac, QStringLiteral("Install OS X El Capitan"), text, -1);
        QVERIFY(!names.bundle.isEmpty());
        const auto installer = InstallerApp::fromBundle(QUrl::fromLocalFile(names.bundle));
        QVERIFY(installer);
        QCOMPARE(installer->name, names.displayName);

        QMutex lock;
        ProgressInfo last;
        DMGCreator().createBootableDMG(*installer, [&](const ProgressInfo &progress) {
            QMutexLocker locker(&lock);
            last = progress;
        });
        QThreadPool::globalInstance()->waitForDone();
        QVERIFY(last.isComplete);

        const QString image = mac.path(QStringLiteral("Desktop/") + names.displayName);
        const QString mountPoint = mac.path(QStringLiteral("Volumes/") + names.displayName);
        QList<QStringList> hdiutil = loggedCalls(mac, QStringLiteral("hdiutil"));
        QVERIFY(!hdiutil.isEmpty());
        // The size and the staging folder are the run's own.
        QStringList &create = hdiutil.first();
        QVERIFY(create.value(9).startsWith(mac.path(QStringLiteral("tmp/"))));
        create[3] = QStringLiteral("SIZE");
        create[9] = QStringLiteral("STAGING");
        const QStringList creation =
            QStringList{"hdiutil", "create", "-size", "SIZE", "-volname", names.displayName} +
            QStringList{"-fs", "HFS+J", "-srcfolder", "STAGING", "-format", "UDRW"} +
            QStringList{image + QStringLiteral(".dmg")};

        if ((names.displayName + QStringLiteral(".dmg")).toUtf8().size() > 255) {
            QVERIFY(!last.success);
            QVERIFY2(last.errorMessage.value_or(QString()).startsWith(
                         QStringLiteral("Command failed: Failed to create DMG: ")),
                     qPrintable(last.errorMessage.value_or(QString())));
            QCOMPARE(hdiutil, QList<QStringList>{creation});
            QCOMPARE(loggedCalls(mac, QStringLiteral("createinstallmedia")), QList<QStringList>());
            QCOMPARE(entries(mac.path(QStringLiteral("Desktop"))), QStringList());
        } else {
            QVERIFY2(last.success, qPrintable(last.errorMessage.value_or(last.message)));
            QCOMPARE(hdiutil,
                     (QList<QStringList>{creation,
                                         {"hdiutil", "attach", image + QStringLiteral(".dmg"),
                                          "-noverify", "-mountpoint", mountPoint},
                                         {"hdiutil", "detach", mountPoint, "-force"},
                                         {"hdiutil", "convert", image + QStringLiteral(".dmg"),
                                          "-format", "UDTO", "-o", image}}));
            QCOMPARE(loggedCalls(mac, QStringLiteral("createinstallmedia")),
                     (QList<QStringList>{{names.tool(), QStringLiteral("--volume"), mountPoint,
                                          QStringLiteral("--applicationpath"), names.bundle,
                                          QStringLiteral("--nointeraction")}}));
            QCOMPARE(entries(mac.path(QStringLiteral("Desktop"))),
                     QStringList{names.displayName + QStringLiteral(".iso")});
            QVERIFY(!QFileInfo::exists(mountPoint));
        }
        QCOMPARE(canaries(mac.root()), QStringList());
    }

    // Device identifiers come from diskutil's own answers; even hostile ones reach it as one
    // argument, and an eject that cannot find the disk is reported.
    void ejectTakesIdentifiersLiterally_data()
    {
        QTest::addColumn<QString>("identifier");
        for (const HostileText &hostile : hostileTexts())
            QTest::newRow(hostile.row) << hostile.text;
    }
    void ejectTakesIdentifiersLiterally()
    {
        QFETCH(QString, identifier);
        Mac mac(m_model.path(), plainFolder);
        QVERIFY(mac.isValid());
        QVERIFY(changeVolume(mac, QStringLiteral("disk5s1"), [&](QJsonObject &volume) {
            volume.insert(QStringLiteral("DeviceIdentifier"), identifier);
        }));

        // The state tries to clear away the Shared Support volume as it starts.
        AppState state;
        QThreadPool::globalInstance()->waitForDone();
        QVERIFY(QFileInfo(mac.path(QStringLiteral("Volumes/Shared Support"))).isDir());
        state.ejectDisk(DiskInfo(identifier, QStringLiteral("Shared Support"),
                                 mac.path(QStringLiteral("Volumes/Shared Support")), 0, 0, true));
        QTRY_VERIFY(state.isShowingAlert());
        QCOMPARE(state.alertTitle(), QStringLiteral("Eject Error"));
        QVERIFY2(state.alertMessage().startsWith(QStringLiteral("Failed to eject disk: ")),
                 qPrintable(state.alertMessage()));

        const QStringList eject{QStringLiteral("diskutil"), QStringLiteral("eject"), identifier};
        QCOMPARE(loggedCalls(mac, QStringLiteral("diskutil")).count(eject), 2);
        QCOMPARE(canaries(mac.root()), QStringList());
    }

    // Only the copy in the temporary folder reaches the installer's shell command; opening by
    // hand hands the user's own path over untouched.
    void packageInAHostileFolder_data() { addNameRows(); }
    void packageInAHostileFolder()
    {
        QFETCH(QString, text);
        QFETCH(QString, folder);
        Mac mac(m_model.path(), folder);
        QVERIFY(mac.isValid());
        QString package = mac.path(QStringLiteral("Downloads/InstallAssistant.pkg"));
        if (!text.isEmpty()) {
            const QString moved = pathBelow(mac.path(QStringLiteral("Downloads")), text,
                                            QStringLiteral("/InstallAssistant.pkg"));
            QVERIFY(moveTo(package, moved));
            package = moved;
        }

        AppState state;
        state.installPKGAutomated(QUrl::fromLocalFile(package));
        QTRY_VERIFY_WITH_TIMEOUT(!state.isInstallingPKG() && !state.isScanning(), 20000);
        QVERIFY2(state.progressInfo().success,
                 qPrintable(state.progressInfo().errorMessage.value_or(QString())));
        QVERIFY(
            QFileInfo(mac.path(QStringLiteral("Applications/Install macOS Ventura.app"))).isDir());
        const QStringList automated{"installer", "-pkg",
                                    mac.path(QStringLiteral("tmp/PKGInstall/installer.pkg")),
                                    "-target", mac.path(QStringLiteral("Applications"))};
        QCOMPARE(loggedCalls(mac, QStringLiteral("installer")), QList<QStringList>{automated});

        state.openInstallerApp(QUrl::fromLocalFile(package));
        QTRY_COMPARE(state.alertTitle(), QStringLiteral("Installing Package"));
        QTRY_COMPARE(loggedCalls(mac, QStringLiteral("open")),
                     (QList<QStringList>{{QStringLiteral("open"), package}}));
        // open starts the installer in the background; it is let finish before the Mac goes.
        QTRY_COMPARE(loggedCalls(mac, QStringLiteral("installer")),
                     (QList<QStringList>{
                         automated, {"installer", "-pkg", package, "-target", "/Applications"}}));
        QTRY_VERIFY(contents(mac.path(QStringLiteral("var/standin/open-install.out")))
                        .contains("installer: The install"));
        QCOMPARE(canaries(mac.root()), QStringList());
    }

private:
    QTemporaryDir m_workingFolder;
    QTemporaryDir m_model;
};

QTEST_MAIN(HostileInputTest)
#include "tst_hostileinput.moc"
