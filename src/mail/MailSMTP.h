#pragma once
// CMailSMTP: a small blocking SMTP client for one connection at a time. It
// opens port 25 of the mail server, reads the greeting and carries out the
// dialogue one command at a time, checking each reply code against what the
// step accepts. Operations return 0 or a negative SMTP_ status (MailDefs.h)
// and never retry. The mail sending thread creates one per mail and owns it;
// CMimeSMTP overrides the header, body and trailer hooks.
//
// Everything sent between DATA and the end of data passes one transparency
// filter: every line end leaves as CRLF and a line that starts with "." gets a
// second one, so no text of a mail (board names, operator texts) can end the
// message early or speak SMTP commands of its own.
#include <cstdint>
#include <string>

#include "comm/SocketEx.h"

class CMailSMTP {
public:
    CMailSMTP();
    CMailSMTP(const CMailSMTP&) = delete;
    CMailSMTP& operator=(const CMailSMTP&) = delete;
    virtual ~CMailSMTP();

    // 1 when connected and greeted with 220, else 0 with the reason in LastError().
    virtual int Connect(const std::string& server = {});
    virtual void Disconnect();
    virtual int Hello(const std::string& domain = {});
    // The argument goes out as given (angle brackets included); empty sends the sender field.
    virtual int MailFrom(const std::string& address = {});
    // An address without angle brackets; it joins the "To:" list even if refused.
    virtual int RcptTo(const std::string& address);
    virtual int SendData();
    virtual int SendFile(const std::string& path);
    virtual int SendMail(const std::string& subject, const std::string& body);
    virtual int Reset();
    virtual int Quit();
    virtual void Initialize();
    virtual void Close();

    int SendText(const std::string& text);
    int ReadReply();
    int SendBlankLine();
    int SendEndOfData();
    int MapSocketError(int code);

    bool IsConnected() const { return m_connected != 0; }
    int LastError() const { return m_lastError; }
    int LastReplyCode() const { return m_lastReplyCode; }
    const std::string& ServerName() const { return m_serverName; }
    const std::string& Recipients() const { return m_recipients; }
    const std::string& Sender() const { return m_sender; }
    void SetSender(const std::string& sender) { m_sender = sender; }
    void SetMessageId(const std::string& id) { m_messageId = id; }
    void SetDataText(const std::string& text) { m_dataText = text; }
    // Bounds the completion of a reply once its first bytes are in (5000 ms).
    void SetReplyTimeout(unsigned ms) { m_replyTimeout = ms; }
    // Bounds the TCP connect (20 s), and any send or receive that moves no
    // byte (60 s, then a time-out), so that a silent server cannot hold the
    // sending thread for ever while a slow one is still waited for.
    void SetWaitLimits(int connectMs, int stallMs);

protected:
    virtual int WriteHeaders(const std::string& subject);
    virtual int WriteExtraHeaders();
    virtual int WriteBody(const std::string& body);
    virtual int WriteTrailer();

private:
    int Command(const std::string& line, int step, int accepted, int alsoAccepted = -1);
    int StartData();
    int SendMessageText(const std::string& text);
    std::string Transparent(const std::string& text);
    int Fail(int status);
    int SocketFailure();

    int m_connected = 0;
    int m_lastError = 0;
    CSocketEx m_socket;
    unsigned m_replyTimeout = 0;
    int m_step = 0;
    std::string m_serverName;
    std::string m_sender;
    std::string m_heloDomain;
    std::string m_recipients;
    std::string m_messageId;
    int m_lastReplyCode = 0;
    std::string m_dataText;

    int m_connectLimitMs;
    int m_stallLimitMs;
    // Transparency filter state while inside DATA.
    bool m_inData = false;
    bool m_atLineStart = true;
    bool m_skipLf = false;
};
