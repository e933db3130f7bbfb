#include "World.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLockFile>
#include <QSaveFile>

namespace {

const QString stateSubfolder = QStringLiteral("var/standin");

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

} // namespace

World::World(const QString &root) : m_root(QDir::cleanPath(QFileInfo(root).absoluteFilePath())) {}

bool World::isWorld(const QString &folder)
{
    return QFileInfo(QDir(folder).filePath(stateSubfolder)).isDir();
}

std::optional<World> World::locate(const QString &invokedAs, const QString &hostRootVariable,
                                   QString *error)
{
    // A bare name came through PATH and says nothing about where the tool lives.
    if (invokedAs.contains(u'/')) {
        // The link's own folder counts, not its target's: every link into the program is the same
        // file, and only where the link sits tells which world it belongs to.
        QString folder = QFileInfo(QDir::cleanPath(QFileInfo(invokedAs).absoluteFilePath())).path();
        while (true) {
            if (isWorld(folder))
                return World(folder);
            const QString parent = QFileInfo(folder).path();
            if (parent == folder)
                break;
            folder = parent;
        }
    }
    if (!hostRootVariable.isEmpty()) {
        if (isWorld(hostRootVariable))
            return World(hostRootVariable);
        setError(error, QStringLiteral("TESSALINE_HOST_ROOT is %1, which is not a stand-in Mac "
                                       "(it has no %2 folder)")
                            .arg(hostRootVariable, stateSubfolder));
        return std::nullopt;
    }
    setError(error, QStringLiteral("cannot tell which stand-in Mac this is: %1 is not inside one "
                                   "and TESSALINE_HOST_ROOT is not set")
                        .arg(invokedAs));
    return std::nullopt;
}

QString World::stateFolder() const
{
    return m_root + u'/' + stateSubfolder;
}

QString World::hostPath(const QString &macPath) const
{
    if (macPath == QLatin1String("/"))
        return m_root;
    return m_root + (macPath.startsWith(u'/') ? macPath : u'/' + macPath);
}

QString World::macPath(const QString &hostPath) const
{
    const QString path = QDir::cleanPath(QFileInfo(hostPath).absoluteFilePath());
    if (path == m_root)
        return QStringLiteral("/");
    if (path.startsWith(m_root + u'/'))
        return path.mid(m_root.size());
    return hostPath;
}

QString World::statePath(const QString &name) const
{
    return stateFolder() + u'/' + name + QStringLiteral(".json");
}

QJsonObject World::readState(const QString &name, QString *error) const
{
    QFile file(statePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error,
                 QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
        return {};
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        setError(error, QStringLiteral("%1 is not a JSON object: %2")
                            .arg(file.fileName(), parseError.errorString()));
        return {};
    }
    return document.object();
}

bool World::writeState(const QString &name, const QJsonObject &state, QString *error) const
{
    if (!QDir().mkpath(stateFolder())) {
        setError(error, QStringLiteral("cannot make %1").arg(stateFolder()));
        return false;
    }
    QSaveFile file(statePath(name));
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error,
                 QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
        return false;
    }
    file.write(QJsonDocument(state).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        setError(error,
                 QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
        return false;
    }
    return true;
}

bool World::updateState(const QString &name, const std::function<bool(QJsonObject &)> &change,
                        QString *error) const
{
    QLockFile lock(statePath(name) + QStringLiteral(".lock"));
    // A tool that dies holding the lock must not wedge the world for long.
    lock.setStaleLockTime(10'000);
    if (!lock.tryLock(10'000)) {
        setError(error, QStringLiteral("%1 stays locked by another tool").arg(statePath(name)));
        return false;
    }
    QString readError;
    QJsonObject state = readState(name, &readError);
    // A missing file starts empty; a damaged one is not silently replaced.
    if (!readError.isEmpty() && QFileInfo::exists(statePath(name))) {
        setError(error, readError);
        return false;
    }
    if (!change(state))
        return true;
    return writeState(name, state, error);
}

QJsonArray World::disks() const
{
    return readState(QStringLiteral("disks")).value(QStringLiteral("disks")).toArray();
}

bool World::updateDisks(const std::function<bool(QJsonArray &)> &change, QString *error) const
{
    return updateState(
        QStringLiteral("disks"),
        [&](QJsonObject &state) {
            QJsonArray disks = state.value(QStringLiteral("disks")).toArray();
            if (!change(disks))
                return false;
            state.insert(QStringLiteral("disks"), disks);
            return true;
        },
        error);
}

World::Protection World::protection() const
{
    const QString name = readState(QStringLiteral("protection")).value(u"status").toString();
    // A Mac protects itself unless told otherwise.
    return protectionFromName(name).value_or(Protection::Enabled);
}

bool World::setProtection(Protection status, QString *error) const
{
    return updateState(
        QStringLiteral("protection"),
        [&](QJsonObject &state) {
            state.insert(QStringLiteral("status"), protectionName(status));
            return true;
        },
        error);
}

QString World::adminPassword() const
{
    return readState(QStringLiteral("admin")).value(u"password").toString();
}

World::AdminPrompt World::adminPrompt() const
{
    const QString name = readState(QStringLiteral("admin")).value(u"prompt").toString();
    return adminPromptFromName(name).value_or(AdminPrompt::Grant);
}

double World::adminPromptDelay() const
{
    return std::max(0.0, readState(QStringLiteral("admin")).value(u"delay").toDouble());
}

bool World::setAdminPrompt(AdminPrompt answer, QString *error) const
{
    return updateState(
        QStringLiteral("admin"),
        [&](QJsonObject &state) {
            state.insert(QStringLiteral("prompt"), adminPromptName(answer));
            return true;
        },
        error);
}

std::optional<qint64> World::startupFreeSpace() const
{
    const QJsonValue free = readState(QStringLiteral("space")).value(u"freeBytes");
    if (!free.isDouble())
        return std::nullopt;
    return static_cast<qint64>(free.toDouble());
}

QString World::protectionName(Protection status)
{
    switch (status) {
    case Protection::Enabled:
        return QStringLiteral("enabled");
    case Protection::Disabled:
        return QStringLiteral("disabled");
    case Protection::Custom:
        return QStringLiteral("custom");
    case Protection::CustomUnknown:
        return QStringLiteral("custom-unknown");
    }
    return {};
}

std::optional<World::Protection> World::protectionFromName(const QString &name)
{
    for (Protection status : {Protection::Enabled, Protection::Disabled, Protection::Custom,
                              Protection::CustomUnknown}) {
        if (protectionName(status) == name)
            return status;
    }
    return std::nullopt;
}

QString World::adminPromptName(AdminPrompt answer)
{
    switch (answer) {
    case AdminPrompt::Grant:
        return QStringLiteral("grant");
    case AdminPrompt::Cancel:
        return QStringLiteral("cancel");
    case AdminPrompt::Deny:
        return QStringLiteral("deny");
    }
    return {};
}

std::optional<World::AdminPrompt> World::adminPromptFromName(const QString &name)
{
    for (AdminPrompt answer : {AdminPrompt::Grant, AdminPrompt::Cancel, AdminPrompt::Deny}) {
        if (adminPromptName(answer) == name)
            return answer;
    }
    return std::nullopt;
}
