#include "WorldMaker.h"

#include "InstallerIcon.h"
#include "Plist.h"
#include "World.h"
#include "tools/HdiutilImages.h"
#include "tools/Package.h"
#include "tools/Signatures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <optional>

namespace {

// Failures unwind to makeWorld() with the message to print.
struct Failure {
    QString message;
};

struct InstallerBundle {
    QString name;
    // An Info.plist taken from a real installer, compiled in.
    QString infoPlist;
    Plist::Format format;
    // Keys left out, to give the program the odd installers it has to cope with.
    QStringList droppedKeys;
    qint64 payloadSize;
    std::optional<InstallerIconLook> icon;
};

const InstallerIconLook sequoiaLook{QColor(48, 24, 96), QColor(226, 110, 150), QColor(40, 120, 90),
                                    InstallerIconLook::Landscape::Hills};
const InstallerIconLook sonomaLook{QColor(24, 70, 120), QColor(250, 180, 90), QColor(190, 80, 60),
                                   InstallerIconLook::Landscape::Hills};
const InstallerIconLook venturaLook{QColor(80, 30, 20), QColor(240, 140, 60), QColor(90, 40, 30),
                                    InstallerIconLook::Landscape::Dunes};
const InstallerIconLook montereyLook{QColor(60, 30, 110), QColor(230, 120, 170), QColor(50, 40, 80),
                                     InstallerIconLook::Landscape::Cliff};

QList<InstallerBundle> installers()
{
    using Look = InstallerIconLook;
    return {
        {QStringLiteral("Install macOS Sequoia"),
         QStringLiteral(":/info-plist/install-macos-sequoia.bplist"),
         Plist::Format::Binary,
         {},
         13'904'396'288,
         sequoiaLook},
        // Its icon file is missing, as after a damaged download.
        {QStringLiteral("Install macOS Sonoma"),
         QStringLiteral(":/info-plist/install-macos-sonoma.plist"),
         Plist::Format::Xml,
         {},
         13'318'864'896,
         std::nullopt},
        {QStringLiteral("Install macOS Mojave"),
         QStringLiteral(":/info-plist/install-macos-mojave-no-display-name.plist"),
         Plist::Format::Xml,
         {QStringLiteral("DTPlatformVersion")},
         6'037'147'648,
         Look{QColor(18, 24, 60), QColor(210, 120, 80), QColor(190, 130, 80),
              Look::Landscape::Dunes}},
        {QStringLiteral("Install OS X El Capitan"),
         QStringLiteral(":/info-plist/install-os-x-el-capitan.plist"),
         Plist::Format::Xml,
         {},
         6'201'073'664,
         Look{QColor(30, 90, 170), QColor(170, 210, 240), QColor(120, 115, 110),
              Look::Landscape::Cliff}},
    };
}

void makeFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        throw Failure{QStringLiteral("cannot make the folder %1").arg(path)};
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        throw Failure{QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
}

void makeLink(const QString &target, const QString &link)
{
    makeFolder(QFileInfo(link).path());
    if (!QFile::link(target, link))
        throw Failure{QStringLiteral("cannot link %1 to %2").arg(link, target)};
}

QJsonObject infoPlistKeys(const QString &resourcePath)
{
    QFile resource(resourcePath);
    if (!resource.open(QIODevice::ReadOnly))
        throw Failure{QStringLiteral("the program lacks %1").arg(resourcePath)};
    QJsonObject info = Plist::toJson(resource.readAll()).toObject();
    if (info.isEmpty())
        throw Failure{QStringLiteral("%1 is not a property list").arg(resourcePath)};
    return info;
}

QByteArray infoPlist(const InstallerBundle &bundle)
{
    QJsonObject info = infoPlistKeys(bundle.infoPlist);
    for (const QString &key : bundle.droppedKeys)
        info.remove(key);
    return Plist::fromJson(info, bundle.format);
}

// `payloadSize`, when given, stands in for every installer's own (see WorldOptions).
void makeInstaller(const World &world, const InstallerBundle &bundle, const QString &program,
                   std::optional<qint64> payloadSize)
{
    const QString app =
        world.root() + QStringLiteral("/Applications/") + bundle.name + QStringLiteral(".app");
    QString error;
    if (!Package::makeInstallerApp(app, infoPlist(bundle), bundle.icon,
                                   payloadSize.value_or(bundle.payloadSize), program, &error))
        throw Failure{error};
    // Its payload attaches like any image.
    if (!HdiutilImages::record(
            world, app + QStringLiteral("/Contents/SharedSupport/SharedSupport.dmg"),
            {QStringLiteral("Shared Support"), QStringLiteral("HFS+"), QStringLiteral("UDZO")},
            &error))
        throw Failure{error};
}

// What a planted installer looks like: Sequoia's bundle under another file name, claiming a newer
// macOS so that it sorts first, and signed by nobody.
void makeUnsignedInstaller(const World &world, const QString &program,
                           std::optional<qint64> payloadSize)
{
    const QString app = world.root() + QStringLiteral("/Applications/Install macOS Sequoia 2.app");
    QJsonObject info = infoPlistKeys(QStringLiteral(":/info-plist/install-macos-sequoia.bplist"));
    info.insert(QStringLiteral("CFBundleShortVersionString"), QStringLiteral("99.0.0"));
    info.insert(QStringLiteral("DTPlatformVersion"), QStringLiteral("99.0"));
    QString error;
    if (!Package::makeInstallerApp(app, Plist::fromJson(info, Plist::Format::Binary), std::nullopt,
                                   payloadSize.value_or(13'904'396'288), program, &error) ||
        !Signatures::sign(app, QLatin1String(Signatures::notSigned), &error))
        throw Failure{error};
}

// A release of macOS as its installer names itself. Its Info.plist is a real installer's (the
// model) with this release's names, identifiers, versions and builds; what is not given stays as
// the model has it.
struct Release {
    const char *name; // "Ventura"
    const char *model;
    Plist::Format format;
    const char *bundleVersion;   // CFBundleShortVersionString, "18.6.02"
    const char *platformVersion; // DTPlatformVersion: the SDK's, two parts even for "13.6.1"
    const char *build;
    int copyrightYear;
    const char *buildMachine = nullptr;
    const char *xcode = nullptr;
    const char *xcodeBuild = nullptr;
};

QJsonObject releaseInfoPlist(const Release &release)
{
    QJsonObject info = infoPlistKeys(QLatin1String(release.model));
    const QString name = QStringLiteral("Install macOS ") + QLatin1String(release.name);
    for (const char *key : {"CFBundleDisplayName", "CFBundleGetInfoString", "CFBundleName"})
        info.insert(QLatin1String(key), name);
    const QString version = QLatin1String(release.bundleVersion);
    const QString build = QLatin1String(release.build);
    const QString platform = QLatin1String(release.platformVersion);
    info.insert(QStringLiteral("CFBundleIdentifier"),
                QStringLiteral("com.apple.InstallAssistant.macOS") + QLatin1String(release.name));
    info.insert(QStringLiteral("CFBundleShortVersionString"), version);
    info.insert(QStringLiteral("CFBundleVersion"), version);
    info.insert(QStringLiteral("DTPlatformBuild"), build);
    info.insert(QStringLiteral("DTPlatformVersion"), platform);
    info.insert(QStringLiteral("DTSDKBuild"), build);
    info.insert(QStringLiteral("DTSDKName"), QStringLiteral("macosx") + platform);
    info.insert(QStringLiteral("NSHumanReadableCopyright"),
                QStringLiteral("Copyright © %1 Apple Inc. All rights reserved.")
                    .arg(release.copyrightYear));
    const std::pair<const char *, const char *> optional[] = {
        {"BuildMachineOSBuild", release.buildMachine},
        {"DTXcode", release.xcode},
        {"DTXcodeBuild", release.xcodeBuild},
    };
    for (const auto &[key, value] : optional) {
        if (value)
            info.insert(QLatin1String(key), QLatin1String(value));
    }
    return info;
}

// The package that installs the release's installer application.
Package::Manifest releaseManifest(const Release &release, qint64 sharedSupportSize,
                                  const InstallerIconLook &icon)
{
    Package::Manifest manifest;
    manifest.packageName = QStringLiteral("macOS ") + QLatin1String(release.name);
    manifest.application =
        QStringLiteral("Install macOS ") + QLatin1String(release.name) + QStringLiteral(".app");
    manifest.infoPlist = releaseInfoPlist(release);
    manifest.infoPlistFormat = release.format;
    manifest.sharedSupportSize = sharedSupportSize;
    manifest.icon = icon;
    return manifest;
}

const char sequoiaModel[] = ":/info-plist/install-macos-sequoia.bplist";
const char sonomaModel[] = ":/info-plist/install-macos-sonoma.plist";

// A downloaded InstallAssistant.pkg for an installer the Mac does not have yet, Ventura's made
// from Sonoma's Info.plist.
void makeDemoPackage(const QString &root, std::optional<qint64> payloadSize)
{
    const Release ventura{"Ventura", sonomaModel, Plist::Format::Xml, "18.6.02", "13.6",
                          "22G120",  2023,        "21A559",           "1430",    "14E222b"};
    makeFolder(root + QStringLiteral("/Downloads"));
    writeFile(root + QStringLiteral("/Downloads/InstallAssistant.pkg"),
              Package::toJson(
                  releaseManifest(ventura, payloadSize.value_or(11'881'480'192), venturaLook)));
}

// What Apple's servers offer the Mac, for softwareupdate, in catalogue.json:
//   {"macOS": "15.3",      the Mac's own version: which options and columns the tool has
//    "failure": "",        how a download goes wrong: "", "not-found", "network", "script" or
//                          "no-space"
//    "installers": [{"title": "macOS Sequoia", "version": "15.3.1", "build": "24D70",
//                    "sizeKiB": 14891477, "deferred": false, "productKey": "082-01336",
//                    "package": {…}}, …]}
// newest first, as the tool lists them. "package" is the InstallAssistant.pkg the download brings
// (see Package.h); installing it lands the installer application. A deferred installer is listed
// but held back from downloads, as a managed Mac's are.
// space.json holds the startup volume's free space, which a download has to fit in.
struct Offer {
    const char *version;
    qint64 sizeKiB;
    bool deferred;
    const char *productKey;
    Release release;
    InstallerIconLook icon;
};

QJsonObject catalogueEntry(const Offer &offer, std::optional<qint64> payloadSize)
{
    // The disk image is most of the download; the package's scripts and payload list the rest.
    const qint64 sharedSupportSize =
        payloadSize.value_or(offer.sizeKiB * 1024 / 100 * 93 / 512 * 512);
    return {
        {QStringLiteral("title"), QStringLiteral("macOS ") + QLatin1String(offer.release.name)},
        {QStringLiteral("version"), QLatin1String(offer.version)},
        {QStringLiteral("build"), QLatin1String(offer.release.build)},
        {QStringLiteral("sizeKiB"), offer.sizeKiB},
        {QStringLiteral("deferred"), offer.deferred},
        {QStringLiteral("productKey"), QLatin1String(offer.productKey)},
        {QStringLiteral("package"),
         Package::toJsonObject(releaseManifest(offer.release, sharedSupportSize, offer.icon))},
    };
}

QJsonObject initialCatalogue(std::optional<qint64> payloadSize)
{
    const auto xml = Plist::Format::Xml;
    const Offer offers[] = {
        {"15.3.1",
         14'891'477,
         false,
         "082-01336",
         {"Sequoia", sequoiaModel, Plist::Format::Binary, "20.3.03", "15.3", "24D70", 2025},
         sequoiaLook},
        {"15.3",
         14'889'290,
         false,
         "082-00432",
         {"Sequoia", sequoiaModel, Plist::Format::Binary, "20.3.02", "15.3", "24D60", 2025},
         sequoiaLook},
        {"14.7.4",
         13'339'000,
         false,
         "082-12109",
         {"Sonoma", sonomaModel, xml, "19.7.04", "14.7", "23H420", 2025},
         sonomaLook},
        {"13.7.4",
         11'931'164,
         false,
         "082-12113",
         {"Ventura", sonomaModel, xml, "18.7.04", "13.7", "22H420", 2025},
         venturaLook},
        // Held back by the Mac's management, which lists it all the same.
        {"12.7.4",
         12'117'810,
         true,
         "052-60131",
         {"Monterey", sonomaModel, xml, "17.7.04", "12.7", "21H1123", 2024},
         montereyLook},
    };
    QJsonArray entries;
    for (const Offer &offer : offers)
        entries.append(catalogueEntry(offer, payloadSize));
    return {{QStringLiteral("macOS"), QStringLiteral("15.3")},
            {QStringLiteral("failure"), QString()},
            {QStringLiteral("installers"), entries}};
}

void makeVolumes(const QString &root)
{
    makeFolder(root + QStringLiteral("/Volumes/UNTITLED"));
    makeFolder(root + QStringLiteral("/Volumes/SDCARD/DCIM/100CANON"));
    makeFolder(root + QStringLiteral("/Volumes/Backup"));
    const QString assets =
        root + QStringLiteral("/Volumes/Shared Support/com_apple_MobileAsset_MacSoftwareUpdate");
    makeFolder(assets);
    QJsonObject catalog{
        {QStringLiteral("Assets"),
         QJsonArray{QJsonObject{{QStringLiteral("Build"), QStringLiteral("24B83")},
                                {QStringLiteral("OSVersion"), QStringLiteral("15.1")}}}}};
    writeFile(assets + QStringLiteral("/com_apple_MobileAsset_MacSoftwareUpdate.xml"),
              Plist::fromJson(catalog, Plist::Format::Xml));
}

void makeTools(const QString &root, const QString &program)
{
    for (const char *tool :
         {"/usr/sbin/diskutil", "/usr/bin/hdiutil", "/usr/bin/csrutil", "/usr/sbin/installer",
          "/usr/bin/open", "/usr/bin/osascript", "/usr/bin/sudo", "/usr/bin/codesign",
          "/usr/bin/env", "/usr/bin/caffeinate", "/usr/sbin/softwareupdate"})
        makeLink(program, root + QLatin1String(tool));
}

// The disks are kept in diskutil's own vocabulary. Each whole disk and each partition or APFS
// volume is the dictionary `diskutil list -plist` shows for it under AllDisksAndPartitions
// (MountPoint only while mounted), plus:
//   "Info"    - the keys `diskutil info -plist` adds. A whole disk's are the device's and hold for
//               its partitions too, except IORegistryEntryName (and MediaName, which is empty
//               there); a partition's add its file system. DeviceNode, ParentWholeDisk,
//               WholeDisk, TotalSize and IOKitSize follow from the identifier and Size.
//   "Standin" - the stand-in's own notes, never shown (e.g. ImagePath of an attached image).
QJsonObject device(const QString &bus, const QString &mediaName, const QString &registryName,
                   bool internal, bool removable, bool solidState)
{
    const bool image = bus == QLatin1String("Disk Image");
    return {
        {QStringLiteral("AESHardware"), false},
        {QStringLiteral("Bootable"), false},
        {QStringLiteral("BooterDeviceIdentifier"), QString()},
        {QStringLiteral("BusProtocol"), bus},
        {QStringLiteral("CanBeMadeBootable"), false},
        {QStringLiteral("CanBeMadeBootableRequiresDestroy"), false},
        {QStringLiteral("DeviceBlockSize"), 512},
        {QStringLiteral("Ejectable"), !internal},
        {QStringLiteral("EjectableMediaAutomaticUnderSoftwareControl"), false},
        {QStringLiteral("EjectableOnly"), !internal},
        {QStringLiteral("FreeSpace"), 0},
        {QStringLiteral("GlobalPermissionsEnabled"), false},
        {QStringLiteral("IORegistryEntryName"), registryName},
        {QStringLiteral("Internal"), internal},
        {QStringLiteral("LowLevelFormatSupported"), false},
        {QStringLiteral("MediaName"), mediaName},
        {QStringLiteral("MediaType"), QStringLiteral("Generic")},
        {QStringLiteral("OSInternalMedia"), false},
        {QStringLiteral("Removable"), removable},
        {QStringLiteral("RemovableMedia"), removable},
        {QStringLiteral("RemovableMediaOrExternalDevice"), !internal},
        {QStringLiteral("SMARTStatus"),
         internal ? QStringLiteral("Verified") : QStringLiteral("Not Supported")},
        {QStringLiteral("SolidState"), solidState},
        {QStringLiteral("SupportsGlobalPermissionsDisable"), false},
        {QStringLiteral("SystemImage"), false},
        {QStringLiteral("VirtualOrPhysical"),
         image ? QStringLiteral("Virtual") : QStringLiteral("Physical")},
        {QStringLiteral("Writable"), !image},
        {QStringLiteral("WritableMedia"), !image},
        {QStringLiteral("WritableSupported"), !image},
    };
}

QJsonObject fileSystem(const QString &type, const QString &name, qint64 freeSpace, bool writable)
{
    return {
        {QStringLiteral("FilesystemName"), name},
        {QStringLiteral("FilesystemType"), type},
        {QStringLiteral("FilesystemUserVisibleName"), name},
        {QStringLiteral("FreeSpace"), freeSpace},
        {QStringLiteral("WritableVolume"), writable},
    };
}

QString uuid(int serial)
{
    return QStringLiteral("6E3E0B2C-1A2B-4C3D-9E8F-%1")
        .arg(serial, 12, 16, QLatin1Char('0'))
        .toUpper();
}

QJsonObject efiPartition(const QString &identifier, int diskSerial, int volumeSerial)
{
    return {
        {QStringLiteral("Content"), QStringLiteral("EFI")},
        {QStringLiteral("DeviceIdentifier"), identifier},
        {QStringLiteral("DiskUUID"), uuid(diskSerial)},
        {QStringLiteral("Info"),
         fileSystem(QStringLiteral("msdos"), QStringLiteral("MS-DOS FAT32"), 0, false)},
        {QStringLiteral("Size"), 209'715'200},
        {QStringLiteral("VolumeName"), QStringLiteral("EFI")},
        {QStringLiteral("VolumeUUID"), uuid(volumeSerial)},
    };
}

QJsonArray initialDisks()
{
    const QString gpt = QStringLiteral("GUID_partition_scheme");
    const qint64 internalSize = 500'277'790'720;
    const qint64 containerSize = 500'068'036'608;

    QJsonObject internal{
        {QStringLiteral("Content"), gpt},
        {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk0")},
        {QStringLiteral("Info"),
         device(QStringLiteral("Apple Fabric"), QStringLiteral("APPLE SSD AP0512Z"),
                QStringLiteral("APPLE SSD AP0512Z Media"), true, false, true)},
        {QStringLiteral("OSInternal"), false},
        {QStringLiteral("Partitions"),
         QJsonArray{efiPartition(QStringLiteral("disk0s1"), 0x1, 0x65),
                    QJsonObject{{QStringLiteral("Content"), QStringLiteral("Apple_APFS")},
                                {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk0s2")},
                                {QStringLiteral("DiskUUID"), uuid(0x2)},
                                {QStringLiteral("Size"), containerSize}}}},
        {QStringLiteral("Size"), internalSize},
    };

    QJsonObject containerDevice = device(QStringLiteral("Apple Fabric"), QString(),
                                         QStringLiteral("AppleAPFSMedia"), true, false, true);
    containerDevice.insert(QStringLiteral("VirtualOrPhysical"), QStringLiteral("Virtual"));
    QJsonObject systemVolume{
        {QStringLiteral("CapacityInUse"), qint64(11'199'324'160)},
        {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk3s1")},
        {QStringLiteral("DiskUUID"), uuid(0x3)},
        {QStringLiteral("Info"),
         fileSystem(QStringLiteral("apfs"), QStringLiteral("APFS"), 274'120'347'648, false)},
        {QStringLiteral("MountPoint"), QStringLiteral("/")},
        {QStringLiteral("MountedSnapshots"),
         QJsonArray{QJsonObject{
             {QStringLiteral("Sealed"), QStringLiteral("Yes")},
             {QStringLiteral("SnapshotBSD"), QStringLiteral("disk3s1s1")},
             {QStringLiteral("SnapshotMountPoint"), QStringLiteral("/")},
             {QStringLiteral("SnapshotName"), QStringLiteral("com.apple.os.update-2E1E8F")},
             {QStringLiteral("SnapshotUUID"), uuid(0x4)}}}},
        {QStringLiteral("OSInternal"), false},
        {QStringLiteral("Size"), containerSize},
        {QStringLiteral("VolumeName"), QStringLiteral("Macintosh HD")},
        {QStringLiteral("VolumeUUID"), uuid(0x5)},
    };
    QJsonObject dataVolume{
        {QStringLiteral("CapacityInUse"), qint64(214'748'364'800)},
        {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk3s5")},
        {QStringLiteral("DiskUUID"), uuid(0x6)},
        {QStringLiteral("Info"),
         fileSystem(QStringLiteral("apfs"), QStringLiteral("APFS"), 274'120'347'648, true)},
        {QStringLiteral("MountPoint"), QStringLiteral("/System/Volumes/Data")},
        {QStringLiteral("OSInternal"), false},
        {QStringLiteral("Size"), containerSize},
        {QStringLiteral("VolumeName"), QStringLiteral("Macintosh HD - Data")},
        {QStringLiteral("VolumeUUID"), uuid(0x7)},
    };
    QJsonObject container{
        {QStringLiteral("APFSPhysicalStores"),
         QJsonArray{QJsonObject{{QStringLiteral("DeviceIdentifier"), QStringLiteral("disk0s2")}}}},
        {QStringLiteral("APFSVolumes"), QJsonArray{systemVolume, dataVolume}},
        {QStringLiteral("Content"), QStringLiteral("EF57347C-0000-11AA-AA11-00306543ECAC")},
        {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk3")},
        {QStringLiteral("Info"), containerDevice},
        {QStringLiteral("OSInternal"), false},
        {QStringLiteral("Partitions"), QJsonArray()},
        {QStringLiteral("Size"), containerSize},
    };

    QJsonObject stick{
        {QStringLiteral("Content"), gpt},
        {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk4")},
        {QStringLiteral("Info"),
         device(QStringLiteral("USB"), QStringLiteral("Ultra Fit"),
                QStringLiteral("SanDisk Ultra Fit Media"), false, true, false)},
        {QStringLiteral("OSInternal"), false},
        {QStringLiteral("Partitions"),
         QJsonArray{
             efiPartition(QStringLiteral("disk4s1"), 0x8, 0x6C),
             QJsonObject{
                 {QStringLiteral("Content"), QStringLiteral("Apple_HFS")},
                 {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk4s2")},
                 {QStringLiteral("DiskUUID"), uuid(0x9)},
                 {QStringLiteral("Info"),
                  fileSystem(QStringLiteral("hfs"), QStringLiteral("Mac OS Extended (Journaled)"),
                             30'590'000'000, true)},
                 {QStringLiteral("MountPoint"), QStringLiteral("/Volumes/UNTITLED")},
                 {QStringLiteral("Size"), qint64(30'660'362'240)},
                 {QStringLiteral("VolumeName"), QStringLiteral("UNTITLED")},
                 {QStringLiteral("VolumeUUID"), uuid(0x6D)},
             }}},
        {QStringLiteral("Size"), qint64(31'004'295'168)},
    };

    // Left attached by an earlier run: looks removable and external, only the bus tells.
    const QString imageMedia = QStringLiteral("Apple UDIF read-only compressed (zlib)");
    QJsonObject image{
        {QStringLiteral("Content"), gpt},
        {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk5")},
        {QStringLiteral("Info"), device(QStringLiteral("Disk Image"), imageMedia,
                                        imageMedia + QStringLiteral(" Media"), false, true, false)},
        {QStringLiteral("OSInternal"), false},
        {QStringLiteral("Partitions"),
         QJsonArray{QJsonObject{
             {QStringLiteral("Content"), QStringLiteral("Apple_HFS")},
             {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk5s1")},
             {QStringLiteral("DiskUUID"), uuid(0xA)},
             {QStringLiteral("Info"),
              fileSystem(QStringLiteral("hfs"), QStringLiteral("Mac OS Extended"), 0, false)},
             {QStringLiteral("MountPoint"), QStringLiteral("/Volumes/Shared Support")},
             {QStringLiteral("Size"), qint64(13'958'582'272)},
             {QStringLiteral("VolumeName"), QStringLiteral("Shared Support")},
             {QStringLiteral("VolumeUUID"), uuid(0x6E)},
         }}},
        {QStringLiteral("Size"), qint64(13'958'643'712)},
        {QStringLiteral("Standin"),
         QJsonObject{{QStringLiteral("ImagePath"),
                      QStringLiteral("/Applications/Install macOS Sequoia.app/Contents/"
                                     "SharedSupport/SharedSupport.dmg")}}},
    };

    // A card in the built-in reader: internal, yet removable media that ejects.
    QJsonObject cardDevice = device(QStringLiteral("Secure Digital"), QStringLiteral("SDXC Reader"),
                                    QStringLiteral("SDXC Reader Media"), true, true, false);
    cardDevice.insert(QStringLiteral("Ejectable"), true);
    cardDevice.insert(QStringLiteral("EjectableOnly"), true);
    cardDevice.insert(QStringLiteral("RemovableMediaOrExternalDevice"), true);
    cardDevice.insert(QStringLiteral("SMARTStatus"), QStringLiteral("Not Supported"));
    QJsonObject card{
        {QStringLiteral("Content"), QStringLiteral("FDisk_partition_scheme")},
        {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk6")},
        {QStringLiteral("Info"), cardDevice},
        {QStringLiteral("OSInternal"), false},
        {QStringLiteral("Partitions"),
         QJsonArray{QJsonObject{
             // exFAT in an MBR map shows as Windows_NTFS; MBR partitions have no DiskUUID.
             {QStringLiteral("Content"), QStringLiteral("Windows_NTFS")},
             {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk6s1")},
             {QStringLiteral("Info"),
              fileSystem(QStringLiteral("exfat"), QStringLiteral("ExFAT"), 41'273'524'224, true)},
             {QStringLiteral("MountPoint"), QStringLiteral("/Volumes/SDCARD")},
             {QStringLiteral("Size"), qint64(63'864'438'784)},
             {QStringLiteral("VolumeName"), QStringLiteral("SDCARD")},
             {QStringLiteral("VolumeUUID"), uuid(0x6F)},
         }}},
        {QStringLiteral("Size"), qint64(63'864'569'856)},
    };

    // External but fixed media: only the bus says it is not a disk inside the Mac.
    QJsonObject ssdDevice = device(QStringLiteral("USB"), QStringLiteral("PSSD T7"),
                                   QStringLiteral("Samsung PSSD T7 Media"), false, false, true);
    ssdDevice.insert(QStringLiteral("EjectableOnly"), false);
    QJsonObject ssd{
        {QStringLiteral("Content"), gpt},
        {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk7")},
        {QStringLiteral("Info"), ssdDevice},
        {QStringLiteral("OSInternal"), false},
        {QStringLiteral("Partitions"),
         QJsonArray{
             efiPartition(QStringLiteral("disk7s1"), 0xB, 0x70),
             QJsonObject{
                 {QStringLiteral("Content"), QStringLiteral("Apple_HFS")},
                 {QStringLiteral("DeviceIdentifier"), QStringLiteral("disk7s2")},
                 {QStringLiteral("DiskUUID"), uuid(0xC)},
                 {QStringLiteral("Info"),
                  fileSystem(QStringLiteral("hfs"), QStringLiteral("Mac OS Extended (Journaled)"),
                             612'374'306'816, true)},
                 {QStringLiteral("MountPoint"), QStringLiteral("/Volumes/Backup")},
                 {QStringLiteral("Size"), qint64(999'995'129'856)},
                 {QStringLiteral("VolumeName"), QStringLiteral("Backup")},
                 {QStringLiteral("VolumeUUID"), uuid(0x71)},
             }}},
        {QStringLiteral("Size"), qint64(1'000'204'886'016)},
    };

    return {internal, container, stick, image, card, ssd};
}

void writeState(const World &world, const QString &name, const QJsonObject &state)
{
    QString error;
    if (!world.writeState(name, state, &error))
        throw Failure{error};
}

} // namespace

QString makeWorld(const QString &folder, const QString &program, const WorldOptions &options)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return QStringLiteral("%1 is not a folder").arg(folder);
    if (info.exists() && !QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot |
                                               QDir::Hidden | QDir::System))
        return QStringLiteral("%1 is not empty; a stand-in Mac is only made in an empty or new "
                              "folder")
            .arg(folder);

    try {
        makeFolder(folder);
        const World world(folder);
        const QString root = world.root();

        // The installers note their images in the state folder.
        makeFolder(world.stateFolder());
        makeFolder(root + QStringLiteral("/Applications"));
        for (const InstallerBundle &bundle : installers())
            makeInstaller(world, bundle, program, options.payloadSize);
        if (options.unsignedInstaller)
            makeUnsignedInstaller(world, program, options.payloadSize);
        makeDemoPackage(root, options.payloadSize);
        makeVolumes(root);
        makeTools(root, program);

        makeFolder(root + QStringLiteral("/tmp"));
        makeFolder(root + QStringLiteral("/Desktop"));
        makeFolder(root + QStringLiteral("/etc"));
        writeFile(root + QStringLiteral("/etc/computer-name"), "Demo Mac\n");

        writeState(world, QStringLiteral("disks"),
                   QJsonObject{{QStringLiteral("disks"), initialDisks()}});
        writeState(world, QStringLiteral("protection"),
                   QJsonObject{{QStringLiteral("status"),
                                World::protectionName(World::Protection::Enabled)}});
        writeState(world, QStringLiteral("admin"),
                   QJsonObject{{QStringLiteral("password"), QStringLiteral("tessaline")},
                               {QStringLiteral("prompt"),
                                World::adminPromptName(World::AdminPrompt::Grant)}});
        writeState(world, QStringLiteral("catalogue"), initialCatalogue(options.payloadSize));
        writeState(world, QStringLiteral("space"),
                   QJsonObject{{QStringLiteral("freeBytes"), qint64(214'748'364'800)}});
    } catch (const Failure &failure) {
        return failure.message;
    }
    return {};
}
