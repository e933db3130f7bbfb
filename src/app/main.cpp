#include "MainWindow.h"
#include "QuitOnSignal.h"
#include "exec/HostSelection.h"
#include "exec/JobThreads.h"
#include "host/UserLanguage.h"
#include "model/Diagnostics.h"
#include "model/Timing.h"
#include "state/AppState.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Tessaline"));
    application.setOrganizationDomain(QStringLiteral("quorvale.com"));
    application.setDesktopFileName(QStringLiteral("tessaline"));
    application.setWindowIcon(QIcon(QStringLiteral(":/app/tessaline-256.png")));
    application.setQuitOnLastWindowClosed(true);
    quitApplicationOnSignals();
    installUserLanguage();

    // Lives until main() returns, so a demo world is removed when the application quits.
    const HostSelection selection = HostSelection::choose(QProcessEnvironment::systemEnvironment(),
                                                          QApplication::applicationDirPath() +
                                                              QStringLiteral("/tessaline-standin"));
    if (!selection.isValid()) {
        printDiagnostic(selection.error());
        return 1;
    }
    Host::setCurrent(selection.host());
    if (selection.host().isStandIn())
        printDiagnostic(QStringLiteral("Running on the stand-in Mac at ") +
                        selection.host().root());

    AppState state;
    MainWindow window(state);
    window.centreOnScreen();
    window.show();
    const int status = application.exec();
    // A job still running is stopped, its tools with it, before anything it uses goes away.
    if (!JobThreads::stopAll(Timing::current().quitJobLimit))
        printDiagnostic(QStringLiteral("A job did not stop in time; quitting anyway"));
    return status;
}
