#pragma once

#include <QString>

#include <functional>

class AppState;
class MainWindow;
class QPalette;
class QWidget;

// The main window's main states, set one after another on a window over a stand-in world: the
// screenshot program takes a picture of each, the language test reads the texts of each.
// `visit` gets the widget that shows the state (the window, an alert, a sheet) and a name for it.
using StateVisit = std::function<void(QWidget &shown, const QString &name)>;

// After the window is first shown: waits for its scan and for the disk list it asks for.
void waitUntilListed(AppState &state);

// Empty, installers and disks, each progress overlay, the terminal, success and failure; every
// name starts with `prefix`.
void visitWindowStates(AppState &state, MainWindow &window, const QString &prefix,
                       const StateVisit &visit);
// A two-button and a one-button alert.
void visitAlerts(AppState &state, MainWindow &window, const StateVisit &visit);
// The Download an Installer sheet while asking, listing and failing; then the download overlay.
void visitDownloads(AppState &state, MainWindow &window, const StateVisit &visit);

QPalette darkPalette();
