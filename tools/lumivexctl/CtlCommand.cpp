#include "CtlCommand.h"

#include <cstdio>

CCtlOptions::CCtlOptions(const std::vector<std::string>& args, const std::set<std::string>& valued,
                         const std::set<std::string>& flags) {
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
        if (valued.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    m_error = "option " + name + " needs a value";
                    return;
                }
                value = args[++i];
            }
            m_values[name] = value;
        } else if (flags.count(name) && !inlineValue) {
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

int UsageError(const std::string& message, const char* usage) {
    std::fprintf(stderr, "lumivexctl: %s\nusage: lumivexctl %s\n", message.c_str(), usage);
    return EXIT_USAGE;
}

int Failure(const std::string& message) {
    std::fprintf(stderr, "lumivexctl: %s\n", message.c_str());
    return EXIT_FAILED;
}
