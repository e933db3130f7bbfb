#pragma once

#include <QStringView>

#include <optional>

// A whole signed decimal number and nothing else: an optional "+" or "-" and one or more ASCII
// digits, fitting in 64 bits. No spaces, no other characters.
std::optional<qint64> parseWholeNumber(QStringView text);
