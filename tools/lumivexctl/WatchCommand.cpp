// lumivexctl watch: runs the engine over the given boards with automatic
// update and prints every change and every new error as it happens.
#include <cstdio>
#include <ctime>

#include "BoardAccess.h"
#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "CtlFleet.h"
#include "CtlProfile.h"
#include "TerminalPrompt.h"
#include "comm/ProjectorInfo.h"
#include "platform/DateTime.h"

namespace {

const char* const kUsage = "watch ADDRESS... [--interval SECONDS] [--ports LO-HI]";
constexpr CtlOption kOptions[] = {
    {"--interval", "SECONDS", "seconds between polls (default 10)"},
    kProfilePortsOption,
};
constexpr int kDefaultIntervalSeconds = 10;
constexpr int kLongestIntervalSeconds = 99999;

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

int RunWatchCommand(CtlContext& context, const CCtlOptions& options) {
    if (options.Positional().empty())
        return UsageError("watch needs at least one ADDRESS", kUsage);
    int interval = kDefaultIntervalSeconds;
    if (auto text = options.Value("--interval")) {
        if (!ParseWholeNumber(*text, 1, kLongestIntervalSeconds, interval))
            return UsageError("--interval wants whole seconds from 1 to 99999", kUsage);
    }
    for (const std::string& address : options.Positional())
        if (!IsIPv4Address(address))
            return UsageError("not an IPv4 address: " + address, kUsage);
    if (int rc = OpenCtlProfile(context, true); rc != EXIT_OK)
        return rc;
    CtlEngineSettings settings;
    if (int rc = ReadCtlPortRange(options, kUsage, settings); rc != EXIT_OK)
        return rc;
    std::string error;
    if (!CCtlFleet::Fits(static_cast<long>(options.Positional().size()), error))
        return Failure(error);

    CCtlFleet fleet;
    settings.ApplyTo(fleet.Engine());
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

}  // namespace

const CtlCommandEntry kWatchCommand{
    "watch", RunWatchCommand, kUsage,
    "Runs the engine over the boards with automatic update and prints every change and every new error\n"
    "as it happens, until interrupted; asks on the terminal for a login a board wants.",
    kOptions};
