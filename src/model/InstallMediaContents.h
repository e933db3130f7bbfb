#pragma once

#include <QString>

#include <optional>

// What makes a volume install media: an application bundle at its top ("Install macOS
// Sequoia.app", "Install OS X El Capitan.app" or whatever the copied bundle was called) with its
// Info.plist. The application's path, or nothing when the folder holds none.
std::optional<QString> installerApplicationIn(const QString &volumeFolder);
