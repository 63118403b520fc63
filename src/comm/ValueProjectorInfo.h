#pragma once
// CValueProjectorInfo: the live side of one projector. It owns the working
// record and the two board connections, and runs the board dialogue (first
// contact on port 7, login, commands and status polls) on its worker thread.
// The engine owns the session; the persistent record is only referenced.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/CriticalSection.h"

class CCommWnd;
class CProjectorInfo;
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
public:
    CValueProjectorInfo(CProjectorInfo* record, CCommWnd* engine);
    CValueProjectorInfo(const CValueProjectorInfo&) = delete;
    CValueProjectorInfo& operator=(const CValueProjectorInfo&) = delete;
    virtual ~CValueProjectorInfo();

    CProjectorInfo* Record() const { return m_record; }
    CCommWnd* Engine() const { return m_engine; }

    // Requests from the engine (any thread; each takes the session lock).
    void SetPollRequest(int value);
    void SetStopFlag(int value);
    int IsStopRequested();
    std::string HostName();
    // A consistent copy of the working record, taken under the session lock.
    CProjectorInfo WorkingSnapshot();

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

    int LocalPort() const { return m_localPort; }
    int CommandPort() const { return m_commandPort; }
    int LoginRequired() const { return m_loginRequired; }

protected:
    // RC_STOPPED when a stop was requested, else RC_OK.
    int CheckStop();
    // Takes in the information reply's lines; RC_REFUSED when the board is busy.
    int ApplyBoardInfo(const std::string& reply);
    // Waits up to timeoutMs for the armed event in 100 ms slices; RC_OK when it
    // came, RC_TIMEOUT, RC_STOPPED or RC_SOCKET_ERROR.
    int WaitSliced(CStreamSocket* socket, int timeoutMs, int wantedResult);
    template <class F>
    void WithWorking(F&& apply) {
        CSingleLock lock(m_lock);
        apply(*m_working);
    }

    CProjectorInfo* m_record;
    CCommWnd* m_engine;
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
    std::int32_t m_loginRequired = 0;
    std::int32_t m_recordChanged = 0;
    CCriticalSection m_lock;
};
