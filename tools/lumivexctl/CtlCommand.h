#pragma once
// What every lumivexctl command shares: its entry in the command table (name,
// synopsis and the options it takes), the global options, the option parser
// and the exit codes. The parser and the help both read a command's option
// list, so an option cannot be taken without being listed in the help.
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

// Global options, given before the command.
struct CtlContext {
    std::string profilePath;  // empty: the console's own profile
};

// One option of a command: its name, the placeholder of its value (null for
// a flag) and one line of help.
struct CtlOption {
    const char* name;
    const char* value;
    const char* help;
};

class CCtlOptions;
using CtlCommandFn = int (*)(CtlContext& context, const CCtlOptions& options);

struct CtlCommandEntry {
    const char* name;
    CtlCommandFn run;
    const char* usage;    // synopsis after "lumivexctl ", naming every option
    const char* summary;  // what the command does, for its --help
    std::span<const CtlOption> options;
};

// Splits a command's arguments into positionals and the options of its list;
// "--help" is known to every command.
class CCtlOptions {
public:
    CCtlOptions(const std::vector<std::string>& args, std::span<const CtlOption> known);
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

// Reads a whole decimal number within low..high (digits only, no sign). Any
// length is safe: a number too large for an int reads as INT_MAX, so high
// stays below it.
bool ParseWholeNumber(const std::string& text, int low, int high, int& out);

// Prints each form of a usage text (one per line), the first after first, the
// others after next.
void PrintUsageForms(std::FILE* out, const char* usage, const char* first, const char* next);

// Prints "lumivexctl: message" and the usage on stderr; returns EXIT_USAGE.
int UsageError(const std::string& message, const char* usage);
// Prints "lumivexctl: message" on stderr; returns EXIT_FAILED.
int Failure(const std::string& message);
