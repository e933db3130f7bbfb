#pragma once

#include <QString>

#include <functional>

// Reads back what a job wrote and compares it with the installer it was made from: the same
// files and folders in the bundle, each of the same size, links pointing to the same places,
// and the same SHA-256 for the payload (SharedSupport.dmg, or InstallESD.dmg and BaseSystem.dmg
// on older installers), computed on both sides at once. The media side is read past the
// system's cache where the platform allows, so that what is checked is what the device holds.
// Every check runs on the calling thread, a job's, and stops between blocks when the job is
// asked to.
namespace MediaVerifier {

struct Result {
    enum class Outcome { verified, differs, unreadable, cancelled };
    Outcome outcome = Outcome::unreadable;
    // What differs, one line each, or why the media could not be read; empty when verified.
    QString detail;
    // The installer found on the media, when one was.
    QString copyPath;

    bool isVerified() const { return outcome == Outcome::verified; }
};

// Called now and then, from the calling thread, with the payload bytes read so far on both
// sides and how many there are to read.
using Progress = std::function<void(qint64 done, qint64 total)>;

// Compares the bundle `copy` with `source`.
Result compareBundles(const QString &source, const QString &copy, const Progress &progress);
// Compares the installer at the top of the volume mounted at `mountPoint` with `source`.
Result verifyVolume(const QString &source, const QString &mountPoint, const Progress &progress);
// Attaches the image `imagePath` read-only on a private folder, compares the installer in it
// with `source`, and detaches it, however the check ends.
Result verifyImage(const QString &source, const QString &imagePath, const Progress &progress);

} // namespace MediaVerifier
