#include "cli/CliRun.h"

#include "cli/Terminal.h"
#include "exec/JobThreads.h"
#include "model/ByteFormat.h"
#include "model/PathEntry.h"
#include "model/Secret.h"
#include "state/AppState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <memory>

namespace {

// After an interrupt, how long the job has to wind down before the run ends regardless.
constexpr int interruptLimitMs = 9000;

ProgressPrinter::Style printerStyle(const CommandLine &line)
{
    if (line.json)
        return ProgressPrinter::Style::json;
    return Terminal::isInteractive(stdout) ? ProgressPrinter::Style::terminal
                                           : ProgressPrinter::Style::lines;
}

void printOut(const QString &text)
{
    Terminal::print(stdout, text);
}

void printError(const QString &text)
{
    Terminal::print(stderr, QStringLiteral("tessaline-cli: ") + text + u'\n');
}

// Columns padded to their widest entry, one row per line.
QString table(const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows)
        for (qsizetype column = 0; column < row.size(); ++column) {
            if (widths.size() <= column)
                widths << 0;
            widths[column] = std::max(widths[column], row.at(column).size());
        }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype column = 0; column < row.size(); ++column)
            line += column + 1 < row.size() ? row.at(column).leftJustified(widths[column] + 2)
                                            : row.at(column);
        while (line.endsWith(u' '))
            line.chop(1);
        text += line + u'\n';
    }
    return text;
}

QString samePath(const QString &path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

} // namespace

CliRun::CliRun(const CommandLine &line, AppState &state)
    : m_line(line), m_state(state), m_printer(printerStyle(line))
{
}

void CliRun::start()
{
    using Command = CommandLine::Command;
    switch (m_line.command) {
    case Command::listInstallers:
        return loadInstallers([this] { listInstallers(); });
    case Command::listDisks:
        return loadDisks([this] { listDisks(); });
    case Command::createUsb:
        return loadInstallers([this] { loadDisks([this] { createUsb(); }); });
    case Command::createIso:
        return loadInstallers([this] { createIso(); });
    case Command::installPackage:
        return installPackage();
    case Command::eject:
        return loadDisks([this] { eject(); });
    case Command::availableInstallers:
        return loadInstallers([this] { loadOffered([this] { availableInstallers(); }); });
    case Command::downloadInstaller:
        return loadInstallers([this] { loadOffered([this] { downloadInstaller(); }); });
    case Command::verify:
        if (m_line.image.isEmpty() && !QFileInfo(m_line.volume).isDir())
            return loadInstallers([this] { loadDisks([this] { verify(); }); });
        return loadInstallers([this] { verify(); });
    }
}

void CliRun::when(std::function<bool()> ready, std::function<void()> then)
{
    if (ready())
        return then();
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(&m_state, &AppState::changed, this,
                          [connection, ready = std::move(ready), then = std::move(then)] {
                              if (!ready())
                                  return;
                              QObject::disconnect(*connection);
                              then();
                          });
}

void CliRun::loadInstallers(std::function<void()> then)
{
    m_state.scanForInstallers();
    when([this] { return !m_state.isScanning(); }, std::move(then));
}

void CliRun::loadDisks(std::function<void()> then)
{
    // The listing shows itself as loading from the next turn of the loop on, and may wait for
    // one the state started by itself: it is over once it has begun and ended.
    m_state.refreshDiskList();
    when([this] { return m_state.isLoadingDisks(); },
         [this, then = std::move(then)] {
             when([this] { return !m_state.isLoadingDisks(); }, then);
         });
}

void CliRun::loadOffered(std::function<void()> then)
{
    m_state.listOfferedInstallers();
    when([this] { return !m_state.isListingOfferedInstallers(); },
         [this, then = std::move(then)] {
             if (m_state.isInstallerListingUnsupported()) {
                 printError(tr("this Mac's softwareupdate cannot list the installers Apple offers "
                               "(that takes macOS 11 or later); download an InstallAssistant "
                               "package and use install-package"));
                 return end(failed);
             }
             if (!m_state.offeredInstallersFailure().isEmpty()) {
                 printError(tr("Apple's list of installers could not be read: %1")
                                .arg(m_state.offeredInstallersFailure()));
                 return end(failed);
             }
             then();
         });
}

void CliRun::refuse(const QString &message)
{
    printError(message);
    end(badInput);
}

std::optional<InstallerApp> CliRun::findInstaller()
{
    QStringList known;
    for (const InstallerApp &installer : m_state.installers()) {
        if (installer.name.compare(m_line.installer, Qt::CaseInsensitive) == 0 ||
            installer.bundlePath() == samePath(m_line.installer))
            return installer;
        known << QStringLiteral("  %1 (%2)").arg(installer.name, installer.bundlePath());
    }
    // A bundle named by its path need not be in Applications.
    if (QFileInfo(m_line.installer).isDir())
        if (auto installer =
                InstallerApp::fromBundle(QUrl::fromLocalFile(samePath(m_line.installer))))
            return installer;
    refuse(tr("no installer \"%1\". Installers found:\n%2")
               .arg(m_line.installer, known.isEmpty() ? tr("  (none)") : known.join(u'\n')));
    return std::nullopt;
}

std::optional<DiskInfo> CliRun::findVolume()
{
    QString wanted = m_line.volume;
    if (wanted.startsWith(QLatin1String("/dev/")))
        wanted = wanted.mid(5);
    QStringList known;
    for (const DiskInfo &disk : m_state.availableDisks()) {
        if (disk.volumeName == wanted || disk.deviceIdentifier == wanted ||
            (!disk.mountPoint.isEmpty() && QDir::cleanPath(disk.mountPoint) == samePath(wanted)))
            return disk;
        known << QStringLiteral("  %1 (%2, %3)")
                     .arg(disk.volumeName, disk.deviceIdentifier, disk.mountPoint);
    }
    refuse(tr("no volume \"%1\". Volumes that can be used:\n%2")
               .arg(m_line.volume, known.isEmpty() ? tr("  (none)") : known.join(u'\n')));
    return std::nullopt;
}

bool CliRun::confirmErase(const DiskInfo &disk)
{
    if (m_line.yes)
        return true;
    if (!Terminal::isInteractive(stdin)) {
        refuse(tr("pass --yes to erase without asking"));
        return false;
    }
    const std::optional<QString> answer =
        Terminal::ask(tr("Erase \"%1\" (%2)? All data on it will be lost. [y/N] ")
                          .arg(disk.volumeName, formatGigabytes(disk.size)));
    //: The letter that answers yes to the erase question; keep it to one letter, as in [y/N].
    const QString yes = tr("y");
    if (answer && (answer->trimmed().compare(yes, Qt::CaseInsensitive) == 0 ||
                   answer->trimmed().compare(u"y", Qt::CaseInsensitive) == 0))
        return true;
    printError(tr("nothing was erased"));
    end(badInput);
    return false;
}

void CliRun::listInstallers()
{
    const QList<InstallerApp> installers = m_state.installers();
    if (m_line.json) {
        QJsonArray list;
        for (const InstallerApp &installer : installers)
            list << QJsonObject{{QStringLiteral("name"), installer.name},
                                {QStringLiteral("version"), installer.macOSVersion},
                                {QStringLiteral("build"), installer.buildNumber},
                                {QStringLiteral("size"), installer.size},
                                {QStringLiteral("path"), installer.bundlePath()}};
        printOut(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)) + u'\n');
        return end(succeeded);
    }
    QList<QStringList> rows{{tr("NAME"), tr("VERSION"), tr("BUILD"), tr("SIZE"), tr("PATH")}};
    for (const InstallerApp &installer : installers)
        rows << QStringList{installer.name, installer.shownMacOSVersion(),
                            installer.shownBuildNumber(), formatGigabytes(installer.size),
                            installer.bundlePath()};
    printOut(installers.isEmpty() ? tr("No installers found.\n") : table(rows));
    end(succeeded);
}

void CliRun::listDisks()
{
    const QList<DiskInfo> disks = m_state.availableDisks();
    const auto reason = [this](const DiskInfo &disk) {
        return m_state.whyNotTarget(disk).value_or(QString());
    };
    if (m_line.json) {
        QJsonArray list;
        for (const DiskInfo &disk : disks) {
            QJsonObject entry{{QStringLiteral("name"), disk.volumeName},
                              {QStringLiteral("device"), disk.deviceIdentifier},
                              {QStringLiteral("mountPoint"), disk.mountPoint},
                              {QStringLiteral("size"), disk.size},
                              {QStringLiteral("free"), disk.freeSpace},
                              {QStringLiteral("offered"), reason(disk).isEmpty()},
                              {QStringLiteral("fixedExternal"), disk.isFixedExternal}};
            if (!reason(disk).isEmpty())
                entry.insert(QStringLiteral("reason"), reason(disk));
            list << entry;
        }
        printOut(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)) + u'\n');
        return end(succeeded);
    }
    QList<QStringList> rows{
        {tr("NAME"), tr("DEVICE"), tr("SIZE"), tr("FREE"), tr("MOUNT POINT"), tr("NOTE")}};
    for (const DiskInfo &disk : disks)
        rows << QStringList{disk.volumeName,
                            disk.deviceIdentifier,
                            formatGigabytes(disk.size),
                            formatGigabytes(disk.freeSpace),
                            disk.mountPoint,
                            !reason(disk).isEmpty() ? tr("not offered: %1").arg(reason(disk))
                            : disk.isFixedExternal  ? tr("external disk (not a USB stick)")
                                                    : QString()};
    printOut(disks.isEmpty() ? tr("No removable volumes found.\n") : table(rows));
    end(succeeded);
}

void CliRun::createUsb()
{
    const std::optional<InstallerApp> installer = findInstaller();
    if (!installer)
        return;
    const std::optional<DiskInfo> disk = findVolume();
    if (!disk)
        return;
    m_state.selectedInstaller = *installer;
    if (const std::optional<QString> why = m_state.whyNotTarget(*disk))
        //: %1 is a volume's name, %2 why it cannot be used (e.g. "is too small: ...").
        return refuse(tr("\"%1\" %2").arg(disk->volumeName, *why));
    if (!confirmErase(*disk))
        return;
    m_state.selectedDisk = *disk;
    m_state.verifiesMedia = m_line.verify;
    followJob();
    m_state.createBootableUSB();
}

void CliRun::createIso()
{
    const std::optional<InstallerApp> installer = findInstaller();
    if (!installer)
        return;
    if (!m_line.output.isEmpty()) {
        // The ISO is made on the desktop, as the window makes it, and moved when it is done;
        // where it goes is checked first, so that a long run does not end in a refusal.
        const QFileInfo output(samePath(m_line.output));
        m_isoDestination = output.isDir()
                               ? output.absoluteFilePath() + u'/' + asPathEntry(installer->name) +
                                     QStringLiteral(".iso")
                               : output.absoluteFilePath();
        if (!QFileInfo(QFileInfo(m_isoDestination).path()).isDir())
            return refuse(tr("no folder \"%1\"").arg(QFileInfo(m_isoDestination).path()));
        if (QFileInfo::exists(m_isoDestination) && !m_line.yes)
            return refuse(tr("\"%1\" exists: pass --yes to replace it").arg(m_isoDestination));
    }
    m_state.selectedInstaller = *installer;
    m_state.verifiesMedia = m_line.verify;
    followJob();
    m_state.createBootableDMG();
}

std::optional<QString> CliRun::moveIso(const QString &made)
{
    if (m_isoDestination.isEmpty() || made == m_isoDestination)
        return made;
    QFile::remove(m_isoDestination);
    if (QFile::rename(made, m_isoDestination))
        return m_isoDestination;
    // Another file system: a copy, and the desktop's file goes only once the copy is whole.
    if (QFile::copy(made, m_isoDestination)) {
        QFile::remove(made);
        return m_isoDestination;
    }
    QFile::remove(m_isoDestination);
    printError(
        tr("the ISO could not be moved to \"%1\"; it is at \"%2\"").arg(m_isoDestination, made));
    return std::nullopt;
}

void CliRun::installPackage()
{
    const QString package = samePath(m_line.package);
    if (!QFileInfo(package).isFile())
        return refuse(tr("no package \"%1\"").arg(m_line.package));
    followJob();
    m_state.installPKGAutomated(QUrl::fromLocalFile(package));
}

void CliRun::eject()
{
    const std::optional<DiskInfo> disk = findVolume();
    if (!disk)
        return;
    m_state.ejectDisk(*disk);
    when([this] { return !m_state.isLoadingDisks() || m_state.isShowingAlert(); },
         [this, disk] {
             if (m_state.isShowingAlert()) {
                 printError(m_state.alertMessage());
                 return end(failed);
             }
             printOut(tr("Ejected %1.\n").arg(disk->volumeName));
             end(succeeded);
         });
}

void CliRun::availableInstallers()
{
    const QList<AvailableInstaller> offered = m_state.offeredInstallers();
    if (m_line.json) {
        QJsonArray list;
        for (const AvailableInstaller &installer : offered)
            list << QJsonObject{
                {QStringLiteral("title"), installer.title},
                {QStringLiteral("version"), installer.version},
                {QStringLiteral("build"), installer.build},
                {QStringLiteral("size"),
                 installer.size ? QJsonValue(*installer.size) : QJsonValue()},
                {QStringLiteral("deferred"), installer.deferred},
                {QStringLiteral("inApplications"), m_state.hasInApplications(installer)}};
        printOut(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)) + u'\n');
        return end(succeeded);
    }
    QList<QStringList> rows{{tr("TITLE"), tr("VERSION"), tr("BUILD"), tr("SIZE"), tr("NOTE")}};
    for (const AvailableInstaller &installer : offered)
        rows << QStringList{installer.title, installer.version, installer.build,
                            installer.size ? formatGigabytes(*installer.size) : QString(),
                            installer.deferred ? tr("deferred by your organisation")
                            : m_state.hasInApplications(installer) ? tr("in Applications")
                                                                   : QString()};
    printOut(offered.isEmpty() ? tr("Apple offers no full installers to this Mac.\n")
                               : table(rows));
    end(succeeded);
}

void CliRun::downloadInstaller()
{
    QStringList known;
    for (const AvailableInstaller &installer : m_state.offeredInstallers()) {
        if (installer.version != m_line.version) {
            known << QStringLiteral("  %1 %2").arg(installer.title, installer.version);
            continue;
        }
        if (installer.deferred)
            return refuse(tr("%1 %2 is deferred by your organisation: this Mac may not "
                             "download it yet")
                              .arg(installer.title, installer.version));
        if (const std::optional<QString> missing = m_state.spaceMissingFor(installer)) {
            printError(*missing);
            return end(failed);
        }
        followJob();
        return m_state.downloadInstaller(installer);
    }
    refuse(tr("Apple offers no installer of version \"%1\". Versions offered:\n%2")
               .arg(m_line.version, known.isEmpty() ? tr("  (none)") : known.join(u'\n')));
}

void CliRun::verify()
{
    const std::optional<InstallerApp> installer = findInstaller();
    if (!installer)
        return;
    if (!m_line.image.isEmpty()) {
        const QString image = samePath(m_line.image);
        if (!QFileInfo(image).isFile())
            return refuse(tr("no image \"%1\"").arg(m_line.image));
        followJob();
        return m_state.verifyMedia(*installer, AppState::Media::diskImage, image);
    }
    // A mount point may be given as a folder; anything else names a listed volume.
    QString mountPoint = samePath(m_line.volume);
    if (!QFileInfo(mountPoint).isDir()) {
        const std::optional<DiskInfo> disk = findVolume();
        if (!disk)
            return;
        mountPoint = disk->mountPoint;
    }
    followJob();
    m_state.verifyMedia(*installer, AppState::Media::usbVolume, mountPoint);
}

void CliRun::followJob()
{
    m_following = true;
    connect(&m_state, &AppState::changed, this, &CliRun::onStateChanged);
}

void CliRun::onStateChanged()
{
    if (m_ended)
        return;
    if (m_state.isShowingAlert()) {
        // The window's questions: the command line has already asked, or been told, what to
        // answer. Anything else that shows an alert is the run failing before it began.
        using Question = AppState::Question;
        const Question question = m_state.alertQuestion();
        const bool answered = question == Question::eraseTarget ||
                              question == Question::installPackage ||
                              (question == Question::replaceFiles && m_line.yes);
        if (answered) {
            m_state.isShowingAlert = false;
            m_state.alertPrimaryButton().action();
            return;
        }
        m_state.isShowingAlert = false;
        //: An alert's title and its message.
        printError(tr("%1: %2").arg(m_state.alertTitle(), m_state.alertMessage()));
        if (question == Question::replaceFiles)
            printError(tr("pass --yes to replace it"));
        return end(m_jobSeen ? failed : badInput);
    }
    if (m_state.isWaitingForPassword())
        return answerPassword();
    if (m_state.hasJob())
        m_jobSeen = true;
    if (!m_jobSeen)
        return;
    const ProgressInfo &progress = m_state.progressInfo();
    m_printer.show(progress);
    if (m_state.hasJob() || !progress.isComplete)
        return;
    QString path = progress.outputPath;
    bool ok = progress.success;
    if (ok && m_line.command == CommandLine::Command::createIso) {
        const std::optional<QString> moved = moveIso(path);
        ok = moved.has_value();
        path = moved.value_or(path);
    }
    // A refused password ends the run by a cancel, which is not what the user did.
    const QString message =
        m_passwordRefused ? tr("The administrator password was not accepted.") : progress.message;
    const QString detail = m_passwordRefused  ? tr("Nothing was erased.")
                           : progress.success ? progress.detailMessage
                                              : progress.errorMessage.value_or(QString());
    m_printer.finish(ok, message, detail, path, progress.verified);
    end(ok ? succeeded : m_interrupted ? interrupted : failed);
}

void CliRun::answerPassword()
{
    if (m_passwordsGiven > 0) {
        // sudo turned the password down: the run stops here, before anything was erased.
        m_state.isWaitingForPassword = false;
        m_passwordRefused = true;
        printError(tr("the administrator password was not accepted; nothing was erased"));
        m_state.cancelJob();
        return;
    }
    ++m_passwordsGiven;
    std::optional<Secret> password;
    if (m_line.passwordFromStandardInput)
        password = Terminal::readSecretLine(stdin, QString());
    else if (Terminal::isInteractive(stdin))
        password = Terminal::readSecretLine(stdin, tr("Administrator password: "));
    if (!password) {
        printError(tr("an administrator password is needed: pass --password-stdin and give it "
                      "on the first line of standard input"));
        m_state.cancelJob();
        return;
    }
    m_state.isWaitingForPassword = false;
    m_state.executeTerminalCommand(std::move(*password));
}

void CliRun::interrupt()
{
    // A second Ctrl-C while the tools wind down must not leave them behind: the run goes on
    // ending as the first one asked.
    if (m_interrupted) {
        printError(tr("still stopping the job; it ends within a few seconds"));
        return;
    }
    m_interrupted = true;
    if (!m_state.hasJob())
        return end(interrupted);
    m_state.cancelJob();
    // Whatever happens to the job, the run is over in time, and still says so.
    QTimer::singleShot(interruptLimitMs, this, [this] {
        m_printer.finish(false, tr("The job did not stop in time."),
                         tr("Its tools are ended as tessaline-cli quits; check the volume or "
                            "image before using it."),
                         QString(), false);
        end(interrupted);
    });
}

void CliRun::end(int status)
{
    if (m_ended)
        return;
    m_ended = true;
    QCoreApplication::exit(status);
}
