#pragma once

#include <QString>

// `text` as an AppleScript string literal: in double quotes, with every backslash and double
// quote escaped, so the script reads back exactly `text` whatever it holds.
QString appleScriptString(const QString &text);
