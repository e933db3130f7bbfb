#include "Plist.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace {

QVariant variantFromJson(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::Double: {
        const double number = value.toDouble();
        if (number >= 0 && number == std::floor(number) && number < 18446744073709551616.0)
            return quint64(number);
        return number;
    }
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Array: {
        QVariantList list;
        for (const QJsonValue &item : value.toArray())
            list.append(variantFromJson(item));
        return list;
    }
    case QJsonValue::Object: {
        // QJsonObject and QVariantMap both keep their keys sorted, which is also the order macOS
        // writes them in.
        QVariantMap map;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            map.insert(it.key(), variantFromJson(it.value()));
        return map;
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return QString();
}

QJsonValue jsonFromVariant(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::LongLong:
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QByteArray:
        return QString::fromLatin1(value.toByteArray().toBase64());
    case QMetaType::QVariantList: {
        QJsonArray array;
        for (const QVariant &item : value.toList())
            array.append(jsonFromVariant(item));
        return array;
    }
    case QMetaType::QVariantMap: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            object.insert(it.key(), jsonFromVariant(it.value()));
        return object;
    }
    default:
        return QJsonValue();
    }
}

} // namespace

namespace Plist {

QByteArray fromJson(const QJsonValue &value, Format format)
{
    return writePropertyList(variantFromJson(value), format);
}

QJsonValue toJson(const QByteArray &data, QString *error)
{
    const std::optional<QVariant> value = readPropertyList(data);
    if (!value) {
        if (error)
            *error = QStringLiteral("not a property list");
        return QJsonValue(QJsonValue::Undefined);
    }
    return jsonFromVariant(*value);
}

} // namespace Plist
