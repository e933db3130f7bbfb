#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

// The interface's symbols, by the names of the macOS system symbol set ("externaldrive.fill",
// "eject.fill"). They are drawn from the project's own set of SVG pictures (src/ui/symbols), in
// `color`, or in the palette's text colour when none is given, so they follow a dark theme.
QIcon symbolIcon(const QString &name, const QColor &color = QColor());

// Whether the set has a picture for `name`; every symbol the interface uses must have one.
bool hasSymbol(const QString &name);
