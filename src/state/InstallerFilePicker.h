#pragma once

#include <QUrl>

#include <optional>

// Asks the user for one installer application or package (types "app" and "pkg", starting in the
// Applications folder). The window provides the real dialog; tests provide their own answers.
class InstallerFilePicker {
public:
    virtual ~InstallerFilePicker() = default;
    // Nothing when the user cancels.
    virtual std::optional<QUrl> pickInstallerOrPackage() = 0;
};
