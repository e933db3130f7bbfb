// codesign: verifies bundles against the signature they carry (see Signatures.h), with the real
// tool's wording, streams and exit statuses: nothing on standard output, every verdict on
// standard error, 0 when valid, 1 when verification fails, 3 when a requirement given with -R is
// not met, 2 for a command line it does not take. The only requirement it knows is
// "anchor apple". --display (-d) prints what the real tool prints of a signature, its
// certificate chain among it, on standard error. Signing is not played.
//
// Every invocation appends its argv as one JSON array line to var/standin/codesign.log.
#include "World.h"
#include "tools/PackageToolSupport.h"
#include "tools/Signatures.h"
#include "tools/Tools.h"

#include <QFileInfo>

#include <optional>

namespace {

struct Options {
    bool display = false;
    int verbosity = 0;
    // Requirement texts given with -R, without their leading "=".
    QStringList requirements;
    QStringList paths;
};

int usage()
{
    ToolSupport::writeErr(
        "Usage: codesign -s identity [-fv*] [-o flags] [-r reqs] [-i ident] path ... # sign\n"
        "       codesign -v [-v*] [-R=<req string>|-R <req file path>] path|[+]pid ... # verify\n"
        "       codesign -d [options] path ... # display contents\n"
        "       codesign -h pid ... # display hosting paths\n");
    return 2;
}

// -R takes its argument attached ("-R=anchor apple") or as the next one; the text form begins
// with "=", anything else would be the path of a compiled requirement.
std::optional<Options> parse(const QStringList &args)
{
    Options options;
    bool verify = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        QString requirement;
        if (arg == QLatin1String("--verify")) {
            verify = true;
        } else if (arg == QLatin1String("--display") || arg == QLatin1String("-d")) {
            options.display = true;
        } else if (arg.startsWith(QLatin1String("--verbose="))) {
            options.verbosity += arg.mid(10).toInt();
        } else if (arg.startsWith(QLatin1String("-v")) && arg.count(u'v') == arg.size() - 1) {
            // -v asks for verification; each further v, here or in another -v, adds verbosity.
            options.verbosity += int(arg.size() - 1) - (verify ? 0 : 1);
            verify = true;
        } else if (arg == QLatin1String("--verbose")) {
            ++options.verbosity;
        } else if (arg == QLatin1String("--strict") || arg == QLatin1String("--deep")) {
        } else if (arg == QLatin1String("-R") || arg == QLatin1String("--test-requirement")) {
            if (++i == args.size())
                return std::nullopt;
            requirement = args.at(i);
        } else if (arg.startsWith(QLatin1String("-R"))) {
            requirement = arg.mid(2);
        } else if (arg.startsWith(QLatin1String("--test-requirement="))) {
            requirement = arg.mid(19);
        } else if (arg.startsWith(u'-')) {
            return std::nullopt;
        } else {
            options.paths << arg;
        }
        if (!requirement.isNull()) {
            if (!requirement.startsWith(u'='))
                return std::nullopt;
            options.requirements << requirement.mid(1).trimmed();
        }
    }
    if (verify == options.display || options.paths.isEmpty())
        return std::nullopt;
    return options;
}

// The signer of the bundle at PATH, or nothing once codesign has said why it has none.
std::optional<QString> signerOrRefusal(const World &world, const QByteArray &shown,
                                       const QString &path)
{
    const QString bundle = ToolSupport::hostPath(world, path);
    if (!QFileInfo::exists(bundle)) {
        ToolSupport::writeErr(shown + ": No such file or directory\n");
        return std::nullopt;
    }
    const QString signer = Signatures::signerOf(bundle);
    if (signer == QLatin1String(Signatures::notSigned)) {
        ToolSupport::writeErr(shown + ": code object is not signed at all\n");
        return std::nullopt;
    }
    return signer;
}

// One path's verdict, printed as codesign prints it; its exit status.
int verifyOne(const World &world, const Options &options, const QString &path)
{
    const QByteArray shown = path.toUtf8();
    const std::optional<QString> found = signerOrRefusal(world, shown, path);
    if (!found)
        return 1;
    const QString &signer = *found;
    if (signer == QLatin1String(Signatures::tampered)) {
        ToolSupport::writeErr(shown + ": a sealed resource is missing or invalid\n");
        return 1;
    }
    if (signer == QLatin1String(Signatures::expired) ||
        signer == QLatin1String(Signatures::expiredOther)) {
        ToolSupport::writeErr(shown + ": CSSMERR_TP_CERT_EXPIRED\n");
        return 1;
    }
    if (options.verbosity > 0)
        ToolSupport::writeErr(shown + ": valid on disk\n" + shown +
                              ": satisfies its Designated Requirement\n");
    for (const QString &requirement : options.requirements) {
        if (requirement != QLatin1String("anchor apple") ||
            signer != QLatin1String(Signatures::apple)) {
            ToolSupport::writeErr(
                "test-requirement: code failed to satisfy specified code requirement(s)\n");
            return 3;
        }
    }
    if (options.verbosity > 0 && !options.requirements.isEmpty())
        ToolSupport::writeErr(shown + ": explicit requirement satisfied\n");
    return 0;
}

// The certificate chain of a signer, leaf first, as the display names it.
QStringList authoritiesOf(const QString &signer)
{
    if (signer == QLatin1String(Signatures::apple) ||
        signer == QLatin1String(Signatures::expired) ||
        signer == QLatin1String(Signatures::tampered))
        return {QStringLiteral("Software Signing"),
                QStringLiteral("Apple Code Signing Certification Authority"),
                QStringLiteral("Apple Root CA")};
    return {QStringLiteral("Developer ID Application: Quick Tools Ltd (Q7T5X2K9LM)"),
            QStringLiteral("Developer ID Certification Authority"),
            QStringLiteral("Apple Root CA")};
}

// One path's signature as `codesign --display --verbose=2` shows it; its exit status.
int displayOne(const World &world, const QString &path)
{
    const QByteArray shown = path.toUtf8();
    const std::optional<QString> signer = signerOrRefusal(world, shown, path);
    if (!signer)
        return 1;
    QByteArray text = "Executable=" + shown + "/Contents/MacOS/InstallAssistant_springboard\n" +
                      "Identifier=com.apple.InstallAssistant.macOSSequoia\n"
                      "Format=app bundle with Mach-O universal (x86_64 arm64)\n"
                      "CodeDirectory v=20400 size=1391 flags=0x2000(library-validation) "
                      "hashes=32+7 location=embedded\n"
                      "Signature size=4523\n";
    for (const QString &authority : authoritiesOf(*signer))
        text += "Authority=" + authority.toUtf8() + '\n';
    text += "Info.plist entries=33\nTeamIdentifier=not set\n"
            "Sealed Resources version=2 rules=13 files=172\n"
            "Internal requirements count=1 size=84\n";
    ToolSupport::writeErr(text);
    return 0;
}

} // namespace

int runCodesign(const World &world, const QStringList &args)
{
    ToolSupport::logArguments(world, QStringLiteral("codesign.log"),
                              QStringList{QStringLiteral("codesign")} + args);
    const std::optional<Options> options = parse(args);
    if (!options)
        return usage();
    int status = 0;
    for (const QString &path : options->paths)
        status = std::max(status, options->display ? displayOne(world, path)
                                                   : verifyOne(world, *options, path));
    return status;
}
