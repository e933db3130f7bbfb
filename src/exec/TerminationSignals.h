#pragma once

#include <functional>

// Calls `handler` on the main thread's event loop, with the signal's number, each time the process
// gets an interrupt, termination or hang-up signal (Control-C in the terminal, a plain `kill`, the
// terminal going away). The signal itself only wakes the loop: nothing but that happens inside it.
// Called once, on the main thread, once the application object exists.
void handleTerminationSignals(std::function<void(int signal)> handler);
