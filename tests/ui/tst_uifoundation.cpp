#include "ui/ButtonStyles.h"
#include "ui/NamedColors.h"
#include "ui/Symbols.h"

#include <QAccessible>
#include <QApplication>
#include <QtTest>

namespace {

bool near(QRgb pixel, const QColor &color)
{
    return qAbs(qRed(pixel) - color.red()) <= 4 && qAbs(qGreen(pixel) - color.green()) <= 4 &&
           qAbs(qBlue(pixel) - color.blue()) <= 4;
}

// The pixels at least half opaque: how many there are, and how many of them are not `color`.
std::pair<int, int> opaquePixels(const QImage &image, const QColor &color)
{
    int painted = 0;
    int stray = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            painted += qAlpha(pixel) >= 128;
            stray += qAlpha(pixel) >= 128 && !near(pixel, color);
        }
    }
    return {painted, stray};
}

} // namespace

class TestUiFoundation : public QObject {
    Q_OBJECT

private slots:
    void appStyleFill_data()
    {
        QTest::addColumn<bool>("disabled");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("expected");
        for (const QColor &background :
             {NamedColors::blue(), NamedColors::red(), QColor(Qt::black)}) {
            const QByteArray name = background.name().toLatin1();
            QTest::newRow("disabled " + name) << true << background << NamedColors::gray();
            QTest::newRow("enabled " + name) << false << background << background;
        }
    }

    // Filled edge to edge with the background, or grey when disabled; isPrimary changes nothing.
    void appStyleFill()
    {
        QFETCH(bool, disabled);
        QFETCH(QColor, background);
        QFETCH(QColor, expected);
        StyledButton button("Create ISO", AppButtonStyle{false, disabled, background, 140});
        StyledButton primary("Create ISO", AppButtonStyle{true, disabled, background, 140});
        for (StyledButton *each : {&button, &primary}) {
            each->setSymbol("opticaldisc");
            each->resize(each->sizeHint());
        }
        const QImage image = button.grab().toImage();
        QCOMPARE(QColor(image.pixel(4, image.height() / 2)), expected);
        QCOMPARE(QColor(image.pixel(image.width() - 5, image.height() / 2)), expected);
        QCOMPARE(primary.grab().toImage(), image);
        // The symbol is only decoration: assistive tools get the label.
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&button);
        QVERIFY(accessible && accessible->role() == QAccessible::Button);
        QCOMPARE(accessible->text(QAccessible::Name), "Create ISO");
    }

    void interfaceSymbols_data()
    {
        QTest::addColumn<QString>("name");
        const char *names[] = {
            // toolbar, disk table and detail pane
            "sidebar.left", "arrow.triangle.2.circlepath", "arrow.clockwise", "plus.circle",
            "info.circle.fill", "heart.fill", "opticaldisc", "externaldrive.badge.plus",
            "square.and.arrow.down", "plus.circle.fill", "doc.fill.badge.plus", "externaldrive",
            "externaldrive.fill", "checkmark", "eject.fill",
            // progress overlay
            "xmark", "minus", "arrow.up.left.and.arrow.down.right", "checkmark.circle.fill",
            "exclamationmark.triangle.fill", "xmark.circle.fill", "terminal", "lock"};
        for (const char *name : names)
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    // Every symbol the views use exists and paints only in the colour asked for, at any size;
    // without a colour it follows the palette's text.
    void interfaceSymbols()
    {
        QFETCH(QString, name);
        QVERIFY(hasSymbol(name) && !hasSymbol("no.such.symbol"));
        QVERIFY(symbolIcon("no.such.symbol").isNull());
        const QColor orange = NamedColors::orange();
        const QIcon icon = symbolIcon(name, orange);
        for (int side : {8, 14, 60}) {
            const QImage image = icon.pixmap(side).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(image.size(), QSize(side, side));
            const auto [painted, stray] = opaquePixels(image, orange);
            QCOMPARE(stray, 0);
            QVERIFY2(painted >= side * side / 20, qPrintable(QString::number(painted)));
        }
        const QPalette original = QGuiApplication::palette();
        const QIcon plain = symbolIcon(name);
        for (const QColor &text : {QColor(Qt::black), QColor(0xF0, 0xF0, 0xF0)}) {
            QPalette palette = original;
            palette.setColor(QPalette::WindowText, text);
            QApplication::setPalette(palette);
            const QImage image = plain.pixmap(14).toImage().convertToFormat(QImage::Format_ARGB32);
            const auto [painted, stray] = opaquePixels(image, text);
            QVERIFY(painted > 0 && stray == 0);
        }
        QApplication::setPalette(original);
    }
};

QTEST_MAIN(TestUiFoundation)
#include "tst_uifoundation.moc"
