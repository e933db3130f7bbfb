#include "media/FullInstallerTool.h"

#include "exec/Cancellation.h"
#include "exec/ChildProcess.h"
#include "host/Host.h"
#include "model/FullInstallerFetchOutput.h"
#include "model/OutputTail.h"
#include "model/Timing.h"
#include "model/Utf8Text.h"

#include <QCoreApplication>
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
    const QStringList lines =
        text.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.constLast().trimmed();
}

QString notStarted(const ChildProcess &tool)
{
    //: %1 is the system's reason.
    return QCoreApplication::translate("FullInstallerTool",
                                       "softwareupdate could not be started: %1")
        .arg(tool.errorString());
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
        return {std::nullopt, QCoreApplication::translate("FullInstallerTool", "Cancelled")};
    if (!inTime)
        //: %1 is a length of time ("2 minutes").
        return {std::nullopt,
                QCoreApplication::translate("FullInstallerTool",
                                            "Apple's servers did not answer within %1. Check "
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
        //: %1 is the tool's exit status, a number.
        why = QCoreApplication::translate("FullInstallerTool",
                                          "softwareupdate ended with status %1 without a listing")
                  .arg(QString::number(tool.exitStatus()));
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
            result.failure = QCoreApplication::translate("FullInstallerTool", "Cancelled");
        } else if (!inTime) {
            //: %1 is a length of time ("2 hours").
            result.failure = QCoreApplication::translate("FullInstallerTool",
                                                         "The download did not finish within %1")
                                 .arg(Timing::describe(limit));
        } else if (const std::optional<QString> failure = reading.failure()) {
            //: %1 is the reason softwareupdate gave, in its own words.
            result.failure =
                QCoreApplication::translate("FullInstallerTool", "Install failed with error: %1")
                    .arg(*failure);
            result.detail = reading.failureDetail().value_or(QString());
        } else if (tool.exitStatus() != 0) {
            QString why = lastLine(decodeUtf8(errors.bytes()));
            if (why.isEmpty() && !reading.lines().isEmpty())
                why = reading.lines().constLast();
            const QString status = QString::number(tool.exitStatus());
            //: %1 is the tool's exit status, a number.
            result.failure =
                why.isEmpty() ? QCoreApplication::translate("FullInstallerTool",
                                                            "softwareupdate ended with status %1")
                                    .arg(status)
                              //: %1 is the tool's exit status, a number; %2 the last thing it said.
                              : QCoreApplication::translate(
                                    "FullInstallerTool", "softwareupdate ended with status %1: %2")
                                    .arg(status, why);
        } else if (!QFileInfo::exists(bundle + QStringLiteral("/Contents/Info.plist"))) {
            // A status of 0 is not taken on trust: the installer must be where it goes.
            result.failure = QCoreApplication::translate(
                                 "FullInstallerTool",
                                 "softwareupdate reported success, but no installer appeared at %1")
                                 .arg(bundle);
        } else {
            result.succeeded = true;
        }
    } else {
        result.cancelled = Cancellation::current()->isRequested();
        result.failure = result.cancelled
                             ? QCoreApplication::translate("FullInstallerTool", "Cancelled")
                             : notStarted(tool);
    }
    if (!result.succeeded && !before && QFileInfo::exists(bundle))
        result.removedPartialApp = QDir(bundle).removeRecursively();
    if (!result.succeeded && before)
        result.changedExistingApp = identityOf(bundle) != before;
    return result;
}

} // namespace FullInstallerTool
