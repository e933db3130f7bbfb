#pragma once

#include <QIcon>

// What the interface shows for an installer: its own icon, or a generic application picture in
// grey when the installer has none and the desktop has no picture for its bundle either, so no
// row or pane shows an empty square.
QIcon installerPicture(const QIcon &installerIcon);
