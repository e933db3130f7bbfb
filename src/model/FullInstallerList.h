#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QVersionNumber>

#include <optional>

// One full installer Apple offers, as `softwareupdate --list-full-installers` lists it.
struct AvailableInstaller {
    QString title;   // "macOS Sequoia", runs of spaces and tabs made one space
    QString version; // "15.3.1", as the tool printed it: what --full-installer-version takes
    QString build;   // "24D70"; empty when the host's tool does not say
    std::optional<qint64> size; // bytes; nullopt when the tool gave none or an unreadable one
    bool deferred = false;      // held back by the Mac's management ("Deferred: YES")

    // The version as a number, for ordering and grouping.
    QVersionNumber versionNumber() const;
    // The major release the row is grouped under: "15", "14", … from macOS 11 on, and "10.15",
    // "10.14" for macOS 10, whose major releases are its second number.
    QString majorVersion() const;
    // "Install macOS Sequoia.app": the bundle the download lands as in /Applications. A "/" in
    // the title is a ":" in the file system, as the Finder shows it, so the name is never a path.
    QString applicationName() const;

    friend bool operator==(const AvailableInstaller &, const AvailableInstaller &) = default;
};

// What a run of `softwareupdate --list-full-installers` says is on offer.
struct FullInstallerList {
    QList<AvailableInstaller>
        installers;                  // newest first (by version; equal versions keep tool order)
    bool listingUnsupported = false; // the host's softwareupdate has no --list-full-installers
};

// Reads the tool's standard output and error. A row is "* Title: …, Version: …, Size: …, Build:
// …, Deferred: NO" with its pairs in any order, Build and Deferred missing on older hosts, keys
// in any case, unknown keys ignored; a row without a title or a readable version is skipped.
// The header "Software Update found the following full installers:" with no rows is an empty
// listing. A tool that does not know the option (Catalina and older: "unrecognized option", then
// its usage) gives an empty listing marked unsupported. Anything else is not a listing at all:
// nullopt, and the caller shows the tool's own last line.
//
// A row's pairs are split at commas that are followed by "Key:", a key being letters, digits and
// spaces that begin with a letter; a comma followed by anything else stays in the value. Apple's
// titles hold no commas, and a title that held ", Word:" would be cut there.
std::optional<FullInstallerList> parseFullInstallerList(const QString &standardOutput,
                                                        const QString &standardError);

// A size as the tool lists it, in bytes: "14891477KiB" is 14891477 × 1024; Big Sur's
// "12211077798K" is a byte count despite its K. Also "KB", "MB", "GB", "TB" (decimal), "MiB",
// "GiB", "TiB", "B" or no unit (bytes), the unit in any case, with or without a space before
// it, and a fraction after "." or "," ("1.5 GB"). nullopt when unreadable, negative, or beyond
// 64 bits.
std::optional<qint64> parseListedSize(QStringView text);
