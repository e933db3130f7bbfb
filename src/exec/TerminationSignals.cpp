#include "exec/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void forwardSignal(int signal)
{
    // Only async-signal-safe work here: the event loop picks the byte up.
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = write(signalPipe[1], &byte, 1);
}

} // namespace

void handleTerminationSignals(std::function<void(int signal)> handler)
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [handler = std::move(handler)] {
        unsigned char byte = 0;
        if (::read(signalPipe[0], &byte, 1) == 1)
            handler(byte);
    });
    struct sigaction action = {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}
