#include "mail/MailSMTP.h"

#include <fstream>
#include <iterator>
#include <new>

#include <sys/socket.h>
#include <sys/time.h>

#include "mail/MIME.h"
#include "mail/MailDefs.h"
#include "mail/SmtpReplyReader.h"
#include "platform/TickCount.h"
#include "platform/WinsockError.h"

namespace {

// How long a TCP connect may take, and how long any one send or receive may
// go without moving a byte. The reply time-out only bounds a reply's
// completion; without these a server that never answers, or never reads,
// would hold the sending thread without end.
constexpr int kConnectLimitMs = 20000;
constexpr int kStallLimitMs = 60000;

// On a blocking socket SO_SNDTIMEO bounds connect() and each send, and
// SO_RCVTIMEO each receive; a call that runs into it has moved no byte.
void SetWaitLimit(int handle, int option, int ms) {
    timeval tv{};
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    ::setsockopt(handle, SOL_SOCKET, option, &tv, sizeof tv);
}

}  // namespace

CMailSMTP::CMailSMTP() : m_connectLimitMs(kConnectLimitMs), m_stallLimitMs(kStallLimitMs) {
    Initialize();
}

CMailSMTP::~CMailSMTP() { CMailSMTP::Disconnect(); }

void CMailSMTP::Initialize() {
    m_replyTimeout = SMTP_REPLY_TIMEOUT_MS;
    m_connected = 0;
    m_lastError = 0;
}

void CMailSMTP::SetWaitLimits(int connectMs, int stallMs) {
    m_connectLimitMs = connectMs;
    m_stallLimitMs = stallMs;
}

void CMailSMTP::Close() { Disconnect(); }

void CMailSMTP::Disconnect() {
    if (!m_connected)
        return;
    m_socket.Close();
    m_connected = 0;
}

int CMailSMTP::SocketFailure() {
    // A socket call refused without an error number (no connection at all)
    // is still a failure, never success.
    int code = m_socket.LastError();
    if (code == 0)
        return Fail(SMTP_OTHER_FAILURE);
    // "Would block" on this blocking socket means the stall limit ran out.
    return code == WSAEWOULDBLOCK ? Fail(SMTP_TIMEOUT) : MapSocketError(code);
}

int CMailSMTP::Fail(int status) {
    m_lastError = status;
    return status;
}

int CMailSMTP::MapSocketError(int code) {
    switch (code) {
    case 0: m_lastError = SMTP_OK; break;
    case WSAEFAULT:
    case WSAEMFILE:
    case WSAENOTSOCK:
    case WSAENETDOWN:
    case WSAENOBUFS:
    case 10093:  // not initialised
        m_lastError = SMTP_SYSTEM_FAILURE;
        break;
    case WSAEINVAL:
    case WSAEADDRNOTAVAIL: m_lastError = SMTP_INVALID_ADDRESS; break;
    case WSAEWOULDBLOCK: m_lastError = SMTP_WOULD_BLOCK; break;
    case WSAEINPROGRESS: m_lastError = SMTP_IN_PROGRESS; break;
    case WSAEDESTADDRREQ: m_lastError = SMTP_DEST_ADDR_REQUIRED; break;
    case WSAEAFNOSUPPORT: m_lastError = SMTP_AF_NOT_SUPPORTED; break;
    case WSAEADDRINUSE: m_lastError = SMTP_ADDR_IN_USE; break;
    case WSAENETUNREACH: m_lastError = SMTP_NET_UNREACHABLE; break;
    case WSAEISCONN: m_lastError = SMTP_ALREADY_CONNECTED; break;
    // Linux reports a server that never answers the connect (no ARP answer)
    // as an unreachable or down host, where the table means a time-out.
    case WSAEHOSTUNREACH:
    case WSAEHOSTDOWN:
    case WSAETIMEDOUT: m_lastError = SMTP_TIMEOUT; break;
    case WSAECONNREFUSED: m_lastError = SMTP_REFUSED; break;
    default: m_lastError = SMTP_OTHER_FAILURE; break;
    }
    return m_lastError;
}

int CMailSMTP::Connect(const std::string& server) {
    if (m_connected) {
        m_lastError = SMTP_ALREADY_CONNECTED;
        return 0;
    }
    if (!server.empty())
        m_serverName = server;
    if (m_serverName.empty()) {
        m_lastError = SMTP_INVALID_ADDRESS;
        return 0;
    }
    if (m_socket.Create(SOCKET_KIND_STREAM) != 0) {
        MapSocketError(m_socket.LastError());
        return 0;
    }
    SetWaitLimit(m_socket.Handle(), SO_SNDTIMEO, m_connectLimitMs);
    SetWaitLimit(m_socket.Handle(), SO_RCVTIMEO, m_stallLimitMs);
    if (m_socket.Connect(m_serverName.c_str(), SMTP_PORT) != 0) {
        int code = m_socket.LastError();
        // A connect cut short by the limit reports "in progress".
        MapSocketError(code == WSAEINPROGRESS ? WSAETIMEDOUT : code);
        m_socket.Close();  // so that a later Connect can create it again
        return 0;
    }
    // The connect limit must not go on bounding every send: a server busy
    // with a large message may stop reading for a while mid-DATA.
    SetWaitLimit(m_socket.Handle(), SO_SNDTIMEO, m_stallLimitMs);
    m_connected = 1;
    m_step = SMTP_STEP_GREETING;
    int status = ReadReply();
    if (status != SMTP_OK) {
        Close();
        m_lastError = status;
        return 0;
    }
    if (m_lastReplyCode == 220)
        return 1;
    Close();
    m_lastError = SMTP_REFUSED;
    return 0;
}

std::string CMailSMTP::Transparent(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 64 + 4);
    for (char c : text) {
        if (m_skipLf) {
            m_skipLf = false;
            if (c == '\n')
                continue;
        }
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            m_skipLf = c == '\r';
            m_atLineStart = true;
            continue;
        }
        if (m_atLineStart && c == '.')
            out += '.';
        m_atLineStart = false;
        out += c;
    }
    return out;
}

int CMailSMTP::SendText(const std::string& text) {
    if (text.empty())
        return SMTP_NOTHING_TO_SEND;
    const std::string wire = m_inData ? Transparent(text) : text;
    size_t sent = 0;
    while (sent < wire.size()) {
        size_t piece = wire.size() - sent;
        if (piece > static_cast<size_t>(SMTP_SEND_PIECE))
            piece = SMTP_SEND_PIECE;
        int n = m_socket.Send(wire.data() + sent, static_cast<int>(piece));
        if (n <= 0)
            return SocketFailure();
        sent += static_cast<size_t>(n);
    }
    return SMTP_OK;
}

int CMailSMTP::ReadReply() {
    char buffer[SMTP_RECEIVE_BUFFER];
    CSmtpReplyReader reader;
    m_lastReplyCode = 0;
    std::int64_t deadline = TickCount() + m_replyTimeout;
    for (;;) {
        int n = m_socket.Receive(buffer, SMTP_RECEIVE_BUFFER - 1);
        if (n == 0)
            return Fail(SMTP_REFUSED);
        if (n < 0)
            return SocketFailure();
        switch (reader.Take(buffer, std::size_t(n))) {
        case CSmtpReplyReader::Step::Done:
            m_lastReplyCode = reader.Code();
            return SMTP_OK;
        case CSmtpReplyReader::Step::Failed:
            return Fail(reader.Status());
        case CSmtpReplyReader::Step::NewReply:
            deadline = TickCount() + m_replyTimeout;
            break;
        case CSmtpReplyReader::Step::More:
            if (TickCount() >= deadline)
                return Fail(SMTP_TIMEOUT);
            break;
        }
    }
}

int CMailSMTP::Command(const std::string& line, int step, int accepted, int alsoAccepted) {
    int status = SendText(line);
    if (status != SMTP_OK)
        return status;
    m_step = step;
    status = ReadReply();
    if (status != SMTP_OK)
        return status;
    if (m_lastReplyCode == accepted || (alsoAccepted >= 0 && m_lastReplyCode == alsoAccepted))
        return SMTP_OK;
    return Fail(SMTP_UNEXPECTED_REPLY);
}

int CMailSMTP::Hello(const std::string& domain) {
    if (!domain.empty())
        m_heloDomain = domain;
    return Command("HELO " + CMIME::OneLine(m_heloDomain) + "\r\n", SMTP_STEP_HELO, 250);
}

int CMailSMTP::MailFrom(const std::string& address) {
    const std::string& from = address.empty() ? m_sender : address;
    return Command("MAIL FROM: " + CMIME::OneLine(from) + "\r\n", SMTP_STEP_MAIL_FROM, 250);
}

int CMailSMTP::RcptTo(const std::string& address) {
    if (address.empty())
        return SMTP_NOTHING_TO_SEND;
    if (!m_recipients.empty())
        m_recipients += ", ";
    m_recipients += address;
    return Command("RCPT TO: <" + CMIME::OneLine(address) + ">\r\n", SMTP_STEP_RCPT_TO, 250, 251);
}

int CMailSMTP::Reset() { return Command("RSET\r\n", SMTP_STEP_RSET, 250); }

int CMailSMTP::Quit() { return Command("QUIT\r\n", SMTP_STEP_QUIT, 221); }

int CMailSMTP::SendBlankLine() { return SendText("\r\n"); }

int CMailSMTP::SendEndOfData() {
    // The terminator itself must not pass the transparency filter.
    m_inData = false;
    return Command("\r\n.\r\n", SMTP_STEP_END_OF_DATA, 250);
}

int CMailSMTP::StartData() {
    m_inData = false;
    int status = Command("DATA\r\n", SMTP_STEP_DATA, 354);
    if (status != SMTP_OK)
        return status;
    m_inData = true;
    m_atLineStart = true;
    m_skipLf = false;
    return SMTP_OK;
}

int CMailSMTP::SendMessageText(const std::string& text) {
    int status = StartData();
    if (status == SMTP_OK)
        status = SendText(text);
    if (status == SMTP_OK)
        status = SendEndOfData();
    m_inData = false;
    return status;
}

int CMailSMTP::SendData() {
    if (m_dataText.empty())
        return SMTP_NOTHING_TO_SEND;
    return SendMessageText(m_dataText);
}

int CMailSMTP::SendFile(const std::string& path) {
    std::string text;
    try {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return SMTP_OTHER_FAILURE;
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (file.bad())
            return SMTP_OTHER_FAILURE;
    } catch (const std::bad_alloc&) {
        return SMTP_FILE_EMPTY;
    } catch (const std::exception&) {
        return SMTP_OTHER_FAILURE;
    }
    if (text.empty())
        return SMTP_FILE_EMPTY;
    return SendMessageText(text);
}

int CMailSMTP::SendMail(const std::string& subject, const std::string& body) {
    if (body.empty())
        return SMTP_NOTHING_TO_SEND;
    int status = StartData();
    if (status == SMTP_OK)
        status = WriteHeaders(subject.empty() ? std::string("No Title") : subject);
    if (status == SMTP_OK) {
        status = SendBlankLine();
        if (status != SMTP_OK)
            m_lastError = status;
    }
    if (status == SMTP_OK)
        status = WriteBody(body);
    if (status == SMTP_OK)
        status = WriteTrailer();
    if (status == SMTP_OK)
        status = SendEndOfData();
    m_inData = false;
    return status;
}

int CMailSMTP::WriteHeaders(const std::string& subject) {
    const std::pair<const char*, std::string> headers[] = {
        {"From: ", m_sender}, {"To: ", m_recipients}, {"Subject: ", subject},
        {"Message-Id: ", m_messageId.empty() ? std::string() : "<" + m_messageId + ">"}};
    for (const auto& [name, value] : headers) {
        if (value.empty())
            continue;
        int status = SendText(name + CMIME::OneLine(value) + "\r\n");
        if (status != SMTP_OK)
            return status;
    }
    return WriteExtraHeaders();
}

int CMailSMTP::WriteExtraHeaders() { return SMTP_OK; }

int CMailSMTP::WriteBody(const std::string& body) { return SendText(body); }

int CMailSMTP::WriteTrailer() { return SMTP_OK; }
