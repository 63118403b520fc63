// lumivexctl poll: first contact, login and one full status poll of one
// board, as the console's session makes them.
#include <cstdio>
#include <memory>

#include "BoardAccess.h"
#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "RecordPrinter.h"
#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "comm/ValueProjectorInfo.h"

namespace {

const char* const kUsage = "poll ADDRESS [--user NAME] [--password-file FILE] [--ports LO-HI] [--json]";
constexpr CtlOption kOptions[] = {
    kUserOption,
    kPasswordFileOption,
    kPortsOption,
    {"--json", nullptr, "print the record as one JSON object"},
};

int RunPollCommand(CtlContext&, const CCtlOptions& options) {
    if (options.Positional().size() != 1)
        return UsageError("poll takes exactly one ADDRESS", kUsage);
    BoardAccess access;
    access.address = options.Positional()[0];
    if (!IsIPv4Address(access.address))
        return UsageError("not an IPv4 address: " + access.address, kUsage);
    std::string error;
    if (!ParseBoardAccess(options, access, error))
        return UsageError(error, kUsage);

    std::unique_ptr<CDirectSession> board = OpenDirectSession(access);
    CValueProjectorInfo& session = board->Session();

    std::string message;
    int r = ContactBoard(*board, message);
    if (r == RC_OK) {
        message = "status poll failed";
        r = session.PollStatus(BOARD_TIMEOUT_MS, false);
    }
    session.CloseCommandConnection();
    if (r != RC_OK)
        return BoardFailure(r, message);
    CProjectorInfo result = session.WorkingSnapshot();
    result.password.clear();
    std::string text = options.Flag("--json") ? RecordAsJson(result) : RecordAsText(result);
    std::fputs(text.c_str(), stdout);
    return EXIT_OK;
}

}  // namespace

const CtlCommandEntry kPollCommand{
    "poll", RunPollCommand, kUsage,
    "First contact, login and one full status poll of one board, as the console's session makes them;\n"
    "prints every field of the record but the password.",
    kOptions};
