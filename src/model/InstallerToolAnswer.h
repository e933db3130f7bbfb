#pragma once

#include <QString>

#include <optional>

// What the package installation tells the user of the installer tool's answer, as the
// administrator prompt hands it back: nothing when the tool succeeded (status 0), otherwise the
// failure with the tool's own words ("installer: The install failed. (…)", or the prompt's error).
std::optional<QString> packageInstallationFailure(int status, const QString &output);
