#include "model/OutputTail.h"

namespace {

// Where the last `capacity` bytes of `bytes` begin, moved on past continuation bytes so that no
// character is cut in two.
qsizetype tailStart(QByteArrayView bytes, qsizetype capacity)
{
    qsizetype start = std::max<qsizetype>(0, bytes.size() - capacity);
    while (start < bytes.size() && (uchar(bytes[start]) & 0xC0) == 0x80)
        ++start;
    return start;
}

} // namespace

void OutputTail::append(QByteArrayView bytes)
{
    m_bytes += bytes;
    // Cut in large steps: the cost of copying stays proportional to what arrives.
    if (m_bytes.size() > 2 * m_capacity)
        m_bytes.remove(0, tailStart(m_bytes, m_capacity));
}

QByteArray OutputTail::bytes() const
{
    if (m_bytes.size() <= m_capacity)
        return m_bytes;
    return m_bytes.sliced(tailStart(m_bytes, m_capacity));
}

void keepTail(QString &text, qsizetype capacity)
{
    if (text.size() <= 2 * capacity)
        return;
    qsizetype start = text.size() - capacity;
    // A line break within a small distance makes the kept part start with a whole line.
    const qsizetype lineBreak = text.indexOf(u'\n', start);
    if (lineBreak >= 0 && lineBreak - start < 4096)
        start = lineBreak + 1;
    else if (text.at(start).isLowSurrogate())
        ++start;
    text.remove(0, start);
}
