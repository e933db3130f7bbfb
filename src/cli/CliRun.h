#pragma once

#include "cli/CommandLine.h"
#include "cli/ProgressPrinter.h"
#include "disk/DiskInfo.h"
#include "model/InstallerApp.h"

#include <QObject>

#include <functional>
#include <optional>

class AppState;

// One run of tessaline-cli over the application's own state: it scans as the window does, finds
// what the command names, and starts the window's jobs, answering their questions as the command
// line allows and showing their progress. It ends the application with the run's exit status:
// 0 success, 1 the job failed, 2 bad usage or input, 130 interrupted.
class CliRun : public QObject {
    Q_OBJECT

public:
    enum Status { succeeded = 0, failed = 1, badInput = 2, interrupted = 130 };

    CliRun(const CommandLine &line, AppState &state);

    void start();
    // An interrupt or termination signal: the job is cancelled as the window's Cancel does, and
    // the run ends once it has wound down.
    void interrupt();

private:
    // Calls `then` once `ready` holds, checking at once and on each change of the state.
    void when(std::function<bool()> ready, std::function<void()> then);
    void loadInstallers(std::function<void()> then);
    void loadDisks(std::function<void()> then);
    // Asks Apple what it offers; `then` runs once the answer is in, or prints why there is none
    // and ends the run.
    void loadOffered(std::function<void()> then);

    std::optional<InstallerApp> findInstaller();
    std::optional<DiskInfo> findVolume();
    bool confirmErase(const DiskInfo &disk);

    void listInstallers();
    void listDisks();
    void createUsb();
    void createIso();
    // Puts the ISO made on the desktop where --output said; its path then, or nothing.
    std::optional<QString> moveIso(const QString &made);
    void installPackage();
    void eject();
    void availableInstallers();
    void downloadInstaller();
    // Checks existing media against an installer.
    void verify();

    // Follows the job the command started until its result, answering its questions.
    void followJob();
    void onStateChanged();
    void answerPassword();
    void end(int status);
    void refuse(const QString &message);

    CommandLine m_line;
    AppState &m_state;
    ProgressPrinter m_printer;
    bool m_following = false;
    bool m_jobSeen = false;
    bool m_interrupted = false;
    int m_passwordsGiven = 0;
    bool m_passwordRefused = false;
    bool m_ended = false;
    // Where --output puts the ISO; empty for the desktop.
    QString m_isoDestination;
};
