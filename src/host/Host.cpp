#include "host/Host.h"

#include "host/MacComputerName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QStorageInfo>

#include <mutex>

namespace {

std::mutex currentHostLock;

Host &currentHostStorage()
{
    static Host host = Host::macOS();
    return host;
}

std::optional<QString> firstLineOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString line = QString::fromUtf8(file.readLine(4096)).trimmed();
    if (line.isEmpty())
        return std::nullopt;
    return line;
}

} // namespace

Host Host::macOS()
{
    Host host;
    host.m_temporaryFolder = QDir::tempPath();
    host.m_homeFolder = QDir::homePath();
    host.m_desktopFolder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    host.m_computerName = macComputerName();
    host.m_environment = QProcessEnvironment::systemEnvironment();
    return host;
}

Host Host::standIn(const QString &root)
{
    Host host;
    host.m_root = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    host.m_temporaryFolder = host.m_root + QStringLiteral("/tmp");
    // A stand-in's user keeps Desktop and Downloads at its root.
    host.m_homeFolder = host.m_root;
    host.m_desktopFolder = host.m_root + QStringLiteral("/Desktop");
    QDir().mkpath(host.m_temporaryFolder);
    QDir().mkpath(host.m_desktopFolder);
    host.m_computerName = firstLineOf(host.m_root + QStringLiteral("/etc/computer-name"));

    // As a Mac's shell has /usr/bin:/bin:/usr/sbin:/sbin, so bare tool names in the scripts
    // the program runs (sudo, diskutil) reach the stand-in's tools first.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QStringList searchPath;
    for (const char *folder : {"/usr/bin", "/bin", "/usr/sbin", "/sbin"})
        searchPath << host.m_root + QLatin1String(folder);
    const QString inheritedPath = environment.value(QStringLiteral("PATH"));
    if (!inheritedPath.isEmpty())
        searchPath << inheritedPath;
    environment.insert(QStringLiteral("PATH"), searchPath.join(u':'));
    environment.insert(QStringLiteral("TESSALINE_HOST_ROOT"), host.m_root);
    environment.insert(QStringLiteral("TMPDIR"), host.m_temporaryFolder);
    host.m_environment = environment;
    return host;
}

Host Host::current()
{
    std::lock_guard guard(currentHostLock);
    return currentHostStorage();
}

void Host::setCurrent(const Host &host)
{
    std::lock_guard guard(currentHostLock);
    currentHostStorage() = host;
}

QProcessEnvironment Host::processEnvironment() const
{
    QProcessEnvironment environment;
    environment.insert(m_environment);
    return environment;
}

QStringList Host::cleanVariables() const
{
    QStringList searchPath;
    for (const char *folder : {"/usr/bin", "/bin", "/usr/sbin", "/sbin"})
        searchPath << systemPath(QLatin1String(folder));
    if (isStandIn())
        searchPath << QStringLiteral("/usr/bin:/bin:/usr/sbin:/sbin");
    return {QStringLiteral("PATH=") + searchPath.join(u':'), QStringLiteral("LC_ALL=C")};
}

QProcessEnvironment Host::cleanEnvironment() const
{
    QProcessEnvironment environment;
    for (const QString &variable : cleanVariables()) {
        const qsizetype equals = variable.indexOf(u'=');
        environment.insert(variable.left(equals), variable.mid(equals + 1));
    }
    if (isStandIn()) {
        // Read from a copy of its own, for the reason processEnvironment() gives.
        const QProcessEnvironment session = processEnvironment();
        for (const QString &name : session.keys())
            if (name.startsWith(QLatin1String("TESSALINE_")))
                environment.insert(name, session.value(name));
    }
    return environment;
}

QStringList Host::cleanCommandPrefix() const
{
    return QStringList{env(), QStringLiteral("-i")} + cleanVariables();
}

std::optional<qint64> Host::freeSpace(const QString &path) const
{
    if (isStandIn()) {
        QFile state(m_root + QStringLiteral("/var/standin/space.json"));
        if (state.open(QIODevice::ReadOnly)) {
            const QJsonValue free = QJsonDocument::fromJson(state.readAll())[u"freeBytes"];
            if (free.isDouble() && free.toDouble() >= 0)
                return qint64(free.toDouble());
        }
    }
    const QStorageInfo volume(path);
    if (!volume.isValid() || !volume.isReady())
        return std::nullopt;
    return volume.bytesAvailable();
}

QString Host::basicTool(const QString &macPath) const
{
    if (isStandIn()) {
        const QString own = m_root + macPath;
        if (QFileInfo(own).isExecutable())
            return own;
    }
    return macPath;
}
