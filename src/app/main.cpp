#include "QuitOnSignal.h"
#include "host/HostSelection.h"
#include "model/Diagnostics.h"
#include "state/AppState.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Tessaline"));
    application.setOrganizationDomain(QStringLiteral("quorvale.com"));
    quitApplicationOnSignals();

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
    QMainWindow window;
    window.setWindowTitle(state.windowTitle());
    QObject::connect(&state, &AppState::windowTitleChanged, &window, &QWidget::setWindowTitle);
    window.resize(900, 600);
    window.show();
    return application.exec();
}
