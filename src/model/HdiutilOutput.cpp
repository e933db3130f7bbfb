#include "model/HdiutilOutput.h"

#include "model/Utf8Text.h"

QString hdiutilProgressMessage(const QString &prefix, const QString &piece)
{
    return prefix + piece.trimmed();
}

QString hdiutilFailureReason(QByteArrayView standardError)
{
    return decodeUtf8(standardError);
}

QList<HdiutilAttachedDevice> hdiutilAttachedDevices(const QString &output)
{
    QList<HdiutilAttachedDevice> devices;
    for (QStringView line : QStringView(output).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const qsizetype contentStart = line.indexOf(u'\t');
        const qsizetype mountStart = contentStart < 0 ? -1 : line.indexOf(u'\t', contentStart + 1);
        const QStringView device = line.left(contentStart).trimmed();
        if (mountStart < 0 || !device.startsWith(u"/dev/"))
            continue;
        // The mount point is the rest of the line, whatever it holds, tabs and spaces included.
        devices << HdiutilAttachedDevice{device.toString(), line.mid(mountStart + 1).toString()};
    }
    return devices;
}
