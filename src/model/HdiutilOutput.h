#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// What the disk image steps show of hdiutil's answers: progress dots and "created: PATH" on
// standard output while it works, "hdiutil: VERB failed - REASON" on standard error when it fails,
// and the devices an attached image became.

// The progress message for one decoded piece of standard output, under the step's `prefix`
// ("Creating DMG: ").
QString hdiutilProgressMessage(const QString &prefix, const QString &piece);

// The reason a failed run gives: its whole standard error as text, a byte sequence that is not
// UTF-8 shown as the replacement character.
QString hdiutilFailureReason(QByteArrayView standardError);

// One device `hdiutil attach` made of an image: its node ("/dev/disk7", "/dev/disk7s1") and the
// folder its volume was mounted on, empty for a device that holds no mounted volume.
struct HdiutilAttachedDevice {
    QString device;
    QString mountPoint;

    friend bool operator==(const HdiutilAttachedDevice &, const HdiutilAttachedDevice &) = default;
};

// The device lines of what `hdiutil attach` printed, in its order (the whole disk first): node,
// content and mount point, separated by tabs, the first two padded with spaces. Other lines
// (a checksum's progress) are passed over.
QList<HdiutilAttachedDevice> hdiutilAttachedDevices(const QString &output);
