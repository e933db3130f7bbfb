#include "ui/ButtonStyles.h"
#include "ui/NamedColors.h"
#include "ui/Symbols.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QtTest>

namespace {

QImage grabOf(QWidget &widget)
{
    widget.resize(widget.sizeHint());
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

bool near(QRgb pixel, const QColor &color, int tolerance = 3)
{
    return qAbs(qRed(pixel) - color.red()) <= tolerance &&
           qAbs(qGreen(pixel) - color.green()) <= tolerance &&
           qAbs(qBlue(pixel) - color.blue()) <= tolerance;
}

int countNear(const QImage &image, const QRect &area, const QColor &color, int tolerance)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += near(image.pixel(x, y), color, tolerance) ? 1 : 0;
    return count;
}

QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x1E, 0x1E, 0x1E));
    palette.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
    palette.setColor(QPalette::Button, QColor(0x50, 0x50, 0x58));
    palette.setColor(QPalette::Highlight, QColor(0x0A, 0x84, 0xFF));
    return palette;
}

} // namespace

class TestUiFoundation : public QObject {
    Q_OBJECT

private slots:
    void appStyleFill_data();
    void appStyleFill();
    void appStyleIgnoresIsPrimary();
    void longLabelStaysInsideBlock();
    void nsStyleFollowsDarkPalette();
    void pressedLook();
    void sizesFollowPaddings();
    void accessibleNameIsLabel();
    void interfaceSymbols_data();
    void interfaceSymbols();
    void symbolWithoutColourFollowsPalette();
};

void TestUiFoundation::appStyleFill_data()
{
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("expected");
    for (const QColor &background : {NamedColors::blue(), NamedColors::red(), QColor(Qt::black)}) {
        const QByteArray name = background.name().toLatin1();
        QTest::newRow("disabled " + name) << true << background << NamedColors::gray();
        QTest::newRow("enabled " + name) << false << background << background;
    }
}

void TestUiFoundation::appStyleFill()
{
    QFETCH(bool, disabled);
    QFETCH(QColor, background);
    QFETCH(QColor, expected);
    StyledButton button(
        "Create ISO",
        AppButtonStyle{.isDisabled = disabled, .backgroundColor = background, .width = 140});
    const QImage image = grabOf(button);
    // Just inside the left padding, clear of the corners and the label.
    QCOMPARE(QColor(image.pixel(4, image.height() / 2)), expected);
    QCOMPARE(QColor(image.pixel(image.width() - 5, image.height() / 2)), expected);
}

void TestUiFoundation::appStyleIgnoresIsPrimary()
{
    const auto look = [](bool isPrimary) {
        StyledButton button("Create Bootable USB",
                            AppButtonStyle{isPrimary, false, NamedColors::blue(), 160});
        button.setSymbol("externaldrive.badge.plus");
        return grabOf(button);
    };
    QCOMPARE(look(true), look(false));
}

void TestUiFoundation::longLabelStaysInsideBlock()
{
    StyledButton button("Create Bootable USB for macOS Sequoia Developer Beta",
                        AppButtonStyle{.backgroundColor = Qt::black, .width = 120});
    button.setSymbol("externaldrive.badge.plus");
    const QImage image = grabOf(button);
    QCOMPARE(image.width(), 120);
    // The right padding stays clear of the label.
    const QRect padding(image.width() - 10, 7, 10, image.height() - 14);
    QCOMPARE(countNear(image, padding, Qt::white, 120), 0);
    QVERIFY(countNear(image, image.rect().adjusted(10, 0, -10, 0), Qt::white, 8) > 20);
}

void TestUiFoundation::nsStyleFollowsDarkPalette()
{
    const QPalette dark = darkPalette();
    StyledButton button("Cancel", NSButtonStyle{.isPrimary = false});
    button.setPalette(dark);
    const QImage image = grabOf(button);
    const QRect block = image.rect().marginsRemoved(NSButtonStyle::shadowMargins());
    QCOMPARE(QColor(image.pixel(block.left() + 4, block.center().y())),
             NamedColors::controlBackground(dark));
    // The label is drawn in the dark theme's light text, and nowhere in the light theme's.
    const QRect label = block.adjusted(15, 5, -15, -5);
    QVERIFY(countNear(image, label, NamedColors::primaryText(dark), 24) > 5);
    QCOMPARE(countNear(image, label, QPalette().color(QPalette::WindowText), 24), 0);
    QCOMPARE(NamedColors::secondaryText(dark).rgb(), NamedColors::primaryText(dark).rgb());
    QVERIFY(NamedColors::secondaryText(dark).alphaF() < 0.75);

    StyledButton primary("Authorize", NSButtonStyle{.isPrimary = true});
    primary.setPalette(dark);
    const QImage primaryImage = grabOf(primary);
    QCOMPARE(QColor(primaryImage.pixel(block.left() + 4, block.center().y())),
             NamedColors::accent(dark));
    QVERIFY(countNear(primaryImage, label, Qt::white, 24) > 5);
}

// The app style eases into its pressed look; the desktop style switches at once.
void TestUiFoundation::pressedLook()
{
    StyledButton app("Add", AppButtonStyle{.backgroundColor = NamedColors::blue(), .width = 120});
    app.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app));
    const QImage released = grabOf(app);
    app.setDown(true);
    QCOMPARE(grabOf(app), released);
    QTest::qWait(200);
    const QImage pressed = grabOf(app);
    // Scaled down about the centre, so the edge shows the window; the block is dimmed to 0.8.
    const QColor window = app.palette().color(QPalette::Window);
    const int middle = pressed.height() / 2;
    QVERIFY(near(pressed.pixel(0, middle), window, 40));
    const QColor blue = NamedColors::blue();
    const QColor dimmed((blue.red() * 8 + window.red() * 2) / 10,
                        (blue.green() * 8 + window.green() * 2) / 10,
                        (blue.blue() * 8 + window.blue() * 2) / 10);
    QVERIFY2(near(pressed.pixel(6, middle), dimmed),
             qPrintable(QColor(pressed.pixel(6, middle)).name()));
    app.setDown(false);
    QTest::qWait(200);
    QCOMPARE(grabOf(app), released);

    StyledButton ns("Close", NSButtonStyle{});
    const QImage nsReleased = grabOf(ns);
    ns.setDown(true);
    QVERIFY(grabOf(ns) != nsReleased);
}

void TestUiFoundation::sizesFollowPaddings()
{
    const QString label = "Add Application Installer";
    const QFontMetrics appMetrics(AppButtonStyle::font());
    StyledButton app(label, AppButtonStyle{.backgroundColor = NamedColors::blue(), .width = 180});
    QCOMPARE(app.sizeHint(), QSize(180, appMetrics.height() + 2 * 7));
    app.setSymbol("plus.circle.fill");
    QCOMPARE(app.sizeHint(), QSize(180, appMetrics.height() + 2 * 7));

    const QFontMetrics nsMetrics(NSButtonStyle::font());
    const QMargins shadow = NSButtonStyle::shadowMargins();
    StyledButton ns("Close", NSButtonStyle{});
    const int textWidth = nsMetrics.horizontalAdvance("Close");
    QCOMPARE(ns.sizeHint(), QSize(textWidth + 2 * 15 + shadow.left() + shadow.right(),
                                  nsMetrics.height() + 2 * 5 + shadow.top() + shadow.bottom()));
    // A symbol as tall as the text, then a 6 point gap.
    ns.setSymbol("xmark");
    QCOMPARE(ns.sizeHint().width(),
             textWidth + nsMetrics.height() + 6 + 2 * 15 + shadow.left() + shadow.right());
}

void TestUiFoundation::accessibleNameIsLabel()
{
    StyledButton button("Create ISO",
                        AppButtonStyle{.backgroundColor = NamedColors::blue(), .width = 140});
    button.setSymbol("opticaldisc");
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&button);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), QString("Create ISO"));
    QCOMPARE(accessible->role(), QAccessible::Button);
}

void TestUiFoundation::interfaceSymbols_data()
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

void TestUiFoundation::interfaceSymbols()
{
    QFETCH(QString, name);
    QVERIFY(hasSymbol(name));
    const QColor orange = NamedColors::orange();
    const QIcon icon = symbolIcon(name, orange);
    QVERIFY(!icon.isNull());
    for (int side : {8, 14, 60}) {
        const QImage image = icon.pixmap(side).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(side, side));
        int painted = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) < 128)
                    continue;
                ++painted;
                QVERIFY2(near(pixel, orange, 4), qPrintable(QColor(pixel).name()));
            }
        }
        QVERIFY2(painted >= side * side / 20, qPrintable(QString::number(painted)));
    }
}

void TestUiFoundation::symbolWithoutColourFollowsPalette()
{
    QVERIFY(!hasSymbol("no.such.symbol"));
    QVERIFY(symbolIcon("no.such.symbol").isNull());

    const QPalette original = QGuiApplication::palette();
    const QIcon icon = symbolIcon("heart.fill");
    for (const QColor &text : {QColor(Qt::black), QColor(0xF0, 0xF0, 0xF0)}) {
        QPalette palette = original;
        palette.setColor(QPalette::WindowText, text);
        QApplication::setPalette(palette);
        const QImage image = icon.pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
        QVERIFY(near(image.pixel(8, 8), text));
    }
    QApplication::setPalette(original);
}

QTEST_MAIN(TestUiFoundation)
#include "tst_uifoundation.moc"
