#include "ui/StepIndicatorDot.h"

#include "ui/Accessibility.h"
#include "ui/NamedColors.h"

#include <QPainter>

StepIndicatorDot::StepIndicatorDot(QWidget *parent) : QWidget(parent)
{
    Accessibility::install();
    setFixedSize(8, 8);
}

void StepIndicatorDot::setState(bool isComplete, bool isActive, bool isFuture)
{
    if (isComplete == m_isComplete && isActive == m_isActive && isFuture == m_isFuture)
        return;
    m_isComplete = isComplete;
    m_isActive = isActive;
    m_isFuture = isFuture;
    update();
}

QColor StepIndicatorDot::fillColor() const
{
    if (m_isComplete)
        return NamedColors::green();
    if (m_isActive)
        return NamedColors::blue();
    // A step not yet reached looks like one skipped over: both simply are not under way.
    return NamedColors::withOpacity(NamedColors::gray(), 0.4);
}

void StepIndicatorDot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fillColor());
    painter.drawEllipse(QRectF(rect()));
}
