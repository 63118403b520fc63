// lumivexctl watch: runs the engine over the given boards with automatic
// update and prints every change and every new error as it happens.
#include <cstdio>
#include <ctime>

#include "BoardAccess.h"
#include "CtlCommand.h"
#include "CtlFleet.h"
#include "TerminalPrompt.h"
#include "comm/ProjectorInfo.h"
#include "platform/DateTime.h"

namespace {

const char* const kUsage = "watch ADDRESS... [--interval SECONDS] [--ports LO-HI]";
constexpr int kDefaultIntervalSeconds = 10;

std::string Now() { return CDateTime::CurrentLocal().Format("%H:%M:%S"); }

void PrintChange(const CProjectorInfo* r) {
    std::printf("%s %s %s %s %s\n", Now().c_str(), r->ipAddress.c_str(), r->StatusText().c_str(),
                r->PowerText().c_str(), r->HoursText().c_str());
    std::fflush(stdout);
}

void PrintError(const CProjectorInfo* r) {
    std::printf("%s %s ERROR %d %s\n", Now().c_str(), r->ipAddress.c_str(), r->status, r->StatusText().c_str());
    std::fflush(stdout);
}

bool AskLogin(CProjectorInfo* r, const std::string& host, std::string& user, std::string& password) {
    std::string who = r->ipAddress + (host.empty() ? "" : " (" + host + ")");
    return PromptLine("login for " + who + ": ", user, true) && PromptLine("password: ", password, false);
}

}  // namespace

int RunWatchCommand(CtlContext&, const std::vector<std::string>& args) {
    CCtlOptions options(args, {"--interval", "--ports"}, {});
    if (!options.Ok())
        return UsageError(options.Error(), kUsage);
    if (options.Positional().empty())
        return UsageError("watch needs at least one ADDRESS", kUsage);
    int interval = kDefaultIntervalSeconds;
    if (auto text = options.Value("--interval")) {
        if (text->empty() || text->size() > 5 || text->find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(*text) < 1)
            return UsageError("--interval wants whole seconds from 1", kUsage);
        interval = std::stoi(*text);
    }
    BoardAccess access;
    std::string error;
    if (!ParseBoardAccess(options, access, error))
        return UsageError(error, kUsage);
    for (const std::string& address : options.Positional())
        if (!IsIPv4Address(address))
            return UsageError("not an IPv4 address: " + address, kUsage);
    if (!CCtlFleet::Fits(static_cast<long>(options.Positional().size()), error))
        return Failure(error);

    CCtlFleet fleet;
    fleet.Engine().SetPortRange(access.portStart, access.portEnd);
    fleet.onChanged = PrintChange;
    fleet.onStatusError = PrintError;
    fleet.onPassword = AskLogin;
    for (const std::string& address : options.Positional())
        if (!fleet.Add(address, {}, {}))
            return Failure("cannot start a session for " + address);
    fleet.Engine().SetUpdateInterval(interval);
    fleet.Engine().ScheduleUpdate();
    fleet.RunUntil([] { return false; }, -1);
    return EXIT_OK;
}
