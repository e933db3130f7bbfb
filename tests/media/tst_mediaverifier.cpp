// The comparison of an installer with its copy on media: the tree compared entry by entry, the
// payload by its digest, both sides read at once, and a check that stops when its job is
// cancelled.

#include "exec/Cancellation.h"
#include "media/MediaVerifier.h"
#include "model/InstallerTree.h"
#include "model/Sha256.h"
#include "support/FolderCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Kind = TreeDifference::Kind;
using Outcome = MediaVerifier::Result::Outcome;

TreeEntry fileEntry(const QString &path, qint64 size)
{
    return {path, TreeEntry::Kind::file, size, {}};
}

TreeEntry folderEntry(const QString &path)
{
    return {path, TreeEntry::Kind::folder, 0, {}};
}

TreeEntry linkEntry(const QString &path, const QByteArray &target)
{
    return {path, TreeEntry::Kind::link, 0, target};
}

const QList<TreeEntry> bundle{
    folderEntry("Contents"),
    fileEntry("Contents/Info.plist", 1200),
    fileEntry("Contents/PkgInfo", 8),
    folderEntry("Contents/Resources"),
    linkEntry("Contents/Resources/createinstallmedia", "../MacOS/createinstallmedia"),
    folderEntry("Contents/SharedSupport"),
    fileEntry("Contents/SharedSupport/SharedSupport.dmg", 13'000'000'000),
};

void writeFile(const QString &path, const QByteArray &bytes, qint64 size = -1)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    if (size >= 0)
        QVERIFY(out.resize(size));
}

// A small installer bundle at `root` whose payload is `payloadSize` bytes, sparse but for a
// few bytes at its start.
void makeBundle(const QString &root, qint64 payloadSize)
{
    writeFile(root + "/Contents/Info.plist", "<plist/>");
    writeFile(root + "/Contents/PkgInfo", "APPL????");
    QDir().mkpath(root + "/Contents/Resources");
    QVERIFY(QFile::link("../MacOS/tool", root + "/Contents/Resources/createinstallmedia"));
    writeFile(root + "/Contents/SharedSupport/SharedSupport.dmg", "payload", payloadSize);
}

} // namespace

class MediaVerifierTest : public QObject {
    Q_OBJECT

private slots:
    void treesCompare_data()
    {
        QTest::addColumn<QList<TreeEntry>>("copy");
        QTest::addColumn<QList<TreeDifference>>("differences");

        QList<TreeEntry> shuffled = bundle;
        std::reverse(shuffled.begin(), shuffled.end());
        QTest::newRow("same entries in another order") << shuffled << QList<TreeDifference>{};

        QList<TreeEntry> withFinderFiles = bundle;
        withFinderFiles << fileEntry("Contents/.DS_Store", 6148)
                        << fileEntry("Contents/._Info.plist", 4096) << folderEntry("._Contents")
                        << fileEntry("._Contents/x", 1);
        QTest::newRow("what the system adds by itself")
            << withFinderFiles << QList<TreeDifference>{};

        QList<TreeEntry> missing = bundle;
        missing.removeAt(2);
        QTest::newRow("a file missing")
            << missing << QList<TreeDifference>{{"Contents/PkgInfo", Kind::missing, {}, {}}};

        QList<TreeEntry> extra = bundle;
        extra << fileEntry("Contents/Resources/planted", 10);
        QTest::newRow("a file only on the media")
            << extra << QList<TreeDifference>{{"Contents/Resources/planted", Kind::extra, {}, {}}};

        QList<TreeEntry> resized = bundle;
        resized[1].size = 1201;
        QTest::newRow("a file of another size")
            << resized
            << QList<TreeDifference>{
                   {"Contents/Info.plist", Kind::size, "1200 bytes", "1201 bytes"}};

        QList<TreeEntry> relinked = bundle;
        relinked[4].linkTarget = "/usr/bin/false";
        QTest::newRow("a link elsewhere")
            << relinked
            << QList<TreeDifference>{{"Contents/Resources/createinstallmedia", Kind::linkTarget,
                                      "../MacOS/createinstallmedia", "/usr/bin/false"}};

        QList<TreeEntry> followed = bundle;
        followed[4] = fileEntry("Contents/Resources/createinstallmedia", 90000);
        QTest::newRow("a link copied as the file it points to")
            << followed
            << QList<TreeDifference>{
                   {"Contents/Resources/createinstallmedia", Kind::kind, "a link", "a file"}};

        // A whole folder gone is every entry in it gone, each named.
        QList<TreeEntry> noPayload = bundle.mid(0, 5);
        QTest::newRow("a folder missing")
            << noPayload
            << QList<TreeDifference>{
                   {"Contents/SharedSupport", Kind::missing, {}, {}},
                   {"Contents/SharedSupport/SharedSupport.dmg", Kind::missing, {}, {}}};
    }

    void treesCompare()
    {
        QFETCH(QList<TreeEntry>, copy);
        QFETCH(QList<TreeDifference>, differences);
        QCOMPARE(compareTrees(bundle, copy), differences);
    }

    void describingDifferences()
    {
        QList<TreeDifference> many;
        for (int i = 0; i < 8; ++i)
            many << TreeDifference{QStringLiteral("Contents/f%1").arg(i), Kind::missing, {}, {}};
        const QStringList lines = describeDifferences(many).split(u'\n');
        // The first few are named, the rest counted.
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.first(), "Contents/f0: missing on the media");
        QCOMPARE(lines.last(), "and 3 more");
        QCOMPARE(describeDifferences({{"Contents/PkgInfo", Kind::size, "8 bytes", "9 bytes"}}),
                 "Contents/PkgInfo: 8 bytes in the installer, 9 bytes on the media");
    }

    void payloadsByEra()
    {
        QCOMPARE(payloadPaths(bundle), QStringList{"Contents/SharedSupport/SharedSupport.dmg"});
        const QList<TreeEntry> older{fileEntry("Contents/SharedSupport/BaseSystem.dmg", 5),
                                     fileEntry("Contents/SharedSupport/InstallESD.dmg", 5),
                                     fileEntry("Contents/SharedSupport/AppleDiagnostics.dmg", 5)};
        QCOMPARE(payloadPaths(older), (QStringList{"Contents/SharedSupport/InstallESD.dmg",
                                                   "Contents/SharedSupport/BaseSystem.dmg"}));
        // A link by the payload's name is not a payload to read through.
        QCOMPARE(payloadPaths(QList<TreeEntry>{
                     linkEntry("Contents/SharedSupport/SharedSupport.dmg", "/dev/zero")}),
                 QStringList{});
    }

    void digestIsSha256()
    {
        Sha256 hash;
        hash.addData("ab", 2);
        hash.addData("c", 1);
        QCOMPARE(hash.result().toHex(),
                 "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
        // It starts afresh after a result.
        QCOMPARE(hash.result().toHex(),
                 "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    }

    void goodCopyVerifies()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("Install macOS Test.app");
        makeBundle(source, 40'000'000);
        const QString volume = dir.filePath("Volume");
        QDir().mkpath(volume);
        QVERIFY(copyFolder(source, volume + "/Install macOS Test.app"));

        QList<std::pair<qint64, qint64>> reports;
        const MediaVerifier::Result result = MediaVerifier::verifyVolume(
            source, volume, [&](qint64 done, qint64 total) { reports << std::pair(done, total); });
        QCOMPARE(result.outcome, Outcome::verified);
        QCOMPARE(result.copyPath, volume + "/Install macOS Test.app");
        // Both sides are read: twice the payload, counted up to the end and never back.
        QVERIFY(reports.size() >= 2);
        QCOMPARE(reports.first(), std::pair(qint64(0), qint64(80'000'000)));
        QCOMPARE(reports.last(), std::pair(qint64(80'000'000), qint64(80'000'000)));
        for (qsizetype i = 1; i < reports.size(); ++i)
            QVERIFY(reports.at(i).first >= reports.at(i - 1).first);
    }

    void changedPayloadByteFails()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("Install macOS Test.app");
        makeBundle(source, 20'000'000);
        const QString copy = dir.filePath("copy.app");
        QVERIFY(copyFolder(source, copy));
        QFile payload(copy + "/Contents/SharedSupport/SharedSupport.dmg");
        QVERIFY(payload.open(QIODevice::ReadWrite));
        payload.seek(10'000'000);
        payload.write("\x01", 1);
        payload.close();

        const MediaVerifier::Result result = MediaVerifier::compareBundles(source, copy, {});
        QCOMPARE(result.outcome, Outcome::differs);
        QVERIFY2(result.detail.startsWith("Contents/SharedSupport/SharedSupport.dmg: its content "
                                          "differs (SHA-256 "),
                 qPrintable(result.detail));
    }

    void findingTheCopy()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("Install macOS Test.app");
        makeBundle(source, 1000);
        // A copy under another name is still found, by what makes it an installer.
        const QString volume = dir.filePath("Volume");
        QDir().mkpath(volume);
        QVERIFY(copyFolder(source, volume + "/Install macOS Renamed.app"));
        QCOMPARE(MediaVerifier::verifyVolume(source, volume, {}).outcome, Outcome::verified);

        const QString empty = dir.filePath("Empty");
        QDir().mkpath(empty);
        const MediaVerifier::Result none = MediaVerifier::verifyVolume(source, empty, {});
        QCOMPARE(none.outcome, Outcome::differs);
        QVERIFY(none.detail.contains("No installer application"));

        const MediaVerifier::Result gone =
            MediaVerifier::compareBundles(source, dir.filePath("nowhere.app"), {});
        QCOMPARE(gone.outcome, Outcome::unreadable);
        QVERIFY(gone.detail.contains("nowhere.app is not a folder"));
    }

    // A stick pulled out, or its folder emptied, while its payload is read is not verified by
    // what the open file still gave.
    void mediaGoneDuringTheCheck()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("Install macOS Test.app");
        makeBundle(source, 2'000'000'000);
        const QString copy = dir.filePath("copy.app");
        QVERIFY(copyFolder(source, copy));
        bool removed = false;
        const MediaVerifier::Result result =
            MediaVerifier::compareBundles(source, copy, [&](qint64 done, qint64) {
                if (done > 0 && !removed)
                    removed = QDir(copy).removeRecursively();
            });
        QVERIFY(removed);
        QCOMPARE(result.outcome, Outcome::unreadable);
        QVERIFY2(result.detail.contains("was removed while it was read"),
                 qPrintable(result.detail));
    }

    void cancelStopsReading()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("Install macOS Test.app");
        makeBundle(source, 4'000'000'000);
        const QString copy = dir.filePath("copy.app");
        QVERIFY(copyFolder(source, copy));

        auto job = std::make_shared<Cancellation>();
        const Cancellation::Scope scope(job);
        qint64 reachedWhenCancelled = 0;
        QElapsedTimer clock;
        clock.start();
        const MediaVerifier::Result result =
            MediaVerifier::compareBundles(source, copy, [&](qint64 done, qint64) {
                if (done > 0 && !job->isRequested()) {
                    reachedWhenCancelled = done;
                    job->request();
                }
            });
        QCOMPARE(result.outcome, Outcome::cancelled);
        // Both sides stop within a block or two, not at the end of 8 GB.
        QVERIFY(reachedWhenCancelled > 0);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    }
};

QTEST_GUILESS_MAIN(MediaVerifierTest)
#include "tst_mediaverifier.moc"
