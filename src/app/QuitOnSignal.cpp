#include "QuitOnSignal.h"

#include "exec/TerminationSignals.h"

#include <QCoreApplication>

void quitApplicationOnSignals()
{
    // Leaves every running loop, a modal dialog's included: quit() would first ask the windows
    // to close, which an open alert refuses, and the signal would go unheard.
    handleTerminationSignals([](int) { QCoreApplication::exit(0); });
}
