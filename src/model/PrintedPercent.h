#pragma once

#include <QString>

#include <optional>

// A percentage as createinstallmedia prints it ("40%"): the number, and the whole-number text
// the program shows for it.
struct PrintedPercent {
    double value;
    // The value cut to a whole number; a number too large for a 64-bit integer (which the tool
    // never prints) shows its printed digits instead of an undefined conversion.
    QString wholeText;
};

// The first digits followed by "%" in `text`, or the last one.
std::optional<PrintedPercent> firstPrintedPercent(const QString &text);
std::optional<PrintedPercent> lastPrintedPercent(const QString &text);
