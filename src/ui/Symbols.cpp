#include "ui/Symbols.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <memory>

namespace {

QString resourcePath(const QString &name)
{
    return QStringLiteral(":/symbols/%1.svg").arg(name);
}

// One parsed renderer per picture: the pictures are tiny, but an icon is drawn on every paint.
QSvgRenderer *rendererFor(const QString &name)
{
    static QHash<QString, std::shared_ptr<QSvgRenderer>> renderers;
    auto it = renderers.find(name);
    if (it == renderers.end()) {
        std::shared_ptr<QSvgRenderer> renderer;
        if (hasSymbol(name)) {
            renderer = std::make_shared<QSvgRenderer>(resourcePath(name));
            renderer->setAspectRatioMode(Qt::KeepAspectRatio);
            if (!renderer->isValid())
                renderer.reset();
        }
        it = renderers.insert(name, renderer);
    }
    return it->get();
}

// The pictures are single-colour, so the colour is applied by keeping their alpha and replacing
// every painted pixel with `color`.
QImage renderSymbol(QSvgRenderer *renderer, const QSize &pixelSize, const QColor &color)
{
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!renderer || pixelSize.isEmpty())
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer->render(&painter, QRectF(QPointF(0, 0), QSizeF(pixelSize)));
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

class SymbolEngine : public QIconEngine {
public:
    SymbolEngine(QString name, QColor color) : m_name(std::move(name)), m_color(std::move(color)) {}

    QIconEngine *clone() const override { return new SymbolEngine(m_name, m_color); }
    QString key() const override { return QStringLiteral("tessaline-symbol"); }
    QString iconName() override { return m_name; }
    bool isNull() override { return rendererFor(m_name) == nullptr; }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = scaledPixmap(rect.size(), mode, state, ratio);
        painter->drawPixmap(rect, pm);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const QSize pixelSize = (QSizeF(size) * scale).toSize();
        const QColor color = effectiveColor(mode);
        const QString cacheKey = QStringLiteral("tessaline-symbol:%1:%2x%3:%4")
                                     .arg(m_name)
                                     .arg(pixelSize.width())
                                     .arg(pixelSize.height())
                                     .arg(color.rgba(), 8, 16);
        QPixmap pm;
        if (!QPixmapCache::find(cacheKey, &pm)) {
            pm = QPixmap::fromImage(renderSymbol(rendererFor(m_name), pixelSize, color));
            QPixmapCache::insert(cacheKey, pm);
        }
        pm.setDevicePixelRatio(scale);
        return pm;
    }

private:
    // Without a colour of its own the symbol takes the text colour of the palette in force when it
    // is drawn, so it follows a change of theme.
    QColor effectiveColor(QIcon::Mode mode) const
    {
        const QPalette palette = QGuiApplication::palette();
        if (!m_color.isValid()) {
            return palette.color(mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active,
                                 QPalette::WindowText);
        }
        if (mode == QIcon::Disabled) {
            QColor dimmed = m_color;
            dimmed.setAlphaF(m_color.alphaF() * 0.4);
            return dimmed;
        }
        return m_color;
    }

    QString m_name;
    QColor m_color;
};

} // namespace

QIcon symbolIcon(const QString &name, const QColor &color)
{
    return QIcon(new SymbolEngine(name, color));
}

bool hasSymbol(const QString &name)
{
    return !name.isEmpty() && QFile::exists(resourcePath(name));
}
