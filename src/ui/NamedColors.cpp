#include "ui/NamedColors.h"

#include <algorithm>

namespace NamedColors {

// Qt 6.4 has no accent role; the selection colour is what the desktop themes set to their accent.
QColor accent(const QPalette &palette)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    return palette.color(QPalette::Accent);
#else
    return palette.color(QPalette::Highlight);
#endif
}

QColor primaryText(const QPalette &palette)
{
    return palette.color(QPalette::WindowText);
}

// The desktop's secondary label colour is its label colour at half strength. Deriving it from the
// text colour keeps the two together in themes that set the text colour but not the placeholder
// colour.
QColor secondaryText(const QPalette &palette)
{
    return withOpacity(primaryText(palette), 0.5);
}

QColor controlBackground(const QPalette &palette)
{
    return palette.color(QPalette::Button);
}

QColor windowBackground(const QPalette &palette)
{
    return palette.color(QPalette::Window);
}

QColor gray()
{
    return QColor(0x8E, 0x8E, 0x93);
}

QColor blue()
{
    return QColor(0x00, 0x7A, 0xFF);
}

QColor green()
{
    return QColor(0x34, 0xC7, 0x59);
}

QColor orange()
{
    return QColor(0xFF, 0x95, 0x00);
}

QColor red()
{
    return QColor(0xFF, 0x3B, 0x30);
}

QColor yellow()
{
    return QColor(0xFF, 0xCC, 0x00);
}

QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(color.alphaF() * std::clamp(opacity, 0.0, 1.0)));
    return color;
}

} // namespace NamedColors
