#pragma once

#include "model/InstallMediaOutput.h"

#include <QString>

#include <optional>

// The message of a createinstallmedia run that failed. The runner's error text comes first: through
// the administrator prompt it is osascript's error line with the tool's error output inside
// ("0:312: execution error: TEXT (246)"), which is unwrapped, or the runner's own account of the
// prompt or a time-out. Otherwise the tool's own failure lines, and only without them `fallback`.
QString installMediaFailure(const InstallMediaOutput &output,
                            const std::optional<QString> &runnerError, const QString &fallback);

// What a cancelled createinstallmedia run left of the volume `volumeName`: untouched until the
// tool began erasing it, erased and incomplete from then on.
QString cancelledInstallMediaMessage(const InstallMediaOutput &output, const QString &volumeName);
