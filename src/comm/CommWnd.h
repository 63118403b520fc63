#pragma once
// CCommWnd: the communication engine, a hidden message window owned by the
// main view. It owns one session per projector, drives automatic updates,
// automatic-search reminders, the one-at-a-time password dialog and spaced
// power-on with its 500 ms timer, and turns session results into record
// updates and view messages. It also runs the projector search (a broadcast
// on every local subnet, then a listener thread that takes the boards that
// connect back). Everything here runs on the UI thread; sessions and the
// search listener reach it only by posting messages.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "comm/ClientPortRange.h"
#include "comm/CommDefs.h"
#include "comm/NetBoardInfoList.h"
#include "comm/SessionHost.h"
#include "platform/Clock.h"
#include "platform/CriticalSection.h"
#include "platform/DateTime.h"
#include "platform/MsgWnd.h"

class CGroupItem;
class CProjectorInfo;
class CServerSocket;
class CValueProjectorInfo;

constexpr int COMM_TIMER_ID = 128;
constexpr int COMM_TIMER_MS = 500;
constexpr int DEFAULT_SEARCH_PORT = 5006;
constexpr int DEFAULT_SEARCH_SECONDS = 15;

// Why the last StartSearch failed: a SEARCH_* reason, the socket error number
// of the call that failed, and for a broadcast the interface it was sent on.
struct SearchFailure {
    int reason = SEARCH_STARTED;
    int socketError = 0;
    std::string interfaceAddress;
};

class CCommWnd : public CMsgWnd, public ISessionHost {
public:
    // The view is the parent and receives the engine's messages. Every
    // setting starts at its default until the view copies the stored one in.
    explicit CCommWnd(QObject* parent = nullptr, IClock* clock = nullptr);
    ~CCommWnd() override;

    int AddProjector(CProjectorInfo* record);
    int RemoveProjector(CProjectorInfo* record);
    int RecordChanged(CProjectorInfo* record);
    CValueProjectorInfo* FindSession(const CProjectorInfo* record) const;
    void RequestUpdateAll(int track);
    int SendCommand(CGroupItem* group, CProjectorInfo* record, int index);
    CValueProjectorInfo* NextSessionInGroup(CValueProjectorInfo* current) const;
    // The group is about to be deleted: the engine lets go of it, ending a
    // power-on sequence that walks it, so no tick reads it afterwards.
    void ForgetGroup(const CGroupItem* group);
    void ScheduleUpdate();
    void ScheduleSearch();
    // Changes a persistent record's address or login under its session's lock
    // (its worker reads them while it connects), then marks it changed so the
    // session logs in again. Without a session the edit is applied directly.
    int EditRecord(CProjectorInfo* record, const std::function<void(CProjectorInfo&)>& edit);
    // Stores what the operator typed into the password dialog, under the lock.
    void SetCredentials(CProjectorInfo* record, const std::string& user, const std::string& password,
                        int remember);
    // Stops one session's thread: 0 when it ended, 1 when ms (> 0) ran out.
    int StopSession(CValueProjectorInfo* session, int ms);

    // Settings the view copies in (then it calls ScheduleUpdate/ScheduleSearch).
    void SetPortRange(int start, int end);
    void SetUpdateInterval(int seconds) { m_updateInterval = seconds; }
    void SetSearchInterval(int seconds) { m_searchInterval = seconds; }
    void SetPowerOnSpacing(int seconds) { m_powerOnSpacing = seconds; }
    int UpdateInterval() const { return m_updateInterval; }
    int SearchInterval() const { return m_searchInterval; }
    int PowerOnSpacing() const { return m_powerOnSpacing; }
    void SetSearchPort(int port) { m_searchPort = port; }
    int SearchPort() const { return m_searchPort; }

    // The next local port of the client data port range after port, or 0 when
    // no range is set. Safe from session threads: the range is read atomically.
    int NextLocalPort(int port) const override;
    // Sessions post their messages to the engine window.
    void PostSessionMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

    int SessionCount() const { return static_cast<int>(m_sessions.size()); }
    int TrackedCount() const { return static_cast<int>(m_tracked.size()); }
    bool PowerOnActive() const { return m_powerOnActive != 0; }
    // The session whose password request the view is answering; none when
    // no request is out.
    const CValueProjectorInfo* PasswordSession() const { return m_passwordSession; }
    CDateTime NextUpdateTime() const { return m_nextUpdate; }

    // Runs one timer tick now (the 500 ms timer calls it).
    void Tick();

    // Projector search. StartSearch: 0 when a search started; -1 when one is
    // running, the listener cannot be set up or a broadcast failed
    // (LastSearchFailure says which). Found boards and the end of the search
    // reach the view as WM_VIEW_SEARCH_FOUND / WM_VIEW_SEARCH_DONE.
    int StartSearch();
    // Ends a running search without a report: 0 when the listener has ended,
    // 1 when ms (> 0) ran out; ms 0 waits without limit.
    int StopSearch(int ms);
    // From StartSearch until the end of the search is handled or StopSearch.
    bool IsSearching() const { return m_searchThread.joinable(); }
    const SearchFailure& LastSearchFailure() const { return m_searchFailure; }
    // How long a search listens (ProjectorSearchSecond, copied in by whoever
    // makes the engine; DEFAULT_SEARCH_SECONDS until then).
    void SetSearchSeconds(int seconds) { m_searchSeconds = seconds; }
    int SearchSeconds() const { return m_searchSeconds; }
    // Each search reads OnlyBroadcastBoardIP (empty: every interface, else
    // only the one with that address) unless a tool or test sets a value
    // here; nullopt goes back to the stored one.
    void SetOnlyBroadcastBoardIP(std::optional<std::string> address) { m_onlyBroadcastOverride = std::move(address); }
    // The local interfaces, read when the engine was made.
    CNetBoardInfoList& Interfaces() { return m_interfaces; }
    // Whether a search broadcasts on this interface.
    static bool IsSearchInterface(const CNetBoardInfo& info, const std::string& onlyAddress);

protected:
    // Starts a new session's worker; tests replace it to keep sessions inert.
    virtual int StartSessionThread(CValueProjectorInfo* session);
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(int id) override;

private:
    void PostToView(unsigned msg, WPARAM wParam, LPARAM lParam = 0);
    bool IsKnownSession(const CValueProjectorInfo* session) const;
    void OnResult(CValueProjectorInfo* session, std::int64_t request);
    void OnPasswordAnswer(CValueProjectorInfo* session, int answer);
    void StopAllSessions();

    // Search machinery (CommWndSearch.cpp).
    int StartSearchListener();
    static void SearchListenerThread(CCommWnd* engine);
    void RunSearchListener();
    int AcceptWaitingBoards(unsigned serial);
    void PauseSearch(int ms);
    void EndSearchListener();
    int Broadcast(const std::string& onlyAddress);
    int FailSearch(int reason, int socketError, const std::string& interfaceAddress = {});
    void OnSearchFound(WPARAM text);
    void OnSearchDone(LPARAM serial);

    IClock* m_clock;
    std::vector<std::unique_ptr<CValueProjectorInfo>> m_sessions;
    int m_searchPort = DEFAULT_SEARCH_PORT;
    CClientPortRange m_ports;
    int m_updateInterval = 0;
    int m_searchInterval = 0;
    int m_powerOnSpacing = 0;
    std::deque<CValueProjectorInfo*> m_passwordQueue;
    CValueProjectorInfo* m_passwordSession = nullptr;
    // When the next projector of a spaced power-on is due, on the clock's
    // millisecond tick: whole calendar seconds would bring it up to a second
    // early (a spacing of 1 s could become none).
    std::int64_t m_powerOnDueMs = 0;
    CValueProjectorInfo* m_powerOnSession = nullptr;
    int m_powerOnActive = 0;
    CGroupItem* m_commandGroup = nullptr;
    // A session of the tracked cycle that has not reported yet, and the
    // number of the poll request the cycle gave it: only a result of that
    // request or a later one counts.
    struct TrackedSession {
        CValueProjectorInfo* session;
        std::int64_t request;
    };
    std::vector<TrackedSession> m_tracked;
    CDateTime m_nextUpdate = CDateTime::Never();
    CDateTime m_nextSearch = CDateTime::Never();

    // Search state. The listener thread owns the listening socket while it
    // runs; the stop, close and ended flags are shared under m_searchLock.
    CNetBoardInfoList m_interfaces;
    std::unique_ptr<CServerSocket> m_listenSocket;
    std::thread m_searchThread;
    CCriticalSection m_searchLock;
    std::condition_variable m_searchChanged;
    int m_searchStop = 0;
    int m_searchClose = 0;  // a broadcast failed: stop taking boards, end at the deadline
    int m_searchEnded = 0;
    unsigned m_searchSerial = 0;  // tells a late report of an earlier search apart
    std::int64_t m_searchDeadlineMs = 0;
    int m_searchSeconds = DEFAULT_SEARCH_SECONDS;
    std::optional<std::string> m_onlyBroadcastOverride;
    SearchFailure m_searchFailure;
};
