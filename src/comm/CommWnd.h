#pragma once
// CCommWnd: the communication engine, a hidden message window owned by the
// main view. It owns one session per projector, drives automatic updates,
// automatic-search reminders, the one-at-a-time password dialog and spaced
// power-on with its 500 ms timer, and turns session results into record
// updates and view messages. Everything here runs on the UI thread; sessions
// reach it only by posting messages.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/MsgWnd.h"

class CGroupItem;
class CProjectorInfo;
class CValueProjectorInfo;

constexpr int COMM_TIMER_ID = 128;
constexpr int COMM_TIMER_MS = 500;
constexpr int DEFAULT_SEARCH_PORT = 5006;

class CCommWnd : public CMsgWnd {
public:
    // The view is the parent and receives the engine's messages.
    explicit CCommWnd(QObject* parent = nullptr, IClock* clock = nullptr);
    ~CCommWnd() override;

    int AddProjector(CProjectorInfo* record);
    int RemoveProjector(CProjectorInfo* record);
    int RecordChanged(CProjectorInfo* record);
    CValueProjectorInfo* FindSession(const CProjectorInfo* record) const;
    void RequestUpdateAll(int track);
    int SendCommand(CGroupItem* group, CProjectorInfo* record, int index);
    CValueProjectorInfo* NextSessionInGroup(CValueProjectorInfo* current) const;
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
    void SetSearchPort(int port) { m_searchPort = port; }
    int SearchPort() const { return m_searchPort; }

    // The next local port of the client data port range after port, or 0 when
    // no range is set. Safe from session threads: the range is read atomically.
    int NextLocalPort(int port) const;

    int SessionCount() const { return static_cast<int>(m_sessions.size()); }
    int TrackedCount() const { return static_cast<int>(m_tracked.size()); }
    bool PowerOnActive() const { return m_powerOnActive != 0; }
    CDateTime NextUpdateTime() const { return m_nextUpdate; }

    // Runs one timer tick now (the 500 ms timer calls it).
    void Tick();

protected:
    // Starts a new session's worker; tests replace it to keep sessions inert.
    virtual int StartSessionThread(CValueProjectorInfo* session);
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(int id) override;

private:
    void PostToView(unsigned msg, WPARAM wParam, LPARAM lParam = 0);
    bool IsKnownSession(const CValueProjectorInfo* session) const;
    void OnResult(CValueProjectorInfo* session);
    void OnPasswordAnswer(CValueProjectorInfo* session, int answer);
    void StopAllSessions();

    IClock* m_clock;
    std::vector<std::unique_ptr<CValueProjectorInfo>> m_sessions;
    int m_searchPort = DEFAULT_SEARCH_PORT;
    std::atomic<std::int64_t> m_portRange{0};  // start in the low half, end in the high half
    int m_updateInterval = 0;
    int m_searchInterval = 0;
    int m_powerOnSpacing = 0;
    std::deque<CValueProjectorInfo*> m_passwordQueue;
    CValueProjectorInfo* m_passwordSession = nullptr;
    CDateTime m_powerOnTime;
    CValueProjectorInfo* m_powerOnSession = nullptr;
    int m_powerOnActive = 0;
    CGroupItem* m_commandGroup = nullptr;
    std::vector<CValueProjectorInfo*> m_tracked;
    CDateTime m_nextUpdate = CDateTime::Never();
    CDateTime m_nextSearch = CDateTime::Never();
};
