#pragma once

#include <QByteArray>

#include <memory>

// SHA-256 of a stream of bytes, by the platform's own fast implementation (CommonCrypto on
// macOS, OpenSSL's libcrypto elsewhere): payloads of many gigabytes are hashed on both sides of
// a check, and Qt's portable one runs at a fraction of their speed.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;

    void addData(const char *data, qsizetype length);
    // The 32-byte digest of everything added; the hash starts afresh afterwards.
    QByteArray result();

private:
    struct State;
    std::unique_ptr<State> m_state;
};
