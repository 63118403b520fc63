// The SMTP reply reader, fed by the receives of a mail server: single and
// multi-line replies, split across receives anywhere, garbage, zero bytes and
// replies that never end. The input is the server's bytes cut into receives.
// Whatever the pieces, the reader must come to the result it reaches for the
// same bytes in one receive.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "mail/SmtpReplyReader.h"

namespace {

using Step = CSmtpReplyReader::Step;

bool IsFinal(Step step) { return step == Step::Done || step == Step::Failed; }

// What a receive's bytes hold for the reader: they end at a zero byte.
std::string Kept(const std::string& piece) { return piece.substr(0, std::strlen(piece.c_str())); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    CSmtpReplyReader pieces;
    std::string taken;
    Step step = Step::More;
    while (input.remaining_bytes() > 0 && !IsFinal(step)) {
        // A receive takes at most 8191 bytes.
        const std::string piece = input.ConsumeRandomLengthString(8191);
        taken += Kept(piece);
        step = pieces.Take(piece.data(), piece.size());
    }

    CSmtpReplyReader whole;
    const Step once = whole.Take(taken.data(), taken.size());
    FuzzCheck(IsFinal(step) == IsFinal(once), "a reply ends with the same bytes however they were received");
    if (step == Step::Done) {
        FuzzCheck(once == Step::Done && pieces.Code() == whole.Code(), "the code does not depend on the receives");
        FuzzCheck(taken.size() >= 2 && taken.compare(taken.size() - 2, 2, "\r\n") == 0, "a reply ends at a line end");
    }
    if (step == Step::Failed)
        FuzzCheck(once == Step::Failed && pieces.Status() == whole.Status(), "a failure does not depend on the receives");
    return 0;
}
