#include "InstallerIcon.h"

#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QPainterPath landscapePath(InstallerIconLook::Landscape landscape, double s)
{
    QPainterPath path;
    switch (landscape) {
    case InstallerIconLook::Landscape::Hills:
        path.moveTo(0, 0.70 * s);
        path.cubicTo(0.25 * s, 0.50 * s, 0.45 * s, 0.58 * s, 0.60 * s, 0.62 * s);
        path.cubicTo(0.75 * s, 0.66 * s, 0.90 * s, 0.48 * s, s, 0.52 * s);
        break;
    case InstallerIconLook::Landscape::Cliff:
        path.moveTo(0, 0.78 * s);
        path.lineTo(0.30 * s, 0.72 * s);
        path.lineTo(0.52 * s, 0.30 * s);
        path.lineTo(0.62 * s, 0.28 * s);
        path.lineTo(0.80 * s, 0.62 * s);
        path.lineTo(s, 0.66 * s);
        break;
    case InstallerIconLook::Landscape::Dunes:
        path.moveTo(0, 0.62 * s);
        path.cubicTo(0.30 * s, 0.45 * s, 0.50 * s, 0.80 * s, 0.70 * s, 0.60 * s);
        path.cubicTo(0.80 * s, 0.52 * s, 0.90 * s, 0.56 * s, s, 0.66 * s);
        break;
    }
    path.lineTo(s, s);
    path.lineTo(0, s);
    path.closeSubpath();
    return path;
}

} // namespace

QImage drawInstallerIcon(const InstallerIconLook &look, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const double s = size;

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF badge(0.06 * s, 0.06 * s, 0.88 * s, 0.88 * s);
    QPainterPath clip;
    clip.addEllipse(badge);
    painter.setClipPath(clip);

    QLinearGradient sky(0, badge.top(), 0, badge.bottom());
    sky.setColorAt(0, look.skyTop);
    sky.setColorAt(1, look.skyBottom);
    painter.fillRect(badge, sky);

    QRadialGradient sun(0.30 * s, 0.30 * s, 0.12 * s);
    sun.setColorAt(0, QColor(255, 250, 220, 230));
    sun.setColorAt(1, QColor(255, 250, 220, 0));
    painter.fillRect(badge, sun);

    QLinearGradient ground(0, 0.4 * s, 0, s);
    ground.setColorAt(0, look.land.lighter(125));
    ground.setColorAt(1, look.land.darker(150));
    painter.fillPath(landscapePath(look.landscape, s), ground);

    painter.setClipping(false);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 0.03 * s));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(badge);

    // The arrow every installer icon carries.
    QPolygonF arrow;
    arrow << QPointF(0.44 * s, 0.58 * s) << QPointF(0.56 * s, 0.58 * s)
          << QPointF(0.56 * s, 0.74 * s) << QPointF(0.66 * s, 0.74 * s)
          << QPointF(0.50 * s, 0.92 * s) << QPointF(0.34 * s, 0.74 * s)
          << QPointF(0.44 * s, 0.74 * s);
    painter.setPen(QPen(QColor(20, 20, 30, 160), 0.01 * s));
    painter.setBrush(QColor(250, 250, 252));
    painter.drawPolygon(arrow);
    painter.end();
    return image;
}

bool writeIcns(const QImage &image, const QString &path, QString *error)
{
    QImageWriter writer(path, "icns");
    if (!writer.canWrite()) {
        *error = QStringLiteral("cannot write %1: Qt's icns image plugin is missing (%2)")
                     .arg(path, writer.errorString());
        return false;
    }
    if (!writer.write(image)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, writer.errorString());
        return false;
    }
    return true;
}
