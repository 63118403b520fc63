#include "BoardFault.h"

#include <array>
#include <utility>

#include "SimText.h"

namespace {

struct KindInfo {
    FaultKind kind;
    const char* name;
    const char* params;     // blank-separated parameters besides "times"
    const char* mainParam;  // what a bare number sets
    bool counted;           // takes "times"
};

constexpr std::array<KindInfo, 15> KINDS = {{
    {FaultKind::Err, "err", "", "times", true},
    {FaultKind::Reply, "reply", "text", "times", true},
    {FaultKind::Silent, "silent", "", "times", true},
    {FaultKind::Delay, "delay", "ms", "ms", true},
    {FaultKind::Split, "split", "pieces gap", "pieces", true},
    {FaultKind::Close, "close", "", "times", true},
    {FaultKind::YourIp, "yourip", "text", "times", true},
    {FaultKind::Busy, "busy", "", "times", true},
    {FaultKind::NoComRpt, "nocomrpt", "", "times", true},
    {FaultKind::ComRpt, "comrpt", "text", "times", true},
    {FaultKind::BadPrompt, "badprompt", "prompt text", "times", true},
    {FaultKind::Flood, "flood", "bytes", "bytes", true},
    {FaultKind::Garbage, "garbage", "bytes", "bytes", true},
    {FaultKind::Refuse, "refuse", "", "", false},
    {FaultKind::IdleClose, "idleclose", "ms", "ms", false},
}};

const KindInfo& InfoOf(FaultKind kind) {
    for (const KindInfo& info : KINDS)
        if (info.kind == kind)
            return info;
    return KINDS[0];
}

bool TakesParam(const KindInfo& info, const std::string& name) {
    if (name == "times")
        return info.counted;
    for (const std::string& param : SplitWords(info.params))
        if (param == name)
            return true;
    return false;
}

// Which kinds make sense where: a phase has its own dialogue step, so an "ERR"
// answer means nothing during the information exchange, and a refused port
// means nothing for one command.
bool KindFits(FaultKind kind, const std::string& target) {
    using K = FaultKind;
    const bool common = kind == K::Silent || kind == K::Delay || kind == K::Split || kind == K::Close ||
                        kind == K::YourIp || kind == K::Flood || kind == K::Garbage;
    if (target == FAULT_PHASE_INFO)
        return common || kind == K::Busy || kind == K::NoComRpt || kind == K::ComRpt;
    if (target == FAULT_PHASE_LOGIN)
        return common || kind == K::BadPrompt;
    if (target == FAULT_PHASE_CONNECT)
        return kind == K::Refuse || kind == K::Close || kind == K::IdleClose;
    return common || kind == K::Err || kind == K::Reply;
}

bool IsCommandText(const std::string& target) {
    if (target.size() != 8)
        return false;
    for (char c : target)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
            return false;
    return true;
}

}  // namespace

bool CBoardFault::KindFromName(const std::string& name, FaultKind& kind) {
    for (const KindInfo& info : KINDS)
        if (name == info.name) {
            kind = info.kind;
            return true;
        }
    return false;
}

bool CBoardFault::Init(const std::string& target, const std::string& kind, std::string& error) {
    if (!KindFromName(kind, m_kind)) {
        error = "unknown fault kind \"" + kind + "\"";
        return false;
    }
    m_target = target;
    if (m_kind == FaultKind::Flood)
        m_bytes = 4096;
    else if (m_kind == FaultKind::Garbage)
        m_bytes = 16;
    else if (m_kind == FaultKind::Delay || m_kind == FaultKind::IdleClose)
        m_ms = 1000;
    return FitsTarget(error);
}

bool CBoardFault::FitsTarget(std::string& error) const {
    const bool phase = m_target == FAULT_PHASE_INFO || m_target == FAULT_PHASE_LOGIN ||
                       m_target == FAULT_PHASE_CONNECT;
    if (!phase && m_target != FAULT_ANY_COMMAND && !IsCommandText(m_target)) {
        error = "fault target \"" + m_target + "\" is not an 8-character command, *, info, login or connect";
        return false;
    }
    if (!KindFits(m_kind, m_target)) {
        error = "fault kind " + KindName() + " does not apply to " + m_target;
        return false;
    }
    return true;
}

bool CBoardFault::Set(const std::string& name, const std::string& value, std::string& error) {
    const KindInfo& info = InfoOf(m_kind);
    if (!TakesParam(info, name)) {
        error = "fault kind " + KindName() + " takes no parameter \"" + name + "\"";
        return false;
    }
    long long number = 0;
    auto number_in = [&](long long lo, long long hi) {
        if (ParseInt(value, lo, hi, number))
            return true;
        error = "fault parameter " + name + " must be a number from " + std::to_string(lo) + " to " +
                std::to_string(hi);
        return false;
    };
    if (name == "times") {
        if (!number_in(1, 1000000000))
            return false;
        m_times = static_cast<int>(number);
    } else if (name == "ms") {
        if (!number_in(0, 600000))
            return false;
        m_ms = static_cast<int>(number);
    } else if (name == "pieces") {
        if (!number_in(2, 64))
            return false;
        m_pieces = static_cast<int>(number);
    } else if (name == "gap") {
        if (!number_in(0, 60000))
            return false;
        m_gapMs = static_cast<int>(number);
    } else if (name == "bytes") {
        if (!number_in(1, 1 << 20))
            return false;
        m_bytes = static_cast<int>(number);
    } else if (name == "text") {
        if (!DecodeEscapes(value, m_text)) {
            error = "fault text has a broken escape";
            return false;
        }
    } else if (name == "prompt") {
        if (value != "login" && value != "password") {
            error = "fault parameter prompt must be login or password";
            return false;
        }
        m_passwordPrompt = value == "password";
    }
    return true;
}

std::string CBoardFault::MainParameter() const {
    return InfoOf(m_kind).mainParam;
}

std::string CBoardFault::KindName() const {
    return InfoOf(m_kind).name;
}

bool CBoardFault::IsCommandTarget() const {
    return m_target == FAULT_ANY_COMMAND || IsCommandText(m_target);
}

void CBoardFault::Consume() {
    if (m_times > 0)
        --m_times;
}

std::vector<std::pair<std::string, std::string>> CBoardFault::Parameters() const {
    std::vector<std::pair<std::string, std::string>> params;
    const KindInfo& info = InfoOf(m_kind);
    for (const std::string& name : SplitWords(info.params)) {
        if (name == "ms")
            params.emplace_back(name, std::to_string(m_ms));
        else if (name == "pieces")
            params.emplace_back(name, std::to_string(m_pieces));
        else if (name == "gap")
            params.emplace_back(name, std::to_string(m_gapMs));
        else if (name == "bytes")
            params.emplace_back(name, std::to_string(m_bytes));
        else if (name == "prompt")
            params.emplace_back(name, m_passwordPrompt ? "password" : "login");
        else if (name == "text" && !m_text.empty())
            params.emplace_back(name, m_text);
    }
    if (m_times >= 0)
        params.emplace_back("times", std::to_string(m_times));
    return params;
}

std::string CBoardFault::Describe() const {
    std::string text = "\"" + m_target + "\" " + KindName();
    std::string tail;
    for (const auto& [name, value] : Parameters()) {
        // text takes the rest of a control line, so it goes last.
        if (name == "text")
            tail = " text=" + EncodeEscapes(value);
        else
            text += " " + name + "=" + value;
    }
    return text + tail;
}
