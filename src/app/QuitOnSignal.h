#pragma once

// Makes an interrupt or termination signal (Control-C in the terminal that started the
// application, or a plain `kill`) quit the event loop normally, so everything the application
// owns — the demo world above all — is cleaned up as on a normal quit.
void quitApplicationOnSignals();
