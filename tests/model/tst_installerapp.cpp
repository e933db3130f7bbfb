#include "model/InstallerApp.h"
#include "model/ShellQuote.h"
#include "propertylist/PropertyList.h"
#include "support/CapturedOutput.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using Version = QList<qint64>;
using Entry = std::pair<QString, QVariant>;

namespace {

// Every shell here under UTF-8 and under GBK, which a Mac offers and where a character's second
// byte can be a backslash.
QList<std::pair<QString, QString>> shellsAndLocales()
{
    QList<std::pair<QString, QString>> found;
    for (const char *shell : {"/bin/bash", "/bin/sh", "/bin/zsh"})
        if (QFile::exists(shell))
            for (const char *locale : {"C.UTF-8", "zh_CN.GBK"})
                found.append(std::pair<QString, QString>(shell, locale));
    return found;
}

} // namespace

class InstallerAppTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

    // Makes "<name>.app" in the test folder with the given Info.plist bytes.
    QString makeBundle(const QString &name, const QByteArray &infoPlist)
    {
        const QString bundle = m_folder.filePath(name + ".app");
        QDir().mkpath(bundle + "/Contents/Resources");
        writeFile(bundle + "/Contents/Info.plist", infoPlist);
        return bundle;
    }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray fixture(const QString &name)
    {
        QFile file(QStringLiteral(TESSALINE_FIXTURES "/info-plist/") + name);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static QByteArray xmlPlist(const QVariant &value)
    {
        return writePropertyList(value, PropertyListFormat::Xml);
    }

    static InstallerApp record(const QString &name, const QString &macOSVersion,
                               const QString &version = "1.0")
    {
        InstallerApp app;
        app.id = QUuid::createUuid();
        app.url = QUrl::fromLocalFile("/Applications/" + name + ".app");
        app.name = name;
        app.version = version;
        app.macOSVersion = macOSVersion;
        app.sortableVersion = InstallerApp::createSortableVersion(macOSVersion, name);
        return app;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QLocale::setDefault(QLocale::c());
    }

    // The keys of real installers, read by name or number, are in readsInfoPlists.
    void sortKey_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Version>("expected");
        const auto row = [](const char *tag, const char *version, const char *name,
                            const Version &expected) {
            QTest::newRow(tag) << QString(version) << QString(name) << expected;
        };
        const char *sonoma = "Install macOS Sonoma";
        row("three pieces", "10.15.7", sonoma, {10, 15, 7, 0});
        row("more than four", "11.0.1.2.3", sonoma, {11, 0, 1, 2});
        row("piece not a number", "12.x", sonoma, {12, 0, 0, 0});
        row("piece too large", "99999999999999999999.1", sonoma, {0, 1, 0, 0});
        row("big sur by big", "GM", "Install macOS Big Sur", {11, 0, 0, 0});
        row("number in name", "Unknown", "Install macOS 15", {15, 0, 0, 0});
        row("number out of range", "Unknown", "Install macOS 9", {0, 0, 0, 0});
        row("number out of range, later word", "Unknown", "Install macOS 9 Mojave", {10, 14, 0, 0});
        row("tab separates words", "Unknown", "Install\tmacOS\tCatalina", {10, 15, 0, 0});
        row("word must match whole", "Unknown", "Install macOS Sonomas", {0, 0, 0, 0});
        row("version without full stop takes the name", "14", "Install macOS Mavericks",
            {10, 9, 0, 0});
    }
    void sortKey()
    {
        QFETCH(QString, version);
        QFETCH(QString, name);
        QTEST(InstallerApp::createSortableVersion(version, name), "expected");
    }

    // As for sortKey, real installers' answers are in readsInfoPlists.
    void applicationPathRule_data()
    {
        QTest::addColumn<QString>("macOSVersion");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("expected");
        const auto row = [](const char *tag, const char *macOSVersion, const char *name,
                            const char *version, bool expected) {
            QTest::newRow(tag) << QString(macOSVersion) << QString(name) << QString(version)
                               << expected;
        };
        row("10.12 needs it", "10.12.6", "Install macOS Sierra", "12.6", true);
        row("10.13 does not, whatever the name", "10.13.6", "Install macOS Sierra", "13.6", false);
        row("11.10.1 reads its second piece", "11.10.1", "Install macOS Big Sur", "16.1", true);
        row("high sierra with an old version string", "GM", "Install macOS High Sierra", "10.12.1",
            true);
        row("yosemite by name", "GM", "Install OS X Yosemite", "1.0", true);
        row("10. with a text second piece falls to the name", "10.x", "Install OS X Mavericks",
            "1.0", true);
    }
    void applicationPathRule()
    {
        QFETCH(QString, macOSVersion);
        QFETCH(QString, name);
        QFETCH(QString, version);
        QTEST(record(name, macOSVersion, version).requiresApplicationPathFlag(), "expected");
    }

    void commandLine()
    {
        QCOMPARE(record("Install OS X El Capitan", "GM", "1.6.43")
                     .createinstallmediaCommand("/Volumes/USB"),
                 "'/Applications/Install OS X El Capitan.app/Contents/Resources/createinstallmedia'"
                 " --volume /Volumes/USB --applicationpath '/Applications/Install OS X El "
                 "Capitan.app' --nointeraction");
        QCOMPARE(record("Installer", "14.6").createinstallmediaCommand("/Volumes/USB"),
                 "/Applications/Installer.app/Contents/Resources/createinstallmedia --volume "
                 "/Volumes/USB --nointeraction");
    }

    // Whatever a name holds, the shell must hand it over as one unchanged word and run nothing.
    void shellQuotingSurvivesTheShell_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "/Volumes/USB";
        QTest::newRow("spaces") << "/Volumes/My Stick";
        QTest::newRow("single quote") << "/Volumes/Anna's";
        QTest::newRow("double quote") << "/Volumes/\"x\"";
        QTest::newRow("substitution") << "/Volumes/$(touch CANARY)";
        QTest::newRow("backquotes") << "/Volumes/`touch CANARY`";
        QTest::newRow("separators") << "/Volumes/a; touch CANARY && touch CANARY";
        QTest::newRow("backslash and newline") << "/Volumes/a\\b\nc";
        QTest::newRow("leading dash") << "-rf";
        QTest::newRow("non-ASCII") << "/Volumes/Ünïcødé 卷";
        QTest::newRow("empty") << "";
        // Expansions that only the start of a word triggers, in some shell or other.
        QTest::newRow("leading equals (zsh: path of ls)") << "=ls";
        QTest::newRow("only equals") << "=";
        QTest::newRow("equals inside") << "--volume=/Volumes/USB";
        QTest::newRow("leading tilde") << "~root";
        QTest::newRow("tilde after equals (bash)") << "a=~";
        QTest::newRow("leading hash (comment)") << "#x";
        QTest::newRow("glob") << "/Volumes/*";
        QTest::newRow("braces") << "{a,b}";
        // In GBK the last of the three bytes of "\u4e2d" in UTF-8 and a backslash make one
        // character.
        QTest::newRow("GBK pair before a backslash") << "\u4e2d\\$(touch CANARY)";
        QTest::newRow("GBK pair before quotes")
            << "\u4e2d$(touch CANARY)\u4e2d'\u4e2d\"`touch CANARY`";
    }
    void shellQuotingSurvivesTheShell()
    {
        QFETCH(QString, text);
        for (const auto &[shellPath, locale] : shellsAndLocales()) {
            for (const auto quote : {shellQuoted, shellSingleQuoted}) {
                QProcess shell;
                shell.setWorkingDirectory(m_folder.path());
                QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
                environment.insert("LC_ALL", locale);
                shell.setProcessEnvironment(environment);
                // A fixed first word, so a text that vanished or split in two shows.
                shell.start(shellPath, {"-c", "printf '<%s>' x " + quote(text)});
                QVERIFY(shell.waitForFinished());
                QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), "<x><" + text + ">");
                QVERIFY(!QFile::exists(m_folder.filePath("CANARY")));
            }
        }
    }

    // Plain words stay readable in the commands the user sees; the rest is quoted.
    void shellQuotedLeavesPlainWordsBare_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::newRow("path") << QString("/Volumes/USB-2.0_x+y:z,@%")
                              << "/Volumes/USB-2.0_x+y:z,@%";
        QTest::newRow("option with value") << QString("--volume=/V") << "--volume=/V";
        QTest::newRow("leading equals") << QString("=ls") << "'=ls'";
        QTest::newRow("leading tilde") << QString("~") << "'~'";
        QTest::newRow("empty") << QString("") << "''";
        QTest::newRow("non-ASCII letter") << QString("é") << "'é'";
    }
    void shellQuotedLeavesPlainWordsBare()
    {
        QFETCH(QString, text);
        QTEST(shellQuoted(text), "word");
    }

    // Newer keys sort later; equal keys fall back to the name; a key that is a prefix of the
    // other comes first. Two reads of one bundle are equal and hashed alike.
    void orderEqualityAndHash()
    {
        const InstallerApp sonoma = record("Install macOS Sonoma", "14.6");
        const InstallerApp ventura = record("Install macOS Ventura", "13.6");
        QVERIFY(ventura < sonoma && sonoma > ventura && sonoma >= ventura && ventura <= sonoma);
        const InstallerApp a = record("A", "14.6"), b = record("B", "14.6");
        QVERIFY(a < b && !(b < a) && !(a < a) && a <= a && a >= a);
        InstallerApp shortKey = a;
        shortKey.sortableVersion = {14, 6};
        QVERIFY(shortKey < b);
        InstallerApp again = sonoma;
        again.id = QUuid::createUuid();
        again.name = "Renamed";
        QVERIFY(again == sonoma && qHash(again) == qHash(sonoma));
        QCOMPARE(QSet<InstallerApp>({sonoma, again, ventura}).size(), 2);
    }

    void readsInfoPlists_data()
    {
        QTest::addColumn<QByteArray>("infoPlist");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("macOSVersion");
        QTest::addColumn<QString>("buildNumber");
        QTest::addColumn<Version>("sortKey");
        QTest::addColumn<bool>("needsApplicationPath");
        const auto row = [](const char *tag, const QByteArray &plist, const char *name,
                            const char *macOS, const char *build, const Version &key, bool flag) {
            QTest::newRow(tag) << plist << QString(name) << QString(macOS) << QString(build) << key
                               << flag;
        };
        row("binary", fixture("install-macos-sequoia.bplist"), "Install macOS Sequoia", "15.1",
            "24B83", {15, 1, 0, 0}, false);
        row("xml", fixture("install-macos-sonoma.plist"), "Install macOS Sonoma", "14.6", "23G93",
            {14, 6, 0, 0}, false);
        row("GM sierra", fixture("install-macos-sierra.plist"), "Install macOS Sierra", "GM",
            "16G29", {10, 12, 0, 0}, true);
        row("GM high sierra", fixture("install-macos-high-sierra.plist"),
            "Install macOS High Sierra", "GM", "17G66", {10, 13, 0, 0}, false);
        row("el capitan", fixture("install-os-x-el-capitan.plist"), "Install OS X El Capitan", "GM",
            "15G31", {10, 11, 0, 0}, true);
        row("name from bundle name", fixture("install-macos-mojave-no-display-name.plist"),
            "Install macOS Mojave", "10.14", "18G103", {10, 14, 0, 0}, false);
        row("missing platform keys are unknown",
            xmlPlist(QVariantMap{{"CFBundleName", "Install macOS Catalina"},
                                 {"CFBundleShortVersionString", "15.7"}}),
            "Install macOS Catalina", "Unknown", "Unknown", {10, 15, 0, 0}, false);
    }
    void readsInfoPlists()
    {
        QFETCH(QByteArray, infoPlist);
        QFETCH(QString, name);
        const QString bundle = makeBundle(name, infoPlist);
        const auto installer = InstallerApp::fromBundle(QUrl::fromLocalFile(bundle));
        QVERIFY(installer);
        QCOMPARE(installer->name, name);
        QTEST(installer->macOSVersion, "macOSVersion");
        QTEST(installer->buildNumber, "buildNumber");
        QTEST(installer->sortableVersion, "sortKey");
        QTEST(installer->requiresApplicationPathFlag(), "needsApplicationPath");
        QVERIFY(!installer->id.isNull());
        QVERIFY(installer->id != InstallerApp::fromBundle(QUrl::fromLocalFile(bundle))->id);
    }

    void badBundlesGiveNoRecord_data()
    {
        QTest::addColumn<QByteArray>("infoPlist");
        const QByteArray sonoma = fixture("install-macos-sonoma.plist");
        const QByteArray sequoia = fixture("install-macos-sequoia.bplist");
        const Entry name{"CFBundleName", "Install macOS Sonoma"};
        const Entry version{"CFBundleShortVersionString", "1.0"};
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated xml") << sonoma.left(sonoma.size() / 2);
        QTest::newRow("truncated binary") << sequoia.left(sequoia.size() - 20);
        QTest::newRow("not a plist") << QByteArray("hello, I am not a property list\n");
        QTest::newRow("binary header only") << QByteArray("bplist00");
        QTest::newRow("top level array") << xmlPlist(QVariantList{"Install macOS Sonoma"});
        QTest::newRow("no name") << xmlPlist(QVariantMap{version});
        QTest::newRow("name of the wrong type")
            << xmlPlist(QVariantMap{{"CFBundleDisplayName", 4}, version});
        QTest::newRow("version of the wrong type")
            << xmlPlist(QVariantMap{name, {"CFBundleShortVersionString", 14.6}});
        QTest::newRow("no version") << xmlPlist(QVariantMap{name});
        // libplist ends the program when asked for a key or string that holds a NUL. The writer
        // will not write one, so it goes into the written text.
        QTest::newRow("NUL in a string")
            << xmlPlist(QVariantMap{{"CFBundleName", "Install macOS"}, version})
                   .replace("Install macOS", QByteArray("Install\0macOS", 13));
        // {CFBundleName: "Install", CFBundleShortVersionString: "1.0", "\u00e9\0": "x"}, the last
        // key in UTF-16.
        QTest::newRow("NUL in a binary key") << QByteArray::fromHex(
            "62706c6973743030d30102030405065c434642756e646c654e616d655f101a434642756e646c6553686f"
            "727456657273696f6e537472696e676200e9000057496e7374616c6c53312e305178080f1c393e464a00"
            "0000000000010100000000000000070000000000000000000000000000004c");
        // Real Info.plist files are a few kilobytes; a 20 MB one is refused unread.
        QTest::newRow("20 MB") << xmlPlist(
            QVariantMap{name, version, {"Padding", QString(20 * 1024 * 1024, u'x')}});
    }
    void badBundlesGiveNoRecord()
    {
        QFETCH(QByteArray, infoPlist);
        const QString bundle = makeBundle(QString::fromLatin1(QTest::currentDataTag()), infoPlist);
        QVERIFY(!InstallerApp::fromBundle(QUrl::fromLocalFile(bundle)));
    }

    // The icon comes from an ICNS file in the bundle's Resources folder, or not at all; a name
    // leading elsewhere, or a file of another format under the icon's name, gives the desktop's
    // own icon, which names no sizes of its own.
    void iconsAreIcnsFromResources_data()
    {
        QTest::addColumn<QString>("iconFile");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<bool>("decoded");
        QTest::newRow("icns in Resources") << "Icon" << QByteArray("icns") << true;
        QTest::newRow("name leading out") << "../../Outside" << QByteArray("icns") << false;
        QTest::newRow("name with a folder") << "sub/Icon" << QByteArray("icns") << false;
        QTest::newRow("png named .icns") << "Icon" << QByteArray("png") << false;
    }
    void iconsAreIcnsFromResources()
    {
        QFETCH(QString, iconFile);
        QFETCH(QByteArray, format);
        QFETCH(bool, decoded);
        const QString bundle =
            makeBundle(QString::fromLatin1(QTest::currentDataTag()),
                       xmlPlist(QVariantMap{{"CFBundleName", "Install macOS Sonoma"},
                                            {"CFBundleShortVersionString", "1.0"},
                                            {"CFBundleIconFile", iconFile}}));
        QImage picture(64, 64, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        const QString resources = bundle + "/Contents/Resources/";
        QDir().mkpath(resources + "sub");
        // Every place a name could lead to holds a picture.
        for (const QString &path : {resources + iconFile + ".icns", resources + "Icon.icns"})
            QVERIFY(QImageWriter(path, format).write(picture));
        const auto installer = InstallerApp::fromBundle(QUrl::fromLocalFile(bundle));
        QVERIFY(installer);
        QCOMPARE(!installer->icon.availableSizes().isEmpty(), decoded);
    }

    void badBundlePathsGiveNoRecord()
    {
        const QString plainFile = m_folder.filePath("Plain.app");
        writeFile(plainFile, {});
        const QString dangling = m_folder.filePath("Dangling.app");
        QVERIFY(QFile::link(m_folder.filePath("nowhere"), dangling));
        const QString empty = m_folder.filePath("Empty.app");
        QVERIFY(QDir().mkpath(empty));
        for (const QString &path : {plainFile, dangling, empty}) {
            QVERIFY2(!InstallerApp::fromBundle(QUrl::fromLocalFile(path)), qPrintable(path));
            QCOMPARE(InstallerApp::calculateDirectorySize(QUrl::fromLocalFile(path)), 0);
        }
    }

    void sizeWalk()
    {
        const QString root = m_folder.filePath("Sized.app");
        QVERIFY(QDir().mkpath(root + "/Contents/Resources/nested/deeper"));
        writeFile(root + "/Contents/Info.plist", QByteArray(100, 'a'));
        writeFile(root + "/Contents/.hidden", QByteArray(7, 'a'));
        writeFile(root + "/Contents/Resources/nested/deeper/data", QByteArray(5000, 'a'));
        QFile sparse(root + "/Contents/Resources/big.dmg");
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(3'000'000'000));
        sparse.close();
        // Links count as links: neither the loop back to the top nor the big target is followed.
        const QString loop = root + "/Contents/Resources/nested/loop";
        QVERIFY(QFile::link(root, loop));
        const QString bigLink = root + "/Contents/link-to-big";
        QVERIFY(QFile::link(sparse.fileName(), bigLink));
        const qint64 linkSizes = QFile::symLinkTarget(loop).toUtf8().size() +
                                 QFile::symLinkTarget(bigLink).toUtf8().size();
        QCOMPARE(InstallerApp::calculateDirectorySize(QUrl::fromLocalFile(root)),
                 100 + 7 + 5000 + 3'000'000'000 + linkSizes);
    }

    void unreadableFolderIsReportedAndSkipped()
    {
        if (geteuid() == 0)
            QSKIP("folder permissions do not stop the superuser");
        const QString root = m_folder.filePath("Locked.app");
        const QString locked = root + "/Contents/Locked";
        QVERIFY(QDir().mkpath(locked));
        writeFile(locked + "/file", "12345");
        writeFile(root + "/Contents/file", "123");
        QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
        CapturedOutput output;
        const qint64 size = InstallerApp::calculateDirectorySize(QUrl::fromLocalFile(root));
        const QString printed = output.text();
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QCOMPARE(size, 3);
        QCOMPARE(printed, "Error getting size for " + QUrl::fromLocalFile(locked).toString() +
                              ": Permission denied\n");
    }
};

QTEST_MAIN(InstallerAppTest)
#include "tst_installerapp.moc"
