// Hostile text in installer paths and names, USB volume names, package folders, the password and
// the stand-in Mac's own folder, run through every engine that hands text to a tool: each tool
// gets exactly the intended arguments (the stand-in tools log them), and no CANARY file appears.

#include "Plist.h"
#include "World.h"
#include "hardening/Leftovers.h"
#include "media/DMGCreator.h"
#include "state/AppState.h"
#include "support/BackgroundWork.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"
#include "support/TestSecret.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using Leftovers::entries;

namespace {

const QString plainFolder = QStringLiteral("mac");
// Starts every path handed to a tool; no ':', which would split the search path for "sudo".
const QString hostileFolder =
    QStringLiteral("Mac it's \"q\" $(touch CANARY) `touch CANARY` ; && \\ \u00fc\nx");
// Linux takes at most 255 bytes a file name: longer text becomes several folders, or is cut.
constexpr qsizetype nameLength = 200;

QList<std::pair<const char *, QString>> hostileTexts()
{
    return {
        {"single quotes", QStringLiteral("it's 'q' '\\''$(touch CANARY)'")},
        {"double quotes",
         QStringLiteral("say \"$(touch CANARY)\" \" & (do shell script \"touch CANARY\") & \"")},
        {"command substitution", QStringLiteral("$(touch CANARY)")},
        {"backquotes", QStringLiteral("`touch CANARY`")},
        {"backslashes", QStringLiteral("\\\" \\$(touch CANARY) \\`touch CANARY\\` \\")},
        // Also URL escapes and a fragment, and a printf format.
        {"separators and globs",
         QStringLiteral("x; touch CANARY; y && touch CANARY | z & *?[a] ~ #f %20 %s")},
        {"line breaks", QStringLiteral("one\ntouch CANARY\n")},
        // Run under a GBK locale, as a Mac offers: the last of the three bytes of "\u4e2d" in
        // UTF-8 and a backslash make one GBK character, so an escaping backslash after it would
        // vanish.
        {"GBK pairs",
         QStringLiteral("\u4e2d$(touch CANARY) \u4e2d`touch CANARY` \u4e2d\"\u4e2d'\u4e2d\\")},
        {"leading dash", QStringLiteral("-rf --nointeraction")},
        {"non-ASCII letters",
         QStringLiteral("f\u00fcr \u00dcbergr\u00f6\u00dfe \u65e5\u672c\u8a9e")},
        {"1000 characters",
         QStringLiteral("$(touch CANARY) `touch CANARY` it's \"q\" ; && \\ \u00fc -x ")
             .repeated(20)
             .left(1000)},
    };
}

// Every hostile text in the names of a plain Mac, then plain names in a hostile Mac folder.
void addNameRows()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folder");
    for (const auto &[row, text] : hostileTexts())
        QTest::newRow(row) << text << plainFolder;
    QTest::newRow("hostile Mac folder") << QString() << hostileFolder;
}

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

// Where a row's text goes on a Mac; without text the Mac's own names stay.
struct Names {
    QString bundle;      // the installer's bundle path
    QString displayName; // the name the installer gives itself in its Info.plist
    QString volume;      // the USB stick's volume name
    QString tool() const { return bundle + "/Contents/Resources/createinstallmedia"; }
};

// A copy of the model stand-in Mac in a folder called `folder`, installed as the current host.
class Mac : public StandInWorld {
public:
    Mac(const StandInWorld &model, const QString &folder)
        : StandInWorld({.folder = folder, .model = &model})
    {
    }

    World world() const { return World(root()); }

    // Moves `installer` to a bundle path made of `text`, has it call itself by its old name, a
    // blank and `text`, and names the USB volume `text` (both cut). Empty on failure.
    Names place(const QString &installer, const QString &text)
    {
        const QString original = path("Applications/" + installer + ".app");
        if (!isValid() || text.isEmpty())
            return isValid() ? Names{original, installer, "UNTITLED"} : Names{};
        const Names names{pathBelow(path("Applications"), text, ".app"),
                          (installer + u' ' + text).left(nameLength), text.left(nameLength)};
        QFile info(original + "/Contents/Info.plist");
        if (!info.open(QIODevice::ReadWrite))
            return {};
        const QByteArray bytes = info.readAll();
        QJsonObject keys = Plist::toJson(bytes).toObject();
        keys.insert("CFBundleDisplayName", names.displayName);
        const auto format = bytes.startsWith("bplist") ? Plist::Format::Binary : Plist::Format::Xml;
        if (!info.seek(0) || !info.resize(0) || info.write(Plist::fromJson(keys, format)) < 0)
            return {};
        info.close();
        const bool renamed = world().updateDisks([&](QJsonArray &disks) {
            for (QJsonValueRef disk : disks) {
                QJsonObject record = disk.toObject();
                QJsonArray volumes = record.value(u"Partitions").toArray();
                for (QJsonValueRef volume : volumes) {
                    if (volume.toObject().value(u"DeviceIdentifier").toString() != u"disk4s2")
                        continue;
                    QJsonObject renamed = volume.toObject();
                    renamed.insert("VolumeName", names.volume);
                    renamed.insert("MountPoint", "/Volumes/" + names.volume);
                    volume = renamed;
                    record.insert("Partitions", volumes);
                    disk = record;
                    return true;
                }
            }
            return false;
        });
        return renamed && moveTo(path("Volumes/UNTITLED"), path("Volumes/" + names.volume)) &&
                       moveTo(original, names.bundle)
                   ? names
                   : Names{};
    }

    // The argument vectors a stand-in tool was called with, one a call.
    QList<QStringList> calls(const QString &tool) const
    {
        QList<QStringList> calls;
        for (const QByteArray &line : log(tool))
            calls << QJsonDocument::fromJson(line).toVariant().toStringList();
        return calls;
    }
    QList<QByteArray> log(const QString &tool) const
    {
        QList<QByteArray> lines =
            Leftovers::readFile(path("var/standin/" + tool + ".log")).split('\n');
        lines.removeAll(QByteArray());
        return lines;
    }
};

QStringList canaries(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        if (const QString path = it.next(); it.fileName() == u"CANARY")
            found << path;
    return found;
}

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
        m_model.emplace(StandInWorld::Options{.becomesHost = false});
        QVERIFY(m_model->isValid());
    }
    void init()
    {
        Timing::setCurrent(quickTiming());
        if (QByteArray(QTest::currentDataTag()).contains("GBK")) {
            qputenv("LC_ALL", "zh_CN.GBK");
            // The tools' shells must really read GBK, or the rows prove nothing.
            QProcess shell;
            shell.start("/bin/sh", {"-c", "locale charmap"});
            QVERIFY(shell.waitForFinished());
            QVERIFY2(shell.readAllStandardOutput().trimmed() == "GBK",
                     "no zh_CN.GBK locale: script/bootstrap makes it");
        }
    }
    void cleanup()
    {
        qunsetenv("LC_ALL");
        // Removed once seen, so that an injection fails only the row that made it.
        const QStringList found = canaries(m_workingFolder.path());
        for (const QString &canary : found)
            QFile::remove(canary);
        QCOMPARE(found, QStringList());
    }

    // Through the system's prompt the command goes through AppleScript and a shell, and the new
    // volume, named after the installer, is then ejected by its device. Through the terminal the
    // command and the password go into a shell script run by sudo -S.
    void usbCreation_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("folder");
        for (const auto &[row, text] : hostileTexts()) {
            QTest::addRow("prompt: %s", row) << false << text << QString() << plainFolder;
            // sudo takes one line for the password, so a password of several lines is refused.
            if (text.contains(u'\n')) {
                QTest::addRow("terminal: %s in names", row)
                    << true << text << "tessaline" << plainFolder;
                QTest::addRow("terminal: %s in the password", row)
                    << true << QString() << text << plainFolder;
            } else {
                QTest::addRow("terminal: %s", row) << true << text << text << plainFolder;
            }
        }
        QTest::newRow("prompt: hostile Mac folder")
            << false << QString() << QString() << hostileFolder;
        QTest::newRow("terminal: hostile Mac folder")
            << true << QString() << "tessaline" << hostileFolder;
    }
    void usbCreation()
    {
        QFETCH(bool, terminal);
        QFETCH(QString, text);
        QFETCH(QString, password);
        QFETCH(QString, folder);
        Mac mac(*m_model, folder);
        // El Capitan's tool is also told where its installer is.
        const Names names =
            mac.place(terminal ? "Install macOS Sequoia" : "Install OS X El Capitan", text);
        QVERIFY(!names.bundle.isEmpty());
        if (terminal)
            QVERIFY(mac.world().writeState("admin", {{"password", password}, {"prompt", "grant"}}));
        else
            QVERIFY(mac.world().setProtection(World::Protection::Disabled));
        AppState state;
        state.refreshDiskList();
        QTRY_VERIFY(!state.isLoadingDisks() && !state.availableDisks().isEmpty());
        for (const DiskInfo &disk : state.availableDisks())
            if (disk.deviceIdentifier == u"disk4s2")
                state.selectedDisk = disk;
        QVERIFY(state.selectedDisk());
        QCOMPARE(state.selectedDisk()->volumeName, names.volume);
        state.selectedInstaller = InstallerApp::fromBundle(QUrl::fromLocalFile(names.bundle));
        QVERIFY(state.selectedInstaller());
        // The state clears away the installers' Shared Support volume as it starts.
        QTRY_VERIFY(!QFileInfo::exists(mac.path("Volumes/Shared Support")));
        state.createBootableUSB();
        QVERIFY(state.isShowingAlert());
        state.isShowingAlert = false;
        state.alertPrimaryButton().action();
        if (terminal) {
            QTRY_VERIFY(state.isWaitingForPassword());
            state.executeTerminalCommand(secretOf(password));
        }
        QTRY_VERIFY_WITH_TIMEOUT(state.progressInfo().isComplete && !state.hasJob(), 20000);

        const ProgressInfo progress = state.progressInfo();
        QStringList command{names.tool(), "--volume", mac.path("Volumes/" + names.volume)};
        if (!terminal)
            command << "--applicationpath" << names.bundle;
        command << "--nointeraction";
        const QJsonObject sudo = QJsonDocument::fromJson(mac.log("sudo").value(0)).object();
        if (terminal) {
            // sudo runs the tool itself, word for word, in a clean environment.
            const QStringList argv = sudo[u"argv"].toVariant().toStringList();
            QCOMPARE(argv.mid(0, 2), (QStringList{mac.path("usr/bin/env"), "-i"}));
            QCOMPARE(argv.mid(4), command);
            // A hostile password is not shown with the command's output.
            if (text.isEmpty() && password != u"tessaline")
                QVERIFY(!state.terminalOutput().contains(password));
        }
        const QString made = mac.path("Volumes/" + names.displayName);
        if (password.contains(u'\n')) {
            // sudo reads one line as the password; the next are more wrong guesses, not commands.
            QCOMPARE(sudo[u"password"].toString(), "wrong");
            QVERIFY(progress.errorMessage.value_or(QString()).contains("incorrect password"));
            QVERIFY(state.isWaitingForPassword());
            QCOMPARE(mac.calls("createinstallmedia"), QList<QStringList>());
        } else {
            if (terminal) {
                QCOMPARE(sudo[u"password"].toString(), "matched");
                QCOMPARE(sudo[u"attempts"].toInt(), 1);
                QCOMPARE(progress.message, "USB creation completed successfully");
            }
            QVERIFY2(progress.success,
                     qPrintable(progress.errorMessage.value_or(progress.message)));
            QCOMPARE(mac.calls("createinstallmedia"), QList<QStringList>{command});
            // The new volume is found on the stick's disk, and its icon set there.
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(made + "/.VolumeIcon.icns"), 20000);
        }
        if (!terminal) {
            // The list is read anew after the run; the stick stays selected under its new name.
            QTRY_COMPARE(state.selectedDisk()->mountPoint, made);
            const DiskInfo disk = *state.selectedDisk();
            state.ejectDisk(disk);
            QTRY_VERIFY(!state.isLoadingDisks() && !state.availableDisks().contains(disk));
            QVERIFY(!state.isShowingAlert());
            QVERIFY(!QFileInfo::exists(made));
            waitForBackgroundWork();
            QList<QStringList> ejects;
            for (const QStringList &call : mac.calls("diskutil"))
                if (call.value(1) == u"eject")
                    ejects << call;
            std::sort(ejects.begin(), ejects.end());
            QCOMPARE(ejects, (QList<QStringList>{{"diskutil", "eject", "disk4s2"},
                                                 {"diskutil", "eject", "disk5s1"}}));
        }
        // The icon's picture goes once done; slow under the thread sanitizer.
        QTRY_COMPARE_WITH_TIMEOUT(entries(mac.path("tmp")), QStringList(), 60000);
        QCOMPARE(canaries(mac.root()), QStringList());
    }

    // hdiutil gets its arguments as a list; createinstallmedia still goes through a shell.
    void isoOfAHostileInstaller_data() { addNameRows(); }
    void isoOfAHostileInstaller()
    {
        QFETCH(QString, text);
        QFETCH(QString, folder);
        Mac mac(*m_model, folder);
        const Names names = mac.place("Install OS X El Capitan", text);
        QVERIFY(!names.bundle.isEmpty());
        const auto installer = InstallerApp::fromBundle(QUrl::fromLocalFile(names.bundle));
        QVERIFY(installer);
        QMutex lock;
        ProgressInfo last;
        DMGCreator().createBootableDMG(*installer, [&](const ProgressInfo &progress) {
            QMutexLocker locker(&lock);
            last = progress;
        });
        waitForBackgroundWork();
        QVERIFY(last.isComplete);

        const QString image = mac.path("Desktop/" + names.displayName);
        QList<QStringList> hdiutil = mac.calls("hdiutil");
        QVERIFY(!hdiutil.isEmpty());
        // The size, the staging folder and the mount point are the run's own.
        QVERIFY(hdiutil[0].value(9).startsWith(mac.path("tmp/")));
        const QString mountPoint = hdiutil.value(1).value(6);
        QVERIFY(mountPoint.startsWith(mac.path("tmp/DMGMount-")));
        hdiutil[0][3] = "SIZE";
        hdiutil[0][9] = "STAGING";
        QVERIFY2(last.success, qPrintable(last.errorMessage.value_or(last.message)));
        QCOMPARE(hdiutil,
                 (QList<QStringList>{
                     {"hdiutil", "create", "-size", "SIZE", "-volname", names.displayName, "-fs",
                      "HFS+J", "-srcfolder", "STAGING", "-format", "UDRW", image + ".dmg"},
                     {"hdiutil", "attach", image + ".dmg", "-noverify", "-nobrowse", "-mountpoint",
                      mountPoint},
                     {"hdiutil", "detach", "/dev/disk8", "-force"},
                     {"hdiutil", "convert", image + ".dmg", "-format", "UDTO", "-o", image}}));
        QCOMPARE(mac.calls("createinstallmedia"),
                 (QList<QStringList>{{names.tool(), "--volume", mountPoint, "--applicationpath",
                                      names.bundle, "--nointeraction"}}));
        QCOMPARE(entries(mac.path("Desktop")), QStringList{names.displayName + ".iso"});
        QCOMPARE(canaries(mac.root()), QStringList());
    }

    // Only the copy in the temporary folder reaches the installer's shell command; opening by
    // hand hands the user's own path over untouched.
    void packageInAHostileFolder_data() { addNameRows(); }
    void packageInAHostileFolder()
    {
        QFETCH(QString, text);
        QFETCH(QString, folder);
        Mac mac(*m_model, folder);
        QVERIFY(mac.isValid());
        QString package = mac.path("Downloads/InstallAssistant.pkg");
        if (!text.isEmpty()) {
            const QString moved = pathBelow(mac.path("Downloads"), text, "/InstallAssistant.pkg");
            QVERIFY(moveTo(package, moved));
            package = moved;
        }
        AppState state;
        state.installPKGAutomated(QUrl::fromLocalFile(package));
        QTRY_VERIFY_WITH_TIMEOUT(!state.isInstallingPKG() && !state.isScanning(), 20000);
        QVERIFY2(state.progressInfo().success,
                 qPrintable(state.progressInfo().errorMessage.value_or(QString())));
        // The copy lives in a fresh folder of its own, gone with the job.
        const QList<QStringList> calls = mac.calls("installer");
        QCOMPARE(calls.size(), 1);
        const QStringList automated = calls.first();
        QCOMPARE(automated.size(), 5);
        QVERIFY2(QRegularExpression("^" + QRegularExpression::escape(mac.path("tmp/")) +
                                    "PKGInstall-[A-Za-z0-9]{6}/installer.pkg$")
                     .match(automated[2])
                     .hasMatch(),
                 qPrintable(automated[2]));
        QCOMPARE(automated.mid(3), (QStringList{"-target", mac.path("Applications")}));
        QVERIFY(!QFileInfo::exists(QFileInfo(automated[2]).path()));
        state.openInstallerApp(QUrl::fromLocalFile(package));
        QTRY_COMPARE(state.alertTitle(), "Installing Package");
        QTRY_COMPARE(mac.calls("open"), (QList<QStringList>{{"open", package}}));
        // open starts the installer in the background; it is let finish before the Mac goes.
        // The application is there from the first install: this one upgrades it.
        QTRY_VERIFY(Leftovers::readFile(mac.path("var/standin/open-install.out"))
                        .contains("installer: The upgrade was successful."));
        QCOMPARE(canaries(mac.root()), QStringList());
    }

    // Links planted in the temporary folder under the names jobs once used lead nowhere: each
    // job works in a fresh folder of its own, and what it did not make it leaves alone.
    void linksPlantedInTheTemporaryFolder()
    {
        Mac mac(*m_model, plainFolder);
        QVERIFY(mac.isValid());
        QVERIFY(mac.world().setProtection(World::Protection::Disabled));
        const QString victim = mac.path("Users/victim");
        QVERIFY(QDir().mkpath(victim));
        QFile kept(victim + "/keep.txt");
        QVERIFY(kept.open(QIODevice::WriteOnly) && kept.write("keep") == 4);
        kept.close();
        const QStringList planted{"PKGInstall", "DMGStaging", "VolumeIcon", "temp_icon.icns",
                                  "installer.pkg"};
        for (const QString &name : planted)
            QVERIFY(QFile::link(name.contains(u'.') ? victim + "/keep.txt" : victim,
                                mac.path("tmp/" + name)));

        AppState state;
        state.installPKGAutomated(QUrl::fromLocalFile(mac.path("Downloads/InstallAssistant.pkg")));
        QTRY_VERIFY_WITH_TIMEOUT(!state.isInstallingPKG() && !state.isScanning(), 20000);
        QVERIFY2(state.progressInfo().success,
                 qPrintable(state.progressInfo().errorMessage.value_or(QString())));
        state.refreshDiskList();
        QTRY_VERIFY(!state.isLoadingDisks() && !state.availableDisks().isEmpty());
        for (const DiskInfo &disk : state.availableDisks())
            if (disk.deviceIdentifier == u"disk4s2")
                state.selectedDisk = disk;
        state.selectedInstaller = InstallerApp::fromBundle(
            QUrl::fromLocalFile(mac.path("Applications/Install macOS Sequoia.app")));
        QVERIFY(state.selectedDisk() && state.selectedInstaller());
        state.createBootableUSB();
        state.isShowingAlert = false;
        state.alertPrimaryButton().action();
        QTRY_VERIFY_WITH_TIMEOUT(state.progressInfo().isComplete && !state.hasJob(), 20000);
        QVERIFY2(state.progressInfo().success,
                 qPrintable(state.progressInfo().errorMessage.value_or(QString())));
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(mac.path("Volumes/Install macOS Sequoia/.VolumeIcon.icns")), 20000);

        const auto plantedOnly = [&] {
            const QStringList left = entries(mac.path("tmp"));
            return QSet<QString>(left.begin(), left.end()) ==
                   QSet<QString>(planted.begin(), planted.end());
        };
        QTRY_VERIFY_WITH_TIMEOUT(plantedOnly(), 60000);
        for (const QString &name : planted)
            QVERIFY(QFileInfo(mac.path("tmp/" + name)).isSymLink());
        QCOMPARE(entries(victim), QStringList{"keep.txt"});
        QCOMPARE(Leftovers::readFile(victim + "/keep.txt"), QByteArray("keep"));
    }

private:
    QTemporaryDir m_workingFolder;
    std::optional<StandInWorld> m_model;
};

QTEST_MAIN(HostileInputTest)
#include "tst_hostileinput.moc"
