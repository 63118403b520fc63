#include "CtlCommand.h"

#include <algorithm>
#include <cstdio>

#include "settings/TextTools.h"

namespace {

const CtlOption* FindOption(std::span<const CtlOption> known, const std::string& name) {
    auto it = std::find_if(known.begin(), known.end(),
                           [&name](const CtlOption& option) { return name == option.name; });
    return it == known.end() ? nullptr : &*it;
}

}  // namespace

CCtlOptions::CCtlOptions(const std::vector<std::string>& args, std::span<const CtlOption> known) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            m_positional.push_back(arg);
            continue;
        }
        std::string name = arg, value;
        bool inlineValue = false;
        if (size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        const CtlOption* option = FindOption(known, name);
        if (option && option->value) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    m_error = "option " + name + " needs a value";
                    return;
                }
                value = args[++i];
            }
            m_values[name] = value;
        } else if ((option || name == "--help") && !inlineValue) {
            m_flags.insert(name);
        } else {
            m_error = "unknown option " + arg;
            return;
        }
    }
}

std::optional<std::string> CCtlOptions::Value(const std::string& name) const {
    auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

bool ParseWholeNumber(const std::string& text, int low, int high, int& out) {
    if (!IsAllDigits(text))
        return false;
    const int value = LeadingInt(text);  // clamped, so a huge number stays out of range
    if (value < low || value > high)
        return false;
    out = value;
    return true;
}

void PrintUsageForms(std::FILE* out, const char* usage, const char* first, const char* next) {
    const std::string text = usage;
    for (size_t begin = 0; begin <= text.size();) {
        const size_t end = std::min(text.find('\n', begin), text.size());
        std::fprintf(out, "%s%s\n", begin == 0 ? first : next, text.substr(begin, end - begin).c_str());
        begin = end + 1;
    }
}

int UsageError(const std::string& message, const char* usage) {
    std::fprintf(stderr, "lumivexctl: %s\n", message.c_str());
    PrintUsageForms(stderr, usage, "usage: lumivexctl ", "       lumivexctl ");
    return EXIT_USAGE;
}

int Failure(const std::string& message) {
    std::fprintf(stderr, "lumivexctl: %s\n", message.c_str());
    return EXIT_FAILED;
}
