// csrutil: reports the protection recorded in protection.json. Changing it takes Recovery, which
// the stand-in Mac never boots into.
#include "World.h"
#include "tools/Tools.h"

#include <QTextStream>

namespace {

QString statusText(World::Protection protection)
{
    switch (protection) {
    case World::Protection::Enabled:
        return QStringLiteral("System Integrity Protection status: enabled.\n");
    case World::Protection::Disabled:
        return QStringLiteral("System Integrity Protection status: disabled.\n");
    case World::Protection::Custom:
        break;
    case World::Protection::CustomUnknown:
        // Catalina and later: ten items on Apple silicon.
        return QStringLiteral(
            "System Integrity Protection status: unknown (Custom Configuration).\n"
            "\n"
            "Configuration:\n"
            "\tApple Internal: disabled\n"
            "\tKext Signing: disabled\n"
            "\tFilesystem Protections: disabled\n"
            "\tDebugging Restrictions: disabled\n"
            "\tDTrace Restrictions: disabled\n"
            "\tNVRAM Protections: disabled\n"
            "\tBaseSystem Verification: disabled\n"
            "\tBoot-arg Restrictions: disabled\n"
            "\tKernel Integrity Protections: disabled\n"
            "\tAuthenticated Root Requirement: enabled\n"
            "\n"
            "This is an unsupported configuration, likely to break in the future and leave your "
            "machine in an unknown state.\n");
    }
    return QStringLiteral(
        "System Integrity Protection status: enabled (Custom Configuration).\n"
        "\n"
        "Configuration:\n"
        "\tApple Internal: disabled\n"
        "\tKext Signing: disabled\n"
        "\tFilesystem Protections: enabled\n"
        "\tDebugging Restrictions: enabled\n"
        "\tDTrace Restrictions: enabled\n"
        "\tNVRAM Protections: enabled\n"
        "\tBaseSystem Verification: enabled\n"
        "\n"
        "This is an unsupported configuration, likely to break in the future and leave your "
        "machine in an unknown state.\n");
}

int usage()
{
    QTextStream(stderr) << "usage: csrutil <command>\n"
                           "Modify the System Integrity Protection configuration. All "
                           "configuration changes apply to the entire machine.\n"
                           "Available commands:\n"
                           "\n"
                           "    clear\n"
                           "        Clear the existing configuration.\n"
                           "    disable\n"
                           "        Disable the protection on the machine. Only available in "
                           "Recovery OS.\n"
                           "    enable\n"
                           "        Enable the protection on the machine. Only available in "
                           "Recovery OS.\n"
                           "    status\n"
                           "        Display the current configuration.\n";
    return 1;
}

} // namespace

int runCsrutil(const World &world, const QStringList &args)
{
    const QString command = args.value(0);
    if (command == QLatin1String("status") && args.size() == 1) {
        QTextStream(stdout) << statusText(world.protection());
        return 0;
    }
    if (command == QLatin1String("enable") || command == QLatin1String("disable") ||
        command == QLatin1String("clear")) {
        QTextStream(stderr) << "csrutil: failed to modify system integrity configuration. This "
                               "tool needs to be executed from the Recovery OS.\n";
        return 1;
    }
    return usage();
}
