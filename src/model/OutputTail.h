#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The last part of what a tool printed, for messages and for the output shown to the user. A
// tool that floods its streams must not fill the memory: only the last `capacity` bytes are kept
// (a megabyte unless asked otherwise), which is where a tool says why it ended.
class OutputTail {
public:
    static constexpr qsizetype defaultCapacity = qsizetype(1) << 20;

    explicit OutputTail(qsizetype capacity = defaultCapacity) : m_capacity(capacity) {}

    void append(QByteArrayView bytes);
    bool isEmpty() const { return m_bytes.isEmpty(); }
    // At most `capacity` bytes, starting at the beginning of a UTF-8 character.
    QByteArray bytes() const;

private:
    qsizetype m_capacity;
    QByteArray m_bytes;
};

// Keeps `text` within twice `capacity` characters by dropping its beginning down to `capacity`,
// at a line break where there is one near. Text is dropped in large steps, so a view that shows
// it whole is rebuilt seldom.
void keepTail(QString &text, qsizetype capacity = OutputTail::defaultCapacity);
