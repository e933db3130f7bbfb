#include "model/IcnsIcon.h"

#include "model/DeferredIconEngine.h"

#include <QImage>
#include <QImageReader>
#include <QList>
#include <QPixmap>

namespace {

// An ICNS file holds one picture per size; real ones have about ten.
constexpr int maximumPictures = 16;

// Keeps the decoded pictures, to become pixmaps when the icon is first drawn.
class DecodedIconEngine final : public DeferredIconEngine {
public:
    explicit DecodedIconEngine(QList<QImage> pictures) : m_pictures(std::move(pictures)) {}

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const QImage &picture : m_pictures)
            sizes << picture.size();
        return sizes;
    }
    QIconEngine *clone() const override { return new DecodedIconEngine(m_pictures); }
    QString key() const override { return QStringLiteral("DecodedIconEngine"); }

protected:
    QIcon makeIcon() const override
    {
        QIcon icon;
        for (const QImage &picture : m_pictures)
            icon.addPixmap(QPixmap::fromImage(picture));
        return icon;
    }

private:
    QList<QImage> m_pictures;
};

} // namespace

std::optional<QIcon> readIcnsIcon(const QString &path)
{
    QImageReader reader(path, "icns");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    QList<QImage> pictures;
    do {
        const QImage picture = reader.read();
        if (picture.isNull())
            break;
        pictures << picture;
    } while (pictures.size() < maximumPictures && reader.jumpToNextImage());
    if (pictures.isEmpty())
        return std::nullopt;
    return QIcon(new DecodedIconEngine(std::move(pictures)));
}
