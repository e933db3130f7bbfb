// softwareupdate: Apple's update tool, as far as full installers go. --list-full-installers lists
// what Apple's servers offer the Mac; --fetch-full-installer [--full-installer-version V]
// downloads one (without a version, the newest that is not deferred) and installs it as
// /Applications/Install macOS NAME.app, over any copy that is there already. The tool's other
// commands are not played.
//
// Its state: var/standin/catalogue.json (see WorldMaker.cpp) holds the Mac's own version, which
// decides the options the tool has and the columns it lists, the installers on offer with the
// package each download brings, and how a download goes wrong; var/standin/space.json the free
// space of the startup volume, which a download has to fit in. Every run appends its argv as one
// JSON array line to var/standin/softwareupdate.log:
//   ["softwareupdate", "--fetch-full-installer", "--full-installer-version", "15.3.1"]
//
// A download redraws "Installing: N.0%" in place, but only when standard output is a terminal:
// through a pipe nothing comes until the verdict. Past 90% the package is installing, and the
// bundle is in /Applications half made (Contents/Info.plist only) until it is finished at 100%.
// The ending signals keep their default action, so a run ended late leaves that half bundle
// behind, as a real interrupted install may, and one ended earlier leaves nothing.
#include "Plist.h"
#include "World.h"
#include "tools/Package.h"
#include "tools/PackageToolSupport.h"
#include "tools/Tools.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QVersionNumber>

#include <unistd.h>

#include <algorithm>
#include <optional>

namespace {

using ToolSupport::writeErr;
using ToolSupport::writeOut;

// The listing came with Big Sur; Catalina could only fetch.
const QVersionNumber listingSince(11, 0);
const QVersionNumber fetchingSince(10, 15);

// One run's pace: the whole download takes about eight seconds.
constexpr int scanMilliseconds = 500;
constexpr int stepMilliseconds = 75;
// Up to here the package is downloading; after it, installing into /Applications.
constexpr int downloadedAt = 90;

struct Offer {
    QString title;
    QString version;
    QString build;
    QString productKey;
    qint64 sizeKiB = 0;
    bool deferred = false;
    std::optional<Package::Manifest> package;
};

struct Catalogue {
    QVersionNumber macOS;
    QString failure;
    QList<Offer> offers;
};

Catalogue readCatalogue(const World &world)
{
    const QJsonObject state = world.readState(QStringLiteral("catalogue"));
    Catalogue catalogue;
    catalogue.macOS = QVersionNumber::fromString(state.value(u"macOS").toString());
    // A Mac that does not say is a current one.
    if (catalogue.macOS.isNull())
        catalogue.macOS = QVersionNumber(15, 3);
    catalogue.failure = state.value(u"failure").toString();
    for (const QJsonValue &value : state.value(u"installers").toArray()) {
        const QJsonObject entry = value.toObject();
        catalogue.offers.append(
            {entry.value(u"title").toString(), entry.value(u"version").toString(),
             entry.value(u"build").toString(), entry.value(u"productKey").toString(),
             static_cast<qint64>(entry.value(u"sizeKiB").toDouble()),
             entry.value(u"deferred").toBool(),
             Package::fromJsonObject(entry.value(u"package").toObject())});
    }
    return catalogue;
}

// The real tool's help, cut down to the commands around full installers and to the ones the Mac's
// version has.
int usage(const QVersionNumber &macOS, const QByteArray &complaint = {})
{
    QByteArray text = complaint.isEmpty() ? QByteArray() : "softwareupdate: " + complaint + '\n';
    text += "usage: softwareupdate <cmd> [<args> ...]\n"
            "\n"
            "** Manage Updates:\n"
            "\t-l | --list\t\tList all appropriate update labels (options:  --no-scan, "
            "--product-types)\n"
            "\t-d | --download\t\tDownload Only\n"
            "\t-i | --install\t\tInstall\n"
            "\t\t<label> ...\tspecific updates\n"
            "\t\t-a | --all\t\tAll appropriate updates\n";
    if (macOS >= listingSince)
        text += "\t--list-full-installers\t\tList the available macOS Installers\n";
    if (macOS >= fetchingSince)
        text += "\t--fetch-full-installer\t\tInstall the latest recommended macOS Installer\n"
                "\t\t--full-installer-version\tThe version of macOS to install. Ex: "
                "--full-installer-version 10.15\n";
    text += "\n"
            "** Other Tools:\n"
            "\t--history\t\tShow the install history.\n"
            "\n"
            "** Options:\n"
            "\t--verbose\t\tEnable verbose output\n"
            "\t--help\t\t\tPrint this help\n";
    writeErr(text);
    return 1;
}

// One row of the listing, in the columns of the Mac's version: Big Sur gave the size in bytes
// labelled "K", Monterey and Ventura in KiB with the build; Deferred came later. Monterey's form
// and Sonoma being the first with Deferred are assumed.
QByteArray listingRow(const QVersionNumber &macOS, const Offer &offer)
{
    QString row =
        QStringLiteral("* Title: %1, Version: %2, Size: ").arg(offer.title, offer.version);
    if (macOS < QVersionNumber(12))
        return (row + QString::number(offer.sizeKiB * 1024) + QStringLiteral("K\n")).toUtf8();
    row += QString::number(offer.sizeKiB) + QStringLiteral("KiB, Build: ") + offer.build;
    if (macOS >= QVersionNumber(14))
        row +=
            offer.deferred ? QStringLiteral(", Deferred: YES") : QStringLiteral(", Deferred: NO");
    return (row + u'\n').toUtf8();
}

int listFullInstallers(const Catalogue &catalogue)
{
    writeOut("Finding available software\n");
    ToolSupport::pause(scanMilliseconds);
    if (catalogue.failure == QLatin1String("network")) {
        // Assumed wording: no capture shows a listing without a network.
        writeErr("Software Update can’t connect to the update server.\n");
        return 1;
    }
    // Assumed: with nothing on offer the tool has no list to announce and ends there.
    if (catalogue.offers.isEmpty())
        return 0;
    QByteArray text = "Software Update found the following full installers:\n";
    for (const Offer &offer : catalogue.offers)
        text += listingRow(catalogue.macOS, offer);
    writeOut(text);
    return 0;
}

// The installer asked for; without a version, the newest that may be downloaded.
const Offer *chosenOffer(const Catalogue &catalogue, const std::optional<QString> &version)
{
    const Offer *chosen = nullptr;
    for (const Offer &offer : catalogue.offers) {
        if (version && offer.version == *version)
            return &offer;
        if (!version && !offer.deferred &&
            (!chosen || QVersionNumber::fromString(offer.version) >
                            QVersionNumber::fromString(chosen->version)))
            chosen = &offer;
    }
    return chosen;
}

void removeBundle(const QString &path)
{
    const QFileInfo existing(path);
    if (existing.isSymLink() || existing.isFile())
        QFile::remove(path);
    else if (existing.isDir())
        QDir(path).removeRecursively();
}

// The package's payload starts going in: the bundle in its place, only its Info.plist so far.
void beginInstalling(const QString &appPath, const Package::Manifest &manifest)
{
    removeBundle(appPath);
    const QString contents = appPath + QStringLiteral("/Contents");
    QDir().mkpath(contents);
    QFile info(contents + QStringLiteral("/Info.plist"));
    if (info.open(QIODevice::WriteOnly))
        info.write(Plist::fromJson(manifest.infoPlist, manifest.infoPlistFormat));
}

QByteArray scriptFailure(const Offer &offer)
{
    const QString message =
        QStringLiteral("An error occurred while running scripts from the package "
                       "“InstallAssistant.pkg”.");
    QString identifier = offer.title;
    identifier.remove(u' ');
    return QStringLiteral(
               "Install failed with error: %1\n"
               "Error Domain=PKInstallErrorDomain Code=112 \"%1\" UserInfo={SUErrorUpdateTitle=%2, "
               "NSURL=file:///Library/Updates/%3/InstallAssistant.pkg, "
               "PKInstallPackageIdentifier=com.apple.pkg.InstallAssistant.%4, "
               "NSLocalizedDescription=%1, SUErrorRelatedCode=SUErrorCodeInstallFailure, "
               "NSFilePath=./postinstall.sh, SUErrorUpdateProductKey=%3}\n")
        .arg(message, offer.title, offer.productKey, identifier)
        .toUtf8();
}

// Assumed in its details: captures show a dropped download only as far as its first line.
QByteArray networkFailure(const Offer &offer)
{
    const QString message = QStringLiteral("The network connection was lost.");
    const QString url = QStringLiteral("https://swcdn.apple.com/content/downloads/%1/"
                                       "InstallAssistant.pkg")
                            .arg(offer.productKey);
    return QStringLiteral("Install failed with error: %1\n"
                          "Error Domain=NSURLErrorDomain Code=-1005 \"%1\" "
                          "UserInfo={_kCFStreamErrorCodeKey=-4, NSErrorFailingURLStringKey=%2, "
                          "NSErrorFailingURLKey=%2, SUErrorUpdateTitle=%3, "
                          "_kCFStreamErrorDomainKey=4, NSLocalizedDescription=%1, "
                          "SUErrorUpdateProductKey=%4}\n")
        .arg(message, url, offer.title, offer.productKey)
        .toUtf8();
}

int fetchFullInstaller(const World &world, const Catalogue &catalogue,
                       const std::optional<QString> &version)
{
    const Offer *offer = chosenOffer(catalogue, version);
    // Assumed: asked for no version, the tool names the one it settled on.
    const QString scanned = version ? *version : offer ? offer->version : QString();
    writeOut(scanned.isEmpty() ? QByteArray("Scanning for installer\n")
                               : "Scanning for " + scanned.toUtf8() + " installer\n");
    ToolSupport::pause(scanMilliseconds);
    // A deferred installer is listed but cannot be had, and says so as an unknown one does.
    if (!offer || offer->deferred || catalogue.failure == QLatin1String("not-found")) {
        writeOut("Install failed with error: Update not found\n");
        return 1;
    }
    if (!offer->package) {
        writeErr("softwareupdate: catalogue.json offers " + offer->version.toUtf8() +
                 " without a stand-in package to install\n");
        return 1;
    }
    const std::optional<qint64> freeSpace = world.startupFreeSpace();
    if (catalogue.failure == QLatin1String("no-space") ||
        (freeSpace && offer->sizeKiB * 1024 > *freeSpace)) {
        // Assumed wording.
        writeOut("Install failed with error: Not enough free disk space to download " +
                 offer->title.toUtf8() + ".\n");
        return 1;
    }

    const bool terminal = ::isatty(STDOUT_FILENO) == 1;
    const int stopsAt = catalogue.failure == QLatin1String("network")  ? 40
                        : catalogue.failure == QLatin1String("script") ? 95
                                                                       : 100;
    const QString applications = world.hostPath(QStringLiteral("/Applications"));
    const QString appPath = applications + u'/' + offer->package->application;
    for (int percent = 0; percent <= stopsAt; ++percent) {
        if (percent > 0)
            ToolSupport::pause(stepMilliseconds);
        if (percent == downloadedAt + 1)
            beginInstalling(appPath, *offer->package);
        if (terminal)
            writeOut((percent == 0 ? QByteArray() : QByteArray("\r")) +
                     "Installing: " + QByteArray::number(percent) + ".0%");
    }
    // The progress line is wiped before the verdict.
    if (terminal)
        writeOut("\r\x1b[K");

    if (catalogue.failure == QLatin1String("network")) {
        writeOut(networkFailure(*offer));
        return 1;
    }
    if (catalogue.failure == QLatin1String("script")) {
        writeOut(scriptFailure(*offer));
        return 1;
    }
    QString error;
    if (!Package::install(world, *offer->package, applications,
                          QCoreApplication::applicationFilePath(), &error)) {
        writeOut(scriptFailure(*offer));
        writeErr("softwareupdate: " + error.toUtf8() + '\n');
        return 1;
    }
    writeOut("Install finished successfully\n");
    return 0;
}

// Commands of the real tool this stand-in does not play.
bool isUnplayedCommand(const QString &arg)
{
    static const QStringList commands{QStringLiteral("-l"),
                                      QStringLiteral("--list"),
                                      QStringLiteral("-d"),
                                      QStringLiteral("--download"),
                                      QStringLiteral("-i"),
                                      QStringLiteral("--install"),
                                      QStringLiteral("-a"),
                                      QStringLiteral("--all"),
                                      QStringLiteral("--history"),
                                      QStringLiteral("--help"),
                                      QStringLiteral("--install-rosetta")};
    return commands.contains(arg);
}

} // namespace

int runSoftwareupdate(const World &world, const QStringList &args)
{
    ToolSupport::logArguments(world, QStringLiteral("softwareupdate.log"),
                              QStringList{QStringLiteral("softwareupdate")} + args);
    const Catalogue catalogue = readCatalogue(world);
    const QVersionNumber &macOS = catalogue.macOS;

    bool list = false;
    bool fetch = false;
    std::optional<QString> version;
    const QString versionOption = QStringLiteral("--full-installer-version");
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--list-full-installers") && macOS >= listingSince) {
            list = true;
        } else if (arg == QLatin1String("--fetch-full-installer") && macOS >= fetchingSince) {
            fetch = true;
        } else if (arg.startsWith(versionOption + u'=') && macOS >= fetchingSince) {
            version = arg.mid(versionOption.size() + 1);
        } else if (arg == versionOption && macOS >= fetchingSince) {
            if (i + 1 == args.size())
                return usage(macOS, "option '" + versionOption.toUtf8() + "' requires an argument");
            version = args.at(++i);
        } else if (isUnplayedCommand(arg)) {
            return Tools::notAvailable(QStringLiteral("softwareupdate ") + arg);
        } else if (arg.startsWith(QLatin1String("--"))) {
            // Assumed wording, getopt_long's for an option the tool does not know; on a Mac too
            // old for them the full-installer options get it as well.
            return usage(macOS, "unrecognized option '" + arg.toUtf8() + '\'');
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return usage(macOS, "invalid option -- '" + arg.mid(1, 1).toUtf8() + '\'');
        } else {
            return usage(macOS);
        }
    }
    if (list == fetch || (version && !fetch))
        return usage(macOS);
    return list ? listFullInstallers(catalogue) : fetchFullInstaller(world, catalogue, version);
}
