#include "exec/HostSelection.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class HostTest : public QObject {
    Q_OBJECT

private slots:
    // The stand-in's tool paths, search path, shell and world root are used by every suite that
    // runs a tool in a stand-in world; what those do not reach is here.
    void standInRootAndComputerName()
    {
        QTemporaryDir root;
        const QString r = QDir::cleanPath(root.path());
        QCOMPARE(Host::standIn(r).computerName(), std::nullopt);
        QVERIFY(QDir().mkpath(r + "/etc"));
        QFile name(r + "/etc/computer-name");
        QVERIFY(name.open(QIODevice::WriteOnly));
        name.write("  Demo Mac  \nsecond line\n");
        name.close();
        const Host host = Host::standIn(r + "/./");
        QVERIFY(host.isStandIn() && host.root() == r);
        QCOMPARE(host.computerName(), std::optional<QString>("Demo Mac"));
        QCOMPARE(host.temporaryFolder() + ' ' + host.desktopFolder(), r + "/tmp " + r + "/Desktop");
        QCOMPARE(host.homeFolder(), r);
        QVERIFY(QFileInfo(r + "/tmp").isDir() && QFileInfo(r + "/Desktop").isDir());
        QCOMPARE(host.processEnvironment().value("TESSALINE_HOST_ROOT"), r);
    }

    void selection()
    {
        QTemporaryDir root;
        QProcessEnvironment environment;
        environment.insert("TESSALINE_HOST_ROOT", root.path());
        const HostSelection given = HostSelection::choose(environment, "/nonexistent/stand-in");
        QVERIFY(given.isValid() && !given.isDemo());
        QCOMPARE(given.host().root(), QDir::cleanPath(root.path()));
#ifndef Q_OS_MACOS
        // Without a given root a demo world is made, and it fails clearly without the program.
        const HostSelection none = HostSelection::choose({}, "/nonexistent/stand-in");
        QVERIFY(!none.isValid() && none.error().contains("/nonexistent/stand-in"));
        QString demoRoot;
        {
            const HostSelection demo =
                HostSelection::choose({}, qEnvironmentVariable("TESSALINE_STANDIN"));
            QVERIFY2(demo.isValid() && demo.isDemo(), qPrintable(demo.error()));
            demoRoot = demo.host().root();
            QVERIFY(QFileInfo(demo.host().applicationsFolder()).isDir());
            QVERIFY(QFileInfo(demo.host().volumesFolder()).isDir());
        }
        QVERIFY(!QFileInfo::exists(demoRoot)); // the demo world lives as long as the selection
#endif
    }
};

QTEST_GUILESS_MAIN(HostTest)
#include "tst_host.moc"
