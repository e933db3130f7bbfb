#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <optional>

class World;

// The disk images of a world. An image file holds no data but an id - it is sparse, full size on
// paper - so what it would contain is noted in var/standin/images.json, keyed by the Mac path it
// was made at:
//   {"images": {"/tmp/Install macOS Sonoma.dmg":
//                  {"volumeName": "Install macOS Sonoma", "filesystem": "HFS+J",
//                   "format": "UDRW", "id": "8F1C2A6E-…"}}}
// Images that hdiutil made carry their id in a short header at the start of the file,
// "tessaline-standin image 8F1C2A6E-…\n", so they are still known once renamed, moved or copied.
// Their volume's files are theirs: while attached, the folder the volume is mounted on; while
// not, var/standin/image-content/ID. Images without an id (an installer's SharedSupport.dmg,
// noted by path) have no files of their own: their volume's folder starts empty every time.
namespace HdiutilImages {

struct Image {
    QString volumeName;
    // As hdiutil's -fs names it: "HFS+J", "HFS+", "MS-DOS", "ExFAT".
    QString filesystem;
    // As hdiutil's -format names it: "UDRW", "UDZO", "UDTO", ….
    QString format;
    // Empty for images noted by path alone.
    QString id = {};
};

// The image in the file at `hostPath`: the one its header names, else the one noted at its path.
std::optional<Image> find(const World &world, const QString &hostPath);
bool record(const World &world, const QString &hostPath, const Image &image,
            QString *error = nullptr);
// Writes a new id into the header of the image file at `hostPath`, which keeps its size; the id,
// or nothing when the file could not be written.
std::optional<QString> giveIdentity(const QString &hostPath, QString *error);
// Where the files of the image with `id` are kept while it is not attached.
QString contentFolder(const World &world, const QString &id);

bool knowsFilesystem(const QString &filesystem);

// The first identifier after every disk the world has ("disk8").
QString nextIdentifier(const QJsonArray &disks);
// The disk attaching `image` adds to disks.json: a GUID map with one volume mounted at
// `mountPoint` (a Mac path), its Standin ImagePath pointing back to the image file and ImageId
// naming the image's id, if it has one. A read-only attachment, or an image in a read-only format,
// is not writable.
QJsonObject attachedDisk(const QString &identifier, const Image &image, qint64 size,
                         const QString &imageMacPath, const QString &mountPoint, bool readOnly);

} // namespace HdiutilImages
