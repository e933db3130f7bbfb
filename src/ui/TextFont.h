#pragma once

#include <QFont>

// The application's font at a size in pixels and a weight, as the views set their text.
QFont textFont(int pixelSize, QFont::Weight weight = QFont::Normal);
