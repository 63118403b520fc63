// The session's worker thread: keeps the board connection, runs what the
// engine asked for, classifies failures into the working record's status and
// reports every attempt to its host.
#include "comm/ValueProjectorInfo.h"

#include <functional>

#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"

namespace {

constexpr int kIdlePauseMs = 500;
constexpr int kAfterCommandPauseMs = 500;
constexpr int kBeforePowerPollMs = 4000;

int StatusForRefusal(int rc, bool loginRefusalToo) {
    if (rc == RC_REFUSED || (loginRefusalToo && rc == RC_LOGIN_REFUSED))
        return STATUS_CONNECTION_ERROR;
    return STATUS_COMM_ERROR;
}

// The information exchange also fails as a connection error when the board
// names a command port that no connection can use.
int StatusForBoardInfo(int rc) { return rc == RC_INVALID ? STATUS_CONNECTION_ERROR : StatusForRefusal(rc, false); }

}  // namespace

int CValueProjectorInfo::SessionThread(CValueProjectorInfo* session) {
    if (session->m_record && session->m_host)
        session->RunLoop();
    else
        session->EndThread();
    return 0;
}

void CValueProjectorInfo::RunLoop() {
    bool firstContact = true;
    bool needLogin = true;
    const WPARAM record = reinterpret_cast<WPARAM>(m_record);

    // One exchange with the board: busy while it lasts, the view told it started.
    auto exchange = [this, record](const std::function<int()>& step) {
        SetBusy(1);
        PostToHost(WM_COMM_UPDATE, record);
        int r = step();
        SetBusy(0);
        return r;
    };
    // A failed attempt: its status goes into the working record and is reported.
    auto reportFailure = [this](int status) {
        WriteWorkingStatus(status);
        PostResult();
    };
    auto clearLoginRequired = [this] {
        CSingleLock lock(m_lock);
        m_loginRequired = 0;
    };
    // "Retry later": the idle pause, cut short by any new request.
    auto retryLater = [this] { m_wake.Wait(kIdlePauseMs); };
    // A failure that drops what was requested until the engine asks again.
    // It comes before the report, so the report carries the request it
    // dropped and a request that arrives meanwhile is not lost unanswered.
    auto dropRequests = [this] {
        ClearCommand();
        SetPollRequest(0);
    };

    while (!IsStopRequested()) {
        int cmd = PendingCommand();
        bool poll = IsPollRequested() != 0;
        const bool changed = IsRecordChanged() != 0;
        bool idle = false;

        if (changed) {
            if (IsCommandOpen())
                CloseCommandConnection();
            poll = true;
            MarkRecordChanged(0);
            needLogin = true;
        } else if (!poll && cmd == -1) {
            idle = true;
        }

        if (!idle) {
            if (firstContact || needLogin)
                AdvanceLocalPort();
            if (firstContact) {
                int r = exchange([this] { return QueryBoardInfo(m_timeoutMs); });
                if (r == RC_STOPPED)
                    break;
                if (r != RC_OK) {
                    dropRequests();
                    reportFailure(StatusForBoardInfo(r));
                    firstContact = needLogin = true;
                    retryLater();
                    continue;
                }
                if (SleepUnlessStopped(BOARD_AFTER_INFO_PAUSE_MS))
                    break;
                firstContact = false;
            }
        }

        bool skipToIdleCheck = false;
        if (!changed && NeedsPassword() && !IsCommandOpen()) {
            int r = RequestPassword();
            if (r == 1)
                break;
            if (r != 0) {
                clearLoginRequired();
                dropRequests();
                reportFailure(STATUS_CONNECTION_ERROR);
                firstContact = true;
                retryLater();
                continue;
            }
            if (!poll && cmd == -1) {
                PostToHost(WM_COMM_UPDATE, record);
                skipToIdleCheck = true;
            }
        } else if (idle) {
            skipToIdleCheck = true;
        }

        if (!skipToIdleCheck && (poll || cmd != -1)) {
            if (needLogin) {
                int r = exchange([this] { return Login(m_timeoutMs); });
                if (r == RC_STOPPED)
                    break;
                if (r != RC_OK) {
                    CloseCommandConnection();
                    WriteWorkingStatus(StatusForRefusal(r, true));
                    firstContact = true;
                    clearLoginRequired();
                    dropRequests();
                    PostResult();
                    needLogin = true;
                    retryLater();
                    continue;
                }
                needLogin = false;
            }

            if (cmd != -1) {
                int r = exchange([this, cmd] {
                    int sent = SendControl(cmd, m_timeoutMs);
                    ClearCommand();
                    return sent;
                });
                if (r == RC_STOPPED)
                    break;
                if (r != RC_OK) {
                    reportFailure(STATUS_COMM_ERROR);
                    CloseCommandConnection();
                    firstContact = needLogin = true;
                    retryLater();
                    continue;
                }
                if (SleepUnlessStopped(kAfterCommandPauseMs))
                    break;
            }

            SetPollRequest(0);
            SetBusy(1);
            if (cmd == -1) {
                PostToHost(WM_COMM_UPDATE, record);
            } else if (SleepUnlessStopped(kBeforePowerPollMs)) {
                SetBusy(0);
                break;
            }
            int r = PollStatus(m_timeoutMs, cmd != -1);
            SetBusy(0);
            if (r == RC_STOPPED)
                break;
            if (r != RC_OK) {
                reportFailure(StatusForRefusal(r, false));
                if (r == RC_TIMEOUT || r == RC_SOCKET_ERROR || r == RC_REFUSED) {
                    CloseCommandConnection();
                    firstContact = needLogin = true;
                }
                retryLater();
                continue;
            }
            PostResult();
        }

        // Idle check: notice a board that closed the kept connection.
        int closed = 0;
        if (IsCommandOpen() && CheckPeerClosed(closed) == 0 && closed) {
            CloseCommandConnection();
            firstContact = needLogin = true;
        }
        retryLater();
    }
    CloseCommandConnection();
    EndThread();
}
