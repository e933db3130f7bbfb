#pragma once

#include <QString>

struct WorldOptions {
    // Also plants an unsigned copy of Sequoia's installer that claims a newer macOS.
    bool unsignedInstaller = false;
};

// Lays out a new stand-in Mac in `folder`, which must be empty or missing. The tools are links to
// `program`. Returns an empty string on success, else what went wrong.
QString makeWorld(const QString &folder, const QString &program, const WorldOptions &options = {});
