#include "ui/GroupNames.h"

#include <algorithm>
#include <cstdio>

#include "settings/TextTools.h"

namespace {

std::vector<int> UsedNumbers(const std::vector<std::string>& captions, const std::string& prefix) {
    std::vector<int> used;
    for (const std::string& caption : captions) {
        const std::size_t at = caption.find(prefix);
        if (at == std::string::npos)
            continue;
        // Only digits count: a sign after the prefix is no number.
        const std::string rest = caption.substr(at + prefix.size());
        used.push_back(!rest.empty() && rest[0] >= '0' && rest[0] <= '9' ? LeadingInt(rest) : 0);
    }
    return used;
}

}  // namespace

std::string AutomaticGroupName(const std::string& prefix, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", number);
    return prefix + digits;
}

int NextGroupNumber(const std::vector<std::string>& captions, const std::string& prefix) {
    const std::vector<int> used = UsedNumbers(captions, prefix);
    const int largest = used.empty() ? 0 : *std::max_element(used.begin(), used.end());
    if (largest < GROUP_NUMBER_MAX)
        return largest + 1;
    return LowestFreeGroupNumber(captions, prefix);
}

int LowestFreeGroupNumber(const std::vector<std::string>& captions, const std::string& prefix) {
    const std::vector<int> used = UsedNumbers(captions, prefix);
    for (int number = 1; number <= GROUP_NUMBER_MAX; ++number)
        if (std::find(used.begin(), used.end(), number) == used.end())
            return number;
    return -1;
}

std::string UniqueGroupName(const std::string& name, const std::vector<std::string>& captions,
                            const std::string& prefix) {
    if (std::find(captions.begin(), captions.end(), name) == captions.end())
        return name;
    const int number = LowestFreeGroupNumber(captions, prefix);
    return number > 0 ? AutomaticGroupName(prefix, number) : std::string();
}
