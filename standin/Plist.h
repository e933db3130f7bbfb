#pragma once

#include "propertylist/PropertyList.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// Property lists as the Mac's tools write them, made from and read into JSON values, the form the
// stand-in keeps its state in; the lists themselves are written and read by the program's own
// property-list code. Whole numbers become <integer>, other numbers <real>, null an empty
// <string>; on reading, data turns into Base64 text and a date into null.
namespace Plist {

using Format = PropertyListFormat;

QByteArray fromJson(const QJsonValue &value, Format format);
// Reads either format. Returns an undefined value and sets `error` when `data` is no plist.
QJsonValue toJson(const QByteArray &data, QString *error = nullptr);

} // namespace Plist
