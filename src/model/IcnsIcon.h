#pragma once

#include <QIcon>
#include <QString>

#include <optional>

// The icon in the Apple icon file at `path`, decoded as ICNS and nothing else: the file comes from
// an installer bundle, and letting an image plugin guess its format would hand any decoder it
// likes. Nothing when it is not a readable ICNS file. Safe on any thread: the pictures are decoded
// here and only turned into pixmaps when first drawn, on the interface thread.
std::optional<QIcon> readIcnsIcon(const QString &path);
