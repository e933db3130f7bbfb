// tessaline-cli: the window's jobs from a shell, for scripts and IT desks. It runs on the same
// state and engines as the window and finds macOS the same way: TESSALINE_HOST_ROOT names a
// stand-in Mac, and without it the real system is used, which only a Mac has.
#include "cli/CliRun.h"
#include "cli/CommandLine.h"
#include "cli/Terminal.h"
#include "exec/HostSelection.h"
#include "exec/JobThreads.h"
#include "exec/MainThread.h"
#include "exec/TerminationSignals.h"
#include "host/UserLanguage.h"
#include "model/Diagnostics.h"
#include "model/Timing.h"
#include "state/AppState.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

int printUsage(const QString &problem)
{
    Terminal::print(stderr,
                    QStringLiteral("tessaline-cli: ") + problem + u'\n' + CommandLine::usage());
    return CliRun::badInput;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Tessaline"));
    application.setOrganizationDomain(QStringLiteral("quorvale.com"));
    // Diagnostics are for standard error; standard output is what the command prints.
    routeDiagnosticsToStandardError();

    QStringList arguments = application.arguments();
    arguments.removeFirst();
    // What --json prints is read by programs, so it is the same on every Mac: English.
    if (!arguments.contains(QStringLiteral("--json")))
        installUserLanguage();
    if (arguments.value(0) == u"--help" || arguments.value(0) == u"help") {
        Terminal::print(stdout, CommandLine::usage());
        return 0;
    }
    const auto parsed = CommandLine::parse(arguments);
    if (const auto *problem = std::get_if<QString>(&parsed))
        return printUsage(*problem);

    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
#ifndef Q_OS_MACOS
    if (!environment.contains(QStringLiteral("TESSALINE_HOST_ROOT")))
        return printUsage(QCoreApplication::translate(
            "CommandLine", "this is not a Mac: set TESSALINE_HOST_ROOT to a stand-in Mac, made "
                           "with \"tessaline-standin make-world FOLDER\""));
#endif
    const HostSelection selection = HostSelection::choose(environment, QString());
    if (!selection.isValid())
        return printUsage(selection.error());
    Host::setCurrent(selection.host());

    // The pauses that let the window's overlays be read are no use here.
    Timing timing = Timing::current();
    timing.scanFinishDelay = Timing::Duration(0);
    timing.diskReselectionDelay = Timing::Duration(0);
    timing.startupRefreshDelay = std::chrono::hours(24);
    timing.scanFailureDelay = Timing::Duration(0);
    Timing::setCurrent(timing);

    AppState state;
    CliRun run(std::get<CommandLine>(parsed), state);
    handleTerminationSignals([&run](int) { run.interrupt(); });
    runOnMainThread(&run, [&run] { run.start(); });
    const int status = application.exec();
    if (!JobThreads::stopAll(Timing::current().quitJobLimit))
        printDiagnostic(QStringLiteral("A job did not stop in time; quitting anyway"));
    return status;
}
