#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <optional>

// Where the macOS system is: its folders, its tools and the environment for child processes.
// Every absolute macOS path the program uses comes from here. On a real Mac these are the
// system's own paths; on a stand-in Mac they lie below the stand-in's root folder, so the rest
// of the program cannot tell the two apart.
//
// The host is chosen once at start-up (see HostSelection) and installed with setCurrent().
class Host {
public:
    // The real macOS system.
    static Host macOS();
    // A stand-in Mac rooted at `root`. Creates its temporary and desktop folders when missing.
    static Host standIn(const QString &root);

    static Host current();
    static void setCurrent(const Host &host);

    bool isStandIn() const { return !m_root.isEmpty(); }
    // The stand-in's root folder; empty on a real Mac.
    QString root() const { return m_root; }

    // Where a path of the Mac's own file system, such as a mount point diskutil names, lies
    // here; empty stays empty.
    QString hostPath(const QString &macPath) const
    {
        if (macPath.isEmpty() || !isStandIn())
            return macPath;
        return macPath == QLatin1String("/") ? m_root : m_root + macPath;
    }

    QString applicationsFolder() const { return systemPath(QStringLiteral("/Applications")); }
    QString volumesFolder() const { return systemPath(QStringLiteral("/Volumes")); }
    // The disk layout a stand-in's diskutil answers from, rewritten as its disks change; a Mac
    // keeps its layout to itself.
    std::optional<QString> diskLayoutFile() const
    {
        if (!isStandIn())
            return std::nullopt;
        return m_root + QStringLiteral("/var/standin/disks.json");
    }

    QString diskutil() const { return systemPath(QStringLiteral("/usr/sbin/diskutil")); }
    QString hdiutil() const { return systemPath(QStringLiteral("/usr/bin/hdiutil")); }
    QString csrutil() const { return systemPath(QStringLiteral("/usr/bin/csrutil")); }
    QString installer() const { return systemPath(QStringLiteral("/usr/sbin/installer")); }
    QString open() const { return systemPath(QStringLiteral("/usr/bin/open")); }
    QString osascript() const { return systemPath(QStringLiteral("/usr/bin/osascript")); }
    QString codesign() const { return systemPath(QStringLiteral("/usr/bin/codesign")); }
    QString sudo() const { return systemPath(QStringLiteral("/usr/bin/sudo")); }
    QString env() const { return systemPath(QStringLiteral("/usr/bin/env")); }
    QString caffeinate() const { return systemPath(QStringLiteral("/usr/bin/caffeinate")); }
    QString softwareupdate() const
    {
        return systemPath(QStringLiteral("/usr/sbin/softwareupdate"));
    }
    QString bash() const { return basicTool(QStringLiteral("/bin/bash")); }
    QString chmod() const { return basicTool(QStringLiteral("/bin/chmod")); }

    QString temporaryFolder() const { return m_temporaryFolder; }
    // The user's home folder, where the file dialogs start.
    QString homeFolder() const { return m_homeFolder; }
    QString desktopFolder() const { return m_desktopFolder; }
    std::optional<QString> computerName() const { return m_computerName; }
    // The bytes free to a user on the volume holding `path`; nothing when it cannot be learnt.
    // A stand-in Mac's startup volume reports what var/standin/space.json says ("freeBytes"),
    // so that a world can run short of space without filling the host's disk.
    std::optional<qint64> freeSpace(const QString &path) const;

    // The environment child processes run in, with values of its own: QProcessEnvironment
    // converts a value between text and bytes when first asked and keeps the result, without a
    // lock, in the value itself, which plain copies share; a thread starting a process would write
    // to it while another reads it.
    QProcessEnvironment processEnvironment() const;

    // What privileged commands run in, whatever the user's session holds (BASH_ENV, DYLD_*, a
    // PATH with the user's own folders first, a locale): the system's search path and LC_ALL=C,
    // as NAME=VALUE. A stand-in's search path has its own tool folders before the machine's.
    QStringList cleanVariables() const;
    // The environment sudo is started in: the clean variables and, on a stand-in, the variables
    // by which its tools know their world and the rights they hold (a Mac keeps those outside the
    // environment, as the user and the machine).
    QProcessEnvironment cleanEnvironment() const;
    // The start of a command line that runs a tool in the clean environment and nothing else:
    // env -i and the clean variables. The tool and its arguments follow.
    QStringList cleanCommandPrefix() const;

private:
    Host() = default;
    QString systemPath(const QString &macPath) const { return m_root + macPath; }
    // Tools every Unix has: a stand-in may bring its own, otherwise the machine's are used.
    QString basicTool(const QString &macPath) const;

    QString m_root;
    QString m_temporaryFolder;
    QString m_homeFolder;
    QString m_desktopFolder;
    std::optional<QString> m_computerName;
    QProcessEnvironment m_environment;
};
