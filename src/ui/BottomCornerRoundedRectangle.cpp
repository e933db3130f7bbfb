#include "ui/BottomCornerRoundedRectangle.h"

#include <algorithm>

QPainterPath BottomCornerRoundedRectangle::path(const QRectF &rect) const
{
    const qreal r =
        std::clamp(radius, 0.0, std::max(0.0, std::min(rect.width() / 2, rect.height())));
    QPainterPath outline;
    outline.moveTo(rect.topLeft());
    outline.lineTo(rect.topRight());
    outline.lineTo(rect.right(), rect.bottom() - r);
    outline.arcTo(QRectF(rect.right() - 2 * r, rect.bottom() - 2 * r, 2 * r, 2 * r), 0, -90);
    outline.lineTo(rect.left() + r, rect.bottom());
    outline.arcTo(QRectF(rect.left(), rect.bottom() - 2 * r, 2 * r, 2 * r), 270, -90);
    outline.closeSubpath();
    return outline;
}
