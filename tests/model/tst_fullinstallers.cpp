// softwareupdate's full-installer commands: the listing as recorded and as other hosts print it,
// and the fetch's output fed through a pseudo-terminal and a pipe, cut at every byte.

#include "model/FullInstallerFetchOutput.h"
#include "model/FullInstallerList.h"
#include "support/Transcript.h"

#include <QTest>

namespace {

// One row in a line a table can hold: "TITLE|VERSION|BUILD|SIZE|DEFERRED|MAJOR".
QString summary(const AvailableInstaller &i)
{
    return QStringList{i.title,
                       i.version,
                       i.build,
                       i.size ? QString::number(*i.size) : QStringLiteral("?"),
                       i.deferred ? QStringLiteral("deferred") : QString(),
                       i.majorVersion()}
        .join(u'|');
}

// The listing's rows summarised, or "not a listing" / "unsupported".
QStringList read(const QString &output, const QString &error = {})
{
    const auto list = parseFullInstallerList(output, error);
    if (!list)
        return {QStringLiteral("not a listing")};
    if (list->listingUnsupported)
        return {QStringLiteral("unsupported")};
    QStringList rows;
    for (const AvailableInstaller &installer : list->installers)
        rows << summary(installer);
    return rows;
}

// What the tool wrote, as a pseudo-terminal hands it on: every line break becomes "\r\n".
QList<QByteArray> throughTerminal(const Transcript &run)
{
    QList<QByteArray> chunks;
    for (const Transcript::Piece &piece : run.pieces)
        chunks << piece.text.toUtf8().replace("\n", "\r\n");
    return chunks;
}

struct FetchReading {
    QStringList lines;
    std::optional<double> percent;
    std::optional<QString> failure, detail;
    bool succeeded = false;
    bool operator==(const FetchReading &) const = default;
};

FetchReading readFetch(const QList<QByteArrayView> &chunks, QList<double> *figures = nullptr)
{
    FullInstallerFetchOutput reader;
    for (const QByteArrayView chunk : chunks)
        if (reader.feed(chunk) && figures && reader.percent() &&
            (figures->isEmpty() || figures->last() != *reader.percent()))
            *figures << *reader.percent();
    reader.finish();
    return {reader.lines(), reader.percent(), reader.failure(), reader.failureDetail(),
            reader.succeeded()};
}

const QString header = QStringLiteral("Software Update found the following full installers:\n");

} // namespace

class FullInstallersTest : public QObject {
    Q_OBJECT

private slots:
    void listingTranscripts_data()
    {
        QTest::addColumn<QString>("transcript");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("Sequoia host")
            << "list-full-installers"
            << QStringList{"macOS Sequoia|15.3.1|24D70|15248872448||15",
                           "macOS Sequoia|15.3|24D60|15246632960||15",
                           "macOS Sonoma|14.7.4|23H420|13659136000||14",
                           "macOS Ventura|13.7.4|22H420|12217511936||13",
                           "macOS Monterey|12.7.4|21H1123|12408637440||12"};
        QTest::newRow("Ventura host")
            << "list-full-installers-ventura-host"
            << QStringList{"macOS Ventura|13.1|22C65|12217511936||13",
                           "macOS Catalina|10.15.7|19H15|8248985600||10.15"};
        // Bytes labelled K, no build; the two Catalina rows keep the tool's order.
        QTest::newRow("Big Sur host") << "list-full-installers-big-sur-host"
                                      << QStringList{"macOS Big Sur|11.2.3||12211077798||11",
                                                     "macOS Catalina|10.15.7||8248985973||10.15",
                                                     "macOS Catalina|10.15.7||8248854894||10.15"};
    }
    void listingTranscripts()
    {
        QFETCH(QString, transcript);
        QFETCH(QStringList, rows);
        const Transcript run = Transcript::read("softwareupdate", transcript);
        QVERIFY(!run.pieces.isEmpty());
        QCOMPARE(read(run.streamText(false), run.streamText(true)), rows);
    }

    void listingVariants_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("tabs, spaces, CRLF, trailing comma")
            << "Software Update Tool\r\n\r\n" + header +
                   "  *\tTitle:  macOS  Sequoia ,Version:15.3.1 ,\tSize: 1 KiB,Build: "
                   "24D70,\r\n\r\n"
            << "" << QStringList{"macOS Sequoia|15.3.1|24D70|1024||15"};
        QTest::newRow("keys reordered, in any case, one unknown, deferred")
            << header + "* BUILD: 24D70, Size: 1KiB, Channel: Public, version: 15.3.1, "
                        "Title: macOS Sequoia, Deferred: YES\n"
            << "" << QStringList{"macOS Sequoia|15.3.1|24D70|1024|deferred|15"};
        // A comma not followed by "Key:" belongs to the value.
        QTest::newRow("comma in a title")
            << header + "* Title: macOS Sequoia, Gold Edition, Version: 15.3.1\n"
            << "" << QStringList{"macOS Sequoia, Gold Edition|15.3.1||?||15"};
        QTest::newRow("unreadable size kept as unknown")
            << header + "* Title: macOS Sonoma, Version: 14.6, Size: lots\n"
            << "" << QStringList{"macOS Sonoma|14.6||?||14"};
        QTest::newRow("rows without a title or a readable version skipped")
            << header + "* Version: 15.1\n* Title: macOS Sequoia\n* Title: X, Version: beta\n"
                        "* Title: macOS Sonoma, Version: 14.6\n* Title: , Version: 15.2\n"
            << "" << QStringList{"macOS Sonoma|14.6||?||14"};
        QTest::newRow("sorted newest first, by number not text")
            << header + "* Title: macOS Sonoma, Version: 14.7.4\n* Title: macOS Sequoia, Version: "
                        "15.3\n* Title: macOS Sequoia, Version: 15.10\n* Title: OS X El Capitan, "
                        "Version: 10.11.6\n* Title: macOS Catalina, Version: 10.15.7\n"
            << ""
            << QStringList{"macOS Sequoia|15.10||?||15", "macOS Sequoia|15.3||?||15",
                           "macOS Sonoma|14.7.4||?||14", "macOS Catalina|10.15.7||?||10.15",
                           "OS X El Capitan|10.11.6||?||10.11"};
        QTest::newRow("header without rows")
            << "Finding available software\n" + header << "" << QStringList{};
        QTest::newRow("rows without the header") << "* Title: macOS Sonoma, Version: 14.6\n"
                                                 << "" << QStringList{"macOS Sonoma|14.6||?||14"};
    }
    void listingVariants()
    {
        QFETCH(QString, output);
        QFETCH(QString, error);
        QFETCH(QStringList, rows);
        QCOMPARE(read(output, error), rows);
    }

    // Hosts whose tool lacks the option, and output that is no listing at all.
    void notListings()
    {
        const struct {
            const char *output, *error;
            bool unsupported;
        } cases[] = {
            {"",
             "softwareupdate: unrecognized option `--list-full-installers'\n"
             "usage: softwareupdate <cmd> [<args> ...]\n",
             true},
            {"", "softwareupdate: illegal option -- list-full-installers\n", true},
            {"", "Usage: softwareupdate <cmd> [<args> ...]\n", true},
            // A complaint about another option is not the listing missing.
            {"", "softwareupdate: unrecognized option `--frobnicate'\n", false},
            {"", "", false},
            {"Finding available software\n", "Cannot connect to the server.\n", false},
            {"*** nothing to see ***\n", "", false},
        };
        for (const auto &[output, error, unsupported] : cases)
            QVERIFY2(read(output, error) ==
                         QStringList{unsupported ? "unsupported" : "not a listing"},
                     error);
    }

    void sizes()
    {
        const std::pair<const char *, qint64> cases[] = {
            {"14891477KiB", 14891477LL * 1024},
            {"12211077798K", 12211077798}, // Big Sur's byte count
            {"42", 42},
            {" 12 kb ", 12000},
            {"1.5 GB", 1500000000},
            {"1,25GiB", 1342177280},
            {"9223372036854775807B", std::numeric_limits<qint64>::max()},
        };
        for (const auto &[text, bytes] : cases)
            QVERIFY2(parseListedSize(QString::fromLatin1(text)) == bytes, text);
        for (const char *bad : {"", "KiB", "-5KiB", "5 XB", "5 M", "1.KiB", ".5GB", "1.2.3GB",
                                "9223372036854775808", "9000000 TiB", "5 KiB extra"})
            QVERIFY2(!parseListedSize(QString::fromLatin1(bad)), bad);
    }

    void namesAndMajorReleases()
    {
        const struct {
            const char *title, *version, *application, *major;
        } cases[] = {
            {"macOS Sequoia", "15.3.1", "Install macOS Sequoia.app", "15"},
            {"macOS Mojave", "10.14.6", "Install macOS Mojave.app", "10.14"},
            {"OS X", "10", "Install OS X.app", "10"},
            {"Install macOS Sonoma", "14.6", "Install macOS Sonoma.app", "14"},
            {"../../etc", "1", "Install ..:..:etc.app", "1"}, // never a path
        };
        for (const auto &c : cases) {
            AvailableInstaller installer;
            installer.title = c.title;
            installer.version = c.version;
            QCOMPARE(installer.applicationName(), c.application);
            QCOMPARE(installer.majorVersion(), c.major);
        }
    }

    void fetchTranscripts_data()
    {
        QTest::addColumn<QString>("transcript");
        QTest::addColumn<QList<double>>("figures");
        QTest::addColumn<QStringList>("lines"); // all but the detail line
        QTest::addColumn<QString>("failure");   // empty: none
        QTest::addColumn<bool>("detail");
        QTest::newRow("terminal") << "fetch-ok-terminal" << QList<double>{0, 1, 2, 39, 90, 100}
                                  << QStringList{"Scanning for 14.7.4 installer",
                                                 "Install finished successfully"}
                                  << "" << false;
        QTest::newRow("pipe") << "fetch-ok-pipe" << QList<double>{}
                              << QStringList{"Scanning for 15.2 installer",
                                             "Install finished successfully"}
                              << "" << false;
        QTest::newRow("not found") << "fetch-not-found" << QList<double>{}
                                   << QStringList{"Scanning for 15.0 installer",
                                                  "Install failed with error: Update not found"}
                                   << "Update not found" << false;
        const QString scriptFailed = QString::fromUtf8(
            "An error occurred while running scripts from the package “InstallAssistant.pkg”.");
        QTest::newRow("script failed")
            << "fetch-script-failed" << QList<double>{}
            << QStringList{"Scanning for 15.3.2 installer",
                           QStringLiteral("Install failed with error: ") + scriptFailed}
            << scriptFailed << true;
    }
    void fetchTranscripts()
    {
        QFETCH(QString, transcript);
        QFETCH(QList<double>, figures);
        QFETCH(QStringList, lines);
        QFETCH(QString, failure);
        QFETCH(bool, detail);
        const Transcript run = Transcript::read("softwareupdate", transcript);
        QVERIFY(!run.pieces.isEmpty());
        const QList<QByteArray> terminal = throughTerminal(run);
        QList<double> seen;
        const FetchReading reading = readFetch({terminal.begin(), terminal.end()}, &seen);
        QCOMPARE(seen, figures);
        QCOMPARE(reading.lines, detail ? lines + QStringList{reading.detail.value_or("")} : lines);
        QCOMPARE(reading.failure.value_or(QString()), failure);
        QCOMPARE(reading.succeeded, failure.isEmpty());
        QCOMPARE(reading.detail.has_value(), detail);
        if (detail)
            QVERIFY(reading.detail->startsWith("Error Domain=PKInstallErrorDomain Code=112 "));

        // The same bytes through a pipe, and cut in two at every place or byte by byte.
        const QByteArray piped = run.streamText(false).toUtf8();
        FetchReading pipedReading = readFetch({piped});
        QCOMPARE(pipedReading.lines, reading.lines);
        const QByteArray whole = terminal.join();
        for (qsizetype cut = 0; cut <= whole.size(); ++cut)
            QVERIFY2(readFetch({QByteArrayView(whole).first(cut),
                                QByteArrayView(whole).sliced(cut)}) == reading,
                     qPrintable(QString::number(cut)));
        QList<QByteArrayView> bytes;
        for (qsizetype i = 0; i < whole.size(); ++i)
            bytes << QByteArrayView(whole).sliced(i, 1);
        QVERIFY(readFetch(bytes) == reading);
    }

    // feed() says when there is something new to show, and only then.
    void feedSaysWhatChanged()
    {
        FullInstallerFetchOutput reader;
        QVERIFY(reader.feed("Scanning for 15.2 installer\r"));
        QVERIFY(!reader.feed("\nInstalling: 5"));
        QVERIFY(reader.feed(".0%"));
        QCOMPARE(reader.percent(), std::optional(5.0));
        QVERIFY(!reader.feed("\rInstalling: 5.0%\r\x1b[K"));
        QVERIFY(reader.feed("Installing: 4,5%")); // counted again: shown as it is
        QCOMPARE(reader.percent(), std::optional(4.5));
        QVERIFY(!reader.feed("\x1b[K"));
        QVERIFY(!reader.feed("\rInstall finished successfully"));
        QVERIFY(!reader.succeeded());
        QVERIFY(reader.finish());
        QVERIFY(reader.succeeded());
        QVERIFY(!reader.finish());
    }

    void fetchOddities_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<double>("percent"); // -1: none
        QTest::newRow("colours and a lone ESC")
            << QByteArray("\x1b[1;32mScanning\x1b[0m for\x1b\x01 15.2\x1b(B\x1b=\r\n")
            << QStringList{"Scanning for 15.2"} << -1.0;
        QTest::newRow("blank and padded lines")
            << QByteArray("\r\r\n \t \r\n  indented  \t\r\n\x07\r\n") << QStringList{"  indented"}
            << -1.0;
        QTest::newRow("text overwritten by progress")
            << QByteArray("Preparing\rInstalling: 12%") << QStringList{"Preparing"} << 12.0;
        QTest::newRow("figure beyond 100")
            << QByteArray("Installing: 250.0%\r") << QStringList{} << 100.0;
        QTest::newRow("percent inside a sentence")
            << QByteArray("Only 5% left: 3%!\n") << QStringList{"Only 5% left: 3%!"} << -1.0;
    }
    void fetchOddities()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        FullInstallerFetchOutput reader;
        reader.feed(bytes);
        reader.finish();
        QCOMPARE(reader.lines(), lines);
        QTEST(reader.percent().value_or(-1), "percent");
    }

    // A detail belongs to the failure only when it comes right after it.
    void failureDetailFollowsTheFailure()
    {
        FullInstallerFetchOutput reader;
        reader.feed(
            "Install failed with error: Update not found\nScanning again\nError Domain=X\n");
        QCOMPARE(reader.failure(), QStringLiteral("Update not found"));
        QVERIFY(!reader.failureDetail());
        QVERIFY(!reader.succeeded());
    }

    // Megabytes without a line break keep one bounded line, cut between whole characters.
    void floodStaysBounded()
    {
        FullInstallerFetchOutput reader;
        reader.feed("x");
        const QByteArray chunk = QString(2048, QChar(0xE9)).toUtf8(); // "é", two bytes each
        for (qsizetype sent = 0; sent < 5 * 1024 * 1024; sent += chunk.size())
            reader.feed(chunk);
        QVERIFY(reader.lines().isEmpty());
        QVERIFY(reader.feed("\rInstalling: 3%"));
        QCOMPARE(reader.percent(), std::optional(3.0));
        const QString line = reader.lines().value(0);
        QCOMPARE(line.toUtf8().size(), FullInstallerFetchOutput::pendingLineLimit - 1);
        QVERIFY(!line.contains(QChar::ReplacementCharacter));
    }
};

QTEST_GUILESS_MAIN(FullInstallersTest)
#include "tst_fullinstallers.moc"
