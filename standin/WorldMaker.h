#pragma once

#include <QString>

#include <optional>

struct WorldOptions {
    // Also plants an unsigned copy of Sequoia's installer that claims a newer macOS.
    bool unsignedInstaller = false;
    // The size of every installer's SharedSupport.dmg, those in Applications and those the
    // packages and the catalogue would land, in place of the real ones' many gigabytes: tests
    // that read payloads whole stay quick.
    std::optional<qint64> payloadSize;
};

// Lays out a new stand-in Mac in `folder`, which must be empty or missing. The tools are links to
// `program`. Returns an empty string on success, else what went wrong.
QString makeWorld(const QString &folder, const QString &program, const WorldOptions &options = {});
