// Only Apple-signed installers make media: the library's background check, the selection, and
// the refusals before confirmation and at the start of a job, on a stand-in Mac whose codesign
// judges each bundle by the signature it carries.

#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <QtTest>

namespace {

const QString planted = "Applications/Install macOS Sequoia 2.app";
const QString sequoia = "Applications/Install macOS Sequoia.app";

void sign(const StandInWorld &world, const QString &bundle, const QString &signer)
{
    QFile file(world.path(bundle + "/Contents/_CodeSignature/CodeResources"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("{\"standinSigner\":\"" + signer.toUtf8() + "\"}\n");
}

QByteArray log(const StandInWorld &world, const QString &tool)
{
    QFile file(world.path("var/standin/" + tool + ".log"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The scanned state, every signature checked, protection off so USB runs take the system's
// prompt, and the USB stick selected.
struct Session {
    AppState state;

    explicit Session(const StandInWorld &world)
    {
        QFile protection(world.path("var/standin/protection.json"));
        protection.open(QIODevice::WriteOnly | QIODevice::Truncate);
        protection.write("{\"status\": \"disabled\"}");
        protection.close();
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning() && state.selectedInstaller());
        QTRY_VERIFY(std::none_of(state.installers().begin(), state.installers().end(),
                                 [](const InstallerApp &installer) {
                                     return installer.signature.state ==
                                            CodeSignature::State::unchecked;
                                 }));
        state.refreshDiskList();
        QTRY_VERIFY(!state.isLoadingDisks() && !state.availableDisks().isEmpty());
        for (const DiskInfo &disk : state.availableDisks())
            if (disk.deviceIdentifier == "disk4s2")
                state.selectedDisk = disk;
    }

    std::optional<InstallerApp> at(const QString &path) const
    {
        for (const InstallerApp &installer : state.installers())
            if (installer.bundlePath().endsWith(path))
                return installer;
        return std::nullopt;
    }
    // Starts the job; answers a confirmation when one is asked.
    void start(bool usb)
    {
        usb ? state.createBootableUSB() : state.createBootableDMG();
        if (state.isShowingAlert() && state.alertTitle() != "Installer Not Signed by Apple") {
            state.isShowingAlert = false;
            state.alertPrimaryButton().action();
        }
    }
};

} // namespace

class InstallerSignaturesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        Timing::setCurrent(quickTiming());
    }

    void codesignAnswers_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("error");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("reason");
        using State = CodeSignature::State;
        QTest::newRow("valid") << 0 << QByteArray("/A.app: valid on disk\n") << int(State::apple)
                               << "";
        QTest::newRow("unsigned") << 1 << QByteArray("/A.app: code object is not signed at all\n")
                                  << int(State::notApple) << "code object is not signed at all";
        QTest::newRow("requirement")
            << 3
            << QByteArray("test-requirement: code failed to satisfy specified code "
                          "requirement(s)\n")
            << int(State::notApple)
            << "test-requirement: code failed to satisfy specified code requirement(s)";
        QTest::newRow("expired") << 1 << QByteArray("/A.app: CSSMERR_TP_CERT_EXPIRED\n")
                                 << int(State::appleExpired) << "CSSMERR_TP_CERT_EXPIRED";
        QTest::newRow("silent failure")
            << 1 << QByteArray() << int(State::notApple) << "codesign exited with status 1";
    }
    void codesignAnswers()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, error);
        QFETCH(int, state);
        QFETCH(QString, reason);
        const CodeSignature signature = CodeSignature::fromCodesign(status, error, "/A.app");
        QCOMPARE(int(signature.state), state);
        QCOMPARE(signature.reason, reason);
    }

    // Past its certificate's end codesign says nothing of whose it is; the chain must be Apple's
    // own, not a Developer ID one, which ends at Apple's root too.
    void expiredCertificateChains_data()
    {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("Apple's") << QByteArray("Identifier=com.apple.InstallAssistant.Catalina\n"
                                               "Authority=Software Signing\n"
                                               "Authority=Apple Code Signing Certification "
                                               "Authority\nAuthority=Apple Root CA\n"
                                               "TeamIdentifier=not set\n")
                                 << QString();
        QTest::newRow("Developer ID")
            << QByteArray("Authority=Developer ID Application: X (ABCDE12345)\n"
                          "Authority=Developer ID Certification Authority\n"
                          "Authority=Apple Root CA\n")
            << "signed with an expired certificate that is not Apple's (Developer ID "
               "Application: X (ABCDE12345), Developer ID Certification Authority, Apple Root CA)";
        QTest::newRow("Apple's chain below another root")
            << QByteArray("Authority=Software Signing\n"
                          "Authority=Apple Code Signing Certification Authority\n"
                          "Authority=Apple Root CA\nAuthority=Some Other Root\n")
            << "signed with an expired certificate that is not Apple's (Software Signing, Apple "
               "Code Signing Certification Authority, Apple Root CA, Some Other Root)";
        QTest::newRow("nothing shown")
            << QByteArray()
            << "signed with an expired certificate that is not Apple's (no "
               "certificate chain shown)";
    }
    void expiredCertificateChains()
    {
        QFETCH(QByteArray, display);
        QFETCH(QString, refusal);
        const CodeSignature expired =
            CodeSignature::fromCodesign(1, "/A.app: CSSMERR_TP_CERT_EXPIRED\n", "/A.app");
        const CodeSignature judged = CodeSignature::fromExpiredChain(expired, display);
        QCOMPARE(judged.allowsRunning(), refusal.isEmpty());
        QCOMPARE(judged, refusal.isEmpty() ? expired : CodeSignature::failed(refusal));
    }

    // A copy claiming a newer macOS is listed first, flagged, never picked, and refused.
    void plantedInstallerIsRefused()
    {
        StandInWorld world({.unsignedInstaller = true});
        QVERIFY(world.isValid());
        Session session(world);
        AppState &state = session.state;
        QVERIFY(state.installers().first().bundlePath().endsWith(planted));
        const InstallerApp fake = *session.at(planted);
        QCOMPARE(fake.signature.state, CodeSignature::State::notApple);
        QCOMPARE(fake.signature.reason, "code object is not signed at all");
        QVERIFY(state.selectedInstaller()->bundlePath().endsWith(sequoia));
        for (bool usb : {true, false}) {
            state.selectedInstaller = fake;
            session.start(usb);
            QCOMPARE(state.alertTitle(), "Installer Not Signed by Apple");
            QVERIFY(state.alertMessage().contains("code object is not signed at all"));
            QVERIFY(state.alertMessage().contains(fake.bundlePath()));
            QVERIFY(!state.isCreatingMedia());
        }
        QVERIFY(log(world, "createinstallmedia").isEmpty());
        QVERIFY(log(world, "hdiutil").isEmpty());
    }

    // The bundle changes after the scan: the job's own check decides.
    void signatureAtJobStart_data()
    {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QString>("signer");
        QTest::addColumn<QString>("refusal");
        for (bool usb : {true, false}) {
            const char *job = usb ? "usb" : "iso";
            QTest::addRow("%s: tampered", job) << usb << "tampered"
                                               << "a sealed resource is missing or invalid";
            QTest::addRow("%s: other developer", job)
                << usb << "other"
                << "test-requirement: code failed to satisfy specified code requirement(s)";
            QTest::addRow("%s: expired certificate", job) << usb << "expired" << QString();
            QTest::addRow("%s: another developer's expired certificate", job)
                << usb << "expired-other"
                << "signed with an expired certificate that is not Apple's (Developer ID";
        }
    }
    void signatureAtJobStart()
    {
        QFETCH(bool, usb);
        QFETCH(QString, signer);
        QFETCH(QString, refusal);
        StandInWorld world;
        QVERIFY(world.isValid());
        Session session(world);
        AppState &state = session.state;
        QCOMPARE(state.selectedInstaller()->signature.state, CodeSignature::State::apple);
        sign(world, sequoia, signer);
        session.start(usb);
        if (!refusal.isEmpty()) {
            QTRY_COMPARE(state.alertTitle(), "Installer Not Signed by Apple");
            QVERIFY(state.alertMessage().contains(refusal));
            QVERIFY(!state.isCreatingMedia());
            QCOMPARE(state.selectedInstaller()->signature.state, CodeSignature::State::notApple);
            QVERIFY(log(world, "createinstallmedia").isEmpty());
            return;
        }
        // Still Apple's: warned of, and run.
        QTRY_VERIFY_WITH_TIMEOUT(state.progressInfo().isComplete && !state.hasJob(), 20000);
        QVERIFY2(state.progressInfo().success, qPrintable(state.progressInfo().message));
        QCOMPARE(state.selectedInstaller()->signature.state, CodeSignature::State::appleExpired);
        QVERIFY(log(world, "createinstallmedia").contains("Install macOS Sequoia.app"));
    }

    // Through a link, the bundle checked and the bundle run are the link's target.
    void linkedInstallerRunsFromItsTarget()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QVERIFY(QDir().mkpath(world.path("Library")));
        const QString target = world.path("Library/Sequoia.app");
        QVERIFY(QDir().rename(world.path(sequoia), target));
        QVERIFY(QFile::link(target, world.path(sequoia)));
        Session session(world);
        session.start(true);
        QTRY_VERIFY_WITH_TIMEOUT(session.state.progressInfo().isComplete && !session.state.hasJob(),
                                 20000);
        const QString canonical = QFileInfo(target).canonicalFilePath();
        const QList<QByteArray> runs = log(world, "createinstallmedia").split('\n');
        QVERIFY(QJsonDocument::fromJson(runs.first())
                    .array()
                    .first()
                    .toString()
                    .startsWith(canonical + "/Contents/Resources/createinstallmedia"));
        QVERIFY(log(world, "codesign")
                    .contains(QJsonDocument(QJsonArray{canonical})
                                  .toJson(QJsonDocument::Compact)
                                  .mid(1)
                                  .chopped(1)));
    }
};

QTEST_GUILESS_MAIN(InstallerSignaturesTest)
#include "tst_installersignatures.moc"
