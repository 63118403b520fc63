#include "settings/TextTools.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

const char kWhiteSpace[] = " \t\n\v\f\r";

// Byte length of the UTF-8 character that starts at text[i]; a stray or
// truncated sequence counts byte by byte.
std::size_t CharLength(const std::string& text, std::size_t i) {
    auto lead = static_cast<unsigned char>(text[i]);
    std::size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
    if (n > text.size() - i)
        return 1;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 1;
    return n;
}

bool IsDelimiter(const std::string& source, std::size_t i, std::size_t n, const std::string& delimiters) {
    for (std::size_t d = 0; d < delimiters.size(); d += CharLength(delimiters, d)) {
        std::size_t dn = CharLength(delimiters, d);
        if (dn == n && source.compare(i, n, delimiters, d, dn) == 0)
            return true;
    }
    return false;
}

std::string Trim(const std::string& text) {
    std::size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

}  // namespace

std::string NextToken(const std::string& source, const std::string& delimiters, int& position) {
    if (position < 0 || std::size_t(position) >= source.size())
        return {};
    std::size_t i = std::size_t(position);
    while (i < source.size() && IsDelimiter(source, i, CharLength(source, i), delimiters))
        i += CharLength(source, i);
    if (i >= source.size())
        return {};
    std::size_t start = i;
    while (i < source.size() && !IsDelimiter(source, i, CharLength(source, i), delimiters))
        i += CharLength(source, i);
    position = int(i);
    return Trim(source.substr(start, i - start));
}

std::string AppendPath(const std::string& path, const std::string& name) {
    if (path.empty() || path.back() != '/')
        return path + "/" + name;
    return path + name;
}

int IsAllDigits(const std::string& text) {
    if (text.empty())
        return 0;
    for (char c : text)
        if (c < '0' || c > '9')
            return 0;
    return 1;
}

int LeadingInt(const std::string& text) {
    long long value = std::strtoll(text.c_str(), nullptr, 10);  // saturates on overflow
    if (value < INT_MIN)
        return INT_MIN;
    if (value > INT_MAX)
        return INT_MAX;
    return int(value);
}

void ParseIntList(const std::string& text, std::vector<int>& values) {
    int position = 0;
    for (int& value : values) {
        std::string field = NextToken(text, ",", position);
        if (!field.empty())
            value = LeadingInt(field);
    }
}

void ParseFlagList(const std::string& text, std::vector<int>& flags) {
    ParseIntList(text, flags);
    for (int& flag : flags)
        flag = flag != 0 ? 1 : 0;
}

std::string JoinIntList(const std::vector<int>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i)
        text += (i ? "," : "") + std::to_string(values[i]);
    return text;
}
