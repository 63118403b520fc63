#pragma once
// CDirectSession: one board session without an engine, for lumivexctl's
// single-board commands and for tests. It owns the persistent record and the
// session and is the session's host: it holds the client data port range and
// counts the messages the session posts, so a caller that starts the
// session's own worker can wait for its results. Owned by its caller, on any
// one thread.
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>

#include "comm/ClientPortRange.h"
#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "comm/SessionHost.h"
#include "comm/ValueProjectorInfo.h"

// The step of Contact that failed.
enum class ContactStep { None, BoardInfo, Password, Login };

class CDirectSession : public ISessionHost {
public:
    // The session serves a copy of record, binding from the port range when
    // one is given (both 0: no binding).
    explicit CDirectSession(const CProjectorInfo& record, int portStart = 0, int portEnd = 0);
    ~CDirectSession() override;
    CDirectSession(const CDirectSession&) = delete;
    CDirectSession& operator=(const CDirectSession&) = delete;

    CProjectorInfo& Record() { return m_record; }
    CValueProjectorInfo& Session() { return *m_session; }

    // First contact as the session's worker makes it: the information
    // exchange, the pause the board needs after it, then the login. A board
    // that wants a login the record does not hold gives RC_LOGIN_REFUSED
    // without trying it. RC_* result; FailedStep says where it failed.
    int Contact(int pauseMs = BOARD_AFTER_INFO_PAUSE_MS);
    ContactStep FailedStep() const { return m_failedStep; }

    // How often the session posted msg so far.
    int Posted(unsigned msg) const;
    // Waits until the session has posted msg count times; false after ms.
    bool WaitPosted(unsigned msg, int count, int ms);

    void PostSessionMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
    int NextLocalPort(int port) const override;

private:
    CClientPortRange m_ports;
    mutable std::mutex m_postedLock;
    std::condition_variable m_postedChanged;
    std::map<unsigned, int> m_posted;
    ContactStep m_failedStep = ContactStep::None;
    CProjectorInfo m_record;
    // Last, so it goes first: its worker may still use everything above.
    std::unique_ptr<CValueProjectorInfo> m_session;
};
