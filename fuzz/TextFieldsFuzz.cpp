// The small text readers under every list value of the profile: the
// tokenizer (any delimiters, multi-byte characters), comma lists of numbers
// and flags, and the report time "h:m". The first input string is the
// delimiter text, the rest the source; the numbers of the round trips come
// from the input too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "mail/MailPeriodicalInfo.h"
#include "settings/TextTools.h"

namespace {

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

void CheckTokens(const std::string& source, const std::string& delimiters) {
    int position = 0;
    for (;;) {
        const int before = position;
        const std::string token = NextToken(source, delimiters, position);
        FuzzCheck(position >= before && std::size_t(position) <= source.size(), "the position moves forward within");
        if (position == before) {
            FuzzCheck(token.empty(), "no field is read without moving on");
            return;
        }
        FuzzCheck(token.empty() || (!IsWhiteSpace(token.front()) && !IsWhiteSpace(token.back())), "fields are trimmed");
        for (char d : delimiters)
            FuzzCheck(static_cast<unsigned char>(d) >= 0x80 || token.find(d) == std::string::npos,
                      "a field holds no delimiter");
    }
}

void CheckLists(const std::string& source, const std::vector<int>& numbers) {
    std::vector<int> flags(7, 5);
    ParseFlagList(source, flags);
    for (int flag : flags)
        FuzzCheck(flag == 0 || flag == 1 || flag == 5, "a list's flags are 0 or 1, or left as they were");
    std::vector<int> parsed(numbers.size(), 0);
    ParseIntList(JoinIntList(numbers), parsed);
    FuzzCheck(parsed == numbers, "numbers written as a list read back");
}

void CheckTime(const std::string& source, int hour, int minute) {
    int h = 0, m = 0;
    CMailPeriodicalInfo::ParseTime(source, h, m);
    int h2 = -1, m2 = -1;
    CMailPeriodicalInfo::ParseTime(std::to_string(h) + ":" + std::to_string(m), h2, m2);
    FuzzCheck(h2 == h && m2 == m, "a read time writes and reads back");
    CMailPeriodicalInfo::ParseTime(std::to_string(hour) + ":" + std::to_string(minute), h2, m2);
    FuzzCheck(h2 == hour && m2 == minute, "a written time reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int hour = input.ConsumeIntegral<int>(), minute = input.ConsumeIntegral<int>();
    std::vector<int> numbers(input.ConsumeIntegralInRange(0, 11));
    for (int& number : numbers)
        number = input.ConsumeIntegral<int>();
    const std::string delimiters = input.ConsumeRandomLengthString(8);
    const std::string source = input.ConsumeRemainingBytesAsString();
    CheckTokens(source, delimiters);
    CheckLists(source, numbers);
    CheckTime(source, hour, minute);
    return 0;
}
