#pragma once

// For the suites that run the stand-in's tools directly: a tool run through a world's own link,
// and property lists brought to one form so that two of them compare whole.

#include "propertylist/PropertyList.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <tuple>

using ToolResult = std::tuple<int, QString, QString>; // status, output, error output

// Through the world's own link, so the tool has to find its world from where it lies; without
// pauses, and as the administrator of `admin` when one is given. A tool that hangs gives nothing.
inline ToolResult runWorldTool(const QString &root, const char *tool, const QStringList &args,
                               const QString &admin = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("TESSALINE_HOST_ROOT"));
    environment.insert(QStringLiteral("TESSALINE_STANDIN_SPEED"), QStringLiteral("0"));
    if (admin.isEmpty())
        environment.remove(QStringLiteral("TESSALINE_STANDIN_ADMIN"));
    else
        environment.insert(QStringLiteral("TESSALINE_STANDIN_ADMIN"), admin);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(root + QLatin1String(tool), args);
    if (!process.waitForFinished(10'000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A property list, binary or XML, as XML, after `change` has edited it; nothing when it does not
// read as a dictionary.
inline QByteArray plistAsXml(const QByteArray &data,
                             const std::function<void(QVariantMap &)> &change = {})
{
    std::optional<QVariantMap> dictionary = readPropertyListDictionary(data);
    if (!dictionary)
        return {};
    if (change)
        change(*dictionary);
    return writePropertyList(*dictionary, PropertyListFormat::Xml);
}
