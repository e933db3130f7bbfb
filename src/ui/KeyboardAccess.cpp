#include "ui/KeyboardAccess.h"

#include "ui/NamedColors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace KeyboardAccess {

namespace {

// Room around a control for its ring, with a pixel to spare for the antialiased edge.
constexpr int ringMargin = int(focusRingWidth) + 1;

// What the rings are laid out by: a margin of their own, above the control and never cut off
// by a small parent, and no mask, since the ring draws only itself.
class RingStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
            return ringMargin;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returned) const override
    {
        if (hint == SH_FocusFrame_AboveWidget)
            return 1;
        if (hint == SH_FocusFrame_Mask)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

QStyle *ringStyle()
{
    // Belongs to the application, and is made again for a later one.
    static QPointer<QStyle> style;
    if (!style) {
        style = new RingStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

// The ring itself: Qt's focus frame, which follows the control about and stays out of the
// accessibility tree, drawn in the desktop's manner.
class FocusRing : public QFocusFrame {
public:
    FocusRing(std::function<RingShape()> shape, QWidget *parent)
        : QFocusFrame(parent), m_shape(std::move(shape))
    {
        setStyle(ringStyle());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!widget())
            return;
        QPainter painter(this);
        const RingShape shape = m_shape();
        const QRectF outline =
            QRectF(rect())
                .marginsRemoved(QMarginsF(ringMargin, ringMargin, ringMargin, ringMargin))
                .marginsRemoved(QMarginsF(shape.inset));
        paintFocusRing(painter, outline, shape.radius, widget()->palette());
    }

private:
    std::function<RingShape()> m_shape;
};

// Shows and hides a control's ring as its focus comes and goes. Owned by the control.
class RingFollower : public QObject {
public:
    RingFollower(QWidget *control, std::function<RingShape()> shape)
        : QObject(control), m_control(control), m_shape(std::move(shape))
    {
        setObjectName(QStringLiteral("focusRingFollower"));
        control->installEventFilter(this);
    }

    ~RingFollower() override { delete m_ring; }

    bool isShown() const { return m_ring && m_ring->widget(); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn: {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            // The window coming back to the front keeps the ring as it was.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_fromKeyboard = isKeyboardFocusReason(reason);
            if (m_fromKeyboard)
                show();
            break;
        }
        case QEvent::FocusOut:
            hide();
            break;
        case QEvent::PaletteChange:
        case QEvent::EnabledChange:
            if (m_ring)
                m_ring->update();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void show()
    {
        if (!m_ring)
            m_ring = new FocusRing(m_shape, m_control->parentWidget());
        m_ring->setWidget(m_control);
        m_ring->update();
    }

    void hide()
    {
        if (m_ring)
            m_ring->setWidget(nullptr);
    }

    QWidget *m_control;
    std::function<RingShape()> m_shape;
    QPointer<FocusRing> m_ring;
    bool m_fromKeyboard = false;
};

// Presses its button on Return or Enter.
class ReturnPresses : public QObject {
public:
    explicit ReturnPresses(QAbstractButton *button) : QObject(button), m_button(button)
    {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) || !m_button->isEnabled())
            return false;
        // Holding the key down presses once.
        if (!key->isAutoRepeat())
            m_button->animateClick();
        return true;
    }

private:
    QAbstractButton *m_button;
};

} // namespace

QColor focusRingColor(const QPalette &palette)
{
    return NamedColors::withOpacity(NamedColors::accent(palette), 0.55);
}

void paintFocusRing(QPainter &painter, const QRectF &outline, qreal radius, const QPalette &palette)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(focusRingColor(palette), focusRingWidth));
    painter.setBrush(Qt::NoBrush);
    const qreal half = focusRingWidth / 2;
    painter.drawRoundedRect(outline.adjusted(-half, -half, half, half), radius + half,
                            radius + half);
    painter.restore();
}

void pressOnReturn(QAbstractButton *button)
{
    new ReturnPresses(button);
}

void showFocusRing(QWidget *control, qreal radius, const QMargins &inset)
{
    showFocusRing(control, [radius, inset] { return RingShape{radius, inset}; });
}

void showFocusRing(QWidget *control, std::function<RingShape()> shape)
{
    new RingFollower(control, std::move(shape));
}

bool showsFocusRing(const QWidget *control)
{
    for (QObject *child : control->children())
        if (const auto *follower = dynamic_cast<const RingFollower *>(child))
            return follower->isShown();
    return false;
}

bool isKeyboardFocusReason(int reason)
{
    return reason != Qt::MouseFocusReason;
}

RingedToolButton::RingedToolButton(qreal ringRadius, QWidget *parent) : QToolButton(parent)
{
    pressOnReturn(this);
    showFocusRing(this, ringRadius);
}

void RingedToolButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.state &= ~QStyle::State_HasFocus;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}

} // namespace KeyboardAccess
