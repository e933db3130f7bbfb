// Writes pictures of the main window in its main states into the folder given as argument, on a
// stand-in Mac made for the run: script/screenshots builds and runs it.

#include "MainWindow.h"
#include "WindowStates.h"
#include "host/UserLanguage.h"
#include "state/AppState.h"
#include "support/StandInWorld.h"
#include "ui/ContentView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace std::chrono_literals;

namespace {

QString folder;
int failures = 0;

void settle()
{
    QTest::qWait(150);
}

void save(QWidget &widget, const QString &name)
{
    settle();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (widget.grab().save(path)) {
        std::printf("%s\n", qPrintable(path));
    } else {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        ++failures;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Tessaline"));
    application.setWindowIcon(QIcon(QStringLiteral(":/app/tessaline-256.png")));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    // In the user's language, as the application starts: LANGUAGE=de script/screenshots DIR.
    installUserLanguage();
    const StandInWorld world({.payloadSize = StandInWorld::asShipped});
    if (!world.isValid()) {
        std::fprintf(stderr, "could not make a stand-in Mac with %s\n",
                     qPrintable(qEnvironmentVariable("TESSALINE_STANDIN")));
        return 1;
    }
    Timing timing;
    timing.startupRefreshDelay = 1h; // the pictures are of states set here, not of timers
    Timing::setCurrent(timing);

    AppState state;
    MainWindow window(state);
    window.show();
    waitUntilListed(state);

    visitWindowStates(state, window, QString(), save);
    visitAlerts(state, window, save);
    visitDownloads(state, window, save);

    state.selectedInstaller = state.installers().value(0);
    window.content()->toggleSidebar();
    save(window, QStringLiteral("14-sidebar-collapsed"));
    window.content()->toggleSidebar();

    // The dialog of "Add": shot and closed from inside its own event loop.
    QTimer::singleShot(500, [] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            save(*dialog, QStringLiteral("15-add-installer-dialog"));
            dialog->close();
        }
    });
    window.content()->addAction()->trigger();

    QApplication::setPalette(darkPalette());
    visitWindowStates(state, window, QStringLiteral("dark-"), save);
    return failures == 0 ? 0 : 1;
}
