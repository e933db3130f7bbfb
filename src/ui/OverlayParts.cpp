#include "ui/OverlayParts.h"

#include "ui/TextFont.h"

#include "ui/Accessibility.h"
#include "ui/KeyboardAccess.h"
#include "ui/NamedColors.h"
#include "ui/Symbols.h"
#include "ui/UnifiedProgressOverlay.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

QFont overlayFont(int pixelSize, QFont::Weight weight)
{
    return textFont(pixelSize, weight);
}

int shownPercent(double percentage)
{
    if (!std::isfinite(percentage))
        return 0;
    return int(std::trunc(std::clamp(percentage, -1e9, 1e9)));
}

// -- WindowControlDot --------------------------------------------------------------------------

WindowControlDot::WindowControlDot(const QColor &color, const QString &symbolName, int symbolSize,
                                   QWidget *parent)
    : QAbstractButton(parent), m_color(color), m_symbolSize(symbolSize)
{
    // The symbol in the dot's own colour would vanish on the dot; a deep shade of it reads as
    // the same hue, as the desktop's own window controls do.
    m_symbol = symbolIcon(symbolName, NamedColors::withOpacity(color.darker(260), 0.7));
    setFixedSize(12, 12);
    setCursor(Qt::ArrowCursor);
}

void WindowControlDot::setSymbolOpacity(qreal opacity)
{
    if (qFuzzyCompare(opacity, m_symbolOpacity))
        return;
    m_symbolOpacity = opacity;
    update();
}

void WindowControlDot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isDown() ? m_color.darker(115) : m_color);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    if (m_symbolOpacity <= 0)
        return;
    painter.setOpacity(m_symbolOpacity);
    const QRect symbolRect(QPoint(0, 0), QSize(m_symbolSize, m_symbolSize));
    m_symbol.paint(&painter, symbolRect.translated(rect().center() - symbolRect.center()));
}

// -- OverlayTitleBar ---------------------------------------------------------------------------

OverlayTitleBar::OverlayTitleBar(int verticalInset, QWidget *parent)
    : QWidget(parent), m_icon(new QLabel(this)), m_title(new QLabel(this))
{
    setObjectName(QStringLiteral("titleBar"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, verticalInset, 12, verticalInset);
    row->setSpacing(6);

    struct DotKind {
        QColor color;
        const char *symbol;
        int symbolSize;
        const char *name;
    };
    const DotKind kinds[] = {
        //: The red window control of the progress window.
        {NamedColors::red(), "xmark", 8, QT_TRANSLATE_NOOP("OverlayTitleBar", "Close")},
        //: The yellow window control, shown unavailable.
        {NamedColors::yellow(), "minus", 8, QT_TRANSLATE_NOOP("OverlayTitleBar", "Minimize")},
        //: The green window control, shown unavailable.
        {NamedColors::green(), "arrow.up.left.and.arrow.down.right", 6,
         QT_TRANSLATE_NOOP("OverlayTitleBar", "Zoom")},
    };
    for (const DotKind &kind : kinds) {
        auto *dot = new WindowControlDot(kind.color, QString::fromLatin1(kind.symbol),
                                         kind.symbolSize, this);
        const QString name = QCoreApplication::translate("OverlayTitleBar", kind.name);
        dot->setAccessibleName(name);
        dot->setToolTip(name);
        dot->setFocusPolicy(Qt::NoFocus);
        // The window neither minimizes nor zooms; a press on those dots is the title bar's.
        dot->setEnabled(m_dots.isEmpty());
        row->addWidget(dot);
        m_dots.append(dot);
    }
    m_closeDot = m_dots.first();
    m_closeDot->setObjectName(QStringLiteral("closeDot"));
    // The red dot may be the only way out of a scan that hangs; keep it reachable by keyboard.
    m_closeDot->setFocusPolicy(Qt::TabFocus);
    KeyboardAccess::pressOnReturn(m_closeDot);
    KeyboardAccess::showFocusRing(m_closeDot, m_closeDot->width() / 2.0);
    connect(m_closeDot, &QAbstractButton::clicked, this, &OverlayTitleBar::closeClicked);

    row->addSpacing(6);
    m_icon->setFixedSize(16, 16);
    m_icon->hide();
    row->addWidget(m_icon);
    m_title->setObjectName(QStringLiteral("windowTitle"));
    m_title->setFont(overlayFont(13));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setMinimumWidth(0);
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(m_title, 1);

    m_fade.setDuration(200);
    m_fade.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        for (WindowControlDot *dot : std::as_const(m_dots))
            dot->setSymbolOpacity(value.toReal());
    });
}

void OverlayTitleBar::setTitle(const QString &title)
{
    if (m_title->text() != title)
        m_title->setText(title);
}

QString OverlayTitleBar::title() const
{
    return m_title->text();
}

void OverlayTitleBar::setIcon(const QIcon &icon)
{
    // An icon that draws nothing (no picture, no desktop theme) should not leave a gap.
    const QPixmap pixmap = icon.isNull() ? QPixmap() : icon.pixmap(16, 16);
    m_icon->setPixmap(pixmap);
    m_icon->setVisible(!pixmap.isNull());
}

void OverlayTitleBar::paintEvent(QPaintEvent *)
{
    // Only the top corners belong to the window's rounded outline.
    const qreal radius = UnifiedProgressOverlay::cornerRadius;
    const QRectF area = rect();
    QPainterPath path;
    path.moveTo(area.bottomLeft());
    path.lineTo(area.left(), area.top() + radius);
    path.arcTo(QRectF(area.left(), area.top(), 2 * radius, 2 * radius), 180, -90);
    path.lineTo(area.right() - radius, area.top());
    path.arcTo(QRectF(area.right() - 2 * radius, area.top(), 2 * radius, 2 * radius), 90, -90);
    path.lineTo(area.bottomRight());
    path.closeSubpath();

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, NamedColors::withOpacity(NamedColors::windowBackground(palette()), 0.9));
}

void OverlayTitleBar::setHovered(bool hovered)
{
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    m_fade.stop();
    m_fade.setStartValue(m_dots.first()->symbolOpacity());
    m_fade.setEndValue(hovered ? 1.0 : 0.0);
    m_fade.start();
}

void OverlayTitleBar::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QWidget::enterEvent(event);
}

void OverlayTitleBar::leaveEvent(QEvent *event)
{
    // A drag may carry the pointer off the bar; the dots stay lit until it is let go.
    if (!m_dragging)
        setHovered(false);
    QWidget::leaveEvent(event);
}

void OverlayTitleBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_dragStart = event->globalPosition();
    event->accept();
}

void OverlayTitleBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    // Global positions, because the bar itself moves under the pointer.
    emit dragged((event->globalPosition() - m_dragStart).toPoint());
    event->accept();
}

void OverlayTitleBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    if (!rect().contains(event->position().toPoint()))
        setHovered(false);
    event->accept();
}

// -- LinearProgressBar -------------------------------------------------------------------------

LinearProgressBar::LinearProgressBar(QWidget *parent) : QWidget(parent)
{
    Accessibility::install();
    setFixedHeight(6);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(tr("Progress"));
}

void LinearProgressBar::setValue(double value)
{
    value = std::isfinite(value) ? std::clamp(value, 0.0, 100.0) : 0.0;
    if (value == m_value)
        return;
    const bool newPercent = shownPercent(value) != shownPercent(m_value);
    m_value = value;
    update();
    if (newPercent)
        Accessibility::announceValue(this, value);
}

void LinearProgressBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF track = rect();
    const qreal radius = track.height() / 2;
    painter.setBrush(NamedColors::withOpacity(NamedColors::gray(), 0.25));
    painter.drawRoundedRect(track, radius, radius);
    if (m_value <= 0)
        return;
    QRectF filled = track;
    filled.setWidth(std::max(track.height(), track.width() * m_value / 100.0));
    painter.setBrush(NamedColors::accent(palette()));
    painter.drawRoundedRect(filled, radius, radius);
}

// -- ElidingLabel ------------------------------------------------------------------------------

ElidingLabel::ElidingLabel(Qt::TextElideMode mode, QWidget *parent) : QLabel(parent), m_mode(mode)
{
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidingLabel::setFullText(const QString &text)
{
    if (text == m_fullText)
        return;
    m_fullText = text;
    setAccessibleName(text);
    elide();
}

QSize ElidingLabel::minimumSizeHint() const
{
    return {0, fontMetrics().height()};
}

QSize ElidingLabel::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(m_fullText), fontMetrics().height()};
}

void ElidingLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidingLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        elide();
}

void ElidingLabel::elide()
{
    const QString shown = fontMetrics().elidedText(m_fullText, m_mode, std::max(0, width()));
    if (shown != text())
        setText(shown);
    setToolTip(shown == m_fullText ? QString() : m_fullText);
}

// -- OverlayPanel ------------------------------------------------------------------------------

OverlayPanel::OverlayPanel(const QSize &size, int titleVerticalInset, QWidget *parent)
    : QWidget(parent), m_titleBar(new OverlayTitleBar(titleVerticalInset, this))
{
    setFixedSize(size);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_titleBar);
    auto *divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setFixedHeight(1);
    divider->setForegroundRole(QPalette::Mid);
    column->addWidget(divider);
    m_body = new QVBoxLayout;
    m_body->setContentsMargins(0, 0, 0, 0);
    m_body->setSpacing(0);
    column->addLayout(m_body, 1);
}

void OverlayPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(NamedColors::windowBackground(palette()));
    const qreal radius = UnifiedProgressOverlay::cornerRadius;
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
}
