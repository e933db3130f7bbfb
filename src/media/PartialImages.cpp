#include "media/PartialImages.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <optional>

namespace {

// A link counts, even one that leads nowhere.
bool isTaken(const QString &path)
{
    const QFileInfo file(path);
    return file.exists() || file.isSymLink();
}

// Why `path` could not be removed; nothing when it is gone.
std::optional<QString> removalError(const QString &path)
{
    QFile file(path);
    if (!isTaken(path) || file.remove())
        return std::nullopt;
    return file.errorString();
}

} // namespace

PartialImages::PartialImages(const QString &imagePath, const QString &conversionPath)
    : m_image(imagePath), m_conversion(conversionPath), m_imageIsNew(!isTaken(imagePath)),
      m_conversionIsNew(!isTaken(conversionPath))
{
}

QString PartialImages::remove(const QString &attachedAs) const
{
    QStringList left;
    if (m_imageIsNew && isTaken(m_image)) {
        if (!attachedAs.isEmpty())
            //: %1 is the image's device ("/dev/disk7"), %2 the image file's path.
            left << tr("The unfinished disk image is still attached as %1 and was left at %2")
                        .arg(attachedAs, m_image);
        else if (const std::optional<QString> error = removalError(m_image))
            //: %1 is the image file's path, %2 the system's reason.
            left << tr("The unfinished disk image could not be removed from %1: %2")
                        .arg(m_image, *error);
    }
    if (m_conversionIsNew)
        if (const std::optional<QString> error = removalError(m_conversion))
            //: %1 is the converted file's path, %2 the system's reason.
            left << tr("The partial conversion could not be removed from %1: %2")
                        .arg(m_conversion, *error);
    return left.join(QStringLiteral("; "));
}
