#include "media/FullInstallerTool.h"

#include "exec/Cancellation.h"
#include "exec/ChildProcess.h"
#include "exec/Utf8Text.h"
#include "host/Host.h"
#include "model/FullInstallerFetchOutput.h"
#include "model/OutputTail.h"
#include "model/Timing.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>
#include <utility>

namespace {

// What tells whether a bundle was replaced or changed: the folder itself and its time of change.
std::optional<std::pair<ino_t, QDateTime>> identityOf(const QString &bundle)
{
    struct stat status;
    if (::stat(QFile::encodeName(bundle).constData(), &status) != 0)
        return std::nullopt;
    return std::pair(status.st_ino, QFileInfo(bundle).lastModified());
}

// The last line of what the tool said, for a failure it gave no words of its own to.
QString lastLine(const QString &text)
{
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("[\r\n]+")),
                                         Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.constLast().trimmed();
}

QString notStarted(const ChildProcess &tool)
{
    return QStringLiteral("softwareupdate could not be started: ") + tool.errorString();
}

} // namespace

namespace FullInstallerTool {

Listing list()
{
    ChildProcess tool(Host::current().softwareupdate(), {QStringLiteral("--list-full-installers")});
    OutputTail output;
    OutputTail errors;
    tool.onOutput([&](const QByteArray &bytes) { output.append(bytes); });
    tool.onError([&](const QByteArray &bytes) { errors.append(bytes); });
    if (!tool.start())
        return {std::nullopt, notStarted(tool)};
    const Timing::Duration limit = Timing::current().installerListLimit;
    const bool inTime = tool.waitForExit(limit);
    output.append(tool.readRemainingOutput());
    errors.append(tool.readRemainingError());
    if (Cancellation::current()->isRequested())
        return {std::nullopt, QStringLiteral("Cancelled")};
    if (!inTime)
        return {std::nullopt, QStringLiteral("Apple's servers did not answer within %1. Check "
                                             "the network connection and try again.")
                                  .arg(Timing::describe(limit))};
    const QString said = decodeUtf8(output.bytes());
    const QString complained = decodeUtf8(errors.bytes());
    std::optional<FullInstallerList> list = parseFullInstallerList(said, complained);
    // A listing is only taken from a tool that says it succeeded, but an older tool that does not
    // know the option fails, and that is an answer too.
    if (list && (tool.exitStatus() == 0 || list->listingUnsupported))
        return {list, QString()};
    QString why = lastLine(complained);
    if (why.isEmpty())
        why = lastLine(said);
    if (why.isEmpty() || why == u"Finding available software")
        why = QStringLiteral("softwareupdate ended with status %1 without a listing")
                  .arg(tool.exitStatus());
    return {std::nullopt, why};
}

QString destination(const AvailableInstaller &installer)
{
    return Host::current().applicationsFolder() + u'/' + installer.applicationName();
}

Download fetch(const AvailableInstaller &installer, const std::function<void(double)> &progress)
{
    const QString bundle = destination(installer);
    const auto before = identityOf(bundle);
    ChildProcess tool(Host::current().softwareupdate(),
                      {QStringLiteral("--fetch-full-installer"),
                       QStringLiteral("--full-installer-version"), installer.version});
    tool.setOutputToTerminal();
    FullInstallerFetchOutput reading;
    std::optional<double> shown;
    const auto read = [&](QByteArrayView bytes) {
        reading.feed(bytes);
        if (reading.percent() && reading.percent() != shown) {
            shown = reading.percent();
            progress(*shown);
        }
    };
    OutputTail errors;
    tool.onOutput(read);
    tool.onError([&](const QByteArray &bytes) { errors.append(bytes); });

    Download result;
    if (tool.start()) {
        const Timing::Duration limit = Timing::current().installerDownloadLimit;
        const bool inTime = tool.waitForExit(limit);
        read(tool.readRemainingOutput());
        reading.finish();
        errors.append(tool.readRemainingError());
        result.cancelled = Cancellation::current()->isRequested();
        if (result.cancelled) {
            result.failure = QStringLiteral("Cancelled");
        } else if (!inTime) {
            result.failure = QStringLiteral("The download did not finish within %1")
                                 .arg(Timing::describe(limit));
        } else if (const std::optional<QString> failure = reading.failure()) {
            result.failure = QStringLiteral("Install failed with error: ") + *failure;
            result.detail = reading.failureDetail().value_or(QString());
        } else if (tool.exitStatus() != 0) {
            QString why = lastLine(decodeUtf8(errors.bytes()));
            if (why.isEmpty() && !reading.lines().isEmpty())
                why = reading.lines().constLast();
            result.failure = QStringLiteral("softwareupdate ended with status %1")
                                 .arg(tool.exitStatus()) +
                             (why.isEmpty() ? QString() : QStringLiteral(": ") + why);
        } else if (!QFileInfo::exists(bundle + QStringLiteral("/Contents/Info.plist"))) {
            // A status of 0 is not taken on trust: the installer must be where it goes.
            result.failure =
                QStringLiteral("softwareupdate reported success, but no installer appeared at ") +
                bundle;
        } else {
            result.succeeded = true;
        }
    } else {
        result.cancelled = Cancellation::current()->isRequested();
        result.failure = result.cancelled ? QStringLiteral("Cancelled") : notStarted(tool);
    }
    if (!result.succeeded && !before && QFileInfo::exists(bundle))
        result.removedPartialApp = QDir(bundle).removeRecursively();
    if (!result.succeeded && before)
        result.changedExistingApp = identityOf(bundle) != before;
    return result;
}

} // namespace FullInstallerTool
