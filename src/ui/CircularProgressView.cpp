#include "ui/CircularProgressView.h"

#include "ui/Accessibility.h"
#include "ui/NamedColors.h"
#include "ui/OverlayParts.h"

#include <QPainter>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>

CircularProgressView::CircularProgressView(QWidget *parent) : QWidget(parent)
{
    Accessibility::install();
    setFixedSize(sizeHint());
    setAccessibleName(tr("Step progress"));
    m_glide.setDuration(250);
    m_glide.setEasingCurve(QEasingCurve::Linear);
    connect(&m_glide, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_drawn = value.toDouble();
        update();
    });
}

void CircularProgressView::setProgress(double progress)
{
    progress = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0;
    if (progress == m_progress)
        return;
    const bool newPercent = shownPercent(progress * 100) != shownPercent(m_progress * 100);
    m_progress = progress;
    if (newPercent)
        Accessibility::announceValue(this, progress * 100);
    m_glide.stop();
    if (!isVisible()) {
        m_drawn = progress;
        update();
        return;
    }
    m_glide.setStartValue(m_drawn);
    m_glide.setEndValue(progress);
    m_glide.start();
}

void CircularProgressView::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void CircularProgressView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal stroke = 2;
    const qreal side = std::min(width(), height()) - stroke;
    const QRectF ring(QPointF((width() - side) / 2, (height() - side) / 2), QSizeF(side, side));

    painter.setPen(QPen(NamedColors::withOpacity(m_color, 0.3), stroke));
    painter.drawEllipse(ring);
    if (m_drawn <= 0)
        return;
    painter.setPen(QPen(m_color, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // Qt counts angles anticlockwise from three o'clock, in sixteenths of a degree.
    painter.drawArc(ring, 90 * 16, -int(std::round(m_drawn * 360 * 16)));
}

ProgressSpinner::ProgressSpinner(int diameter, QWidget *parent)
    : QWidget(parent), m_diameter(diameter)
{
    Accessibility::install();
    setFixedSize(diameter, diameter);
    setAccessibleName(tr("In progress"));
}

void ProgressSpinner::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void ProgressSpinner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = m_color.isValid() ? m_color : NamedColors::primaryText(palette());
    const qreal radius = std::min(width(), height()) / 2.0;
    const qreal thickness = std::max(1.5, radius / 4.5);
    painter.translate(width() / 2.0, height() / 2.0);
    for (int spoke = 0; spoke < spokes; ++spoke) {
        // The spoke at the current step is the brightest; those behind it fade out.
        const int age = (m_step - spoke + spokes) % spokes;
        painter.setPen(QPen(NamedColors::withOpacity(color, 1.0 - 0.8 * age / spokes), thickness,
                            Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(360.0 * spoke / spokes);
        painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius + thickness / 2));
        painter.restore();
    }
}

void ProgressSpinner::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_step = (m_step + 1) % spokes;
    update();
}

void ProgressSpinner::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timer.start(1000 / spokes, this);
}

void ProgressSpinner::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_timer.stop();
}
