#include "host/HostSelection.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class HostTest : public QObject {
    Q_OBJECT

private slots:
    void standInPathsLieBelowTheRoot()
    {
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("etc"))));
        QFile name(root.filePath(QStringLiteral("etc/computer-name")));
        QVERIFY(name.open(QIODevice::WriteOnly));
        name.write("  Demo Mac  \nsecond line\n");
        name.close();

        const Host host = Host::standIn(root.path() + QStringLiteral("/./"));
        const QString r = QDir::cleanPath(root.path());
        QVERIFY(host.isStandIn());
        QCOMPARE(host.root(), r);
        QCOMPARE(host.applicationsFolder(), r + "/Applications");
        QCOMPARE(host.volumesFolder(), r + "/Volumes");
        QCOMPARE(host.diskutil(), r + "/usr/sbin/diskutil");
        QCOMPARE(host.hdiutil(), r + "/usr/bin/hdiutil");
        QCOMPARE(host.csrutil(), r + "/usr/bin/csrutil");
        QCOMPARE(host.installer(), r + "/usr/sbin/installer");
        QCOMPARE(host.open(), r + "/usr/bin/open");
        QCOMPARE(host.osascript(), r + "/usr/bin/osascript");
        QCOMPARE(host.computerName(), std::optional<QString>(QStringLiteral("Demo Mac")));
        QVERIFY(QFileInfo(host.temporaryFolder()).isDir());
        QVERIFY(QFileInfo(host.desktopFolder()).isDir());
        QCOMPARE(host.temporaryFolder(), r + "/tmp");
        QCOMPARE(host.desktopFolder(), r + "/Desktop");

        // The machine's shell and chmod serve until the stand-in brings its own.
        QCOMPARE(host.bash(), QStringLiteral("/bin/bash"));
        QVERIFY(QDir().mkpath(r + "/bin"));
        QVERIFY(QFile::copy(QStringLiteral("/bin/chmod"), r + "/bin/chmod"));
        QCOMPARE(host.chmod(), r + "/bin/chmod");

        // Child processes find the stand-in's tools first, and the tools find their world.
        const QProcessEnvironment environment = host.processEnvironment();
        QVERIFY(environment.value("PATH").startsWith(
            QStringList{r + "/usr/bin", r + "/bin", r + "/usr/sbin", r + "/sbin"}.join(':') + ':'));
        QCOMPARE(environment.value("TESSALINE_HOST_ROOT"), r);
    }

    void noComputerNameWithoutTheFile()
    {
        QTemporaryDir root;
        QCOMPARE(Host::standIn(root.path()).computerName(), std::nullopt);
    }

    void givenRootIsUsedAsIs()
    {
        QTemporaryDir root;
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("TESSALINE_HOST_ROOT"), root.path());
        const HostSelection selection =
            HostSelection::choose(environment, QStringLiteral("/nonexistent/stand-in"));
        QVERIFY(selection.isValid());
        QVERIFY(!selection.isDemo());
        QCOMPARE(selection.host().root(), QDir::cleanPath(root.path()));
    }

#ifndef Q_OS_MACOS
    void demoWorldLivesAsLongAsTheSelection()
    {
        QString demoRoot;
        {
            const HostSelection selection = HostSelection::choose(
                QProcessEnvironment(), qEnvironmentVariable("TESSALINE_STANDIN"));
            QVERIFY2(selection.isValid(), qPrintable(selection.error()));
            QVERIFY(selection.isDemo());
            demoRoot = selection.host().root();
            QVERIFY(QFileInfo(selection.host().applicationsFolder()).isDir());
            QVERIFY(QFileInfo(selection.host().volumesFolder()).isDir());
        }
        QVERIFY(!QFileInfo::exists(demoRoot));
    }

    void demoFailsClearlyWithoutTheStandInProgram()
    {
        const HostSelection selection =
            HostSelection::choose(QProcessEnvironment(), QStringLiteral("/nonexistent/stand-in"));
        QVERIFY(!selection.isValid());
        QVERIFY(selection.error().contains(QStringLiteral("/nonexistent/stand-in")));
    }
#endif
};

QTEST_GUILESS_MAIN(HostTest)
#include "tst_host.moc"
