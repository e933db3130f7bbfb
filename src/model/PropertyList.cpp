#include "model/PropertyList.h"

#include "model/PropertyListBudget.h"

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

// What the conversion may still spend; a tree that needs more is not read at all. libplist's tree
// was measured before it was made, so this only guards against a reading that disagrees.
struct Conversion {
    qint64 nodesLeft = PropertyListBudget::maximumNodes;
    bool exhausted = false;

    bool take(int depth)
    {
        if (--nodesLeft < 0 || depth > PropertyListBudget::maximumDepth)
            exhausted = true;
        return !exhausted;
    }
};

QVariant toVariant(plist_t node, int depth, Conversion &conversion);

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

QVariantMap dictionaryToVariant(plist_t node, int depth, Conversion &conversion)
{
    QVariantMap map;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    if (!iterator)
        return map;
    while (!conversion.exhausted) {
        char *key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iterator, &key, &value);
        if (!key)
            break;
        map.insert(QString::fromUtf8(key), toVariant(value, depth + 1, conversion));
        free(key);
    }
    free(iterator);
    return map;
}

QVariant toVariant(plist_t node, int depth, Conversion &conversion)
{
    if (!node || !conversion.take(depth))
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
        for (uint32_t index = 0; index < count && !conversion.exhausted; ++index)
            list.append(toVariant(plist_array_get_item(node, index), depth + 1, conversion));
        return list;
    }
    case PLIST_DICT:
        return dictionaryToVariant(node, depth, conversion);
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
    // Measured before libplist sees it: libplist would build whatever the bytes describe.
    if (plist_is_binary(bytes.constData(), length)) {
        if (!PropertyListBudget::allowsBinary(bytes))
            return std::nullopt;
        plist_from_bin(bytes.constData(), length, &root);
    } else {
        if (!PropertyListBudget::allowsXml(bytes))
            return std::nullopt;
        plist_from_xml(bytes.constData(), length, &root);
    }
    const PlistPtr owner(root);
    if (!root || plist_get_node_type(root) != PLIST_DICT || holdsNul(root))
        return std::nullopt;
    Conversion conversion;
    QVariantMap dictionary = dictionaryToVariant(root, 0, conversion);
    if (conversion.exhausted)
        return std::nullopt;
    return dictionary;
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
