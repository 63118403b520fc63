// The status poll's replies, row by row as PollStatus walks them: the first
// byte chooses a power-only poll and whether the board gave a host name, the
// rest is the board's replies, each ended by the command terminator "\r" as
// the board ends them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "PolledRecordCheck.h"
#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "comm/ValueProjectorInfo.h"

namespace {

// The next reply as the command exchange hands it over: at most what one
// receive keeps, and "ERR" for a reply that stayed empty (or for a board that
// has nothing more to say). Replies with a "\r" inside are the transport's
// business (the board session target).
std::string NextReply(const std::string& replies, std::size_t& pos) {
    if (pos >= replies.size())
        return "ERR";
    std::size_t end = replies.find('\r', pos);
    if (end == std::string::npos)
        end = replies.size();
    std::string reply = replies.substr(pos, std::min<std::size_t>(end - pos, BOARD_REPLY_CAPACITY - 1));
    pos = end + 1;
    return reply.empty() ? "ERR" : reply;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool powerOnly = data[0] & 1;
    const std::string hostName = (data[0] & 2) ? "host-1" : "";
    const std::string replies(reinterpret_cast<const char*>(data) + 1, size - 1);

    CProjectorInfo record;
    PollState state;
    std::size_t pos = 0;
    int asked = 0;
    for (int row = 0; row >= 0 && row < STATUS_ROW_COUNT; ++asked) {
        const int next = CValueProjectorInfo::ApplyStatusReply(row, NextReply(replies, pos), powerOnly, hostName,
                                                               state, record);
        FuzzCheck(next == -1 || next > row, "the poll moves on to a later row or ends");
        row = next;
    }
    FuzzCheck(asked <= (powerOnly ? 1 : 17), "a poll asks each row at most once, one input query");
    CheckPolledRecord(record, powerOnly);
    return 0;
}
