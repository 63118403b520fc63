#include "SimControl.h"

#include <algorithm>

#include "BoardServer.h"
#include "FleetFile.h"
#include "SimText.h"

namespace {

std::string Error(const std::string& reason) {
    return "ERROR " + reason;
}

std::string Unquote(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

// The rest of the line from word index on, as typed; a value wholly in
// double quotes loses them, so "" sets an empty text.
std::string RestOfLine(const std::string& line, const std::vector<LineWord>& words, std::size_t index) {
    if (index >= words.size())
        return {};
    return Unquote(Trim(line.substr(words[index].begin)));
}

// Command texts hold blanks; "_" stands for one so they can be typed unquoted.
std::string TargetText(const std::string& word) {
    std::string target = word;
    if (target.size() == 8)
        std::replace(target.begin(), target.end(), '_', ' ');
    return target;
}

std::string Plural(int count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace

std::string CSimControl::Usage() {
    return "commands: set ADDRESS FIELD VALUE | fault ADDRESS COMMAND|*|info|login|connect KIND [NAME=VALUE...] | "
           "clear ADDRESS [TARGET] | state ADDRESS | stats ADDRESS | close ADDRESS | list | quit "
           "(ADDRESS * means every board)";
}

std::string CSimControl::Apply(const std::string& rawLine) {
    std::string line = rawLine;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    const std::vector<LineWord> words = SplitLineWords(line);
    if (words.empty())
        return Error("empty command; " + Usage());
    const std::string& verb = words[0].text;
    if (verb == "set")
        return Set(line, words);
    if (verb == "fault")
        return Fault(line, words);
    if (verb == "clear")
        return Clear(words);
    if (verb == "state")
        return State(words);
    if (verb == "stats")
        return Stats(words);
    if (verb == "close")
        return Close(words);
    if (verb == "list")
        return List();
    if (verb == "help")
        return "OK " + Usage();
    if (verb == "quit") {
        m_quit = true;
        return "OK quit";
    }
    return Error("unknown command \"" + verb + "\"; " + Usage());
}

bool CSimControl::Targets(const std::string& address, std::vector<CSimBoard*>& boards, std::string& error) {
    if (address == "*") {
        boards = m_server.Boards();
        return true;
    }
    if (CSimBoard* board = m_server.FindBoard(address)) {
        boards = {board};
        return true;
    }
    error = "no board at \"" + address + "\"";
    return false;
}

std::string CSimControl::Set(const std::string& line, const std::vector<LineWord>& words) {
    if (words.size() < 3)
        return Error("usage: set ADDRESS FIELD VALUE");
    std::vector<CSimBoard*> boards;
    std::string error;
    if (!Targets(words[1].text, boards, error))
        return Error(error);
    const std::string& field = words[2].text;
    const std::string value = RestOfLine(line, words, 3);
    for (CSimBoard* board : boards) {
        if (!board->SetField(field, value, error))
            return Error(error);
        if (field == "commandPort" && !m_server.UpdateCommandListener(*board, error))
            return Error(error);
    }
    return "OK set " + words[1].text + " " + field;
}

std::string CSimControl::Fault(const std::string& line, const std::vector<LineWord>& words) {
    if (words.size() < 4)
        return Error("usage: fault ADDRESS COMMAND|*|info|login|connect KIND [NAME=VALUE...]");
    std::vector<CSimBoard*> boards;
    std::string error;
    if (!Targets(words[1].text, boards, error))
        return Error(error);
    CBoardFault fault;
    if (!fault.Init(TargetText(words[2].text), words[3].text, error))
        return Error(error);
    for (std::size_t i = 4; i < words.size(); ++i) {
        const std::string& word = words[i].text;
        if (word.rfind("text=", 0) == 0) {
            // The text runs to the end of the line, blanks included.
            if (!fault.Set("text", Unquote(Trim(line.substr(words[i].begin + 5))), error))
                return Error(error);
            break;
        }
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos && fault.MainParameter().empty())
            return Error("fault kind " + fault.KindName() + " takes no parameters");
        const std::string name = equals == std::string::npos ? fault.MainParameter() : word.substr(0, equals);
        const std::string value = equals == std::string::npos ? word : word.substr(equals + 1);
        if (!fault.Set(name, value, error))
            return Error(error);
    }
    for (CSimBoard* board : boards) {
        board->AddFault(fault);
        if (!m_server.UpdateCommandListener(*board, error))
            return Error(error);
        m_server.RearmIdleTimers(*board);
    }
    return "OK fault " + words[1].text + " " + fault.Describe();
}

std::string CSimControl::Clear(const std::vector<LineWord>& words) {
    if (words.size() < 2 || words.size() > 3)
        return Error("usage: clear ADDRESS [COMMAND|*|info|login|connect]");
    std::vector<CSimBoard*> boards;
    std::string error;
    if (!Targets(words[1].text, boards, error))
        return Error(error);
    const std::string target = words.size() == 3 ? TargetText(words[2].text) : std::string();
    int removed = 0;
    for (CSimBoard* board : boards) {
        removed += board->ClearFaults(target);
        if (!m_server.UpdateCommandListener(*board, error))
            return Error(error);
        m_server.RearmIdleTimers(*board);
    }
    return "OK cleared " + Plural(removed, "fault");
}

std::string CSimControl::State(const std::vector<LineWord>& words) {
    if (words.size() != 2 || words[1].text == "*")
        return Error("usage: state ADDRESS");
    const CSimBoard* board = m_server.FindBoard(words[1].text);
    if (!board)
        return Error("no board at \"" + words[1].text + "\"");
    const std::string extra = "\"listening\":" + std::string(m_server.IsCommandListening(*board) ? "true" : "false") +
                              ",\"boundCommandPort\":" + std::to_string(board->CommandPort()) +
                              ",\"openConnections\":" + std::to_string(m_server.OpenConnections(*board));
    return CFleetFile::BoardLine(*board, extra);
}

std::string CSimControl::Stats(const std::vector<LineWord>& words) {
    if (words.size() != 2)
        return Error("usage: stats ADDRESS");
    std::vector<CSimBoard*> boards;
    std::string error;
    if (!Targets(words[1].text, boards, error))
        return Error(error);
    if (words[1].text == "*")
        return CFleetFile::TotalStatsLine(boards);
    return CFleetFile::StatsLine(*boards.front());
}

std::string CSimControl::Close(const std::vector<LineWord>& words) {
    if (words.size() != 2)
        return Error("usage: close ADDRESS");
    std::vector<CSimBoard*> boards;
    std::string error;
    if (!Targets(words[1].text, boards, error))
        return Error(error);
    int closed = 0;
    for (const CSimBoard* board : boards)
        closed += m_server.CloseConnections(*board);
    return "OK closed " + Plural(closed, "connection");
}

std::string CSimControl::List() {
    std::string json = "{\"searchPort\":" + std::to_string(m_server.SearchPort()) + ",\"boards\":[";
    bool first = true;
    for (const CSimBoard* board : m_server.Boards()) {
        json += (first ? "\"" : ",\"") + board->Address() + "\"";
        first = false;
    }
    return json + "]}";
}
