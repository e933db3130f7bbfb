#include "model/PropertyList.h"

#include <QDateTime>
#include <QFile>

#include <plist/plist.h>

#include <cstring>
#include <limits>
#include <memory>

namespace {

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

QVariant toVariant(plist_t node, int depth);

// libplist ends the program when asked for a key or string that holds a NUL character, which a
// file can give it. Its XML rendering writes every key and string whole, so a NUL byte there
// finds them all.
bool holdsNul(plist_t root)
{
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    const bool found = !xml || std::memchr(xml, 0, length);
    plist_to_xml_free(xml);
    return found;
}

QVariantMap dictionaryToVariant(plist_t node, int depth)
{
    QVariantMap map;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    if (!iterator)
        return map;
    for (;;) {
        char *key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iterator, &key, &value);
        if (!key)
            break;
        map.insert(QString::fromUtf8(key), toVariant(value, depth + 1));
        free(key);
    }
    free(iterator);
    return map;
}

QVariant toVariant(plist_t node, int depth)
{
    // Deeply nested input is cut off rather than followed to the end of the stack.
    constexpr int maximumDepth = 64;
    if (!node || depth > maximumDepth)
        return {};
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return bool(value);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return qint64(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_STRING: {
        char *value = nullptr;
        plist_get_string_val(node, &value);
        const QString text = QString::fromUtf8(value);
        free(value);
        return text;
    }
    case PLIST_DATA: {
        char *value = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &value, &length);
        const QByteArray data(value, qsizetype(length));
        free(value);
        return data;
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        // Property-list dates count from 1 January 2001.
        return QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC).addSecs(seconds);
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t count = plist_array_get_size(node);
        for (uint32_t index = 0; index < count; ++index)
            list.append(toVariant(plist_array_get_item(node, index), depth + 1));
        return list;
    }
    case PLIST_DICT:
        return dictionaryToVariant(node, depth);
    default:
        return {};
    }
}

} // namespace

std::optional<QVariantMap> readPropertyListDictionary(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    plist_t root = nullptr;
    const auto length = uint32_t(bytes.size());
    if (plist_is_binary(bytes.constData(), length))
        plist_from_bin(bytes.constData(), length, &root);
    else
        plist_from_xml(bytes.constData(), length, &root);
    const PlistPtr owner(root);
    if (!root || plist_get_node_type(root) != PLIST_DICT || holdsNul(root))
        return std::nullopt;
    return dictionaryToVariant(root, 0);
}

std::optional<QVariantMap> readPropertyListDictionaryFile(const QString &path, qint64 maximumBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maximumBytes)
        return std::nullopt;
    const QByteArray bytes = file.read(maximumBytes + 1);
    if (bytes.size() > maximumBytes)
        return std::nullopt;
    return readPropertyListDictionary(bytes);
}
