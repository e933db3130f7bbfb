#pragma once

// The margin around the content of the main view's panes, as macOS lays out a window's content.
constexpr int standardMargin = 16;
