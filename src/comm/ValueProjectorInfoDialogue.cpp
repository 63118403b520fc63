// The board dialogue of a session: the information exchange on port 7, the
// login on the command port, one command with its reply, the status poll
// and the control commands.
#include "comm/ValueProjectorInfo.h"

#include <cstring>
#include <vector>

#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "comm/StreamSocket.h"
#include "platform/TickCount.h"
#include "settings/TextTools.h"

const char* const kStatusCommands[STATUS_ROW_COUNT] = {
    "POWR????", "PJN0   1", "MNRD   1", "TABN   1", "TLPS   1", "TLPS   2", "TLTT   1", "TLTT   2", "TLTM   1",
    "TLTM   2", "TLTL   1", "TLTL   2", "IMOD????", "IRGB????", "IVED????", "TDSP   1", "SNRD   1", "TTAV   1",
};

namespace {

constexpr const char* kBoardKeys[] = {"PASSWD:", "COMRPT:", "MDLNAM:", "RDPORT:", "ANADDR:", "SERIAL:"};
enum BoardKey { KEY_PASSWD = 0, KEY_COMRPT, KEY_MDLNAM, KEY_RDPORT, KEY_ANADDR, KEY_SERIAL };

constexpr const char* kControlCommands[CONTROL_COUNT] = {
    "POWR   1", "POWR   0", "IRGB   1", "IRGB   2", "IRGB   3", "IRGB   4", "IRGB   5", "IRGB   6",
    "IVED   1", "IVED   2", "IVED   3", "IVED   4", "IVED   5", "IVED   6", "IMBK   1", "IMBK   0",
    "MUTE   1", "MUTE   0", "LNST   1", "LNST   0", "IMBK   1", "IMBK   0",
};

constexpr const char* kNoValue = "----";
constexpr char kErr[] = "ERR";
constexpr int kTransactAttempts = 3;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool IsAllDigitsText(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The board's numbers are read the way the C library's atoi reads them,
// except that a number beyond an int stays beyond the ranges the rows accept
// instead of wrapping into them.
int Number(const std::string& text) { return LeadingInt(text); }

constexpr int kHighestPort = 65535;

bool IsErr(const std::string& reply) { return reply == kErr; }

// Status from the error bits: the first set bit in the board's order decides.
int StatusFromBits(int bits) {
    static const struct { int bit; int status; } order[] = {
        {0x40, STATUS_TEMP_BIT6}, {0x20, STATUS_LAMP_BIT5}, {0x10, STATUS_LAMP_BIT4}, {0x08, STATUS_LAMP_BIT3},
        {0x04, STATUS_FILTER_COVER}, {0x02, STATUS_FAN}, {0x01, STATUS_TEMP_BIT0},
    };
    for (const auto& entry : order)
        if (bits & entry.bit)
            return entry.status;
    return STATUS_UNKNOWN;
}

int CombineLampCodes(int first, int second) {
    if (first == 1 || second == 1)
        return 1;
    if (first == 0 && second == 0)
        return 0;
    if (first == 2 || second == 2)
        return 2;
    return 3;
}

bool IsQuarterHour(int minutes) { return minutes == 0 || minutes == 15 || minutes == 30 || minutes == 45; }

void CombineLampHours(const PollState& state, CProjectorInfo& record) {
    int best = -1, minutes = -1;
    for (int lamp = 0; lamp < 2; ++lamp) {
        if (state.hours[lamp] >= 0 && state.hours[lamp] >= best) {
            best = state.hours[lamp];
            if (IsQuarterHour(state.minutes[lamp]) && state.minutes[lamp] >= minutes)
                minutes = state.minutes[lamp];
        }
    }
    record.lampHours = best;
    record.lampMinutes = minutes;
}

}  // namespace

const char* CValueProjectorInfo::ControlCommand(int index) {
    return index >= 0 && index < CONTROL_COUNT ? kControlCommands[index] : nullptr;
}

int CValueProjectorInfo::ParseBoardLine(const std::string& line, std::string& value) {
    value.clear();
    size_t colon = line.find(':');
    if (colon == std::string::npos) {
        value = line;
        return -1;
    }
    std::string key = line.substr(0, colon + 1);
    for (int i = 0; i < static_cast<int>(std::size(kBoardKeys)); ++i) {
        if (key == kBoardKeys[i]) {
            value = line.substr(colon + 1);
            return i;
        }
    }
    return -1;
}

int CValueProjectorInfo::QueryBoardInfo(int timeoutMs) {
    {
        CSingleLock lock(m_lock);
        m_hostName.clear();
    }
    if (!m_infoSocket || !m_record || !m_host)
        return RC_INVALID;
    int r = ConnectFromRange(m_infoSocket.get(), BOARD_INFO_PORT, timeoutMs);
    if (r != RC_OK)
        return r;
    static const char kRequest[] = "hostname\n";
    int length = 9;
    r = SendTimed(m_infoSocket.get(), kRequest, length, timeoutMs, true);
    bool answered = false;
    if (r == RC_OK) {
        SleepMs(100);
        char reply[BOARD_REPLY_CAPACITY];
        length = sizeof reply;
        r = ReceiveUntil(m_infoSocket.get(), reply, length, '\n', timeoutMs);
        answered = r == RC_OK;
        if (answered)
            r = ApplyBoardInfo(std::string(reply, static_cast<size_t>(length)));
    }
    m_infoSocket->Close();
    // Only a board that gave its information reply (busy or not) is looked
    // up: one that refused us ("Your IP") or never answered stores nothing.
    if (!answered)
        return r;
    std::string address;
    {
        CSingleLock lock(m_lock);
        address = m_record->ipAddress;
    }
    std::string mac = LookUpMacAddress(address);
    WithWorking([&](CProjectorInfo& working) { working.macAddress = mac; });
    return r;
}

int CValueProjectorInfo::ApplyBoardInfo(const std::string& reply) {
    bool busy = false;
    bool badPort = false;
    size_t pos = 0;
    while (pos < reply.size()) {
        size_t end = reply.find('\n', pos);
        if (end == std::string::npos)
            end = reply.size();
        std::string raw = reply.substr(pos, end - pos);
        pos = end + 1;
        if (raw.empty())
            continue;
        std::string line = Trim(raw);
        if (line.empty())
            break;
        std::string value;
        switch (ParseBoardLine(line, value)) {
        case -1: {
            CSingleLock lock(m_lock);
            m_hostName = value;
            break;
        }
        case KEY_PASSWD: m_loginRequired = value == "YES" ? 1 : 0; break;
        case KEY_COMRPT: {
            // A port no connection can use must not be cut down to one that
            // reaches some other service.
            const int port = Number(value);
            badPort = port < 1 || port > kHighestPort;
            if (!badPort)
                m_commandPort = port;
            break;
        }
        case KEY_RDPORT: busy = busy || value == "BUSY"; break;
        default: break;
        }
    }
    if (busy)
        return RC_REFUSED;
    return badPort ? RC_INVALID : RC_OK;
}

int CValueProjectorInfo::Login(int timeoutMs) {
    if (!m_commandSocket || !m_record || m_commandPort == 0)
        return RC_INVALID;
    int r = ConnectFromRange(m_commandSocket.get(), m_commandPort, timeoutMs);
    if (r != RC_OK)
        return r;
    std::string user, password;
    {
        CSingleLock lock(m_lock);
        user = m_record->userName;
        password = m_record->password;
    }
    if (!m_loginRequired)
        return user.empty() && password.empty() ? RC_OK : RC_LOGIN_REFUSED;

    CStreamSocket* socket = m_commandSocket.get();
    char reply[BOARD_REPLY_CAPACITY];
    auto expect = [&](const char* prompt, char terminator) {
        int length = sizeof reply;
        return ReceiveUntil(socket, reply, length, terminator, timeoutMs) == RC_OK &&
               (!prompt || std::strcmp(reply, prompt) == 0);
    };
    auto sendLine = [&](const std::string& text) {
        std::string line = text + "\n";
        int length = static_cast<int>(line.size());
        return SendTimed(socket, line.data(), length, timeoutMs, false) == RC_OK;
    };
    if (!expect("Login:", ':') || !sendLine(user) || !expect("\r\nPassword:", ':') || !sendLine(password) ||
        !expect(nullptr, '\n')) {
        socket->Close();
        return RC_REFUSED;
    }
    if (std::strlen(reply) > 2) {
        socket->Close();
        return RC_LOGIN_REFUSED;
    }
    return RC_OK;
}

int CValueProjectorInfo::Transact(const char* command, char* reply, int& length, int timeoutMs) {
    if (!command || !reply || length <= 0)
        return RC_INVALID;
    const int capacity = length;
    reply[0] = '\0';
    if (!m_commandSocket)
        return RC_INVALID;
    const std::string request = std::string(command) + "\r";
    char received[BOARD_REPLY_CAPACITY];
    int receivedLength = 0;
    for (int attempt = 0; attempt < kTransactAttempts; ++attempt) {
        int sendLength = static_cast<int>(request.size());
        int r = SendTimed(m_commandSocket.get(), request.data(), sendLength, timeoutMs, false);
        if (r != RC_OK)
            return r;
        receivedLength = sizeof received;
        r = ReceiveUntil(m_commandSocket.get(), received, receivedLength, '\r', timeoutMs);
        if (r != RC_OK)
            return r;
        // The text before the terminator must be there and must not be "ERR...".
        int textLength = received[receivedLength - 1] == '\r' ? receivedLength - 1 : receivedLength;
        if (textLength > 0 && std::strncmp(received, kErr, sizeof kErr - 1) != 0)
            break;
        if (attempt + 1 < kTransactAttempts)
            SleepMs(10);
    }
    if (receivedLength > 0 && received[receivedLength - 1] == '\r')
        --receivedLength;
    // After the last attempt an "ERR" reply stands as the answer, and so does
    // nothing at all: an empty reply would otherwise read as the number 0
    // (standby, normal, 0 h).
    if (receivedLength == 0) {
        std::memcpy(received, kErr, sizeof kErr - 1);
        receivedLength = sizeof kErr - 1;
    }
    int copied = std::min(receivedLength, capacity - 1);
    std::memcpy(reply, received, static_cast<size_t>(copied));
    reply[copied] = '\0';
    length = copied;
    return RC_OK;
}

int CValueProjectorInfo::ApplyStatusReply(int row, const std::string& reply, bool powerOnly,
                                          const std::string& hostName, PollState& state, CProjectorInfo& rec) {
    const bool err = IsErr(reply);
    const int n = Number(reply);
    switch (row) {
    case 0:
        if (err) {
            rec.power = POWER_UNKNOWN;
            state.powerFailed = true;
        } else {
            rec.power = n == 1 ? POWER_ON : n == 0 ? POWER_STANDBY : POWER_UNKNOWN;
        }
        return powerOnly ? -1 : 1;
    case 1:
        rec.name = err ? (hostName.empty() ? kNoValue : hostName) : reply;
        return 2;
    case 2:
        rec.model = err ? kNoValue : reply;
        return 3;
    case 3:
        if (err || n < 0)
            rec.status = STATUS_UNKNOWN;
        else
            rec.status = n == 0 ? STATUS_NORMAL : StatusFromBits(n);
        if (state.powerFailed)
            rec.status = STATUS_COMM_ERROR;
        return 4;
    case 4:
        if (!err && n >= 0 && n <= 3) {
            state.lamp1Code = n;
            return 5;
        }
        rec.lampState = 0;
        return 6;
    case 5: {
        int combined = (err || n < 0 || n > 3) ? state.lamp1Code : CombineLampCodes(state.lamp1Code, n);
        rec.lampState = combined + 1;
        return 6;
    }
    case 6: {
        std::string text = Trim(reply);
        bool valid = !IsErr(text) && IsAllDigitsText(text);
        rec.lamp1Time = valid ? text : std::string();
        state.hours[0] = valid ? Number(text) : -1;
        return 7;
    }
    case 7:
        if (err) {
            rec.lamp2Time.clear();
            state.hours[1] = -1;
        } else {
            rec.lamp2Time = Trim(reply);
            state.hours[1] = Number(rec.lamp2Time);
        }
        return 8;
    case 8: {
        std::string text = Trim(reply);
        state.minutes[0] = !IsErr(text) && IsAllDigitsText(text) ? Number(text) : -1;
        return 9;
    }
    case 9:
        state.minutes[1] = err ? -1 : n;
        CombineLampHours(state, rec);
        return 10;
    case 10:
        if (err || reply == "---" || n < 0 || n > 9999) {
            rec.lampLife = -1;
            return 12;
        }
        state.life1 = n;
        return 11;
    case 11: {
        int v = err ? state.life1 : n;
        rec.lampLife = (v >= 0 && v <= 9999) ? std::min(state.life1, v) : -1;
        return 12;
    }
    case 12:
        if (!err && n == 1)
            return 13;
        if (!err && n == 2)
            return 14;
        rec.input = INPUT_UNKNOWN;
        return 15;
    case 13:
        rec.input = (!err && n >= 1 && n <= 6) ? n : INPUT_UNKNOWN;
        return 15;
    case 14:
        rec.input = (!err && n >= 1 && n <= 6) ? INPUT_VIDEO_BASE + n : INPUT_UNKNOWN;
        return 15;
    case 15:
        if (err) {
            rec.inputSignal = kNoValue;
        } else {
            std::string text = reply;
            if (!text.empty() && text.back() == '\r')
                text.pop_back();
            rec.inputSignal = text;
        }
        return 16;
    case 16:
        rec.serialNumber = err ? kNoValue : reply;
        return 17;
    case 17:
        rec.ttavText = err ? std::string() : Trim(reply);
        return -1;
    default:
        return -1;
    }
}

int CValueProjectorInfo::PollStatus(int timeoutMs, bool powerOnly) {
    PollState state;
    const std::string hostName = HostName();
    char reply[BOARD_REPLY_CAPACITY];
    for (int row = 0; row >= 0 && row < STATUS_ROW_COUNT;) {
        int length = sizeof reply;
        int r = Transact(kStatusCommands[row], reply, length, timeoutMs);
        if (r != RC_OK)
            return r;
        const std::string text(reply, static_cast<size_t>(length));
        WithWorking([&](CProjectorInfo& working) {
            row = ApplyStatusReply(row, text, powerOnly, hostName, state, working);
        });
    }
    return RC_OK;
}

int CValueProjectorInfo::SendControl(int index, int timeoutMs) {
    if (index < 0 || index >= CONTROL_COUNT)
        return RC_BAD_COMMAND;
    char reply[BOARD_REPLY_CAPACITY];
    int length = sizeof reply;
    int r = Transact(kControlCommands[index], reply, length, timeoutMs);
    if (r != RC_OK || (index != CONTROL_IMBK_MUTE_ON && index != CONTROL_IMBK_MUTE_OFF))
        return r;
    SleepMs(10);
    length = sizeof reply;
    return Transact(index == CONTROL_IMBK_MUTE_ON ? "MUTE   1" : "MUTE   0", reply, length, timeoutMs);
}
