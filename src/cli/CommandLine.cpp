#include "cli/CommandLine.h"

#include <map>

namespace {

using Command = CommandLine::Command;

struct CommandForm {
    Command command;
    // The options it takes beyond --json, and whether it needs --installer, --volume and
    // --version.
    QStringList flags;
    bool needsInstaller = false;
    bool needsVolume = false;
    bool needsVersion = false;
};

const std::map<QString, CommandForm> &commands()
{
    static const std::map<QString, CommandForm> table{
        {QStringLiteral("list-installers"), {Command::listInstallers, {}}},
        {QStringLiteral("list-disks"), {Command::listDisks, {}}},
        {QStringLiteral("create-usb"),
         {Command::createUsb,
          {QStringLiteral("--installer"), QStringLiteral("--volume"), QStringLiteral("--yes"),
           QStringLiteral("--password-stdin"), QStringLiteral("--no-verify")},
          true,
          true}},
        {QStringLiteral("create-iso"),
         {Command::createIso,
          {QStringLiteral("--installer"), QStringLiteral("--output"), QStringLiteral("--yes"),
           QStringLiteral("--no-verify")},
          true}},
        {QStringLiteral("verify"),
         {Command::verify,
          {QStringLiteral("--installer"), QStringLiteral("--volume"), QStringLiteral("--image")},
          true}},
        {QStringLiteral("install-package"), {Command::installPackage, {}}},
        {QStringLiteral("eject"), {Command::eject, {}}},
        {QStringLiteral("available-installers"), {Command::availableInstallers, {}}},
        {QStringLiteral("download-installer"),
         {Command::downloadInstaller,
          {QStringLiteral("--version"), QStringLiteral("--password-stdin")},
          false,
          false,
          true}},
    };
    return table;
}

bool takesValue(const QString &flag)
{
    return flag == u"--installer" || flag == u"--volume" || flag == u"--output" ||
           flag == u"--version" || flag == u"--image";
}

} // namespace

std::variant<CommandLine, QString> CommandLine::parse(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return tr("no command given");
    const auto found = commands().find(arguments.first());
    if (found == commands().end())
        return tr("unknown command \"%1\"").arg(arguments.first());
    const CommandForm &form = found->second;
    CommandLine line;
    line.command = form.command;
    QStringList operands;
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString &argument = arguments.at(index);
        if (!argument.startsWith(QLatin1String("--"))) {
            operands << argument;
            continue;
        }
        if (argument != u"--json" && !form.flags.contains(argument))
            //: %1 is a command, %2 an option it does not take.
            return tr("%1 does not take %2").arg(found->first, argument);
        QString value;
        if (takesValue(argument)) {
            if (index + 1 >= arguments.size())
                return tr("%1 needs a value").arg(argument);
            value = arguments.at(++index);
        }
        if (argument == u"--json")
            line.json = true;
        else if (argument == u"--yes")
            line.yes = true;
        else if (argument == u"--password-stdin")
            line.passwordFromStandardInput = true;
        else if (argument == u"--no-verify")
            line.verify = false;
        else if (argument == u"--image")
            line.image = value;
        else if (argument == u"--installer")
            line.installer = value;
        else if (argument == u"--volume")
            line.volume = value;
        else if (argument == u"--output")
            line.output = value;
        else if (argument == u"--version")
            line.version = value;
    }
    const bool takesOperand =
        form.command == Command::installPackage || form.command == Command::eject;
    if (operands.size() != (takesOperand ? 1 : 0)) {
        if (!takesOperand)
            return tr("unexpected argument \"%1\"").arg(operands.first());
        return form.command == Command::eject ? tr("%1 takes one volume").arg(found->first)
                                              : tr("%1 takes one package").arg(found->first);
    }
    if (form.command == Command::installPackage)
        line.package = operands.first();
    if (form.command == Command::eject)
        line.volume = operands.first();
    if (form.needsInstaller && line.installer.isEmpty())
        return tr("%1 needs --installer").arg(found->first);
    if (form.needsVolume && line.volume.isEmpty())
        return tr("%1 needs --volume").arg(found->first);
    if (form.needsVersion && line.version.isEmpty())
        return tr("%1 needs --version").arg(found->first);
    if (form.command == Command::verify && line.volume.isEmpty() == line.image.isEmpty())
        return tr("verify needs either --volume or --image");
    return line;
}

QString CommandLine::usage()
{
    //: The command line's help. Translate the words and the explanation; the commands, the
    //: options and the letters I, V, PKG, ISO and VERSION stay as they are.
    return tr(
        "usage: tessaline-cli COMMAND [OPTIONS]\n"
        "  list-installers [--json]\n"
        "  list-disks [--json]\n"
        "  create-usb --installer I --volume V [--yes] [--password-stdin] [--no-verify] [--json]\n"
        "  create-iso --installer I [--output PATH] [--yes] [--no-verify] [--json]\n"
        "  verify --installer I (--volume V | --image ISO) [--json]\n"
        "  install-package PKG [--json]\n"
        "  eject V\n"
        "  available-installers [--json]\n"
        "  download-installer --version VERSION [--password-stdin] [--json]\n"
        "I is an installer's name as listed or its bundle path; V is a volume's name, mount "
        "point or device identifier; VERSION a macOS version as "
        "available-installers lists. What create-usb and create-iso write is read back and "
        "compared with the installer unless --no-verify is given.\n");
}
