#pragma once

#include <QColor>
#include <QPalette>

// The desktop's named colours, taken from the current palette so that a dark theme looks right,
// and the plain named colours with the values the desktop uses for them.
namespace NamedColors {

QColor accent(const QPalette &palette);
QColor primaryText(const QPalette &palette);
QColor secondaryText(const QPalette &palette);
QColor controlBackground(const QPalette &palette);
QColor windowBackground(const QPalette &palette);

QColor gray();
QColor blue();
QColor green();
QColor orange();
QColor red();
QColor yellow();

// `color` at `opacity` (0 to 1) of its own alpha.
QColor withOpacity(QColor color, double opacity);

} // namespace NamedColors
