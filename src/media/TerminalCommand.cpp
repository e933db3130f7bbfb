// The terminal path of USBCreator: a command run through sudo from a short shell script that
// feeds sudo the password, with its output streamed while it runs. The script holds the password,
// so it is owner-only from its first byte and is overwritten before it is removed.

#include "media/USBCreator.h"

#include "exec/ChildProcess.h"
#include "exec/MainThread.h"
#include "exec/Utf8Text.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/ShellQuote.h"
#include "model/Timing.h"

#include <QFile>
#include <QThreadPool>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint32 startFailureStatus = -1;
constexpr qint32 timeoutStatus = -15;

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString scriptContent(const QString &command, const QString &password)
{
    const QString quoted = shellQuoted(password);
    // Only a password the shell would read literally inside double quotes goes through echo, and
    // not one echo would take for an option; any other reaches sudo byte for byte via printf.
    const QString feed = quoted == password && !password.startsWith(u'-')
                             ? QStringLiteral("echo \"") + password + u'"'
                             : QStringLiteral("printf '%s\\n' ") + quoted;
    return QStringLiteral("#!/bin/bash\n") + feed + QStringLiteral(" | sudo -S ") + command;
}

bool writeAll(int descriptor, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

bool exists(const QString &path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

// Zeros over the password before the name goes, so it does not stay behind in the freed blocks.
void secureDelete(const QString &path, qsizetype length)
{
    const QByteArray name = QFile::encodeName(path);
    QString error;
    const int descriptor = ::open(name.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0) {
        error = systemError(errno);
    } else {
        if (!writeAll(descriptor, QByteArray(length, '\0')) || ::fsync(descriptor) != 0)
            error = systemError(errno);
        ::close(descriptor);
    }
    if (error.isEmpty() && ::unlink(name.constData()) != 0)
        error = systemError(errno);
    if (!error.isEmpty()) {
        printDiagnostic(QStringLiteral("Error during secure file deletion: ") + error);
        ::unlink(name.constData());
    }
}

// The script is filled under a side name created owner-only, then renamed into place: the umask
// never gets a say, and no one else can open it even while it is being written.
std::optional<QString> writeScript(const QString &path, const QByteArray &content)
{
    const QString sidePath = path + QStringLiteral(".partial");
    const QByteArray sideName = QFile::encodeName(sidePath);
    const int descriptor =
        ::open(sideName.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (descriptor < 0)
        return systemError(errno);
    int error = 0;
    if (!writeAll(descriptor, content) || ::fsync(descriptor) != 0)
        error = errno;
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(sideName.constData(), QFile::encodeName(path).constData()) != 0)
        error = errno;
    if (error == 0)
        return std::nullopt;
    secureDelete(sidePath, content.size());
    return systemError(error);
}

void runTerminalCommand(const QString &command, const QString &password,
                        const USBCreator::TextHandler &outputHandler,
                        const USBCreator::TextHandler &errorHandler,
                        const std::function<void(qint32)> &completionHandler)
{
    printDiagnostic(QStringLiteral("Executing terminal command: ") + command);
    const Host host = Host::current();
    const QString scriptPath =
        host.temporaryFolder() + QStringLiteral("/createinstallmedia_script_") +
        QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".sh");
    const QByteArray script = scriptContent(command, password).toUtf8();

    auto failToStart = [&](const QString &reason) {
        if (exists(scriptPath))
            secureDelete(scriptPath, script.size());
        const QString error = QStringLiteral("Failed to execute command: ") + reason;
        printDiagnostic(error);
        runOnMainThread([errorHandler, completionHandler, error] {
            errorHandler(error);
            completionHandler(startFailureStatus);
        });
    };

    if (const auto error = writeScript(scriptPath, script))
        return failToStart(*error);
    {
        ChildProcess chmod(host.chmod(), {QStringLiteral("u+x"), scriptPath});
        if (!chmod.start())
            return failToStart(chmod.errorString());
        chmod.waitForExit();
    }

    ChildProcess process(host.bash(), {scriptPath});
    // Everything below runs on this thread only, so the decoders need no locking.
    Utf8ChunkDecoder outputDecoder;
    Utf8ChunkDecoder errorDecoder;
    auto forward = [](Utf8ChunkDecoder &decoder, const USBCreator::TextHandler &handler,
                      const QByteArray &bytes) {
        const QString text = decoder.decode(bytes);
        if (text.isEmpty())
            return;
        runOnMainThread([handler, text] { handler(text); });
    };
    process.onOutput(
        [&](const QByteArray &bytes) { forward(outputDecoder, outputHandler, bytes); });
    process.onError([&](const QByteArray &bytes) { forward(errorDecoder, errorHandler, bytes); });
    process.addTimeLimit(Timing::current().terminalCommandLimit, [&] {
        printDiagnostic(QStringLiteral("Terminal command time limit reached, terminating it"));
        process.terminate();
        // Callers stop waiting here; the command's own status still follows once it is gone.
        runOnMainThread([errorHandler, completionHandler] {
            errorHandler(QStringLiteral("Process timeout exceeded (2 hours)"));
            completionHandler(timeoutStatus);
        });
    });

    if (!process.start())
        return failToStart(process.errorString());
    process.waitForExit();
    process.stopReading();
    // What the pipes still held when the command ended.
    forward(outputDecoder, outputHandler, process.readRemainingOutput());
    forward(errorDecoder, errorHandler, process.readRemainingError());

    secureDelete(scriptPath, script.size());
    const qint32 status = process.exitStatus();
    printDiagnostic(QStringLiteral("Terminal command completed with status: %1").arg(status));
    runOnMainThread([completionHandler, status] { completionHandler(status); });
}

} // namespace

void USBCreator::executeTerminalCommand(const QString &command, const QString &password,
                                        TextHandler outputHandler, TextHandler errorHandler,
                                        std::function<void(qint32)> completionHandler)
{
    QThreadPool::globalInstance()->start([=] {
        runTerminalCommand(command, password, outputHandler, errorHandler, completionHandler);
    });
}
