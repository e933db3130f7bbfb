#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <optional>

class World;

// The disk images of a world. An image file holds no data - it is sparse, full size on paper -
// so what it would contain is noted in var/standin/images.json, keyed by the image's Mac path:
//   {"images": {"/tmp/Install macOS Sonoma.dmg":
//                  {"volumeName": "Install macOS Sonoma", "filesystem": "HFS+J",
//                   "format": "UDRW"}}}
// While attached, the volume's content is the folder it is mounted on.
namespace HdiutilImages {

struct Image {
    QString volumeName;
    // As hdiutil's -fs names it: "HFS+J", "HFS+", "MS-DOS", "ExFAT".
    QString filesystem;
    // As hdiutil's -format names it: "UDRW", "UDZO", "UDTO", ….
    QString format;
};

// The image noted for the file at `hostPath`, when that file is still there.
std::optional<Image> find(const World &world, const QString &hostPath);
bool record(const World &world, const QString &hostPath, const Image &image,
            QString *error = nullptr);

bool knowsFilesystem(const QString &filesystem);

// The first identifier after every disk the world has ("disk8").
QString nextIdentifier(const QJsonArray &disks);
// The disk attaching `image` adds to disks.json: a GUID map with one volume mounted at
// `mountPoint` (a Mac path), its Standin ImagePath pointing back to the image file.
QJsonObject attachedDisk(const QString &identifier, const Image &image, qint64 size,
                         const QString &imageMacPath, const QString &mountPoint);

} // namespace HdiutilImages
