// The small readers of the answers of sudo, the installer tool and hdiutil, on the texts the
// recorded transcripts show.

#include "model/HdiutilOutput.h"
#include "model/InstallerToolAnswer.h"
#include "model/SudoPasswordCheck.h"

#include <QTest>

using OptText = std::optional<QString>;

class TestToolAnswers : public QObject {
    Q_OBJECT

private slots:
    void sudoRejectedPassword_data()
    {
        QTest::addColumn<QString>("chunk");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("prompt") << "Password:" << false;
        QTest::newRow("retry") << "Password:Sorry, try again.\n" << true;
        QTest::newRow("given up") << "sudo: 1 incorrect password attempt\n" << true;
        QTest::newRow("given up, plural") << "sudo: 3 incorrect password attempts\n" << true;
        QTest::newRow("no password") << "sudo: no password was provided\n" << false;
        QTest::newRow("other casing") << "SORRY, TRY AGAIN." << false;
    }
    void sudoRejectedPassword()
    {
        QFETCH(QString, chunk);
        QFETCH(bool, rejected);
        QCOMPARE(::sudoRejectedPassword(chunk), rejected);
    }

    void packageInstallationFailure_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<OptText>("failure");
        const QString done = "installer: The install was successful.";
        QTest::newRow("success") << 0 << done << OptText();
        QTest::newRow("success, no output") << 0 << QString() << OptText();
        const QString failed = "installer: The install failed. (An error occurred.)";
        QTest::newRow("failed") << 1 << failed << OptText("Installation failed: " + failed);
        QTest::newRow("prompt cancelled")
            << -128 << "User canceled." << OptText("Installation failed: User canceled.");
    }
    void packageInstallationFailure()
    {
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(OptText, failure);
        QCOMPARE(::packageInstallationFailure(status, output), failure);
    }

    void hdiutilProgressMessage_data()
    {
        QTest::addColumn<QString>("piece");
        QTest::addColumn<QString>("message");
        QTest::newRow("partition line")
            << "Reading GPT Header (Primary GPT Header : 1)…\n"
            << "Converting: Reading GPT Header (Primary GPT Header : 1)…";
        QTest::newRow("only a line break") << "\n"
                                           << "Converting: ";
        QTest::newRow("created")
            << "\tcreated: /Users/alex/Desktop/Install macOS Sonoma.cdr\r\n"
            << "Converting: created: /Users/alex/Desktop/Install macOS Sonoma.cdr";
    }
    void hdiutilProgressMessage()
    {
        QFETCH(QString, piece);
        QFETCH(QString, message);
        QCOMPARE(::hdiutilProgressMessage(QStringLiteral("Converting: "), piece), message);
    }

    void hdiutilFailureReason_data()
    {
        QTest::addColumn<QByteArray>("standardError");
        QTest::addColumn<QString>("reason");
        const QByteArray busy = "hdiutil: couldn't unmount \"disk7\" - Resource busy\n";
        QTest::newRow("the tool's words, whole") << busy << QString::fromUtf8(busy);
        QTest::newRow("a bad byte is replaced, the rest kept")
            << QByteArray("hdiutil: convert failed - /Volumes/\xff\xfeX\n")
            << QString::fromUtf8("hdiutil: convert failed - /Volumes/\uFFFD\uFFFDX\n");
        // Replaced, not dropped: Qt gives each byte of it a replacement character.
        QTest::newRow("a character cut off at the end")
            << QByteArray("created: /tmp/\xe5\x8d")
            << QString::fromUtf8("created: /tmp/\uFFFD\uFFFD");
        QTest::newRow("silent") << QByteArray() << QString();
    }
    void hdiutilFailureReason()
    {
        QFETCH(QByteArray, standardError);
        QFETCH(QString, reason);
        QCOMPARE(::hdiutilFailureReason(standardError), reason);
    }
};

QTEST_GUILESS_MAIN(TestToolAnswers)
#include "tst_toolanswers.moc"
