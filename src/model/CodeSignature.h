#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Who signed an installer bundle, as `codesign --verify --strict -R=anchor apple` judged it.
// Only Apple's code may run with administrator rights, so anything but `apple` or
// `appleExpired` keeps an installer from making media.
struct CodeSignature {
    enum class State {
        unchecked,    // not verified yet
        apple,        // signed by Apple, seal intact
        appleExpired, // signed, but the certificate has expired since (older downloads)
        notApple,     // unsigned, altered, signed by someone else, or the check failed
    };

    State state = State::unchecked;
    // codesign's own words: why it was refused, or the expiry it reported.
    QString reason;

    // Judges one run of codesign from its exit status and standard error.
    static CodeSignature fromCodesign(int exitStatus, const QByteArray &standardError,
                                      const QString &bundlePath);
    static CodeSignature failed(const QString &reason) { return {State::notApple, reason}; }
    // For an expired certificate, which codesign checks no further: the verdict from the chain
    // `codesign --display --verbose=2` printed on standard error. Only Apple's own chain for its
    // software ("Software Signing", "Apple Code Signing Certification Authority", "Apple Root
    // CA") keeps `expired`; a Developer ID or any other chain refuses the bundle. The chain is
    // read by its names, which the display does not prove; it only rules out the signatures of
    // other developers.
    static CodeSignature fromExpiredChain(const CodeSignature &expired,
                                          const QByteArray &displayError);

    bool allowsRunning() const { return state == State::apple || state == State::appleExpired; }
    bool isRefused() const { return state == State::notApple; }

    friend bool operator==(const CodeSignature &, const CodeSignature &) = default;

    Q_DECLARE_TR_FUNCTIONS(CodeSignature)
};
