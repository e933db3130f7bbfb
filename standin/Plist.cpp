#include "Plist.h"

#include <QJsonArray>
#include <QJsonObject>

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

struct PlistFree {
    void operator()(void *node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

// libplist hands out malloc'd strings.
QString takeString(char *text)
{
    const QString result = QString::fromUtf8(text);
    std::free(text);
    return result;
}

plist_t nodeFromJson(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return plist_new_bool(value.toBool());
    case QJsonValue::Double: {
        const double number = value.toDouble();
        if (number >= 0 && number == std::floor(number) && number < 18446744073709551616.0)
            return plist_new_uint(static_cast<uint64_t>(number));
        return plist_new_real(number);
    }
    case QJsonValue::String:
        return plist_new_string(value.toString().toUtf8().constData());
    case QJsonValue::Array: {
        plist_t array = plist_new_array();
        for (const QJsonValue &item : value.toArray())
            plist_array_append_item(array, nodeFromJson(item));
        return array;
    }
    case QJsonValue::Object: {
        plist_t dict = plist_new_dict();
        const QJsonObject object = value.toObject();
        // QJsonObject keeps its keys sorted, which is also the order macOS writes them in.
        for (auto it = object.begin(); it != object.end(); ++it)
            plist_dict_set_item(dict, it.key().toUtf8().constData(), nodeFromJson(it.value()));
        return dict;
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return plist_new_string("");
}

QJsonValue jsonFromNode(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t flag = 0;
        plist_get_bool_val(node, &flag);
        return flag != 0;
    }
    case PLIST_UINT: {
        uint64_t number = 0;
        plist_get_uint_val(node, &number);
        return static_cast<double>(number);
    }
    case PLIST_REAL: {
        double number = 0;
        plist_get_real_val(node, &number);
        return number;
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        char *text = nullptr;
        plist_get_string_val(node, &text);
        return takeString(text);
    }
    case PLIST_DATA: {
        char *bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        const QByteArray data(bytes, static_cast<qsizetype>(length));
        std::free(bytes);
        return QString::fromLatin1(data.toBase64());
    }
    case PLIST_ARRAY: {
        QJsonArray array;
        const uint32_t size = plist_array_get_size(node);
        for (uint32_t i = 0; i < size; ++i)
            array.append(jsonFromNode(plist_array_get_item(node, i)));
        return array;
    }
    case PLIST_DICT: {
        QJsonObject object;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        while (true) {
            char *key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iter, &key, &item);
            if (!item) {
                std::free(key);
                break;
            }
            const QString name = takeString(key);
            object.insert(name, jsonFromNode(item));
        }
        std::free(iter);
        return object;
    }
    case PLIST_DATE:
    case PLIST_UID:
    case PLIST_NONE:
        break;
    }
    return QJsonValue();
}

} // namespace

namespace Plist {

QByteArray fromJson(const QJsonValue &value, Format format)
{
    PlistPtr root(nodeFromJson(value));
    char *bytes = nullptr;
    uint32_t length = 0;
    if (format == Format::Binary) {
        plist_to_bin(root.get(), &bytes, &length);
        const QByteArray result(bytes, length);
        plist_to_bin_free(bytes);
        return result;
    }
    plist_to_xml(root.get(), &bytes, &length);
    const QByteArray result(bytes, length);
    plist_to_xml_free(bytes);
    return result;
}

QJsonValue toJson(const QByteArray &data, QString *error)
{
    plist_t node = nullptr;
    if (!data.isEmpty())
        plist_from_memory(data.constData(), static_cast<uint32_t>(data.size()), &node);
    if (!node) {
        if (error)
            *error = QStringLiteral("not a property list");
        return QJsonValue(QJsonValue::Undefined);
    }
    PlistPtr root(node);
    return jsonFromNode(root.get());
}

} // namespace Plist
