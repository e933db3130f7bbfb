#include "model/Secret.h"

void wipeMemory(void *data, qsizetype size)
{
    // Stores through a volatile pointer cannot be dropped as dead, unlike a plain memset.
    volatile char *bytes = static_cast<volatile char *>(data);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = 0;
}

Secret Secret::takeText(QString &text)
{
    Secret secret(text.toUtf8());
    // data() would detach a shared text and zero only the copy; the caller holds the text alone.
    if (text.isDetached())
        wipeMemory(text.data(), text.size() * qsizetype(sizeof(QChar)));
    text = QString();
    return secret;
}

Secret &Secret::operator=(Secret &&other) noexcept
{
    if (this != &other) {
        clear();
        m_bytes = std::exchange(other.m_bytes, QByteArray());
    }
    return *this;
}

void Secret::clear()
{
    // Only a buffer of its own is written to: a shared one would be copied by data() first.
    if (m_bytes.isDetached())
        wipeMemory(m_bytes.data(), m_bytes.size());
    m_bytes = QByteArray();
}
