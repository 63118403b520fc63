// lumivexctl send: one control command to one board, then the power-only poll
// the console's session makes after a command.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <map>

#include "AddressFile.h"
#include "BoardAccess.h"
#include "CtlFleet.h"
#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "CtlProfile.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "comm/ProjectorInfo.h"
#include "comm/ValueProjectorInfo.h"
#include "platform/TickCount.h"

namespace {

const char* const kUsage =
    "send ADDRESS COMMAND [--user NAME] [--password-file FILE] [--ports LO-HI] [--poll-delay MS]\n"
    "send --group FILE COMMAND [--spacing SECONDS] [--user NAME] [--password-file FILE] [--ports LO-HI]";
constexpr CtlOption kOptions[] = {
    kUserOption,
    kPasswordFileOption,
    {"--ports", "LO-HI", "local ports to bind in turn (default: any; with --group the profile's, as the console)"},
    {"--poll-delay", "MS", "for one ADDRESS: milliseconds from the command to the power poll (default 4500)"},
    {"--group", "FILE", "send to every board of FILE (one IPv4 address a line) as the console sends to a group"},
    {"--spacing", "SECONDS", "with --group: seconds between power-ons (default: the profile's, as the console)"},
};

// The session pauses 500 ms after a command and 4000 ms before its power poll.
constexpr int kDefaultPollDelayMs = 4500;
constexpr int kLongestPollDelayMs = 999999;

const std::map<std::string, int>& CommandNames() {
    static const std::map<std::string, int> names = [] {
        std::map<std::string, int> m = {
            {"power-on", CONTROL_POWER_ON},      {"standby", CONTROL_STANDBY},
            {"imbk-on", CONTROL_IMBK_ON},        {"imbk-off", CONTROL_IMBK_OFF},
            {"mute-on", CONTROL_MUTE_ON},        {"mute-off", CONTROL_MUTE_OFF},
            {"lnst-on", CONTROL_LNST_ON},        {"lnst-off", CONTROL_LNST_OFF},
            {"imbk-mute-on", CONTROL_IMBK_MUTE_ON}, {"imbk-mute-off", CONTROL_IMBK_MUTE_OFF},
        };
        for (int n = 1; n <= 6; ++n) {
            m["rgb" + std::to_string(n)] = CONTROL_RGB1 + n - 1;
            m["video" + std::to_string(n)] = CONTROL_VIDEO1 + n - 1;
        }
        return m;
    }();
    return names;
}

// The control index of a name or a number 0..21, or -1.
int ControlIndexOf(const std::string& text) {
    auto it = CommandNames().find(text);
    if (it != CommandNames().end())
        return it->second;
    int index = -1;
    return ParseWholeNumber(text, 0, CONTROL_COUNT - 1, index) ? index : -1;
}

// Waits a session's command and its power poll out: how long a group may
// take. A long spacing over a large group passes any int: wait without limit.
int GroupDeadlineMs(size_t members, int spacing) {
    constexpr std::int64_t kPerSessionMs = 4500 + 2 * 30000;
    const std::int64_t ms = std::int64_t(members) * spacing * 1000 + kPerSessionMs;
    return ms > INT_MAX ? -1 : static_cast<int>(ms);
}

// One command to every board of a file through the engine, as the console
// sends it to a group: power-on one after another when a spacing is given.
int RunGroupSend(const CtlContext& context, const CCtlOptions& options, const std::string& file) {
    if (options.Positional().size() != 1)
        return UsageError("send --group takes one COMMAND", kUsage);
    int index = ControlIndexOf(options.Positional()[0]);
    if (index < 0)
        return UsageError("unknown command: " + options.Positional()[0], kUsage);
    if (options.Value("--poll-delay"))
        return UsageError("--poll-delay is for one ADDRESS; with --group the console's pause applies", kUsage);
    BoardAccess access;
    std::string error;
    if (!ParseBoardAccess(options, access, error))
        return UsageError(error, kUsage);
    if (int rc = OpenCtlProfile(context, true); rc != EXIT_OK)
        return rc;
    CtlEngineSettings settings;
    if (int rc = ReadCtlPortRange(options, kUsage, settings); rc != EXIT_OK)
        return rc;
    if (int rc = ReadCtlPowerOnSpacing(options, kUsage, settings); rc != EXIT_OK)
        return rc;
    std::vector<std::string> addresses, errors;
    if (!ReadAddressFile(file, addresses, errors)) {
        for (const std::string& e : errors)
            std::fprintf(stderr, "lumivexctl: %s: %s\n", file.c_str(), e.c_str());
        return EXIT_FAILED;
    }
    if (addresses.empty())
        return Failure("no addresses in " + file);
    if (!CCtlFleet::Fits(static_cast<long>(addresses.size()), error))
        return Failure(error);

    CCtlFleet fleet;
    settings.ApplyTo(fleet.Engine());
    for (const std::string& address : addresses)
        if (!fleet.Add(address, access.user, access.password))
            return Failure("cannot start a session for " + address);
    // Let every session make first contact before the command goes out.
    bool ready = false;
    fleet.onUpdateDone = [&ready] { ready = true; };
    fleet.Engine().RequestUpdateAll(1);
    if (!fleet.RunUntil([&] { return ready; }, 2 * 30000 + 5000))
        return Failure("the boards did not all answer their first poll");

    std::map<const CValueProjectorInfo*, int> before;
    for (CProjectorInfo* record : fleet.Records())
        before[fleet.Engine().FindSession(record)] = fleet.Engine().ResultCount(fleet.Engine().FindSession(record));
    int r = fleet.Engine().SendCommand(&fleet.All(), nullptr, index);
    std::printf("queued: %s\n", r == 0 ? "yes" : "refused for at least one board");
    auto allReported = [&] {
        for (const auto& [session, count] : before)
            if (fleet.Engine().ResultCount(session) <= count)
                return false;
        return true;
    };
    bool done = fleet.RunUntil(allReported, GroupDeadlineMs(addresses.size(), settings.powerOnSpacing));
    for (CProjectorInfo* record : fleet.Records())
        std::printf("%s power: %d %s status: %s\n", record->ipAddress.c_str(), record->power,
                    record->PowerText().c_str(), record->StatusText().c_str());
    return done ? EXIT_OK : Failure("not every board reported after the command");
}

int RunSendCommand(CtlContext& context, const CCtlOptions& options) {
    if (auto group = options.Value("--group"))
        return RunGroupSend(context, options, *group);
    if (options.Value("--spacing"))
        return UsageError("--spacing is for --group", kUsage);
    if (options.Positional().size() != 2)
        return UsageError("send takes ADDRESS and COMMAND", kUsage);
    BoardAccess access;
    access.address = options.Positional()[0];
    if (!IsIPv4Address(access.address))
        return UsageError("not an IPv4 address: " + access.address, kUsage);
    int index = ControlIndexOf(options.Positional()[1]);
    if (index < 0)
        return UsageError("unknown command: " + options.Positional()[1], kUsage);
    std::string error;
    if (!ParseBoardAccess(options, access, error))
        return UsageError(error, kUsage);
    int pollDelay = kDefaultPollDelayMs;
    if (auto delay = options.Value("--poll-delay"); delay && !ParseWholeNumber(*delay, 0, kLongestPollDelayMs, pollDelay))
        return UsageError("--poll-delay wants milliseconds from 0 to 999999", kUsage);

    std::unique_ptr<CDirectSession> board = OpenDirectSession(access);
    CValueProjectorInfo& session = board->Session();

    std::string message;
    int r = ContactBoard(*board, message);
    if (r == RC_OK) {
        r = session.SendControl(index, BOARD_TIMEOUT_MS);
        std::printf("result: %s\n", ResultCodeName(r));
        message = "command failed";
    }
    if (r == RC_OK) {
        SleepMs(pollDelay);
        r = session.PollStatus(BOARD_TIMEOUT_MS, true);
        message = "power poll failed";
    }
    session.CloseCommandConnection();
    if (r != RC_OK)
        return BoardFailure(r, message);
    CProjectorInfo result = session.WorkingSnapshot();
    std::printf("power: %d %s\n", result.power, result.PowerText().c_str());
    return EXIT_OK;
}

}  // namespace

const CtlCommandEntry kSendCommand{
    "send", RunSendCommand, kUsage,
    "One control command to one board, then the power poll the console's session makes after a command;\n"
    "or, with --group, to every board of a file through the engine, power-on one after another.\n"
    "COMMAND: 0..21 or power-on, standby, rgb1..rgb6, video1..video6, imbk-on, imbk-off, mute-on,\n"
    "mute-off, lnst-on, lnst-off, imbk-mute-on, imbk-mute-off",
    kOptions};
