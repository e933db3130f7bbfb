#include "ui/ButtonStyles.h"

#include "ui/KeyboardAccess.h"
#include "ui/NamedColors.h"
#include "ui/Symbols.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

#include <algorithm>

namespace {

constexpr int symbolGap = 6;
constexpr qreal cornerRadius = 6;

// Sizes are in the desktop's points, which are the toolkit's device-independent pixels, so a
// font "at 11 points" is 11 pixels tall whatever the screen's nominal resolution.
QFont systemFont(int size, QFont::Weight weight)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(size);
    font.setWeight(weight);
    return font;
}

int symbolSide(const QFontMetrics &metrics)
{
    return metrics.height();
}

QSize contentSize(const QFont &font, const QString &label, bool hasSymbol)
{
    const QFontMetrics metrics(font);
    int width = metrics.horizontalAdvance(label);
    if (hasSymbol)
        width += symbolSide(metrics) + (label.isEmpty() ? 0 : symbolGap);
    return {width, metrics.height()};
}

// The symbol and the label on one line, centred in `area`.
void drawContent(QPainter &painter, const QRectF &area, const QFont &font, const QString &label,
                 const QIcon &symbol, const QColor &color)
{
    const QFontMetrics metrics(font);
    const QSize content = contentSize(font, label, !symbol.isNull());
    qreal x = area.center().x() - content.width() / 2.0;
    const qreal top = area.center().y() - content.height() / 2.0;
    if (content.width() > area.width())
        x = area.left();
    if (!symbol.isNull()) {
        const int side = symbolSide(metrics);
        symbol.paint(&painter, QRect(qRound(x), qRound(top), side, side));
        x += side + (label.isEmpty() ? 0 : symbolGap);
    }
    if (label.isEmpty())
        return;
    // A label too long for a fixed-width block loses its end rather than spilling out.
    const QString shown = content.width() > area.width()
                              ? metrics.elidedText(label, Qt::ElideRight, int(area.right() - x))
                              : label;
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRectF(x, top, metrics.horizontalAdvance(shown) + 1, content.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

// A rounded rectangle whose corners ease into the straight sides instead of meeting them with a
// sudden change of curvature, as the desktop draws its controls. Each corner starts 1.5 radii
// from the vertex and is two cubic curves meeting on the diagonal.
QPainterPath continuousRoundedRect(const QRectF &rect, qreal radius)
{
    constexpr qreal reach = 1.5;  // where the curve leaves the side, in radii
    constexpr qreal inset = 0.3;  // the diagonal point, in radii from each side
    constexpr qreal handle = 1.0; // first control point, in radii from the vertex
    const qreal r = std::min(radius, std::min(rect.width(), rect.height()) / (2 * reach));

    QPainterPath path;
    if (r <= 0) {
        path.addRect(rect);
        return path;
    }
    // One corner at the top-left, mapped onto each of the four by mirroring.
    auto corner = [&](qreal cx, qreal cy, qreal sx, qreal sy, bool fromVertical) {
        auto at = [&](qreal u, qreal v) { return QPointF(cx + sx * u * r, cy + sy * v * r); };
        const QPointF vertical[] = {at(0, reach), at(0, handle), at(0, 2 * inset),
                                    at(inset, inset)};
        const QPointF horizontal[] = {at(inset, inset), at(2 * inset, 0), at(handle, 0),
                                      at(reach, 0)};
        if (fromVertical) {
            path.lineTo(vertical[0]);
            path.cubicTo(vertical[1], vertical[2], vertical[3]);
            path.cubicTo(horizontal[1], horizontal[2], horizontal[3]);
        } else {
            path.lineTo(horizontal[3]);
            path.cubicTo(horizontal[2], horizontal[1], horizontal[0]);
            path.cubicTo(vertical[2], vertical[1], vertical[0]);
        }
    };
    path.moveTo(rect.left() + reach * r, rect.top());
    corner(rect.right(), rect.top(), -1, 1, false);
    corner(rect.right(), rect.bottom(), -1, -1, true);
    corner(rect.left(), rect.bottom(), 1, -1, false);
    corner(rect.left(), rect.top(), 1, 1, true);
    path.closeSubpath();
    return path;
}

// Draws `body` scaled about the centre of `rect` and dimmed, as a pressed or unavailable button
// looks. The dimming applies to the button as a whole, so the fill does not show through the
// label; that takes a layer of its own.
template <typename Body>
void drawDimmed(QPainter &painter, const QRect &rect, qreal opacity, qreal scale, Body body)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(QRectF(rect).center());
    painter.scale(scale, scale);
    painter.translate(-QRectF(rect).center());
    if (opacity >= 1) {
        body(painter);
        painter.restore();
        return;
    }
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    QImage layer((QSizeF(rect.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.setRenderHint(QPainter::Antialiasing);
        layerPainter.translate(-rect.topLeft());
        body(layerPainter);
    }
    painter.setOpacity(painter.opacity() * opacity);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect.topLeft(), layer);
    painter.restore();
}

} // namespace

// --- AppButtonStyle

QFont AppButtonStyle::font()
{
    return systemFont(11, QFont::Medium);
}

QColor AppButtonStyle::disabledColor()
{
    return NamedColors::gray();
}

QSize AppButtonStyle::sizeFor(const QString &label, bool hasSymbol) const
{
    const QSize content = contentSize(font(), label, hasSymbol);
    return {width > 0 ? width : content.width() + 2 * 10, content.height() + 2 * 7};
}

void AppButtonStyle::makeBody(QPainter &painter, const QRect &rect, const QString &label,
                              const QIcon &symbol, bool pressed, const QPalette &palette) const
{
    drawBody(painter, rect, label, symbol, pressed ? 1.0 : 0.0, palette);
}

void AppButtonStyle::drawBody(QPainter &painter, const QRect &rect, const QString &label,
                              const QIcon &symbol, qreal pressAmount, const QPalette &) const
{
    const QColor fill = isDisabled ? disabledColor() : backgroundColor;
    drawDimmed(painter, rect, 1 - 0.2 * pressAmount, 1 - 0.03 * pressAmount, [&](QPainter &p) {
        const QRectF block(rect);
        p.fillPath(continuousRoundedRect(block, cornerRadius), fill);
        drawContent(p, block.adjusted(10, 7, -10, -7), font(), label, symbol, Qt::white);
    });
}

// --- NSButtonStyle

QFont NSButtonStyle::font()
{
    return systemFont(13, QFont::Normal);
}

QMargins NSButtonStyle::shadowMargins()
{
    // The shadow is blurred by one point and falls one point down.
    return {1, 1, 1, 2};
}

QSize NSButtonStyle::sizeFor(const QString &label, bool hasSymbol) const
{
    const QSize content = contentSize(font(), label, hasSymbol);
    const QMargins margins = shadowMargins();
    return {content.width() + 2 * 15 + margins.left() + margins.right(),
            content.height() + 2 * 5 + margins.top() + margins.bottom()};
}

void NSButtonStyle::makeBody(QPainter &painter, const QRect &rect, const QString &label,
                             const QIcon &symbol, bool pressed, const QPalette &palette) const
{
    const QColor fill =
        isPrimary ? NamedColors::accent(palette) : NamedColors::controlBackground(palette);
    const QColor text = isPrimary ? QColor(Qt::white) : NamedColors::primaryText(palette);
    drawDimmed(painter, rect, pressed ? 0.8 : 1, pressed ? 0.98 : 1, [&](QPainter &p) {
        const QRectF block(rect.marginsRemoved(shadowMargins()));
        const QPainterPath shape = continuousRoundedRect(block, cornerRadius);
        // A faint blurred shadow: the shape one point down, with a softer one-point fringe.
        const QPainterPath shadow = shape.translated(0, 1);
        p.strokePath(shadow, QPen(NamedColors::withOpacity(Qt::black, 0.025), 2));
        p.fillPath(shadow, NamedColors::withOpacity(Qt::black, 0.05));

        p.fillPath(shape, fill);
        p.strokePath(shape, QPen(NamedColors::withOpacity(NamedColors::gray(), 0.3), 0.5));
        drawContent(p, block.adjusted(15, 5, -15, -5), font(), label, symbol, text);
    });
}

// --- StyledButton

StyledButton::StyledButton(const QString &label, Style style, QWidget *parent)
    : QAbstractButton(parent), m_style(std::move(style))
{
    // The accessible name follows the text, which is the label.
    setText(label);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    KeyboardAccess::pressOnReturn(this);
    // The ring follows the block: all of the button in the app style, the button less the room
    // for its shadow in the other.
    KeyboardAccess::showFocusRing(this, [this] {
        const bool ns = std::holds_alternative<NSButtonStyle>(m_style);
        return KeyboardAccess::RingShape{cornerRadius,
                                         ns ? NSButtonStyle::shadowMargins() : QMargins()};
    });

    m_pressAnimation = new QVariantAnimation(this);
    m_pressAnimation->setDuration(100);
    // The desktop's standard ease-in-out timing curve.
    QEasingCurve easeInOut(QEasingCurve::BezierSpline);
    easeInOut.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    m_pressAnimation->setEasingCurve(easeInOut);
    connect(m_pressAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        m_pressAmount = v.toReal();
        update();
    });
    connect(this, &QAbstractButton::pressed, this, &StyledButton::followPressedState);
    connect(this, &QAbstractButton::released, this, &StyledButton::followPressedState);
}

void StyledButton::setStyle(Style style)
{
    m_style = std::move(style);
    m_pressAnimation->stop();
    m_pressAmount = isDown() ? 1 : 0;
    updateGeometry();
    update();
}

void StyledButton::setSymbol(const QString &symbolName)
{
    if (symbolName == m_symbolName)
        return;
    m_symbolName = symbolName;
    updateGeometry();
    update();
}

QSize StyledButton::sizeHint() const
{
    const bool withSymbol = !m_symbolName.isEmpty();
    return std::visit([&](const auto &style) { return style.sizeFor(text(), withSymbol); },
                      m_style);
}

// The app style eases in and out of its pressed look; the other one switches at once.
void StyledButton::followPressedState()
{
    const qreal target = isDown() ? 1 : 0;
    if (std::holds_alternative<NSButtonStyle>(m_style)) {
        m_pressAnimation->stop();
        if (m_pressAmount != target) {
            m_pressAmount = target;
            update();
        }
        return;
    }
    const bool running = m_pressAnimation->state() == QAbstractAnimation::Running;
    if (running ? m_pressAnimation->endValue().toReal() == target : m_pressAmount == target)
        return;
    m_pressAnimation->stop();
    m_pressAnimation->setStartValue(m_pressAmount);
    m_pressAnimation->setEndValue(target);
    m_pressAnimation->start();
}

void StyledButton::paintEvent(QPaintEvent *)
{
    // setDown() changes the pressed state without the signals.
    followPressedState();

    QPainter painter(this);
    if (const auto *app = std::get_if<AppButtonStyle>(&m_style)) {
        const QIcon symbol = m_symbolName.isEmpty() ? QIcon() : symbolIcon(m_symbolName, Qt::white);
        app->drawBody(painter, rect(), text(), symbol, m_pressAmount, palette());
        return;
    }
    const auto &ns = std::get<NSButtonStyle>(m_style);
    const QColor symbolColor =
        ns.isPrimary ? QColor(Qt::white) : NamedColors::primaryText(palette());
    const QIcon symbol = m_symbolName.isEmpty() ? QIcon() : symbolIcon(m_symbolName, symbolColor);
    // The desktop style has no look of its own for an unavailable button, so it fades.
    drawDimmed(painter, rect(), isEnabled() ? 1.0 : 0.5, 1.0, [&](QPainter &p) {
        ns.makeBody(p, rect(), text(), symbol, m_pressAmount >= 0.5, palette());
    });
}
