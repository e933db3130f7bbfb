// Real runs of createinstallmedia from El Capitan to Sonoma, fed to the reader as they arrived,
// one character at a time and each stream in one piece.

#include "model/InstallMediaOutput.h"
#include "support/Transcript.h"

#include <QTest>

namespace {

using Phase = InstallMediaOutput::Phase;
using Stream = InstallMediaOutput::Stream;
using Piece = std::pair<Stream, QString>;

// A transcript's pieces in arrival order.
QList<Piece> recordedPieces(const QString &name)
{
    QList<Piece> pieces;
    for (const Transcript::Piece &piece : Transcript::read("createinstallmedia", name).pieces)
        pieces.append({piece.toError ? Stream::error : Stream::output, piece.text});
    return pieces;
}

QList<Piece> oneCharacterAtATime(const QList<Piece> &pieces)
{
    QList<Piece> characters;
    for (const auto &[stream, text] : pieces)
        for (const QChar c : text)
            characters.append({stream, QString(c)});
    return characters;
}

// Each stream whole, in the order the streams first spoke, as a run read only at its end gives.
QList<Piece> eachStreamWhole(const QList<Piece> &pieces)
{
    QList<Piece> whole;
    for (const auto &[stream, text] : pieces) {
        const auto same = std::find_if(whole.begin(), whole.end(),
                                       [&](const Piece &p) { return p.first == stream; });
        if (same == whole.end())
            whole.append({stream, text});
        else
            same->second += text;
    }
    return whole;
}

struct Reading {
    QList<Phase> phases;
    bool forwardOnly = true;
    double highest = 0;
    InstallMediaOutput reader;
};

Reading readAll(const QList<Piece> &pieces)
{
    Reading reading;
    reading.phases << Phase::starting;
    for (const auto &[stream, text] : pieces) {
        const double before = reading.reader.progress();
        reading.reader.read(stream, text);
        reading.forwardOnly = reading.forwardOnly && reading.reader.progress() >= before;
        reading.highest = std::max(reading.highest, reading.reader.progress());
        if (reading.reader.phase() != reading.phases.last())
            reading.phases << reading.reader.phase();
    }
    return reading;
}

const QList<Phase> olderEra{Phase::starting,       Phase::erasing,          Phase::copying,
                            Phase::makingBootable, Phase::copyingBootFiles, Phase::finishing};

} // namespace

Q_DECLARE_METATYPE(QList<Phase>)

class InstallMediaOutputTest : public QObject {
    Q_OBJECT

private slots:
    void transcripts_data()
    {
        QTest::addColumn<QString>("transcript");
        QTest::addColumn<QList<Phase>>("phases");
        QTest::addColumn<QString>("failure");
        QTest::newRow("El Capitan") << "el-capitan-ok" << olderEra << QString();
        QTest::newRow("High Sierra") << "high-sierra-ok" << olderEra << QString();
        QTest::newRow("Catalina") << "catalina-ok" << olderEra << QString();
        QTest::newRow("Big Sur") << "big-sur-ok"
                                 << QList<Phase>{Phase::starting, Phase::erasing, Phase::copying,
                                                 Phase::makingBootable, Phase::finishing}
                                 << QString();
        QTest::newRow("Monterey") << "monterey-ok"
                                  << QList<Phase>{Phase::starting, Phase::erasing,
                                                  Phase::makingBootable, Phase::copying,
                                                  Phase::finishing}
                                  << QString();
        QTest::newRow("Sonoma") << "sonoma-ok"
                                << QList<Phase>{Phase::starting,  Phase::erasing,
                                                Phase::preparing, Phase::makingBootable,
                                                Phase::copying,   Phase::finishing}
                                << QString();
        QTest::newRow("too small")
            << "too-small" << QList<Phase>{Phase::starting}
            << "/Volumes/TINY is not large enough for install media. An additional 54.5 MB is "
               "needed.";
        QTest::newRow("erase failed")
            << "erase-failed" << QList<Phase>{Phase::starting, Phase::erasing}
            << "Error erasing disk error number (-69888, 0)\n"
               "An error occurred erasing the disk.";
        QTest::newRow("APFS refused") << "apfs-refused" << QList<Phase>{Phase::starting}
                                      << "APFS disks may not be used as bootable install media.\n"
                                         "An error occurred erasing the disk.";
        // A log line among the errors, and the last error glued to the one before it.
        QTest::newRow("bless failed")
            << "bless-failed"
            << QList<Phase>{Phase::starting, Phase::erasing, Phase::copying, Phase::makingBootable}
            << "Couldn't mount dmg /Volumes/Install macOS Big Sur/Install macOS Big "
               "Sur.app/Contents/SharedSupport/SharedSupport.dmg (error code 110)\n"
               "The bless of the installer disk failed.";
        QTest::newRow("no such volume") << "bad-volume" << QList<Phase>{Phase::starting}
                                        << "/Volumes/Nothing is not a valid volume mount point.";
        QTest::newRow("not root") << "not-root" << QList<Phase>{Phase::starting}
                                  << "This tool needs to be run as root.";
    }
    void transcripts()
    {
        QFETCH(QString, transcript);
        QFETCH(QList<Phase>, phases);
        QFETCH(QString, failure);
        const QList<Piece> recorded = recordedPieces(transcript);
        QVERIFY(!recorded.isEmpty());
        const std::pair<const char *, QList<Piece>> feedings[] = {
            {"as recorded", recorded},
            {"one character at a time", oneCharacterAtATime(recorded)},
            {"each stream whole", eachStreamWhole(recorded)},
        };
        for (const auto &[how, pieces] : feedings) {
            const Reading reading = readAll(pieces);
            // Read whole, a stream's phases all arrive at once: only the last one is seen.
            if (pieces.size() > 2)
                QVERIFY2(reading.phases == phases, how);
            else
                QVERIFY2(reading.phases.last() == phases.last(), how);
            QVERIFY2(reading.forwardOnly, how);
            QVERIFY2(reading.highest < 100, how);
            if (!failure.isEmpty())
                QCOMPARE(reading.reader.failure(), failure);
        }
    }

    // Up to High Sierra the copy ends with "Copy complete." long before the tool does.
    void firstCopyCompleteIsNotTheEnd()
    {
        InstallMediaOutput reader;
        reader.read(Stream::output, u"Erasing Disk: 0%... 100%...\nCopying installer files to "
                                    u"disk...\nCopy complete.\n");
        QCOMPARE(reader.phase(), Phase::copying);
        QCOMPARE(reader.percent(), std::optional(100.0));
        QVERIFY(reader.progress() < 96);
        reader.read(Stream::output, u"Making disk bootable...\n");
        QCOMPARE(reader.phase(), Phase::makingBootable);
    }

    // Reads that begin with the line break, hold several lines, or cut a phrase in two.
    void awkwardCuts_data()
    {
        QTest::addColumn<QStringList>("chunks");
        QTest::addColumn<int>("phase");
        QTest::addColumn<QString>("message");
        QTest::newRow("break first")
            << QStringList{"Copying to disk: 0%... 50%...", "\nMaking disk bootable...\n"}
            << int(Phase::makingBootable) << "Creating bootable configuration";
        QTest::newRow("erase and copy in one read")
            << QStringList{"Erasing disk: 0%... 90%... 100%\nCopying to disk: 0%... 10%... "}
            << int(Phase::copying) << "Copying macOS installer: 10% complete";
        QTest::newRow("phrase cut in two")
            << QStringList{"Copying to d", "isk: 3", "0%... "} << int(Phase::copying)
            << "Copying macOS installer: 30% complete";
        QTest::newRow("carriage returns")
            << QStringList{"Erasing disk: 0%... 100%\rCopying to disk: 0%... 60%\r"}
            << int(Phase::copying) << "Copying macOS installer: 60% complete";
        // The erase line's figure is not the copy's.
        QTest::newRow("copy line without a figure yet")
            << QStringList{"Erasing disk: 0%... 100%\n", "Copying to disk: "} << int(Phase::copying)
            << "Copying macOS installer files";
        // An error that only mentions a phase does not start it.
        QTest::newRow("phrase inside an error")
            << QStringList{"Copying to disk: 40%... \n", "Error erasing disk error number 5\n"}
            << int(Phase::copying) << "Copying macOS installer: 40% complete";
        QTest::newRow("absurd figure")
            << QStringList{"Copying to disk: 99999999999999999999999%"} << int(Phase::copying)
            << "Copying macOS installer: 100% complete";
    }
    void awkwardCuts()
    {
        QFETCH(QStringList, chunks);
        QFETCH(int, phase);
        QFETCH(QString, message);
        InstallMediaOutput reader;
        for (const QString &chunk : chunks)
            reader.read(Stream::output, chunk);
        QCOMPARE(int(reader.phase()), phase);
        QCOMPARE(reader.message(), message);
    }

    // A figure on one stream's open line is not taken for the phase the other stream began.
    void streamsKeepTheirOwnLines()
    {
        InstallMediaOutput reader;
        reader.read(Stream::error, u"Erasing disk: 0%... 10%... ");
        reader.read(Stream::output, u"Copying to disk: ");
        reader.read(Stream::error, u"20%... ");
        QCOMPARE(reader.phase(), Phase::copying);
        QCOMPARE(reader.percent(), std::nullopt);
        reader.read(Stream::output, u"30%... ");
        QCOMPARE(reader.percent(), std::optional(30.0));
    }

    // Without error output, the failure comes from what standard output said besides progress.
    void failureFromStandardOutput()
    {
        InstallMediaOutput reader;
        reader.read(Stream::output, u"Erasing Disk: 0%... 100%...\nCopying installer files to "
                                    u"disk...\nThe copy of the installer app failed.");
        QCOMPARE(reader.failure(), QStringLiteral("The copy of the installer app failed."));
    }
};

QTEST_GUILESS_MAIN(InstallMediaOutputTest)
#include "tst_installmediaoutput.moc"
