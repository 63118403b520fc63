#pragma once
// One simulated projector network board: its settings and projector state,
// its fault rules, its counters, and the text it answers to each request of
// the console's dialogue. The board knows nothing of sockets: CBoardServer
// owns the boards and carries their answers over the network.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BoardFault.h"

struct SimLamp {
    int state = 1;    // lamp code the board reports, normally 0..3
    int hours = 0;
    int minutes = 0;  // normally 0, 15, 30 or 45
    int life = 100;   // percent; -1 answers "---"
};

enum class SimInput { Computer = 1, Video = 2 };

struct SimBoardSettings {
    std::string address;  // dotted IPv4, fixed for the board's life
    std::string hostName;
    std::string projectorName;  // empty: the name query answers ERR
    bool loginRequired = false;
    std::string user;
    std::string password;
    std::string model = "LX-3000";
    std::string serial;
    bool powerOn = true;
    int errorBits = 0;
    std::vector<SimLamp> lamps{SimLamp{}};  // one or two
    SimInput input = SimInput::Computer;
    int computerInput = 1;  // 1..6
    int videoInput = 1;     // 1..6
    std::string signal = "1024 x 768";
    std::string ttav;
    bool imbk = false;
    bool mute = false;
    bool lnst = false;
    int commandPort = 10000;  // 0: any free port
    bool crlf = false;        // information reply lines end "\r\n"
    bool searchAnswer = true;
    int searchDelayMs = 0;
    bool searchTwice = false;
    int searchHoldMs = 0;  // keeps the connect-back open this long, whatever the console does
};

struct SimBoardStats {
    int infoConnections = 0;
    int commandConnections = 0;
    int logins = 0;
    int loginFailures = 0;
    int searchAnswers = 0;
    std::map<std::string, int> commands;  // received, per command text
};

// What the fault rules matching one request do to its answer.
struct FaultPlan {
    std::optional<CBoardFault> content;  // err, reply, yourip, flood, garbage, badprompt
    bool silent = false;
    bool close = false;
    bool busy = false;
    bool noComRpt = false;
    std::optional<std::string> comRpt;  // the "COMRPT:" value instead of the real port
    int delayMs = 0;
    int pieces = 1;
    int gapMs = 0;
};

class CSimBoard {
public:
    explicit CSimBoard(const std::string& address);

    const SimBoardSettings& Settings() const { return m_settings; }
    const std::string& Address() const { return m_settings.address; }
    std::uint32_t AddressValue() const { return m_addressValue; }

    // Changes one setting from its text form; the names are those of the
    // fleet file ("power", "lamp2.hours", ...). False with a reason otherwise.
    bool SetField(const std::string& name, const std::string& value, std::string& error);
    static std::vector<std::string> FieldNames();

    // The reply to "hostname\n", as one text of lines.
    std::string InfoReply(const FaultPlan& plan) const;
    // True when the credentials match (only asked when login is required).
    bool CheckLogin(const std::string& user, const std::string& password) const;
    // The reply to one 8-character command, without its "\r"; control
    // commands change the board's state.
    std::string Answer(const std::string& command);

    void AddFault(const CBoardFault& fault);
    // Removes the rules for target (all rules when target is empty); returns how many.
    int ClearFaults(const std::string& target = {});
    const std::vector<CBoardFault>& Faults() const { return m_faults; }
    // Collects the rules that strike this request and counts their use.
    FaultPlan TakeFaults(const std::string& target);
    bool RefusesConnections() const;
    int IdleCloseMs() const;  // 0: idle connections stay open

    // The port the command listener really holds (differs when configured 0).
    void SetBoundCommandPort(int port) { m_boundCommandPort = port; }
    int CommandPort() const { return m_boundCommandPort ? m_boundCommandPort : m_settings.commandPort; }

    SimBoardStats& Stats() { return m_stats; }
    const SimBoardStats& Stats() const { return m_stats; }

private:
    bool SetLampField(std::size_t lamp, const std::string& name, const std::string& value, std::string& error);
    std::string AnswerLamp(const std::string& code, int lampNumber) const;
    std::string AnswerInput(const std::string& code, bool query, int value);
    std::string AnswerSwitch(bool& flag, bool query, int value);

    SimBoardSettings m_settings;
    std::uint32_t m_addressValue = 0;
    int m_boundCommandPort = 0;
    std::vector<CBoardFault> m_faults;
    SimBoardStats m_stats;
};
