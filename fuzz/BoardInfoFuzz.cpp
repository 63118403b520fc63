// The board's information reply, as the session takes it in after the
// exchange on port 7: host name, login flag, command port and "BUSY".
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "comm/ValueProjectorInfo.h"

namespace {

constexpr int kHighestPort = 65535;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void CheckLine(const std::string& line) {
    std::string value;
    int key = CValueProjectorInfo::ParseBoardLine(line, value);
    FuzzCheck(key >= -1 && key <= 5, "a board line's key index is -1..5");
    if (key >= 0)
        FuzzCheck(line.size() > value.size() && line.compare(line.size() - value.size(), value.size(), value) == 0,
                  "a key line's value is the text after its key");
    else
        FuzzCheck(value.empty() || value == line, "a line without a key gives the whole line or nothing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The receive keeps at most this much of the reply.
    const std::size_t kept = size < std::size_t(BOARD_REPLY_CAPACITY - 1) ? size : BOARD_REPLY_CAPACITY - 1;
    const std::string reply(reinterpret_cast<const char*>(data), kept);

    CProjectorInfo record;
    CValueProjectorInfo session(&record, nullptr);
    int rc = session.ApplyBoardInfo(reply);
    FuzzCheck(rc == RC_OK || rc == RC_REFUSED || rc == RC_INVALID, "the information reply gives OK, REFUSED or INVALID");
    FuzzCheck(session.LoginRequired() == 0 || session.LoginRequired() == 1, "the login flag is 0 or 1");
    const int port = session.CommandPort();
    FuzzCheck(port == 0 || (port >= 1 && port <= kHighestPort), "the command port is unset or a usable port");
    const std::string host = session.HostName();
    FuzzCheck(host.find('\n') == std::string::npos, "the host name is one line");
    FuzzCheck(host.empty() || (!IsBlank(host.front()) && !IsBlank(host.back())), "the host name is trimmed");
    CheckLine(reply);
    return 0;
}
