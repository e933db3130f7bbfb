#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QString>

// The stand-in program under test, which the build names in every test's environment.
inline QString standinProgram()
{
    return QFileInfo(qEnvironmentVariable("TESSALINE_STANDIN")).canonicalFilePath();
}

// Makes a stand-in Mac in `folder`; its canonical path, or nothing when that failed.
inline QString makeStandInWorld(const QString &folder)
{
    QProcess process;
    process.start(standinProgram(), {QStringLiteral("make-world"), folder});
    if (!process.waitForFinished(10'000) || process.exitCode() != 0)
        return {};
    return QFileInfo(folder).canonicalFilePath();
}
