#pragma once
// What every lumivexctl command shares: its arguments, the global options,
// the option parser and the exit codes.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

// Global options, given before the command.
struct CtlContext {
    std::string profilePath;  // empty: the console's own profile
};

using CtlCommandFn = int (*)(CtlContext& context, const std::vector<std::string>& args);

struct CtlCommandEntry {
    const char* name;
    CtlCommandFn run;
    const char* usage;
};

// Splits a command's arguments into positionals and --options. Options that
// take a value are named in valued; every other known option is a flag.
class CCtlOptions {
public:
    CCtlOptions(const std::vector<std::string>& args, const std::set<std::string>& valued,
                const std::set<std::string>& flags);
    bool Ok() const { return m_error.empty(); }
    const std::string& Error() const { return m_error; }
    const std::vector<std::string>& Positional() const { return m_positional; }
    std::optional<std::string> Value(const std::string& name) const;
    bool Flag(const std::string& name) const { return m_flags.count(name) != 0; }

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_values;
    std::set<std::string> m_flags;
    std::string m_error;
};

// Prints "lumivexctl: message" and the usage line on stderr; returns EXIT_USAGE.
int UsageError(const std::string& message, const char* usage);
// Prints "lumivexctl: message" on stderr; returns EXIT_FAILED.
int Failure(const std::string& message);
