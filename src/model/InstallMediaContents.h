#pragma once

#include <QString>

#include <optional>

// What makes a volume install media: an installer application at its top, "Install macOS
// Sequoia.app" or "Install OS X El Capitan.app", with its Info.plist. createinstallmedia puts the
// installer there under its own name on every macOS version, whatever the volume is called.
// The application's path, or nothing when the folder holds none.
std::optional<QString> installerApplicationIn(const QString &volumeFolder);
