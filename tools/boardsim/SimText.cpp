#include "SimText.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

bool ParseInt(const std::string& text, long long lo, long long hi, long long& value) {
    if (text.empty() || text.size() > 20)
        return false;
    std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size())
        return false;
    for (std::size_t j = i; j < text.size(); ++j)
        if (!std::isdigit(static_cast<unsigned char>(text[j])))
            return false;
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < lo || parsed > hi)
        return false;
    value = parsed;
    return true;
}

bool ParseSwitch(const std::string& text, bool& value) {
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "1" || lower == "true" || lower == "on" || lower == "yes") {
        value = true;
        return true;
    }
    if (lower == "0" || lower == "false" || lower == "off" || lower == "no") {
        value = false;
        return true;
    }
    return false;
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

bool DecodeEscapes(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        case 'x': {
            const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
            if (high < 0 || low < 0)
                return false;
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return true;
}

std::string EncodeEscapes(const std::string& text) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\\')
            out += "\\\\";
        else if (byte < 0x20 || byte == 0x7f) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else
            out += c;
    }
    return out;
}

bool ParseIpv4(const std::string& text, std::uint32_t& address) {
    std::uint32_t result = 0;
    std::size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return false;
            ++pos;
        }
        std::size_t end = pos;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])) && end - pos < 4)
            ++end;
        long long octet = 0;
        if (!ParseInt(text.substr(pos, end - pos), 0, 255, octet))
            return false;
        result = (result << 8) | static_cast<std::uint32_t>(octet);
        pos = end;
    }
    if (pos != text.size())
        return false;
    address = result;
    return true;
}

std::string FormatIpv4(std::uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 255) + "." +
           std::to_string((address >> 8) & 255) + "." + std::to_string(address & 255);
}

std::vector<LineWord> SplitLineWords(const std::string& line) {
    std::vector<LineWord> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i == line.size())
            break;
        LineWord word;
        word.begin = i;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string::npos ? line.size() : close;
            word.text = line.substr(i + 1, end - i - 1);
            i = close == std::string::npos ? end : close + 1;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                word.text += line[i++];
        }
        words.push_back(word);
    }
    return words;
}

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    for (LineWord& word : SplitLineWords(line))
        words.push_back(std::move(word.text));
    return words;
}

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}
