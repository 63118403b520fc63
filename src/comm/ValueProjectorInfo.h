#pragma once
// CValueProjectorInfo: the live side of one projector. It owns the working
// record and the two board connections, and runs the board dialogue (first
// contact on port 7, login, commands and status polls) on its worker thread.
// Its host (the engine, or a direct session) owns it and receives its
// messages; the persistent record is only referenced.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "comm/CommDefs.h"
#include "platform/AutoResetEvent.h"
#include "platform/CriticalSection.h"
#include "platform/MsgWnd.h"

class CProjectorInfo;
class ISessionHost;
class CStreamSocket;

// What one status poll carries from row to row.
struct PollState {
    bool powerFailed = false;
    int lamp1Code = -1;
    int hours[2] = {-1, -1};
    int minutes[2] = {-1, -1};
    int life1 = -1;
};

// Status query commands in poll order.
constexpr int STATUS_ROW_COUNT = 18;
extern const char* const kStatusCommands[STATUS_ROW_COUNT];

class CValueProjectorInfo {
    friend class SessionTestAccess;  // lets tests stage a working record

public:
    CValueProjectorInfo(CProjectorInfo* record, ISessionHost* host);
    CValueProjectorInfo(const CValueProjectorInfo&) = delete;
    CValueProjectorInfo& operator=(const CValueProjectorInfo&) = delete;
    virtual ~CValueProjectorInfo();

    CProjectorInfo* Record() const { return m_record; }
    ISessionHost* Host() const { return m_host; }

    // Requests from the engine (any thread; each takes the session lock and
    // wakes the worker so it need not wait out its idle pause).
    // Each poll request is numbered. Clearing the request (the worker does,
    // when it starts a poll or drops what was asked) takes it: the results
    // posted from then on carry its number as lParam, so a tracked cycle can
    // tell them from results of polls that began before it. Returns the
    // number of the latest request.
    std::int64_t SetPollRequest(int value);
    // The number of the last request taken; 0 before the first.
    std::int64_t TakenPollRequest();
    void SetStopFlag(int value);
    int IsStopRequested();
    // 0 when queued; -1 when a command is already pending (the request is dropped).
    int QueueCommand(int index);
    // With 1 the whole persistent record (credentials too) is copied into the working record.
    void MarkRecordChanged(int value);
    // Delivers the password dialog's result (1 = OK) to a waiting RequestPassword.
    void AnswerPassword(int answer);
    int IsThreadEnded();
    // Applies a UI-thread edit of the persistent record under the session lock.
    void EditRecord(const std::function<void(CProjectorInfo&)>& edit);
    std::string HostName();

    // The worker thread. StartThread waits for an earlier thread first; 0 or -1.
    int StartThread();
    // Waits for the thread to end (ms 0: without limit); -1 when ms ran out, else 0.
    int WaitThread(int ms);
    bool HasThread() const { return m_thread.joinable(); }
    static int SessionThread(CValueProjectorInfo* session);
    // The time-out the worker gives every board operation (BOARD_TIMEOUT_MS
    // unless set before the thread starts).
    void SetBoardTimeout(int ms) { m_timeoutMs = ms; }
    int BoardTimeout() const { return m_timeoutMs; }
    // A consistent copy of the working record, taken under the session lock.
    CProjectorInfo WorkingSnapshot();
    // The engine's take of a result: when the working record's values differ
    // from the persistent record's, copies them over in one lock section, so
    // the worker cannot change either record in between. Credentials and
    // busy stay as they are (busy is the worker's, through SetBusy). True
    // when the values changed; oldStatus is the status before the copy.
    bool TakeResult(int& oldStatus);

    // Board dialogue. Worker thread only; results are RC_* codes.
    int QueryBoardInfo(int timeoutMs);
    int Login(int timeoutMs);
    int Transact(const char* command, char* reply, int& length, int timeoutMs);
    int PollStatus(int timeoutMs, bool powerOnly);
    int SendControl(int index, int timeoutMs);
    // Parses one status reply of row (0..17) into record; returns the next row,
    // or -1 when the poll ends after this row.
    static int ApplyStatusReply(int row, const std::string& reply, bool powerOnly, const std::string& hostName,
                                PollState& state, CProjectorInfo& record);
    // Key index 0..5 of an information reply line, or -1 (value = whole line,
    // or "" for an unknown key).
    static int ParseBoardLine(const std::string& line, std::string& value);
    // Takes in the lines of an information reply as QueryBoardInfo received
    // it: host name, login flag and command port. RC_REFUSED when the board
    // is busy, RC_INVALID for a command port no connection can use, else RC_OK.
    int ApplyBoardInfo(const std::string& reply);
    // The eight-character command of a control index, or null.
    static const char* ControlCommand(int index);

    // Timed transport steps.
    int ConnectTimed(CStreamSocket* socket, const char* address, int port, int timeoutMs);
    int ConnectFromRange(CStreamSocket* socket, int boardPort, int timeoutMs);
    int SendTimed(CStreamSocket* socket, const char* data, int& length, int timeoutMs, bool waitWritable);
    int ReceiveUntil(CStreamSocket* socket, char* buffer, int& length, char terminator, int timeoutMs);
    static std::string LookUpMacAddress(const std::string& address);

    // Session helpers used by the worker.
    void AdvanceLocalPort();
    bool IsCommandOpen() const;
    void CloseCommandConnection();
    void SetBusy(int flag);
    // The board wants a login and the record holds no credentials.
    bool NeedsPassword();
    int PendingCommand();
    void ClearCommand();
    int IsPollRequested();
    int IsRecordChanged();
    // Asks the host for a password and waits: 0 confirmed, -1 cancelled or
    // impossible, 1 when a stop was requested meanwhile.
    int RequestPassword();
    // closed = 1 when the board closed the command connection; 0, 2 or the wait's result.
    int CheckPeerClosed(int& closed);

    int LocalPort() const { return m_localPort; }
    int CommandPort() const { return m_commandPort; }
    int LoginRequired() const { return m_loginRequired; }

protected:
    // RC_STOPPED when a stop was requested, else RC_OK.
    int CheckStop();
    // Sleeps ms unless a stop is requested first; true when stopped.
    bool SleepUnlessStopped(int ms);
    void PostToHost(unsigned msg, WPARAM wParam, LPARAM lParam = 0);
    // Reports an ended attempt, with the number of the request it served.
    void PostResult();
    void WriteWorkingStatus(int status);
    // Marks the thread ended and wakes WaitThread.
    void EndThread();
    void RunLoop();
    // Waits up to timeoutMs for the armed event in 100 ms slices; RC_OK when it
    // came, RC_TIMEOUT, RC_STOPPED or RC_SOCKET_ERROR.
    int WaitSliced(CStreamSocket* socket, int timeoutMs, int wantedResult);
    template <class F>
    void WithWorking(F&& apply) {
        CSingleLock lock(m_lock);
        apply(*m_working);
    }

    CProjectorInfo* m_record;
    ISessionHost* m_host;
    std::unique_ptr<CProjectorInfo> m_working;
    std::string m_hostName;
    std::int32_t m_stop = 0;
    std::int32_t m_threadEnded = 0;
    std::unique_ptr<CStreamSocket> m_commandSocket;
    std::unique_ptr<CStreamSocket> m_infoSocket;
    std::int32_t m_localPort = 0;
    std::int32_t m_commandPort = 0;
    std::int32_t m_pendingCommand = -1;
    std::int32_t m_pollRequest = 0;
    std::int64_t m_pollRequestNumber = 0;
    std::int64_t m_takenPollRequest = 0;
    std::int32_t m_loginRequired = 0;
    std::int32_t m_recordChanged = 0;
    std::int32_t m_passwordAnswer = -1;
    int m_timeoutMs = BOARD_TIMEOUT_MS;
    std::unique_ptr<CAutoResetEvent> m_passwordEvent;
    std::thread m_thread;
    CAutoResetEvent m_wake;
    std::condition_variable m_changed;  // stop flag and thread end, under m_lock
    CCriticalSection m_lock;
};
