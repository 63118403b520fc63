// lumivexctl refresh: one tracked update cycle over the given boards, then
// one row per projector, as CSV rows of the periodic report with --csv.
#include <cstdio>

#include "AddressFile.h"
#include "BoardAccess.h"
#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "CtlFleet.h"
#include "CtlMailHost.h"
#include "CtlProfile.h"
#include "comm/ProjectorInfo.h"
#include "mail/MailDefs.h"
#include "mail/MailNotifier.h"
#include "platform/TickCount.h"

namespace {

const char* const kUsage =
    "refresh (ADDRESS... | --from FILE) [--csv] [--user NAME] [--password-file FILE] [--ports LO-HI]";
constexpr CtlOption kOptions[] = {
    {"--from", "FILE", "the boards of FILE (one IPv4 address a line) instead of ADDRESS..."},
    {"--csv", nullptr, "print the rows of the periodic report's CSV attachment"},
    kUserOption,
    kPasswordFileOption,
    kProfilePortsOption,
};
// First contact, login and a full poll may each wait out a 30 s time-out.
constexpr int kCycleLimitMs = 3 * 30000 + 5000;

bool CollectAddresses(const CCtlOptions& options, std::vector<std::string>& addresses, std::string& error) {
    addresses = options.Positional();
    if (auto file = options.Value("--from")) {
        if (!addresses.empty()) {
            error = "give addresses or --from FILE, not both";
            return false;
        }
        std::vector<std::string> errors;
        if (!ReadAddressFile(*file, addresses, errors)) {
            error = *file + ": " + errors.front() + (errors.size() > 1 ? " (and more)" : "");
            return false;
        }
    }
    if (addresses.empty()) {
        error = "refresh needs addresses or --from FILE";
        return false;
    }
    for (const std::string& address : addresses)
        if (!IsIPv4Address(address)) {
            error = "not an IPv4 address: " + address;
            return false;
        }
    return true;
}

void PrintTable(const std::vector<CProjectorInfo*>& records) {
    for (const CProjectorInfo* r : records)
        std::printf("%-15s %-16s %-12s %-14s %s\n", r->ipAddress.c_str(), r->StatusText().c_str(),
                    r->PowerText().c_str(), r->HoursText().c_str(), r->name.c_str());
}

int RunRefreshCommand(CtlContext& context, const CCtlOptions& options) {
    std::vector<std::string> addresses;
    BoardAccess access;
    std::string error;
    if (!CollectAddresses(options, addresses, error) || !ParseBoardAccess(options, access, error))
        return UsageError(error, kUsage);
    if (int rc = OpenCtlProfile(context, true); rc != EXIT_OK)
        return rc;
    CtlEngineSettings settings;
    if (int rc = ReadCtlPortRange(options, kUsage, settings); rc != EXIT_OK)
        return rc;
    if (!CCtlFleet::Fits(static_cast<long>(addresses.size()), error))
        return Failure(error);

    CCtlFleet fleet;
    settings.ApplyTo(fleet.Engine());
    // Boards that want a login nobody gave are reported as connection errors.
    fleet.onPassword = [](CProjectorInfo*, const std::string&, std::string&, std::string&) { return false; };
    for (const std::string& address : addresses)
        if (!fleet.Add(address, access.user, access.password))
            return Failure("cannot start a session for " + address);
    bool done = false;
    fleet.onUpdateDone = [&done] { done = true; };
    const auto start = TickCount();
    fleet.Engine().RequestUpdateAll(1);
    if (!fleet.RunUntil([&done] { return done; }, kCycleLimitMs))
        return Failure(CCtlFleet::Interrupted() ? "interrupted" : "not every board reported in time");
    std::fprintf(stderr, "refreshed %zu projectors in %lld ms\n", addresses.size(),
                 static_cast<long long>(TickCount() - start));

    if (options.Flag("--csv")) {
        CCtlMailHost host(fleet, nullptr);
        CMailNotifier notifier;
        notifier.SetHost(&host);
        std::fputs(notifier.MakeCsvRows(MAIL_KIND_REPORT).c_str(), stdout);
    } else {
        PrintTable(fleet.Records());
    }
    return EXIT_OK;
}

}  // namespace

const CtlCommandEntry kRefreshCommand{
    "refresh", RunRefreshCommand, kUsage,
    "One tracked update cycle over the boards, as the console's refresh makes it, then one row per projector.",
    kOptions};
