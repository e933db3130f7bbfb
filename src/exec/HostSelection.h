#pragma once

#include "host/Host.h"

#include <QTemporaryDir>

#include <memory>

// The host a run of the program works on, chosen once at start-up:
//  1. TESSALINE_HOST_ROOT=DIR in the environment: the stand-in Mac at DIR;
//  2. otherwise on macOS: the real system;
//  3. otherwise: a demo stand-in Mac made for this run by the stand-in program, removed again
//     when this object goes away.
class HostSelection {
public:
    // `standInProgram` is the stand-in program that builds demo worlds.
    static HostSelection choose(const QProcessEnvironment &environment,
                                const QString &standInProgram);

    bool isValid() const { return m_error.isEmpty(); }
    // Why no host could be set up (the demo world could not be made).
    QString error() const { return m_error; }
    const Host &host() const { return m_host; }
    bool isDemo() const { return m_demoFolder != nullptr; }

private:
    HostSelection() : m_host(Host::macOS()) {}

    Host m_host;
    std::unique_ptr<QTemporaryDir> m_demoFolder;
    QString m_error;
};
