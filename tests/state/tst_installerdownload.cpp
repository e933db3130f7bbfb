// Installers from Apple end to end on a stand-in Mac, through the state as the window drives
// it: what softwareupdate lists, and downloading one as a job.

#include "host/Host.h"
#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <QtTest>

using namespace std::chrono_literals;

namespace {

QStringList versionsOf(const QList<AvailableInstaller> &installers)
{
    QStringList versions;
    for (const AvailableInstaller &installer : installers)
        versions << installer.version;
    return versions;
}

std::optional<AvailableInstaller> offered(const AppState &state, const QString &version)
{
    for (const AvailableInstaller &installer : state.offeredInstallers())
        if (installer.version == version)
            return installer;
    return std::nullopt;
}

// The fetches softwareupdate was asked for, by version.
QStringList fetchesIn(const StandInWorld &world)
{
    QFile log(world.path("var/standin/softwareupdate.log"));
    QStringList versions;
    if (!log.open(QIODevice::ReadOnly))
        return versions;
    for (const QByteArray &line : log.readAll().split('\n')) {
        const QJsonArray argv = QJsonDocument::fromJson(line).array();
        if (argv.contains(QStringLiteral("--fetch-full-installer")))
            versions << argv.last().toString();
    }
    return versions;
}

} // namespace

class InstallerDownloadTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StandInWorld> m_world;
    std::unique_ptr<AppState> m_state;
    AppState &state() { return *m_state; }
    const StandInWorld &world() const { return *m_world; }

    // The world's installers listed, and Apple's offer.
    void listEverything()
    {
        state().scanForInstallers();
        QTRY_VERIFY(!state().isScanning() && !state().installers().isEmpty());
        state().listOfferedInstallers();
        QTRY_VERIFY(!state().isListingOfferedInstallers());
    }
    // Downloads `version` and waits for the job's result; the percentages the job showed.
    QList<double> download(const QString &version)
    {
        QList<double> shown;
        const auto connection = connect(m_state.get(), &AppState::changed, this, [&] {
            const double percent = state().progressInfo().percentage;
            if (state().hasJob() && (shown.isEmpty() || shown.last() != percent))
                shown << percent;
        });
        const std::optional<AvailableInstaller> installer = offered(state(), version);
        if (!installer)
            return {};
        state().downloadInstaller(*installer);
        if (!QTest::qWaitFor([&] { return !state().hasJob(); }, 20000))
            qWarning("the download did not end");
        disconnect(connection);
        return shown;
    }
    // The stand-in tools' pace from now on; the host passes its environment on to them.
    void setToolSpeed(const char *speed)
    {
        qputenv("TESSALINE_STANDIN_SPEED", speed);
        Host::setCurrent(Host::standIn(world().root()));
    }
    QString bundleOf(const QString &name) const
    {
        return world().path("Applications/Install macOS " + name + ".app");
    }

private slots:
    void init()
    {
        Timing::setCurrent(quickTiming());
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        m_world = std::make_unique<StandInWorld>();
        QVERIFY(m_world->isValid());
        m_state = std::make_unique<AppState>();
    }
    void cleanup()
    {
        m_state.reset();
        m_world.reset();
    }

    // Newest first, the deferred one kept and marked, the ones in Applications known.
    void listing()
    {
        listEverything();
        QCOMPARE(state().offeredInstallersFailure(), QString());
        QCOMPARE(versionsOf(state().offeredInstallers()),
                 QStringList({"15.3.1", "15.3", "14.7.4", "13.7.4", "12.7.4"}));
        QVERIFY(offered(state(), "12.7.4")->deferred);
        QVERIFY(!offered(state(), "13.7.4")->deferred);
        QVERIFY(state().hasInApplications(*offered(state(), "15.3.1")));
        QVERIFY(!state().hasInApplications(*offered(state(), "13.7.4")));
    }

    void listingFailures_data()
    {
        QTest::addColumn<QJsonObject>("catalogue");
        QTest::addColumn<bool>("unsupported");
        QTest::addColumn<QString>("said");
        QTest::newRow("no network")
            << QJsonObject{{"failure", "network"}} << false << "connect to the update server";
        QTest::newRow("Catalina") << QJsonObject{{"macOS", "10.15.7"}} << true << "";
    }
    void listingFailures()
    {
        QFETCH(QJsonObject, catalogue);
        QFETCH(bool, unsupported);
        QFETCH(QString, said);
        world().writeState("catalogue.json", catalogue);
        listEverything();
        QCOMPARE(state().isInstallerListingUnsupported(), unsupported);
        QVERIFY(state().offeredInstallers().isEmpty());
        QVERIFY2(state().offeredInstallersFailure().contains(said),
                 qPrintable(state().offeredInstallersFailure()));
        // A listing that works again clears what the failed one said.
        world().writeState("catalogue.json", {{"failure", ""}, {"macOS", "15.3"}});
        listEverything();
        QCOMPARE(state().offeredInstallersFailure(), QString());
        QVERIFY(!state().isInstallerListingUnsupported());
        QCOMPARE(state().offeredInstallers().size(), 5);
    }

    void aListingThatHangsIsGivenUp()
    {
        Timing timing = quickTiming();
        timing.installerListLimit = 300ms;
        timing.terminationGrace = 100ms;
        Timing::setCurrent(timing);
        world().replaceWithHangingTool("usr/sbin/softwareupdate", "Finding available software");
        listEverything();
        QVERIFY2(state().offeredInstallersFailure().contains("did not answer within"),
                 qPrintable(state().offeredInstallersFailure()));
    }

    // The download lands in Applications, shows its progress as it goes, and is selected.
    void downloadsAndSelects()
    {
        setToolSpeed("0.1");
        listEverything();
        QVERIFY(!QFileInfo::exists(bundleOf("Ventura")));
        const QList<double> shown = download("13.7.4");
        const ProgressInfo &progress = state().progressInfo();
        QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(progress.message)));
        // Percentages in between, before the end.
        QVERIFY2(std::count_if(shown.begin(), shown.end(),
                               [](double percent) { return percent > 10 && percent < 90; }) >= 3,
                 qPrintable(QString::number(shown.size())));
        QCOMPARE(progress.outputPath, bundleOf("Ventura"));
        QVERIFY(state().selectedInstaller());
        QCOMPARE(state().selectedInstaller()->bundlePath(), bundleOf("Ventura"));
        QVERIFY(state().hasInApplications(*offered(state(), "13.7.4")));
        QCOMPARE(state().jobOutcome(), "The installer is in Applications.");
        // The new installer is the library's like any other: an ISO job takes it.
        QTRY_COMPARE(state().selectedInstaller()->signature.state, CodeSignature::State::apple);
    }

    // A failure tells the tool's own line and leaves nothing half made in Applications.
    void failures_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("said");
        QTest::newRow("not found") << QString("not-found") << "13.7.4"
                                   << "Install failed with error: Update not found";
        QTest::newRow("network") << QString("network") << "13.7.4"
                                 << "Install failed with error: The network connection was lost.";
        QTest::newRow("script") << QString("script") << "13.7.4"
                                << "Install failed with error: An error occurred while running "
                                   "scripts from the package";
        QTest::newRow("no space") << QString("no-space") << "13.7.4"
                                  << "Install failed with error: Not enough free disk space";
    }
    void failures()
    {
        QFETCH(QString, failure);
        QFETCH(QString, version);
        QFETCH(QString, said);
        listEverything();
        world().writeState("catalogue.json", {{"failure", failure}});
        const QStringList applications = QDir(world().path("Applications")).entryList();
        download(version);
        const ProgressInfo &progress = state().progressInfo();
        QVERIFY(progress.isComplete && !progress.success);
        const QString error = progress.errorMessage.value_or(QString());
        QVERIFY2(error.startsWith(said), qPrintable(error));
        if (failure == u"network")
            QVERIFY2(error.contains("Error Domain=NSURLErrorDomain"), qPrintable(error));
        if (failure == u"script")
            QVERIFY2(error.contains("incomplete installer it left in Applications was removed"),
                     qPrintable(error));
        QCOMPARE(QDir(world().path("Applications")).entryList(), applications);
        QVERIFY(!state().selectedInstaller() ||
                state().selectedInstaller()->bundlePath() != bundleOf("Ventura"));
    }

    // A failure does not take away an installer that was there before the run.
    void aFailureKeepsTheInstallerThatWasThere()
    {
        listEverything();
        world().writeState("catalogue.json", {{"failure", "script"}});
        download("15.3.1");
        QVERIFY(!state().progressInfo().success);
        QVERIFY(QFileInfo::exists(bundleOf("Sequoia") + "/Contents/Info.plist"));
        // The tool had begun replacing it: the user is told it may be incomplete now.
        const QString error = state().progressInfo().errorMessage.value_or(QString());
        QVERIFY2(error.contains("was being replaced and may be incomplete"), qPrintable(error));
    }

    // Cancel ends softwareupdate, and the bundle it had begun goes with it.
    void cancelLeavesNoPartialApp()
    {
        setToolSpeed("0.5");
        listEverything();
        state().downloadInstaller(*offered(state(), "13.7.4"));
        QVERIFY(state().hasJob());
        // Cancelled once the tool has begun putting the installer in place.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(bundleOf("Ventura")), 20000);
        QVERIFY(!state().jobHasErasedTarget()); // nothing of the user's: no question
        state().requestCancel();
        QTRY_VERIFY(!state().hasJob());
        QVERIFY(state().jobWasCancelled());
        QVERIFY(!state().progressInfo().success);
        QVERIFY(!QFileInfo::exists(bundleOf("Ventura")));
        QVERIFY2(state().progressInfo().errorMessage.value_or(QString()).startsWith("Cancelled."),
                 qPrintable(state().progressInfo().errorMessage.value_or(QString())));
    }

    // Short of space, or deferred: refused before softwareupdate is asked.
    void refusedBeforeTheTool_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("said");
        QTest::newRow("short of space")
            << "13.7.4" << qint64(2'000'000'000) << "Not Enough Space"
            << "but the startup disk has 2.00 GB free: free 10.22 GB more";
        QTest::newRow("deferred") << "12.7.4" << qint64(200'000'000'000) << "Download Error"
                                  << "is deferred by your organisation";
    }
    void refusedBeforeTheTool()
    {
        QFETCH(QString, version);
        QFETCH(qint64, freeBytes);
        QFETCH(QString, title);
        QFETCH(QString, said);
        world().writeState("space.json", {{"freeBytes", double(freeBytes)}});
        listEverything();
        state().downloadInstaller(*offered(state(), version));
        QVERIFY(!state().hasJob());
        QVERIFY(state().isShowingAlert());
        QCOMPARE(state().alertTitle(), title);
        QVERIFY2(state().alertMessage().contains(said), qPrintable(state().alertMessage()));
        QCOMPARE(fetchesIn(world()), QStringList());
    }

    // One job at a time: a download does not start beside another job, nor another beside it.
    void oneJobAtATime()
    {
        setToolSpeed("0.5");
        listEverything();
        state().downloadInstaller(*offered(state(), "13.7.4"));
        QVERIFY(state().isBusy());
        state().downloadInstaller(*offered(state(), "14.7.4"));
        state().createBootableDMG();
        QCOMPARE(state().jobKind(), AppState::JobKind::download);
        QTRY_COMPARE(fetchesIn(world()), QStringList{"13.7.4"});
        state().cancelJob();
        QTRY_VERIFY(!state().hasJob());
        QCOMPARE(fetchesIn(world()), QStringList{"13.7.4"});
    }
};

QTEST_MAIN(InstallerDownloadTest)
#include "tst_installerdownload.moc"
