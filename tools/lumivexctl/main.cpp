// lumivexctl: the console's command-line companion.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "CtlCommand.h"
#include "comm/SocketEx.h"
#include "platform/ResourceText.h"

int RunPollCommand(CtlContext& context, const std::vector<std::string>& args);
int RunSendCommand(CtlContext& context, const std::vector<std::string>& args);
int RunWatchCommand(CtlContext& context, const std::vector<std::string>& args);
int RunRefreshCommand(CtlContext& context, const std::vector<std::string>& args);
int RunReportCommand(CtlContext& context, const std::vector<std::string>& args);
int RunMailSettingsCommand(CtlContext& context, const std::vector<std::string>& args);
int RunListCommand(CtlContext& context, const std::vector<std::string>& args);
int RunImportCommand(CtlContext& context, const std::vector<std::string>& args);
int RunRemoveCommand(CtlContext& context, const std::vector<std::string>& args);
int RunDiscoverCommand(CtlContext& context, const std::vector<std::string>& args);

namespace {

// One line per command; later commands add theirs here.
const CtlCommandEntry kCommands[] = {
    {"poll", RunPollCommand, "poll ADDRESS [--user NAME] [--password-file FILE] [--ports LO-HI] [--json]"},
    {"send", RunSendCommand,
     "send (ADDRESS | --group FILE) COMMAND [--spacing SECONDS] [--user NAME] [--password-file FILE] [--ports LO-HI]"},
    {"watch", RunWatchCommand, "watch ADDRESS... [--interval SECONDS] [--ports LO-HI]"},
    {"refresh", RunRefreshCommand,
     "refresh (ADDRESS... | --from FILE) [--csv] [--user NAME] [--password-file FILE] [--ports LO-HI]"},
    {"report", RunReportCommand, "report [--to ADDRESS] [--timeout SECONDS]"},
    {"mail-settings", RunMailSettingsCommand, "mail-settings [--json]"},
    {"list", RunListCommand, "list [--json]"},
    {"import", RunImportCommand, "import FILE"},
    {"remove", RunRemoveCommand, "remove ADDRESS"},
    {"discover", RunDiscoverCommand, "discover [--port P] [--seconds S] [--only ADDRESS]"},
};

void PrintHelp(FILE* out) {
    std::fputs("usage: lumivexctl [--profile FILE] COMMAND [ARGS]\ncommands:\n", out);
    for (const CtlCommandEntry& entry : kCommands)
        std::fprintf(out, "  %s\n", entry.usage);
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
    std::vector<std::string> args(argv + i + 1, argv + argc);
    for (const CtlCommandEntry& entry : kCommands)
        if (std::strcmp(entry.name, argv[i]) == 0)
            return entry.run(context, args);
    std::fprintf(stderr, "lumivexctl: unknown command %s\n", argv[i]);
    PrintHelp(stderr);
    return EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    LoadResourceBundle();
    SocketsStartup();
    int rc = Run(argc, argv);
    SocketsCleanup();
    UnloadResourceBundle();
    return rc;
}
