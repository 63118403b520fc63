#include "comm/DirectSession.h"

#include "platform/AutoResetEvent.h"
#include "platform/TickCount.h"

CDirectSession::CDirectSession(const CProjectorInfo& record, int portStart, int portEnd)
    : m_record(record), m_session(std::make_unique<CValueProjectorInfo>(&m_record, this)) {
    m_ports.Set(portStart, portEnd);
}

CDirectSession::~CDirectSession() {
    // A worker started by the caller ends before the record and the counts go.
    if (m_session->HasThread()) {
        m_session->SetStopFlag(1);
        m_session->WaitThread(0);
    }
    m_session->CloseCommandConnection();
}

int CDirectSession::Contact(int pauseMs) {
    CValueProjectorInfo& session = *m_session;
    m_failedStep = ContactStep::BoardInfo;
    session.AdvanceLocalPort();
    int r = session.QueryBoardInfo(session.BoardTimeout());
    if (r != RC_OK)
        return r;
    if (pauseMs > 0)
        SleepMs(pauseMs);
    if (session.NeedsPassword()) {
        m_failedStep = ContactStep::Password;
        return RC_LOGIN_REFUSED;
    }
    m_failedStep = ContactStep::Login;
    r = session.Login(session.BoardTimeout());
    if (r == RC_OK)
        m_failedStep = ContactStep::None;
    return r;
}

int CDirectSession::Posted(unsigned msg) const {
    std::lock_guard lock(m_postedLock);
    auto it = m_posted.find(msg);
    return it == m_posted.end() ? 0 : it->second;
}

bool CDirectSession::WaitPosted(unsigned msg, int count, int ms) {
    std::unique_lock lock(m_postedLock);
    return m_postedChanged.wait_until(lock, TimedWaitDeadline(ms), [&] { return m_posted[msg] >= count; });
}

void CDirectSession::PostSessionMessage(unsigned msg, WPARAM, LPARAM) {
    {
        std::lock_guard lock(m_postedLock);
        ++m_posted[msg];
    }
    m_postedChanged.notify_all();
}

int CDirectSession::NextLocalPort(int port) const { return m_ports.Next(port); }
