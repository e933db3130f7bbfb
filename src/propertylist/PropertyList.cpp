#include "propertylist/PropertyList.h"

#include "propertylist/PropertyListBudget.h"

#include <QDateTime>
#include <QFile>

#include <plist/plist.h>

#include <limits>
#include <memory>

namespace {

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

// Property-list dates count seconds from 1 January 2001.
QDateTime dateEpoch()
{
    return QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
}

// The bytes libplist writes for the tree at `root`.
QByteArray render(plist_t root, PropertyListFormat format)
{
    const bool binary = format == PropertyListFormat::Binary;
    char *bytes = nullptr;
    uint32_t length = 0;
    (binary ? plist_to_bin : plist_to_xml)(root, &bytes, &length);
    const QByteArray rendered(bytes, qsizetype(length));
    (binary ? plist_to_bin_free : plist_to_xml_free)(bytes);
    return rendered;
}

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

QVariant contents(plist_t node, int depth, Conversion &conversion);

// A value inside an array or dictionary, taken from the budget.
QVariant toVariant(plist_t node, int depth, Conversion &conversion)
{
    if (!node || !conversion.take(depth))
        return {};
    return contents(node, depth, conversion);
}

// libplist ends the program when asked for a key or string that holds a NUL character, which a
// file can give it. Its XML rendering writes every key and string whole, so a NUL byte there
// finds them all.
bool holdsNul(plist_t root)
{
    const QByteArray xml = render(root, PropertyListFormat::Xml);
    return xml.isEmpty() || xml.contains('\0');
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

QVariant contents(plist_t node, int depth, Conversion &conversion)
{
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
        return dateEpoch().addSecs(seconds);
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

// libplist takes keys and strings as C strings, which end at a NUL.
std::optional<QByteArray> cString(const QString &text)
{
    if (text.contains(QChar(0)))
        return std::nullopt;
    return text.toUtf8();
}

// The tree libplist writes `value` from; nothing when a value in it has no element.
PlistPtr toNode(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return PlistPtr(plist_new_bool(value.toBool()));
    // libplist holds every integer in 64 bits, a negative one as its two's complement.
    case QMetaType::Int:
    case QMetaType::LongLong:
        return PlistPtr(plist_new_uint(uint64_t(value.toLongLong())));
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return PlistPtr(plist_new_uint(value.toULongLong()));
    case QMetaType::Float:
    case QMetaType::Double:
        return PlistPtr(plist_new_real(value.toDouble()));
    case QMetaType::QString: {
        const std::optional<QByteArray> text = cString(value.toString());
        return text ? PlistPtr(plist_new_string(text->constData())) : nullptr;
    }
    case QMetaType::QByteArray: {
        const QByteArray data = value.toByteArray();
        return PlistPtr(plist_new_data(data.constData(), uint64_t(data.size())));
    }
    case QMetaType::QDateTime: {
        const QDateTime date = value.toDateTime();
        const qint64 seconds = dateEpoch().secsTo(date);
        if (!date.isValid() || seconds < std::numeric_limits<int32_t>::min() ||
            seconds > std::numeric_limits<int32_t>::max())
            return nullptr;
        return PlistPtr(plist_new_date(int32_t(seconds), 0));
    }
    case QMetaType::QVariantList: {
        PlistPtr array(plist_new_array());
        for (const QVariant &item : value.toList()) {
            PlistPtr node = toNode(item);
            if (!node)
                return nullptr;
            plist_array_append_item(array.get(), node.release());
        }
        return array;
    }
    case QMetaType::QVariantMap: {
        PlistPtr dictionary(plist_new_dict());
        const QVariantMap map = value.toMap();
        for (const auto &[key, item] : map.asKeyValueRange()) {
            const std::optional<QByteArray> name = cString(key);
            PlistPtr node = toNode(item);
            if (!name || !node)
                return nullptr;
            plist_dict_set_item(dictionary.get(), name->constData(), node.release());
        }
        return dictionary;
    }
    default:
        return nullptr;
    }
}

} // namespace

std::optional<QVariant> readPropertyList(const QByteArray &bytes)
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
    if (!root || holdsNul(root))
        return std::nullopt;
    // Only what the top level holds is taken from the budget.
    Conversion conversion;
    QVariant value = contents(root, 0, conversion);
    if (conversion.exhausted)
        return std::nullopt;
    return value;
}

std::optional<QVariantMap> readPropertyListDictionary(const QByteArray &bytes)
{
    const std::optional<QVariant> value = readPropertyList(bytes);
    if (!value || value->typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    return value->toMap();
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

QByteArray writePropertyList(const QVariant &value, PropertyListFormat format)
{
    const PlistPtr root = toNode(value);
    return root ? render(root.get(), format) : QByteArray();
}
