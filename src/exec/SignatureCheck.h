#pragma once

#include "model/CodeSignature.h"

#include <QString>

// Asks the host's codesign whether the bundle at `bundlePath` is sealed and signed by Apple.
// Runs on the calling background thread and may take minutes for a large bundle; a check that
// cannot be run or does not finish in time refuses the bundle.
CodeSignature verifyAppleSignature(const QString &bundlePath);
