#pragma once

#include <QPainterPath>
#include <QRectF>

// A rectangle with square top corners and rounded bottom ones, for the part of a window that
// sits on its lower edge.
struct BottomCornerRoundedRectangle {
    qreal radius = 0;

    // The outline within `rect`. A radius too large for the rectangle is reduced so the two
    // corners still meet the sides.
    QPainterPath path(const QRectF &rect) const;
};
