// lumivexctl send: one control command to one board, then the power-only poll
// the console's session makes after a command.
#include <cstdio>
#include <cstdlib>
#include <map>

#include "BoardAccess.h"
#include "CtlCommand.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "comm/ProjectorInfo.h"
#include "comm/ValueProjectorInfo.h"
#include "platform/TickCount.h"

namespace {

const char* const kUsage =
    "send ADDRESS COMMAND [--user NAME] [--password-file FILE] [--ports LO-HI] [--poll-delay MS]\n"
    "  COMMAND: 0..21 or power-on, standby, rgb1..rgb6, video1..video6, imbk-on, imbk-off, mute-on,\n"
    "           mute-off, lnst-on, lnst-off, imbk-mute-on, imbk-mute-off";

// The session pauses 500 ms after a command and 4000 ms before its power poll.
constexpr int kDefaultPollDelayMs = 4500;

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

}  // namespace

// The control index of a name or a number 0..21, or -1.
int ControlIndexOf(const std::string& text) {
    auto it = CommandNames().find(text);
    if (it != CommandNames().end())
        return it->second;
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    int index = std::atoi(text.c_str());
    return index < CONTROL_COUNT ? index : -1;
}

int RunSendCommand(CtlContext&, const std::vector<std::string>& args) {
    std::set<std::string> valued = kBoardAccessOptions;
    valued.insert("--poll-delay");
    CCtlOptions options(args, valued, {});
    if (!options.Ok())
        return UsageError(options.Error(), kUsage);
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
    if (auto delay = options.Value("--poll-delay")) {
        if (delay->empty() || delay->size() > 6 || delay->find_first_not_of("0123456789") != std::string::npos)
            return UsageError("--poll-delay wants milliseconds", kUsage);
        pollDelay = std::atoi(delay->c_str());
    }

    CCommWnd engine;
    engine.SetPortRange(access.portStart, access.portEnd);
    CProjectorInfo record;
    record.ipAddress = access.address;
    record.userName = access.user;
    record.password = access.password;
    CValueProjectorInfo session(&record, &engine);

    std::string message;
    int r = ContactBoard(session, message);
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
    if (r != RC_OK) {
        std::fprintf(stderr, "%s\nlumivexctl: %s\n", ResultCodeName(r), message.c_str());
        return EXIT_FAILED;
    }
    CProjectorInfo result = session.WorkingSnapshot();
    std::printf("power: %d %s\n", result.power, result.PowerText().c_str());
    return EXIT_OK;
}
