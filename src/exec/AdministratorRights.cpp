#include "exec/AdministratorRights.h"

#include "exec/AppleScriptString.h"
#include "host/Host.h"
#include "model/ShellQuote.h"
#include "model/SudoPasswordCheck.h"

namespace AdministratorRights {

QString promptScript(const QString &command)
{
    // The rights come with the session's environment; env -i leaves the tool none of it.
    const QString clean = shellCommand(Host::current().cleanCommandPrefix()) + u' ' + command;
    return QStringLiteral("do shell script ") + appleScriptString(clean) +
           QStringLiteral(" with administrator privileges");
}

bool promptRefused(const QString &errorText)
{
    return errorText.contains(QLatin1String("authorization denied")) ||
           errorText.contains(QLatin1String("User canceled"));
}

SudoCall sudoCall(const QStringList &command)
{
    // sudo by its own path with its own prompt, started in the clean environment itself, and the
    // tool in it again behind env -i. "--" ends sudo's options, so a tool path never reads as one.
    const Host host = Host::current();
    return {host.sudo(),
            QStringList{QStringLiteral("-S"), QStringLiteral("-p"), QString::fromLatin1(sudoPrompt),
                        QStringLiteral("--")} +
                host.cleanCommandPrefix() + command,
            host.cleanEnvironment()};
}

} // namespace AdministratorRights
