#pragma once
// One fault rule of a simulated board: where it strikes (a command text, every
// command, or one phase of the dialogue), what goes wrong, and how many more
// times it strikes. Owned by its CSimBoard; parsed from the fleet file and from
// control lines through the same text setter.
#include <string>
#include <utility>
#include <vector>

enum class FaultKind {
    Err,        // answer "ERR" (commands)
    Reply,      // answer a fixed text instead (commands)
    Silent,     // read the request, never answer
    Delay,      // wait before answering
    Split,      // answer in pieces with gaps
    Close,      // close the connection instead of answering
    YourIp,     // answer the refusal text and close
    Busy,       // information reply says "RDPORT:BUSY"
    NoComRpt,   // information reply lacks its "COMRPT:" line
    ComRpt,     // information reply names another command port text
    BadPrompt,  // a login prompt other than the expected one
    Flood,      // bytes without any terminator
    Garbage,    // random bytes, then the terminator
    Refuse,     // the command port refuses connections
    IdleClose,  // an idle command connection is closed after some time
};

// Where a rule applies besides an 8-character command text.
inline constexpr const char* FAULT_ANY_COMMAND = "*";
inline constexpr const char* FAULT_PHASE_INFO = "info";
inline constexpr const char* FAULT_PHASE_LOGIN = "login";
inline constexpr const char* FAULT_PHASE_CONNECT = "connect";

class CBoardFault {
public:
    CBoardFault() = default;

    // Builds a rule; false with a reason when the kind is unknown or does not
    // fit the target.
    bool Init(const std::string& target, const std::string& kind, std::string& error);
    // Sets one parameter from its text: times, ms, pieces, gap, bytes, text, prompt.
    bool Set(const std::string& name, const std::string& value, std::string& error);
    // The parameter a bare number sets for this kind ("err 2" = two times).
    std::string MainParameter() const;

    const std::string& Target() const { return m_target; }
    FaultKind Kind() const { return m_kind; }
    std::string KindName() const;
    bool IsCommandTarget() const;
    int Times() const { return m_times; }  // -1: every time
    int Ms() const { return m_ms; }
    int Pieces() const { return m_pieces; }
    int GapMs() const { return m_gapMs; }
    int Bytes() const { return m_bytes; }
    const std::string& Text() const { return m_text; }
    bool PasswordPrompt() const { return m_passwordPrompt; }

    bool IsExhausted() const { return m_times == 0; }
    // Counts one use of a limited rule.
    void Consume();

    // The parameters that matter for this kind, as name and text, in the
    // order a control line gives them ("times" only when limited).
    std::vector<std::pair<std::string, std::string>> Parameters() const;
    // "POWR????" err times=2 ...: the rule as a control line would give it.
    std::string Describe() const;

    static bool KindFromName(const std::string& name, FaultKind& kind);

private:
    bool FitsTarget(std::string& error) const;

    std::string m_target = FAULT_ANY_COMMAND;
    FaultKind m_kind = FaultKind::Err;
    int m_times = -1;
    int m_ms = 0;
    int m_pieces = 3;
    int m_gapMs = 50;
    int m_bytes = 0;
    std::string m_text;
    bool m_passwordPrompt = false;
};
