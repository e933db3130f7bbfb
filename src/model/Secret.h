#pragma once

#include <QByteArray>
#include <QString>

#include <utility>

// A password in one buffer of its own, zeroed when it is cleared or goes away. It cannot be
// copied, so no second buffer ever holds it without being zeroed too.
class Secret {
public:
    Secret() = default;
    // Takes `text` as UTF-8 and zeroes the text's own buffer, which the caller must hold alone.
    static Secret takeText(QString &text);
    ~Secret() { clear(); }
    Secret(Secret &&other) noexcept : m_bytes(std::exchange(other.m_bytes, QByteArray())) {}
    Secret &operator=(Secret &&other) noexcept;
    Secret(const Secret &) = delete;
    Secret &operator=(const Secret &) = delete;

    const QByteArray &bytes() const { return m_bytes; }
    bool isEmpty() const { return m_bytes.isEmpty(); }
    // Zeroes the bytes and lets them go.
    void clear();

private:
    explicit Secret(QByteArray bytes) : m_bytes(std::move(bytes)) {}

    QByteArray m_bytes;
};

// Overwrites `size` bytes at `data` with zeros in a way the compiler may not leave out.
void wipeMemory(void *data, qsizetype size);
