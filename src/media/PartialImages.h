#pragma once

#include <QCoreApplication>
#include <QString>

// The image files a disk image run writes on the desktop on its way to the ISO: the read-write
// image and the CD master it is converted to. A run that does not get to its ISO removes them,
// but only those it made: a file of either name that was there when the run began (one the run
// could not clear, an older master it never replaces) stays the user's.
class PartialImages {
    Q_DECLARE_TR_FUNCTIONS(PartialImages)

public:
    // Notes which of the two paths are free now.
    PartialImages(const QString &imagePath, const QString &conversionPath);

    // Removes what the run made of the two. The image stays while it is attached, as
    // `attachedAs` ("/dev/disk7", empty when it is not): its device would be left without a
    // file. Says what is left, where and why, or nothing when nothing is.
    QString remove(const QString &attachedAs) const;

private:
    QString m_image;
    QString m_conversion;
    bool m_imageIsNew;
    bool m_conversionIsNew;
};
