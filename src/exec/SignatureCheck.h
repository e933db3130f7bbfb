#pragma once

#include "model/CodeSignature.h"

#include <QString>

// Asks the host's codesign whether the bundle at `bundlePath` is sealed and signed by Apple.
// Runs on the calling background thread and may take minutes for a large bundle; a check that
// cannot be run or does not finish in time refuses the bundle. A signature whose certificate
// has expired is then shown with `codesign --display`, and kept only with Apple's own chain.
CodeSignature verifyAppleSignature(const QString &bundlePath);
