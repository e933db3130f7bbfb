#pragma once

#include <QString>

#include <optional>

// The installer application createinstallmedia makes media from, as far as the tool cares: its
// name, how big it is, and which generation of the tool it carries (the wording of the progress
// changed twice).
namespace CreateInstallMedia {

enum class Era {
    // Big Sur and later.
    Modern,
    // Sierra to Catalina.
    Classic,
    // El Capitan and earlier, still "OS X".
    OsX,
};

struct Installer {
    // Host path of the ".app" folder.
    QString bundlePath;
    // What the media is named after: "Install macOS Sequoia".
    QString name;
    Era era = Era::Modern;
    qint64 size = 0;
};

// The ".app" folder a path inside a bundle lies in, or empty. Links are not resolved: the tool is
// a link, and only where the link sits says which installer it belongs to.
QString bundleContaining(const QString &path);

// nullopt when `bundlePath` is no application with a readable Info.plist.
std::optional<Installer> readInstaller(const QString &bundlePath);

QString eraName(Era era);

} // namespace CreateInstallMedia
