// lumivexctl: the console's command-line companion.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "comm/SocketEx.h"
#include "platform/ResourceText.h"

namespace {

const CtlCommandEntry* const kCommands[] = {
    &kPollCommand, &kSendCommand,         &kWatchCommand, &kRefreshCommand, &kReportCommand,
    &kMailSettingsCommand, &kListCommand, &kImportCommand, &kRemoveCommand, &kDiscoverCommand,
};

const char* const kProfileHelp =
    "--profile FILE  the profile store to use (default: the console's, $XDG_CONFIG_HOME/TARNEL/Lumivex.conf)";

void PrintHelp(FILE* out) {
    std::fputs("usage: lumivexctl [--profile FILE] COMMAND [ARGS]\n"
               "       lumivexctl COMMAND --help\n"
               "commands:\n",
               out);
    for (const CtlCommandEntry* entry : kCommands)
        PrintUsageForms(out, entry->usage, "  ", "  ");
    std::fprintf(out, "global options:\n  %s\n", kProfileHelp);
}

void PrintCommandHelp(const CtlCommandEntry& entry) {
    PrintUsageForms(stdout, entry.usage, "usage: lumivexctl ", "       lumivexctl ");
    std::printf("%s\noptions:\n", entry.summary);
    size_t width = std::strlen("--help");
    auto shown = [](const CtlOption& option) {
        return std::string(option.name) + (option.value ? std::string(" ") + option.value : std::string());
    };
    for (const CtlOption& option : entry.options)
        width = std::max(width, shown(option).size());
    for (const CtlOption& option : entry.options)
        std::printf("  %-*s  %s\n", static_cast<int>(width), shown(option).c_str(), option.help);
    std::printf("  %-*s  %s\n", static_cast<int>(width), "--help", "this help");
    std::printf("global options:\n  %s\n", kProfileHelp);
}

const CtlCommandEntry* FindCommand(const char* name) {
    for (const CtlCommandEntry* entry : kCommands)
        if (std::strcmp(entry->name, name) == 0)
            return entry;
    return nullptr;
}

// The command's own options, its help, or the command itself.
int RunCommand(const CtlCommandEntry& entry, CtlContext& context, const std::vector<std::string>& args) {
    CCtlOptions options(args, entry.options);
    if (!options.Ok())
        return UsageError(options.Error(), entry.usage);
    if (options.Flag("--help")) {
        PrintCommandHelp(entry);
        return EXIT_OK;
    }
    LoadResourceBundle();
    int rc = entry.run(context, options);
    UnloadResourceBundle();
    return rc;
}

// Global options, then the command.
int Run(int argc, char** argv) {
    CtlContext context;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            PrintHelp(stdout);
            return EXIT_OK;
        }
        if (option == "--profile" && i + 1 < argc) {
            context.profilePath = argv[++i];
        } else if (option.rfind("--profile=", 0) == 0) {
            context.profilePath = option.substr(10);
        } else {
            std::fprintf(stderr, "lumivexctl: unknown option %s\n", argv[i]);
            PrintHelp(stderr);
            return EXIT_USAGE;
        }
    }
    if (i >= argc) {
        PrintHelp(stderr);
        return EXIT_USAGE;
    }
    if (const CtlCommandEntry* entry = FindCommand(argv[i]))
        return RunCommand(*entry, context, std::vector<std::string>(argv + i + 1, argv + argc));
    std::fprintf(stderr, "lumivexctl: unknown command %s\n", argv[i]);
    PrintHelp(stderr);
    return EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SocketsStartup();
    int rc = Run(argc, argv);
    SocketsCleanup();
    return rc;
}
