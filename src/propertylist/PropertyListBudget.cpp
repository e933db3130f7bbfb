#include "propertylist/PropertyListBudget.h"

#include <QList>

#include <algorithm>
#include <cctype>

#include <optional>

namespace PropertyListBudget {

namespace {

// Reads a big-endian unsigned number of `size` bytes at `at`; nothing when out of range.
std::optional<quint64> number(const QByteArray &bytes, quint64 at, quint64 size)
{
    if (size == 0 || size > 8 || at > quint64(bytes.size()) || size > quint64(bytes.size()) - at)
        return std::nullopt;
    quint64 value = 0;
    for (quint64 i = 0; i < size; ++i)
        value = (value << 8) | quint8(bytes[qsizetype(at + i)]);
    return value;
}

// The binary format ("bplist00"): objects, then a table of their offsets, then a 32-byte trailer
// giving the table's place, the width of an offset and of an object reference, the number of
// objects and the top one. An array (marker 0xA_) or set (0xC_) holds N references, a
// dictionary (0xD_) N key references and then N value references; N is the marker's low nibble,
// or when that is 0xF an integer object (0x1_, 2^k bytes) following the marker.
class BinaryWalk {
public:
    explicit BinaryWalk(const QByteArray &bytes) : m_bytes(bytes) {}

    bool allows()
    {
        constexpr quint64 trailerSize = 32;
        const quint64 size = quint64(m_bytes.size());
        if (size < 8 + trailerSize)
            return false;
        const quint64 trailer = size - trailerSize;
        m_offsetSize = quint8(m_bytes[qsizetype(trailer + 6)]);
        m_refSize = quint8(m_bytes[qsizetype(trailer + 7)]);
        const auto objects = number(m_bytes, trailer + 8, 8);
        const auto top = number(m_bytes, trailer + 16, 8);
        m_table = number(m_bytes, trailer + 24, 8).value_or(size);
        if (!objects || !top || m_offsetSize == 0 || m_offsetSize > 8 || m_refSize == 0 ||
            m_refSize > 8 || *objects == 0 || *objects > size || *top >= *objects ||
            m_table >= trailer || *objects * m_offsetSize > trailer - m_table)
            return false;
        m_objectCount = *objects;
        m_measured = QList<Size>(qsizetype(*objects));
        const std::optional<Size> total = measure(*top, 0);
        return total && total->nodes <= maximumNodes && total->height <= maximumDepth;
    }

private:
    // What one object expands to: its nodes, itself included, and how many containers deep it
    // goes (0 for a plain value). Shared objects are measured once and remembered; height rather
    // than depth is remembered, since one object may be reached at different depths.
    struct Size {
        qint64 nodes = 0;
        int height = 0;
    };
    // The nodes of an object whose measuring has begun and not ended: meeting it again is a
    // cycle.
    static constexpr qint64 onTheWay = -1;

    // `above` is the number of containers that hold `object`. Nothing when the list is
    // malformed, cyclic, too deep or over the budget.
    std::optional<Size> measure(quint64 object, int above)
    {
        if (object >= m_objectCount)
            return std::nullopt;
        const Size known = m_measured[qsizetype(object)];
        if (known.nodes == onTheWay)
            return std::nullopt;
        if (known.nodes > 0)
            return above + known.height <= maximumDepth ? std::optional(known) : std::nullopt;
        const auto offset = number(m_bytes, m_table + object * m_offsetSize, m_offsetSize);
        if (!offset || *offset >= m_table)
            return std::nullopt;
        const quint8 marker = quint8(m_bytes[qsizetype(*offset)]);
        const int type = marker >> 4;
        if (type != 0xA && type != 0xC && type != 0xD) {
            m_measured[qsizetype(object)] = {1, 0};
            return m_measured[qsizetype(object)];
        }
        // Checked on the way down, so that the walk never goes deeper than the budget.
        if (above + 1 > maximumDepth)
            return std::nullopt;
        quint64 count = marker & 0xF;
        quint64 refs = *offset + 1;
        if (count == 0xF) {
            const auto width = number(m_bytes, refs, 1);
            if (!width || (*width >> 4) != 0x1 || (*width & 0xF) > 3)
                return std::nullopt;
            const quint64 countSize = quint64(1) << (*width & 0xF);
            const auto longCount = number(m_bytes, refs + 1, countSize);
            if (!longCount)
                return std::nullopt;
            count = *longCount;
            refs += 1 + countSize;
        }
        const quint64 children = type == 0xD ? 2 * count : count;
        if (count > m_table || children * m_refSize > m_table - std::min(refs, m_table))
            return std::nullopt;
        m_measured[qsizetype(object)].nodes = onTheWay;
        Size total{1, 1};
        for (quint64 i = 0; i < children; ++i) {
            const auto child = number(m_bytes, refs + i * m_refSize, m_refSize);
            const std::optional<Size> size = child ? measure(*child, above + 1) : std::nullopt;
            if (!size)
                return std::nullopt;
            total.nodes += size->nodes;
            total.height = std::max(total.height, size->height + 1);
            if (total.nodes > maximumNodes)
                return std::nullopt;
        }
        m_measured[qsizetype(object)] = total;
        return total;
    }

    const QByteArray &m_bytes;
    quint64 m_offsetSize = 0;
    quint64 m_refSize = 0;
    quint64 m_table = 0;
    quint64 m_objectCount = 0;
    QList<Size> m_measured;
};

// How deep array and dict elements nest in an XML list. Text that merely looks like such a tag
// (inside a comment, say) counts too: that refuses more, never less.
bool xmlNestingAllowed(const QByteArray &bytes)
{
    int depth = 0;
    for (qsizetype at = bytes.indexOf('<'); at >= 0; at = bytes.indexOf('<', at + 1)) {
        const bool closing = at + 1 < bytes.size() && bytes[at + 1] == '/';
        const qsizetype name = at + (closing ? 2 : 1);
        qsizetype end = name;
        while (end < bytes.size() && (std::isalnum(quint8(bytes[end])) || bytes[end] == '_'))
            ++end;
        const QByteArray tag = bytes.mid(name, end - name);
        if (tag != "array" && tag != "dict")
            continue;
        const qsizetype close = bytes.indexOf('>', end);
        if (closing)
            --depth;
        else if (close < 0 || bytes[close - 1] != '/')
            ++depth;
        if (depth > maximumDepth)
            return false;
    }
    return true;
}

} // namespace

bool allowsBinary(const QByteArray &bytes)
{
    return bytes.size() <= maximumBytes && BinaryWalk(bytes).allows();
}

bool allowsXml(const QByteArray &bytes)
{
    return bytes.size() <= maximumBytes && xmlNestingAllowed(bytes);
}

} // namespace PropertyListBudget
