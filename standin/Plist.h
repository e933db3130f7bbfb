#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// Property lists as the Mac's tools write them, made from and read into JSON values, the form the
// stand-in keeps its state in. Whole numbers become <integer>, other numbers <real>; data turns
// into Base64 text on reading.
namespace Plist {

enum class Format { Xml, Binary };

QByteArray fromJson(const QJsonValue &value, Format format);
// Reads either format. Returns an undefined value and sets `error` when `data` is no plist.
QJsonValue toJson(const QByteArray &data, QString *error = nullptr);

} // namespace Plist
