// lumivex-boardsim: serves a fleet of simulated projector network boards
// (our test double and the demo fleet) until "quit", SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include "BoardSim.h"
#include "FleetFile.h"
#include "SimControl.h"
#include "SimText.h"

namespace {

constexpr int EXIT_RUNTIME = 1;
constexpr int EXIT_USAGE = 2;
constexpr int GENERATE_LIMIT = 100000;

const char* USAGE =
    "usage: lumivex-boardsim FLEET.json [options]\n"
    "       lumivex-boardsim --demo [options]\n"
    "       lumivex-boardsim --generate N [--first 127.1.0.1] [options]\n"
    "\n"
    "Serves simulated projector network boards, each on its own IPv4 address,\n"
    "on information port 7 and its command port, and answers search datagrams.\n"
    "Prints \"READY <n>\" once every listener is bound, then reads control lines\n"
    "on standard input and answers each with one line.\n"
    "\n"
    "options:\n"
    "  --demo              six varied boards on 127.0.10.1 .. 127.0.10.6\n"
    "  --generate N        N varied boards on consecutive addresses\n"
    "  --first ADDRESS     first address for --generate (default 127.1.0.1)\n"
    "  --search-port P     UDP port for search datagrams (default: the fleet's,\n"
    "                      5006; 0 any free port; off for none)\n"
    "  --print-fleet       print the fleet as JSON and exit\n"
    "  --help              this text\n"
    "\n"
    "Port 7 needs root or a private network namespace, for example:\n"
    "  unshare -rn sh -c 'ip link set lo up; lumivex-boardsim --demo'\n"
    "See tools/boardsim/README.md for the fleet file and the control lines.\n";

struct Options {
    std::string fleetPath;
    bool demo = false;
    int generate = 0;
    std::string first = "127.1.0.1";
    bool searchPortGiven = false;
    int searchPort = 0;
    bool printFleet = false;
};

int UsageError(const std::string& message) {
    std::fprintf(stderr, "lumivex-boardsim: %s\n(lumivex-boardsim --help shows the usage)\n", message.c_str());
    return EXIT_USAGE;
}

// 0 to go on, otherwise the exit code.
int ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        std::string text;
        long long number = 0;
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            return -1;
        } else if (arg == "--demo") {
            options.demo = true;
        } else if (arg == "--print-fleet") {
            options.printFleet = true;
        } else if (arg == "--generate") {
            if (!value(text) || !ParseInt(text, 1, GENERATE_LIMIT, number))
                return UsageError("--generate needs a board count from 1 to " + std::to_string(GENERATE_LIMIT));
            options.generate = static_cast<int>(number);
        } else if (arg == "--first") {
            if (!value(options.first))
                return UsageError("--first needs an address");
        } else if (arg == "--search-port") {
            if (!value(text) || (text != "off" && !ParseInt(text, 0, 65535, number)))
                return UsageError("--search-port needs a port from 0 to 65535, or off");
            options.searchPortGiven = true;
            options.searchPort = text == "off" ? SEARCH_PORT_OFF : static_cast<int>(number);
        } else if (!arg.empty() && arg[0] == '-') {
            return UsageError("unknown option " + arg);
        } else if (options.fleetPath.empty()) {
            options.fleetPath = arg;
        } else {
            return UsageError("only one fleet file, please");
        }
    }
    const int sources = (options.fleetPath.empty() ? 0 : 1) + (options.demo ? 1 : 0) + (options.generate ? 1 : 0);
    if (sources != 1)
        return UsageError("give exactly one of a fleet file, --demo or --generate N");
    return 0;
}

bool LoadFleet(const Options& options, SimFleet& fleet, std::string& error) {
    if (options.demo)
        fleet = CFleetFile::Demo();
    else if (options.generate && !CFleetFile::Generate(options.generate, options.first, fleet, error))
        return false;
    else if (!options.generate && !CFleetFile::Load(options.fleetPath, fleet, error))
        return false;
    if (options.searchPortGiven)
        fleet.searchPort = options.searchPort;
    return true;
}

// Reads control lines until "quit", a signal or a broken output; end of input
// only stops the reading, so a fleet started in the background keeps serving.
void ServeControlLines(CBoardSim& sim, int signalFd) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {signalFd, POLLIN, 0}};
    std::string pending;
    for (;;) {
        if (poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents)
            return;
        if (!fds[0].revents)
            continue;
        char buffer[4096];
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            fds[0].fd = -1;  // poll ignores it from now on
            continue;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (Trim(line).empty())
                continue;
            const std::string answer = sim.Apply(line);
            std::printf("%s\n", answer.c_str());
            std::fflush(stdout);
            if (!sim.IsRunning())
                return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int code = ParseOptions(argc, argv, options))
        return code < 0 ? 0 : code;

    SimFleet fleet;
    std::string error;
    if (!LoadFleet(options, fleet, error)) {
        std::fprintf(stderr, "lumivex-boardsim: %s\n", error.c_str());
        return EXIT_USAGE;
    }
    if (options.printFleet) {
        std::fputs(CFleetFile::Write(fleet).c_str(), stdout);
        return 0;
    }

    // Signals arrive through a descriptor; every thread inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    CBoardSim sim(std::move(fleet));
    if (!sim.Start(error)) {
        std::fprintf(stderr, "lumivex-boardsim: %s\n", error.c_str());
        return EXIT_RUNTIME;
    }
    if (!sim.FileLimitWarning().empty())
        std::fprintf(stderr, "lumivex-boardsim: warning: %s\n", sim.FileLimitWarning().c_str());
    std::printf("READY %zu\n", sim.BoardCount());
    std::fflush(stdout);

    ServeControlLines(sim, signalFd);
    sim.Stop();
    if (signalFd >= 0)
        close(signalFd);
    return 0;
}
