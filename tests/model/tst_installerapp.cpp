#include "model/ByteFormat.h"
#include "model/InstallerApp.h"
#include "model/ShellQuote.h"
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

class InstallerAppTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

    // Makes "<name>.app" in the test folder with the given Info.plist bytes.
    QString makeBundle(const QString &name, const QByteArray &infoPlist)
    {
        const QString bundle = m_folder.filePath(name + QStringLiteral(".app"));
        QDir().mkpath(bundle + QStringLiteral("/Contents/Resources"));
        QFile file(bundle + QStringLiteral("/Contents/Info.plist"));
        file.open(QIODevice::WriteOnly);
        file.write(infoPlist);
        return bundle;
    }

    static QByteArray fixture(const QString &name)
    {
        QFile file(QStringLiteral(TESSALINE_FIXTURES "/info-plist/") + name);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static QByteArray xmlPlist(const QByteArray &body)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body +
               "\n</plist>\n";
    }

    static InstallerApp record(const QString &name, const QString &macOSVersion,
                               const QString &version = QStringLiteral("1.0"),
                               const QString &path = {})
    {
        InstallerApp app;
        app.id = QUuid::createUuid();
        app.url = QUrl::fromLocalFile(path.isEmpty() ? QStringLiteral("/Applications/") + name +
                                                           QStringLiteral(".app")
                                                     : path);
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

    void sortKey_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Version>("expected");
        const QString sonoma = QStringLiteral("Install macOS Sonoma");
        QTest::newRow("three pieces") << "10.15.7" << sonoma << Version{10, 15, 7, 0};
        QTest::newRow("two pieces") << "14.4" << sonoma << Version{14, 4, 0, 0};
        QTest::newRow("more than four") << "11.0.1.2.3" << sonoma << Version{11, 0, 1, 2};
        QTest::newRow("piece not a number") << "12.x" << sonoma << Version{12, 0, 0, 0};
        QTest::newRow("empty pieces") << "..3" << sonoma << Version{0, 0, 3, 0};
        QTest::newRow("signed pieces") << "+3.-2" << sonoma << Version{3, -2, 0, 0};
        QTest::newRow("piece with spaces") << " 3.4" << sonoma << Version{0, 4, 0, 0};
        QTest::newRow("piece too large")
            << "99999999999999999999.1" << sonoma << Version{0, 1, 0, 0};
        QTest::newRow("unknown, release name") << "Unknown" << sonoma << Version{14, 0, 0, 0};
        QTest::newRow("first release word wins")
            << "Unknown"
            << "Install macOS High Sierra" << Version{10, 13, 0, 0};
        QTest::newRow("el capitan by el") << "GM"
                                          << "Install OS X El Capitan" << Version{10, 11, 0, 0};
        QTest::newRow("big sur by big") << "GM"
                                        << "Install macOS Big Sur" << Version{11, 0, 0, 0};
        QTest::newRow("number in name") << "Unknown"
                                        << "Install macOS 15" << Version{15, 0, 0, 0};
        QTest::newRow("number out of range") << "Unknown"
                                             << "Install macOS 9" << Version{0, 0, 0, 0};
        QTest::newRow("number out of range, later word")
            << "Unknown"
            << "Install macOS 9 Mojave" << Version{10, 14, 0, 0};
        QTest::newRow("tab separates words") << "Unknown"
                                             << "Install\tmacOS\tCatalina" << Version{10, 15, 0, 0};
        QTest::newRow("word must match whole") << "Unknown"
                                               << "Install macOS Sonomas" << Version{0, 0, 0, 0};
        QTest::newRow("no known word") << "Unknown"
                                       << "Something Else" << Version{0, 0, 0, 0};
        QTest::newRow("version without full stop takes the name")
            << "14"
            << "Install macOS Mavericks" << Version{10, 9, 0, 0};
    }
    void sortKey()
    {
        QFETCH(QString, version);
        QFETCH(QString, name);
        QFETCH(Version, expected);
        QCOMPARE(InstallerApp::createSortableVersion(version, name), expected);
    }

    void applicationPathRule_data()
    {
        QTest::addColumn<QString>("macOSVersion");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("expected");
        QTest::newRow("10.12 needs it") << "10.12.6"
                                        << "Install macOS Sierra"
                                        << "12.6" << true;
        QTest::newRow("10.13 does not, whatever the name") << "10.13.6"
                                                           << "Install macOS Sierra"
                                                           << "13.6" << false;
        QTest::newRow("11.10.1 reads its second piece") << "11.10.1"
                                                        << "Install macOS Big Sur"
                                                        << "16.1" << true;
        QTest::newRow("sierra by name") << "Unknown"
                                        << "Install macOS Sierra"
                                        << "12.6" << true;
        QTest::newRow("high sierra by name") << "Unknown"
                                             << "Install macOS High Sierra"
                                             << "13.6" << false;
        QTest::newRow("high sierra with an old version string") << "GM"
                                                                << "Install macOS High Sierra"
                                                                << "10.12.1" << true;
        QTest::newRow("el capitan by name") << "GM"
                                            << "Install OS X El Capitan"
                                            << "1.6.43" << true;
        QTest::newRow("yosemite by name") << "GM"
                                          << "Install OS X Yosemite"
                                          << "1.0" << true;
        QTest::newRow("10. with a text second piece falls to the name") << "10.x"
                                                                        << "Install OS X Mavericks"
                                                                        << "1.0" << true;
        QTest::newRow("current installer") << "14.6"
                                           << "Install macOS Sonoma"
                                           << "19.6.01" << false;
    }
    void applicationPathRule()
    {
        QFETCH(QString, macOSVersion);
        QFETCH(QString, name);
        QFETCH(QString, version);
        QFETCH(bool, expected);
        QCOMPARE(record(name, macOSVersion, version).requiresApplicationPathFlag(), expected);
    }

    void commandLine()
    {
        const InstallerApp elCapitan = record(
            QStringLiteral("Install OS X El Capitan"), QStringLiteral("GM"),
            QStringLiteral("1.6.43"), QStringLiteral("/Applications/Install OS X El Capitan.app"));
        QCOMPARE(elCapitan.createinstallmediaCommand(QStringLiteral("/Volumes/USB")),
                 QStringLiteral("'/Applications/Install OS X El Capitan.app/Contents/Resources/"
                                "createinstallmedia' --volume /Volumes/USB --applicationpath "
                                "'/Applications/Install OS X El Capitan.app' --nointeraction"));

        const InstallerApp plain =
            record(QStringLiteral("Installer"), QStringLiteral("14.6"), QStringLiteral("1.0"),
                   QStringLiteral("/Applications/Installer.app"));
        QCOMPARE(plain.createinstallmediaCommand(QStringLiteral("/Volumes/USB")),
                 QStringLiteral("/Applications/Installer.app/Contents/Resources/createinstallmedia "
                                "--volume /Volumes/USB --nointeraction"));
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
    }
    void shellQuotingSurvivesTheShell()
    {
        QFETCH(QString, text);
        for (const auto quote : {shellQuoted, shellSingleQuoted, shellDoubleQuoted}) {
            QProcess shell;
            shell.setWorkingDirectory(m_folder.path());
            shell.start(QStringLiteral("/bin/bash"),
                        {QStringLiteral("-c"), QStringLiteral("printf %s ") + quote(text)});
            QVERIFY(shell.waitForFinished());
            QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), text);
            QVERIFY(!QFile::exists(m_folder.filePath(QStringLiteral("CANARY"))));
        }
    }

    void orderEqualityAndHash()
    {
        const InstallerApp sonoma = record(QStringLiteral("Install macOS Sonoma"), "14.6");
        const InstallerApp ventura = record(QStringLiteral("Install macOS Ventura"), "13.6");
        QVERIFY(ventura < sonoma);
        QVERIFY(sonoma > ventura && sonoma >= ventura && ventura <= sonoma);

        // Equal sort keys fall back to the name; identical names are not ordered.
        const InstallerApp a = record(QStringLiteral("A"), "14.6");
        const InstallerApp b = record(QStringLiteral("B"), "14.6");
        QVERIFY(a < b && !(b < a));
        QVERIFY(!(a < a) && a <= a && a >= a);

        // A shorter key that is a prefix of the other comes first.
        InstallerApp shortKey = a;
        shortKey.sortableVersion = {14, 6};
        QVERIFY(shortKey < b);

        // Two reads of one bundle: different identities, yet equal and hashed alike.
        InstallerApp again = sonoma;
        again.id = QUuid::createUuid();
        again.name = QStringLiteral("Renamed");
        QCOMPARE(again, sonoma);
        QCOMPARE(qHash(again), qHash(sonoma));
        QCOMPARE(QSet<InstallerApp>({sonoma, again, ventura}).size(), 2);
    }

    void readsRealInfoPlists_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("macOSVersion");
        QTest::addColumn<QString>("buildNumber");
        QTest::addColumn<Version>("sortKey");
        QTest::addColumn<bool>("needsApplicationPath");
        QTest::newRow("binary") << "install-macos-sequoia.bplist"
                                << "Install macOS Sequoia"
                                << "15.1"
                                << "24B83" << Version{15, 1, 0, 0} << false;
        QTest::newRow("xml") << "install-macos-sonoma.plist"
                             << "Install macOS Sonoma"
                             << "14.6"
                             << "23G93" << Version{14, 6, 0, 0} << false;
        QTest::newRow("GM sierra") << "install-macos-sierra.plist"
                                   << "Install macOS Sierra"
                                   << "GM"
                                   << "16G29" << Version{10, 12, 0, 0} << true;
        QTest::newRow("GM high sierra") << "install-macos-high-sierra.plist"
                                        << "Install macOS High Sierra"
                                        << "GM"
                                        << "17G66" << Version{10, 13, 0, 0} << false;
        QTest::newRow("el capitan") << "install-os-x-el-capitan.plist"
                                    << "Install OS X El Capitan"
                                    << "GM"
                                    << "15G31" << Version{10, 11, 0, 0} << true;
        QTest::newRow("name from bundle name") << "install-macos-mojave-no-display-name.plist"
                                               << "Install macOS Mojave"
                                               << "10.14"
                                               << "18G103" << Version{10, 14, 0, 0} << false;
    }
    void readsRealInfoPlists()
    {
        QFETCH(QString, file);
        QFETCH(QString, name);
        const QString bundle = makeBundle(name, fixture(file));
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

    void missingPlatformKeysAreUnknown()
    {
        const QString bundle = makeBundle(
            QStringLiteral("Install macOS Catalina"),
            xmlPlist("<dict><key>CFBundleName</key><string>Install macOS Catalina</string>"
                     "<key>CFBundleShortVersionString</key><string>15.7</string></dict>"));
        const auto installer = InstallerApp::fromBundle(QUrl::fromLocalFile(bundle));
        QVERIFY(installer);
        QCOMPARE(installer->buildNumber, QStringLiteral("Unknown"));
        QCOMPARE(installer->macOSVersion, QStringLiteral("Unknown"));
        QCOMPARE(installer->sortableVersion, (Version{10, 15, 0, 0}));
    }

    void badBundlesGiveNoRecord_data()
    {
        QTest::addColumn<QByteArray>("infoPlist");
        const QByteArray sonoma = fixture(QStringLiteral("install-macos-sonoma.plist"));
        const QByteArray sequoia = fixture(QStringLiteral("install-macos-sequoia.bplist"));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated xml") << sonoma.left(sonoma.size() / 2);
        QTest::newRow("truncated binary") << sequoia.left(sequoia.size() - 20);
        QTest::newRow("not a plist") << QByteArray("hello, I am not a property list\n");
        QTest::newRow("binary header only") << QByteArray("bplist00");
        QTest::newRow("top level array")
            << xmlPlist("<array><string>Install macOS Sonoma</string></array>");
        QTest::newRow("no name") << xmlPlist(
            "<dict><key>CFBundleShortVersionString</key><string>1.0</string></dict>");
        QTest::newRow("name of the wrong type")
            << xmlPlist("<dict><key>CFBundleDisplayName</key><integer>4</integer>"
                        "<key>CFBundleShortVersionString</key><string>1.0</string></dict>");
        QTest::newRow("version of the wrong type")
            << xmlPlist("<dict><key>CFBundleName</key><string>Install macOS Sonoma</string>"
                        "<key>CFBundleShortVersionString</key><real>14.6</real></dict>");
        QTest::newRow("no version") << xmlPlist(
            "<dict><key>CFBundleName</key><string>Install macOS Sonoma</string></dict>");
        // libplist ends the program when asked for a key or string that holds a NUL.
        QTest::newRow("NUL in a string") << xmlPlist(
            QByteArrayLiteral("<dict><key>CFBundleName</key><string>Install\0macOS</string>"
                              "<key>CFBundleShortVersionString</key><string>1.0</string></dict>"));
        // {CFBundleName: "Install", CFBundleShortVersionString: "1.0", "\u00e9\0": "x"}, the last
        // key in UTF-16.
        QTest::newRow("NUL in a binary key") << QByteArray::fromHex(
            "62706c6973743030d30102030405065c434642756e646c654e616d655f101a434642756e646c6553686f"
            "727456657273696f6e537472696e676200e9000057496e7374616c6c53312e305178080f1c393e464a00"
            "0000000000010100000000000000070000000000000000000000000000004c");
        // Real Info.plist files are a few kilobytes; a 20 MB one is refused unread.
        QByteArray huge = "<dict><key>CFBundleName</key><string>Install macOS Sonoma</string>"
                          "<key>CFBundleShortVersionString</key><string>1.0</string>"
                          "<key>Padding</key><string>";
        huge += QByteArray(20 * 1024 * 1024, 'x') + "</string></dict>";
        QTest::newRow("20 MB") << xmlPlist(huge);
    }
    void badBundlesGiveNoRecord()
    {
        QFETCH(QByteArray, infoPlist);
        const QString bundle = makeBundle(QString::fromLatin1(QTest::currentDataTag()), infoPlist);
        QVERIFY(!InstallerApp::fromBundle(QUrl::fromLocalFile(bundle)));
    }

    void badBundlePathsGiveNoRecord()
    {
        const QString plainFile = m_folder.filePath(QStringLiteral("Plain.app"));
        QFile file(plainFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString dangling = m_folder.filePath(QStringLiteral("Dangling.app"));
        QVERIFY(QFile::link(m_folder.filePath(QStringLiteral("nowhere")), dangling));
        const QString empty = m_folder.filePath(QStringLiteral("Empty.app"));
        QVERIFY(QDir().mkpath(empty));
        for (const QString &path : {plainFile, dangling, empty}) {
            QVERIFY2(!InstallerApp::fromBundle(QUrl::fromLocalFile(path)), qPrintable(path));
            QCOMPARE(InstallerApp::calculateDirectorySize(QUrl::fromLocalFile(path)), 0);
        }
    }

    void iconFromBundleOrDesktop()
    {
        const QByteArray plist = fixture(QStringLiteral("install-os-x-el-capitan.plist"));
        const QString withIcon = makeBundle(QStringLiteral("With Icon"), plist);
        QImage picture(64, 64, QImage::Format_ARGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(QImageWriter(withIcon + QStringLiteral("/Contents/Resources/InstallAssistant.icns"),
                             "icns")
                    .write(picture));
        const auto installer = InstallerApp::fromBundle(QUrl::fromLocalFile(withIcon));
        QVERIFY(installer);
        QVERIFY(!installer->icon.availableSizes().isEmpty());

        // A missing or broken icon file falls back to the desktop's icon for the bundle.
        const QString broken = makeBundle(QStringLiteral("Broken Icon"), plist);
        QFile junk(broken + QStringLiteral("/Contents/Resources/InstallAssistant.icns"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("icns but not really");
        junk.close();
        const QString missing = makeBundle(QStringLiteral("Missing Icon"), plist);
        for (const QString &bundle : {broken, missing}) {
            const auto fallback = InstallerApp::fromBundle(QUrl::fromLocalFile(bundle));
            QVERIFY(fallback);
            QVERIFY(!fallback->icon.isNull());
            QVERIFY(fallback->icon.availableSizes().isEmpty());
        }
    }

    void sizeWalk()
    {
        const QString root = m_folder.filePath(QStringLiteral("Sized.app"));
        QVERIFY(QDir().mkpath(root + QStringLiteral("/Contents/Resources/nested/deeper")));
        auto write = [&](const QString &relative, qsizetype bytes) {
            QFile file(root + u'/' + relative);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(bytes, 'a'));
        };
        write(QStringLiteral("Contents/Info.plist"), 100);
        write(QStringLiteral("Contents/.hidden"), 7);
        write(QStringLiteral("Contents/Resources/nested/deeper/data"), 5000);
        QFile sparse(root + QStringLiteral("/Contents/Resources/big.dmg"));
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(3'000'000'000));
        sparse.close();
        // Links count as links: neither the loop back to the top nor the big target is followed.
        const QString loop = root + QStringLiteral("/Contents/Resources/nested/loop");
        QVERIFY(QFile::link(root, loop));
        const QString bigLink = root + QStringLiteral("/Contents/link-to-big");
        QVERIFY(QFile::link(root + QStringLiteral("/Contents/Resources/big.dmg"), bigLink));
        const qint64 linkSizes = QFile::symLinkTarget(loop).toUtf8().size() +
                                 QFile::symLinkTarget(bigLink).toUtf8().size();
        QCOMPARE(InstallerApp::calculateDirectorySize(QUrl::fromLocalFile(root)),
                 100 + 7 + 5000 + 3'000'000'000 + linkSizes);
    }

    void unreadableFolderIsReportedAndSkipped()
    {
        if (geteuid() == 0)
            QSKIP("folder permissions do not stop the superuser");
        const QString root = m_folder.filePath(QStringLiteral("Locked.app"));
        const QString locked = root + QStringLiteral("/Contents/Locked");
        QVERIFY(QDir().mkpath(locked));
        QFile inside(locked + QStringLiteral("/file"));
        QVERIFY(inside.open(QIODevice::WriteOnly));
        inside.write("12345");
        inside.close();
        QFile outside(root + QStringLiteral("/Contents/file"));
        QVERIFY(outside.open(QIODevice::WriteOnly));
        outside.write("123");
        outside.close();
        QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
        CapturedOutput output;
        const qint64 size = InstallerApp::calculateDirectorySize(QUrl::fromLocalFile(root));
        const QString printed = output.text();
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QCOMPARE(size, 3);
        QCOMPARE(printed, QStringLiteral("Error getting size for ") +
                              QUrl::fromLocalFile(locked).toString() +
                              QStringLiteral(": Permission denied\n"));
    }

    void gigabytes_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << qint64(0) << "0.00 GB";
        QTest::newRow("decimal units") << qint64(13'370'000'000) << "13.37 GB";
        QTest::newRow("small") << qint64(4'000'000) << "0.00 GB";
        QTest::newRow("half") << qint64(500'000'000) << "0.50 GB";
    }
    void gigabytes()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, expected);
        QCOMPARE(formatGigabytes(bytes), expected);
        InstallerApp app;
        app.size = bytes;
        QCOMPARE(app.formattedSize(), expected);
    }
};

QTEST_MAIN(InstallerAppTest)
#include "tst_installerapp.moc"
