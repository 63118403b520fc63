// lumivexctl discover: one projector search as the console makes it, with
// the search settings of the profile unless the options say otherwise.
// Prints each board's address as it answers and the number of boards at the end.
#include <cstdio>
#include <optional>
#include <set>
#include <string>

#include "BoardAccess.h"
#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "CtlFleet.h"
#include "comm/CommDefs.h"
#include "comm/NetBoardInfo.h"
#include "platform/WinsockError.h"
#include "settings/ProfileStore.h"
#include "settings/Value.h"

namespace {

const char* const kUsage = "discover [--port P] [--seconds S] [--only ADDRESS]";
constexpr CtlOption kOptions[] = {
    {"--port", "P", "the search port (default: the profile's ProjectorSearchPort)"},
    {"--seconds", "S", "how long to listen for boards (default: the profile's ProjectorSearchSecond)"},
    {"--only", "ADDRESS", "broadcast only from the local interface with this address (default: the profile's)"},
};
constexpr int kLowestPort = 1;
constexpr int kHighestPort = 65535;
constexpr int kLongestSearchSeconds = 3600;

std::string SocketErrorText(int error) {
    switch (error) {
    case WSAEADDRINUSE: return "address already in use";
    case WSAEACCES: return "permission denied";
    case WSAENETUNREACH: return "network unreachable";
    case WSAEHOSTUNREACH: return "host unreachable";
    case WSAENETDOWN: return "network down";
    default: return "socket error " + std::to_string(error);
    }
}

std::string Explain(const SearchFailure& failure, int port) {
    const std::string reason = " (" + SocketErrorText(failure.socketError) + ")";
    switch (failure.reason) {
    case SEARCH_FAIL_LISTEN:
        if (failure.socketError == WSAEADDRINUSE)
            return "cannot listen on TCP port " + std::to_string(port) + ": the port is in use";
        return "cannot listen on TCP port " + std::to_string(port) + reason;
    case SEARCH_FAIL_BROADCAST:
        if (failure.interfaceAddress.empty())
            return "cannot open the broadcast socket" + reason;
        return "the search broadcast on interface " + failure.interfaceAddress + " failed" + reason;
    case SEARCH_FAIL_PORT:
        return "search port " + std::to_string(port) + " is outside 1..65535 (see ProjectorSearchPort, or give --port)";
    case SEARCH_FAIL_THREAD: return "cannot start the search listener";
    case SEARCH_FAIL_RUNNING: return "a search is already running";
    default: return "the search did not start";
    }
}

// Says on stderr where the datagram goes, so an empty result is not a mystery.
void DescribeInterfaces(CCommWnd& engine, const std::string& only, int port, int seconds) {
    int used = 0;
    for (int n = 0; const CNetBoardInfo* info = engine.Interfaces().GetAt(n); ++n) {
        if (!CCommWnd::IsSearchInterface(*info, only))
            continue;
        std::fprintf(stderr, "searching on %s/%s port %d for %d s\n", info->address.c_str(), info->mask.c_str(),
                     port, seconds);
        ++used;
    }
    if (used == 0)
        std::fprintf(stderr, "no interface to broadcast on%s; listening on port %d for %d s\n",
                     only.empty() ? "" : (" with address " + only).c_str(), port, seconds);
}

int RunDiscoverCommand(CtlContext& context, const CCtlOptions& options) {
    if (!options.Positional().empty())
        return UsageError("discover takes no ADDRESS", kUsage);
    std::optional<int> port;
    std::optional<int> seconds;
    std::optional<std::string> only;
    int number = 0;
    if (auto text = options.Value("--port")) {
        if (!ParseWholeNumber(*text, kLowestPort, kHighestPort, number))
            return UsageError("--port wants a port from 1 to 65535", kUsage);
        port = number;
    }
    if (auto text = options.Value("--seconds")) {
        if (!ParseWholeNumber(*text, 1, kLongestSearchSeconds, number))
            return UsageError("--seconds wants whole seconds from 1 to 3600", kUsage);
        seconds = number;
    }
    if (auto text = options.Value("--only")) {
        if (!IsIPv4Address(*text))
            return UsageError("--only wants the IPv4 address of a local interface", kUsage);
        only = *text;
    }

    // What the options leave open comes from the profile, as in the console:
    // the port and the search time are what the view would copy into the
    // engine; the engine reads the interface choice at the search.
    OpenProfile(context.profilePath);
    CCtlFleet fleet;
    CCommWnd& engine = fleet.Engine();
    engine.SetSearchPort(port.value_or(CValue().GetProjectorSearchPort()));
    engine.SetSearchSeconds(seconds.value_or(CValue().GetProjectorSearchSecond()));
    engine.SetOnlyBroadcastBoardIP(only);
    // A board that connects twice is one board, as the console's list sees it.
    std::set<std::string> boards;
    bool done = false;
    fleet.onSearchFound = [&boards](const std::string& address) {
        if (boards.insert(address).second) {
            std::printf("%s\n", address.c_str());
            std::fflush(stdout);
        }
    };
    fleet.onSearchDone = [&done] { done = true; };
    DescribeInterfaces(engine, only.value_or(CValue().GetOnlyBroadcastBoardIP()), engine.SearchPort(),
                       engine.SearchSeconds());
    if (engine.StartSearch() != 0) {
        const SearchFailure failure = engine.LastSearchFailure();
        engine.StopSearch(0);
        return Failure(Explain(failure, engine.SearchPort()));
    }
    if (!fleet.RunUntil([&done] { return done; }, -1)) {
        engine.StopSearch(0);
        return Failure("search interrupted after " + std::to_string(boards.size()) + " board(s)");
    }
    std::printf("%zu board(s) found\n", boards.size());
    return EXIT_OK;
}

}  // namespace

const CtlCommandEntry kDiscoverCommand{
    "discover", RunDiscoverCommand, kUsage,
    "One projector search as the console makes it: broadcasts on every local subnet (it reaches the real\n"
    "network) and lists each board that connects back, then the count.",
    kOptions};
