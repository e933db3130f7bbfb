#include "propertylist/PropertyList.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

namespace {

// A binary property list made by hand: `objects` are the encoded objects in order (references
// in them are one byte), the top object is the last one.
QByteArray binaryPlist(const QList<QByteArray> &objects)
{
    QByteArray bytes = "bplist00";
    QList<int> offsets;
    for (const QByteArray &object : objects) {
        offsets << int(bytes.size());
        bytes += object;
    }
    const int table = int(bytes.size());
    for (int offset : offsets)
        bytes += char(offset >> 8) + QByteArray(1, char(offset & 0xFF));
    QByteArray trailer(32, '\0');
    trailer[6] = 2; // offset size
    trailer[7] = 1; // reference size
    trailer[15] = char(objects.size());
    trailer[23] = char(objects.size() - 1);
    trailer[30] = char(table >> 8);
    trailer[31] = char(table & 0xFF);
    return bytes + trailer;
}

QByteArray array(const QList<int> &references)
{
    QByteArray object(1, char(0xA0 | references.size()));
    for (int reference : references)
        object += char(reference);
    return object;
}

// {"k": object `value`}, as objects `first` (the key) and `first + 1` (the dictionary).
QList<QByteArray> topDictionary(int value, int first)
{
    return {QByteArray("\x51k", 2), QByteArray("\xD1", 1) + char(first) + char(value)};
}

// Each level an array of `width` references to the level below, down to one string.
QByteArray nested(int levels, int width)
{
    QList<QByteArray> objects{QByteArray("\x51x", 2)};
    for (int level = 1; level <= levels; ++level)
        objects << array(QList<int>(width, level - 1));
    return binaryPlist(objects + topDictionary(levels, levels + 1));
}

qint64 peakMemoryKilobytes()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

QByteArray xmlNested(int levels)
{
    return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>k</key>" +
           QByteArray("<array>").repeated(levels) + QByteArray("</array>").repeated(levels) +
           "</dict></plist>";
}

} // namespace

class PropertyListTest : public QObject {
    Q_OBJECT

private slots:
    // 297 bytes in the wild expanded to gigabytes in libplist; this one names 2^40 nodes.
    void sharedReferenceBombIsRefusedAtOnce()
    {
        const QByteArray bomb = nested(40, 2);
        QVERIFY(bomb.size() < 300);
        const qint64 peakBefore = peakMemoryKilobytes();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!readPropertyListDictionary(bomb));
        QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(peakMemoryKilobytes() - peakBefore < 50 * 1024);
    }

    void budgets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("read");
        // Sharing itself is fine while the expanded tree stays small: 2^10 strings.
        QTest::newRow("shared, small") << nested(10, 2) << true;
        QTest::newRow("shared, past the node budget") << nested(17, 2) << false;
        QTest::newRow("63 arrays deep") << nested(63, 1) << true;
        QTest::newRow("64 arrays deep") << nested(64, 1) << false;
        QTest::newRow("array holding itself")
            << binaryPlist(QList<QByteArray>{array({0})} + topDictionary(0, 1)) << false;
        QTest::newRow("reference past the table")
            << binaryPlist(QList<QByteArray>{array({9})} + topDictionary(0, 1)) << false;
        QTest::newRow("xml, 60 arrays deep") << xmlNested(60) << true;
        QTest::newRow("xml, 10000 arrays deep") << xmlNested(10'000) << false;
    }
    void budgets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, read);
        QCOMPARE(readPropertyListDictionary(bytes).has_value(), read);
    }

    void sharedObjectsReadInFull()
    {
        const auto dictionary = readPropertyListDictionary(nested(2, 2));
        QVERIFY(dictionary);
        const QVariantList pair{QString("x"), QString("x")};
        QCOMPARE(dictionary->value("k"), QVariant(QVariantList{pair, pair}));
    }

    // Every type the writer knows, back from both formats as the reader gives it: any integer as
    // qint64 and a float as a double. Keys and strings are written whole, markup and all.
    void writtenListsReadBack_data()
    {
        QTest::addColumn<PropertyListFormat>("format");
        QTest::newRow("xml") << PropertyListFormat::Xml;
        QTest::newRow("binary") << PropertyListFormat::Binary;
    }
    void writtenListsReadBack()
    {
        QFETCH(PropertyListFormat, format);
        const QDateTime date(QDate(2024, 2, 29), QTime(23, 59, 58), Qt::UTC);
        const QDateTime before2001(QDate(1999, 12, 31), QTime(23, 59, 59), Qt::UTC);
        const QVariantMap nested{
            {"", QString()}, {"list", QVariantList{}}, {"dict", QVariantMap{}}};
        const QVariantMap written{{"text", "<a & \"b\"> ]]> é ✓ 😀"},
                                  {"<key> & é", true},
                                  {"false", false},
                                  {"int", -7},
                                  {"uint", 4'000'000'000u},
                                  {"qint64", -(qint64(1) << 62)},
                                  {"quint64", quint64(1) << 40},
                                  {"double", 0.1},
                                  {"float", 2.5f},
                                  {"data", QByteArray("\0\xff<&>", 5)},
                                  {"dates", QVariantList{date, before2001}},
                                  {"nested", QVariantList{nested, QVariantList{nested}}}};
        QVariantMap expected = written;
        expected["int"] = qint64(-7);
        expected["uint"] = qint64(4'000'000'000u);
        expected["quint64"] = qint64(1) << 40;
        expected["float"] = 2.5;
        const QByteArray bytes = writePropertyList(written, format);
        QVERIFY(bytes.startsWith(format == PropertyListFormat::Xml ? "<?xml" : "bplist00"));
        const std::optional<QVariantMap> read = readPropertyListDictionary(bytes);
        QVERIFY(read);
        QCOMPARE(*read, expected);

        // Any value may be the top level, though only a dictionary reads as one.
        const QByteArray list = writePropertyList(QVariantList{"one", 2}, format);
        QCOMPARE(readPropertyList(list), QVariant(QVariantList{"one", qint64(2)}));
        QVERIFY(!readPropertyListDictionary(list));
    }

    // A value with no element, anywhere in the tree, or a NUL the reader would refuse, and
    // nothing at all is written.
    void unwritableValuesWriteNothing_data()
    {
        QTest::addColumn<QVariant>("value");
        const auto deep = [](const QVariant &value) {
            return QVariantMap{{"fine", "text"},
                               {"list", QVariantList{1, QVariantMap{{"k", value}}}}};
        };
        QTest::newRow("invalid") << QVariant();
        QTest::newRow("invalid, deep") << QVariant(deep(QVariant()));
        QTest::newRow("url, deep") << QVariant(deep(QUrl("file:///")));
        QTest::newRow("string list, deep") << QVariant(deep(QStringList{"a"}));
        QTest::newRow("invalid date") << QVariant(deep(QDateTime()));
        // Dates are written as 32-bit seconds from 2001.
        QTest::newRow("date in 2070")
            << QVariant(deep(QDateTime(QDate(2070, 1, 1), QTime(0, 0), Qt::UTC)));
        QTest::newRow("NUL in a string") << QVariant(deep(QString::fromUtf8("a\0b", 3)));
        QTest::newRow("NUL in a key") << QVariant(QVariantMap{{QString::fromUtf8("a\0b", 3), 1}});
    }
    void unwritableValuesWriteNothing()
    {
        QFETCH(QVariant, value);
        for (const PropertyListFormat format :
             {PropertyListFormat::Xml, PropertyListFormat::Binary})
            QVERIFY(writePropertyList(value, format).isEmpty());
    }

    // Real Info.plists and diskutil answers are far within the budget.
    void realListsStillRead()
    {
        QStringList files;
        for (const char *folder : {"/info-plist", "/diskutil"}) {
            const QDir dir(QStringLiteral(TESSALINE_FIXTURES) + QLatin1String(folder));
            for (const QString &name : dir.entryList(QDir::Files))
                files << dir.filePath(name);
        }
        QVERIFY(files.size() > 10);
        for (const QString &file : files)
            QVERIFY2(readPropertyListDictionaryFile(file, 1 << 20), qPrintable(file));
    }
};

QTEST_GUILESS_MAIN(PropertyListTest)
#include "tst_propertylist.moc"
