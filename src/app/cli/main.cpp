// velmora-cli: the player's workings from a terminal, one file per subcommand.
#include "app/cli/cli_common.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

// Each subcommand: its function (in its own file), its name, a line of help.
// A new subcommand is one file defining `int velmora::cli::<function>(const QStringList&)`
// and one line here.
#define VELMORA_CLI_SUBCOMMANDS(X)                                                            \
    X(runMci, "mci", "read command strings from stdin, one a line; print code, reply, error") \
    X(runDiscId, "discid", "print the disc ID of the disc in the drive")                      \
    X(runInfo, "info", "print what the disc database holds for the disc in the drive")        \
    X(runLookup, "lookup",                                                                    \
      "[--source cddb|musicbrainz|auto] [--server HOST/PATH] [--musicbrainz URL]\n"           \
      "             [--coverart URL] [--cover FILE] look the disc's titles up")

namespace velmora::cli {

#define VELMORA_DECLARE(function, name, help) int function(const QStringList& args);
VELMORA_CLI_SUBCOMMANDS(VELMORA_DECLARE)
#undef VELMORA_DECLARE

namespace {

struct Subcommand {
    const char* name;
    const char* help;
    int (*run)(const QStringList&);
};

#define VELMORA_ENTRY(function, name, help) {(name), (help), &(function)},
constexpr Subcommand kSubcommands[] = {VELMORA_CLI_SUBCOMMANDS(VELMORA_ENTRY)};
#undef VELMORA_ENTRY

void printUsage(std::FILE* out) {
    std::fprintf(out, "usage: velmora-cli <command>\n\ncommands:\n");
    for (const auto& s : kSubcommands) std::fprintf(out, "  %-10s %s\n", s.name, s.help);
    std::fprintf(out,
                 "\nThe drive is chosen by VELMORA_DRIVE (sim:PATH, sim:, a device or an image),\n"
                 "else the machine's first CD drive, else the demo disc.\n"
                 "lookup asks MusicBrainz, then the CDDB server (--source auto), and prints\n"
                 "Artist=, Title=, Track<n>=, Source= and, from MusicBrainz, Release= lines and\n"
                 "exits 0; or prints \"Record Not Found\" and exits 3; a server that refused or\n"
                 "failed exits 4 with its words on stderr. --cover FILE writes the front cover there.\n"
                 "Exit codes of every command: 0 done, 1 no drive or no audio disc, 2 usage,\n"
                 "5 a local file cannot be used (the disc database, the settings file, or the\n"
                 "image or .disc file VELMORA_DRIVE names); the reason goes to stderr.\n");
}

}  // namespace
}  // namespace velmora::cli

int main(int argc, char** argv) {
    using namespace velmora::cli;
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        printUsage(stderr);
        return kExitUsage;
    }
    const QString& command = args.at(1);
    if (command == QLatin1String("-h") || command == QLatin1String("--help") || command == QLatin1String("help")) {
        printUsage(stdout);
        return kExitOk;
    }
    for (const auto& s : kSubcommands) {
        if (command != QLatin1String(s.name)) continue;
        int code = s.run(args.mid(2));
        if (code == kExitWhenDone) code = QCoreApplication::exec();
        return code == kExitOk && fileProblemReported() ? kExitFileProblem : code;
    }
    printError(QStringLiteral("unknown command \"%1\"").arg(command));
    printUsage(stderr);
    return kExitUsage;
}
