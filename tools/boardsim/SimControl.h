#pragma once
// Carries out the control lines that tests and operators send to a running
// fleet ("set", "fault", "clear", "state", "stats", "close", "list", "quit")
// and words the one-line answer. Runs on the fleet's loop thread; owned by
// CBoardSim.
#include <string>
#include <vector>

class CBoardServer;
class CSimBoard;
struct LineWord;

class CSimControl {
public:
    explicit CSimControl(CBoardServer& server) : m_server(server) {}

    // One line in, one line out: "OK ...", "ERROR <reason>" or a JSON object.
    std::string Apply(const std::string& line);
    bool QuitRequested() const { return m_quit; }

    static std::string Usage();

private:
    // The boards an address word names: one board, or every board for "*".
    bool Targets(const std::string& address, std::vector<CSimBoard*>& boards, std::string& error);
    std::string Set(const std::string& line, const std::vector<LineWord>& words);
    std::string Fault(const std::string& line, const std::vector<LineWord>& words);
    std::string Clear(const std::vector<LineWord>& words);
    std::string State(const std::vector<LineWord>& words);
    std::string Stats(const std::vector<LineWord>& words);
    std::string Close(const std::vector<LineWord>& words);
    std::string List();

    CBoardServer& m_server;
    bool m_quit = false;
};
