#include "SimBoard.h"

#include <algorithm>
#include <cstdio>

#include "SimText.h"

namespace {

// The board acknowledges a control command with this short text.
constexpr const char* CONTROL_DONE = "000";
constexpr const char* ANSWER_ERR = "ERR";

const std::vector<std::string> LAMP_FIELDS = {"state", "hours", "minutes", "life"};

// The number in a command's parameter field ("   3" -> 3); -1 when it is not one.
int ParameterValue(const std::string& param) {
    long long value = 0;
    return ParseInt(Trim(param), 0, 9999, value) ? static_cast<int>(value) : -1;
}

std::string DashedAddress(const std::string& address) {
    std::string text = address;
    std::replace(text.begin(), text.end(), '.', '-');
    return text;
}

}  // namespace

CSimBoard::CSimBoard(const std::string& address) {
    m_settings.address = address;
    ParseIpv4(address, m_addressValue);
    m_settings.hostName = "NB-" + DashedAddress(address);
    char serial[16];
    std::snprintf(serial, sizeof serial, "S%08X", m_addressValue);
    m_settings.serial = serial;
}

std::vector<std::string> CSimBoard::FieldNames() {
    std::vector<std::string> names = {"hostName", "projectorName", "login", "user", "password", "model",
                                      "serial", "power", "errorBits", "lamps", "input", "computerInput",
                                      "videoInput", "signal", "ttav", "imbk", "mute", "lnst", "commandPort",
                                      "lineEnd", "search", "searchDelayMs", "searchTwice", "searchHoldMs"};
    for (const char* lamp : {"lamp1.", "lamp2."})
        for (const std::string& field : LAMP_FIELDS)
            names.push_back(lamp + field);
    return names;
}

bool CSimBoard::SetField(const std::string& name, const std::string& value, std::string& error) {
    SimBoardSettings& s = m_settings;
    long long number = 0;
    auto number_in = [&](long long lo, long long hi, int& target) {
        if (!ParseInt(value, lo, hi, number)) {
            error = name + " must be a number from " + std::to_string(lo) + " to " + std::to_string(hi);
            return false;
        }
        target = static_cast<int>(number);
        return true;
    };
    auto switch_of = [&](bool& target) {
        if (ParseSwitch(value, target))
            return true;
        error = name + " must be 1 or 0 (true/false, on/off)";
        return false;
    };
    std::string* text = name == "hostName"        ? &s.hostName
                        : name == "projectorName" ? &s.projectorName
                        : name == "user"          ? &s.user
                        : name == "password"      ? &s.password
                        : name == "model"         ? &s.model
                        : name == "serial"        ? &s.serial
                        : name == "signal"        ? &s.signal
                        : name == "ttav"          ? &s.ttav
                                                  : nullptr;
    if (text) {
        *text = value;
        return true;
    }
    if (name == "login")
        return switch_of(s.loginRequired);
    if (name == "imbk")
        return switch_of(s.imbk);
    if (name == "mute")
        return switch_of(s.mute);
    if (name == "lnst")
        return switch_of(s.lnst);
    if (name == "search")
        return switch_of(s.searchAnswer);
    if (name == "searchTwice")
        return switch_of(s.searchTwice);
    if (name == "searchDelayMs")
        return number_in(0, 600000, s.searchDelayMs);
    if (name == "searchHoldMs")
        return number_in(0, 600000, s.searchHoldMs);
    if (name == "errorBits")
        return number_in(0, 65535, s.errorBits);
    if (name == "computerInput")
        return number_in(1, 6, s.computerInput);
    if (name == "videoInput")
        return number_in(1, 6, s.videoInput);
    if (name == "commandPort")
        return number_in(0, 65535, s.commandPort);
    if (name == "power") {
        if (value == "on" || value == "1")
            s.powerOn = true;
        else if (value == "standby" || value == "0")
            s.powerOn = false;
        else {
            error = "power must be on or standby";
            return false;
        }
        return true;
    }
    if (name == "input") {
        if (value == "computer")
            s.input = SimInput::Computer;
        else if (value == "video")
            s.input = SimInput::Video;
        else {
            error = "input must be computer or video";
            return false;
        }
        return true;
    }
    if (name == "lineEnd") {
        if (value != "lf" && value != "crlf") {
            error = "lineEnd must be lf or crlf";
            return false;
        }
        s.crlf = value == "crlf";
        return true;
    }
    if (name == "lamps") {
        int count = 0;
        if (!number_in(1, 2, count))
            return false;
        s.lamps.resize(static_cast<std::size_t>(count));
        return true;
    }
    if (name.size() > 6 && name.compare(0, 4, "lamp") == 0 && name[5] == '.' && (name[4] == '1' || name[4] == '2'))
        return SetLampField(static_cast<std::size_t>(name[4] - '1'), name.substr(6), value, error);
    error = "unknown field \"" + name + "\"";
    return false;
}

bool CSimBoard::SetLampField(std::size_t lamp, const std::string& name, const std::string& value,
                             std::string& error) {
    if (lamp >= m_settings.lamps.size()) {
        error = "the board has " + std::to_string(m_settings.lamps.size()) + " lamp(s); set lamps 2 first";
        return false;
    }
    SimLamp& l = m_settings.lamps[lamp];
    long long number = 0;
    const std::string field = "lamp" + std::to_string(lamp + 1) + "." + name;
    if (name == "life" && (value == "---" || value == "-1")) {
        l.life = -1;
        return true;
    }
    int* target = name == "state" ? &l.state : name == "hours" ? &l.hours : name == "minutes" ? &l.minutes
                  : name == "life" ? &l.life : nullptr;
    if (!target) {
        error = "unknown field \"" + field + "\"";
        return false;
    }
    // Any value the console might meet is allowed, so tests can feed it odd ones.
    const long long hi = name == "life" ? 9999999 : 99999999;
    if (!ParseInt(value, 0, hi, number)) {
        error = field + " must be a number from 0 to " + std::to_string(hi) + (name == "life" ? " or ---" : "");
        return false;
    }
    *target = static_cast<int>(number);
    return true;
}

std::string CSimBoard::InfoReply(const FaultPlan& plan) const {
    const std::string end = m_settings.crlf ? "\r\n" : "\n";
    std::string reply = m_settings.hostName + end;
    reply += std::string("PASSWD:") + (m_settings.loginRequired ? "YES" : "NO") + end;
    if (!plan.noComRpt)
        reply += "COMRPT:" + plan.comRpt.value_or(std::to_string(CommandPort())) + end;
    reply += "MDLNAM:" + m_settings.model + end;
    reply += std::string("RDPORT:") + (plan.busy ? "BUSY" : "FREE") + end;
    reply += "ANADDR:" + m_settings.address + end;
    reply += "SERIAL:" + m_settings.serial + end;
    return reply;
}

bool CSimBoard::CheckLogin(const std::string& user, const std::string& password) const {
    return user == m_settings.user && password == m_settings.password;
}

std::string CSimBoard::Answer(const std::string& command) {
    if (command.size() != 8)
        return ANSWER_ERR;
    const std::string code = command.substr(0, 4);
    const std::string param = command.substr(4);
    const bool query = param == "????";
    const int value = ParameterValue(param);
    const bool first = param == "   1";
    SimBoardSettings& s = m_settings;

    if (code == "POWR") {
        if (query)
            return s.powerOn ? "1" : "0";
        if (value != 0 && value != 1)
            return ANSWER_ERR;
        s.powerOn = value == 1;
        return CONTROL_DONE;
    }
    if (code == "TLPS" || code == "TLTT" || code == "TLTM" || code == "TLTL")
        return AnswerLamp(code, param == "   1" ? 1 : param == "   2" ? 2 : 0);
    if (code == "IMOD")
        return query ? std::to_string(static_cast<int>(s.input)) : ANSWER_ERR;
    if (code == "IRGB" || code == "IVED")
        return AnswerInput(code, query, value);
    if (code == "IMBK")
        return AnswerSwitch(s.imbk, query, value);
    if (code == "MUTE")
        return AnswerSwitch(s.mute, query, value);
    if (code == "LNST")
        return AnswerSwitch(s.lnst, query, value);
    if (!first)
        return ANSWER_ERR;
    if (code == "PJN0")
        return s.projectorName.empty() ? ANSWER_ERR : s.projectorName;
    if (code == "MNRD")
        return s.model;
    if (code == "TABN")
        return std::to_string(s.errorBits);
    if (code == "TDSP")
        return s.signal;
    if (code == "SNRD")
        return s.serial;
    if (code == "TTAV")
        return s.ttav;
    return ANSWER_ERR;
}

std::string CSimBoard::AnswerLamp(const std::string& code, int lampNumber) const {
    if (lampNumber < 1 || static_cast<std::size_t>(lampNumber) > m_settings.lamps.size())
        return ANSWER_ERR;
    const SimLamp& lamp = m_settings.lamps[static_cast<std::size_t>(lampNumber - 1)];
    if (code == "TLPS")
        return std::to_string(lamp.state);
    if (code == "TLTT")
        return std::to_string(lamp.hours);
    if (code == "TLTM")
        return std::to_string(lamp.minutes);
    return lamp.life < 0 ? "---" : std::to_string(lamp.life);
}

std::string CSimBoard::AnswerInput(const std::string& code, bool query, int value) {
    const bool video = code == "IVED";
    int& number = video ? m_settings.videoInput : m_settings.computerInput;
    if (query)
        return std::to_string(number);
    if (value < 1 || value > 6)
        return ANSWER_ERR;
    number = value;
    m_settings.input = video ? SimInput::Video : SimInput::Computer;
    return CONTROL_DONE;
}

std::string CSimBoard::AnswerSwitch(bool& flag, bool query, int value) {
    if (query)
        return flag ? "1" : "0";
    if (value != 0 && value != 1)
        return ANSWER_ERR;
    flag = value == 1;
    return CONTROL_DONE;
}

void CSimBoard::AddFault(const CBoardFault& fault) {
    m_faults.push_back(fault);
}

int CSimBoard::ClearFaults(const std::string& target) {
    const auto before = m_faults.size();
    std::erase_if(m_faults, [&](const CBoardFault& f) { return target.empty() || f.Target() == target; });
    return static_cast<int>(before - m_faults.size());
}

FaultPlan CSimBoard::TakeFaults(const std::string& target) {
    FaultPlan plan;
    bool acted = false;
    bool delayed = false;
    bool split = false;
    auto apply = [&](CBoardFault& f) {
        using K = FaultKind;
        switch (f.Kind()) {
        case K::Err: case K::Reply: case K::YourIp: case K::Flood: case K::Garbage: case K::BadPrompt:
            if (plan.content)
                return;
            plan.content = f;
            break;
        case K::Silent: case K::Close:
            if (acted)
                return;
            acted = true;
            (f.Kind() == K::Silent ? plan.silent : plan.close) = true;
            break;
        case K::Delay:
            if (delayed)
                return;
            delayed = true;
            plan.delayMs = f.Ms();
            break;
        case K::Split:
            if (split)
                return;
            split = true;
            plan.pieces = f.Pieces();
            plan.gapMs = f.GapMs();
            break;
        case K::Busy:
            if (plan.busy)
                return;
            plan.busy = true;
            break;
        case K::NoComRpt:
            if (plan.noComRpt)
                return;
            plan.noComRpt = true;
            break;
        case K::ComRpt:
            if (plan.comRpt)
                return;
            plan.comRpt = f.Text();
            break;
        case K::Refuse: case K::IdleClose:
            return;  // standing conditions, read by the listener and the idle timer
        }
        f.Consume();
    };
    // Rules for this very command come before those for every command.
    for (CBoardFault& f : m_faults)
        if (f.Target() == target)
            apply(f);
    const bool command = target.size() == 8;
    if (command)
        for (CBoardFault& f : m_faults)
            if (f.Target() == FAULT_ANY_COMMAND)
                apply(f);
    std::erase_if(m_faults, [](const CBoardFault& f) { return f.IsExhausted(); });
    return plan;
}

bool CSimBoard::RefusesConnections() const {
    return std::any_of(m_faults.begin(), m_faults.end(), [](const CBoardFault& f) {
        return f.Target() == FAULT_PHASE_CONNECT && f.Kind() == FaultKind::Refuse;
    });
}

int CSimBoard::IdleCloseMs() const {
    for (const CBoardFault& f : m_faults)
        if (f.Target() == FAULT_PHASE_CONNECT && f.Kind() == FaultKind::IdleClose)
            return std::max(1, f.Ms());
    return 0;
}
