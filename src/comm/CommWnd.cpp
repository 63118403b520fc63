#include "comm/CommWnd.h"

#include <algorithm>

#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "comm/ServerSocket.h"
#include "comm/ValueProjectorInfo.h"
#include "settings/GroupItem.h"

CCommWnd::CCommWnd(QObject* parent, IClock* clock)
    : CMsgWnd(parent), m_clock(clock ? clock : &SystemClock()), m_listenSocket(std::make_unique<CServerSocket>()) {
    m_interfaces.Refresh();
    SetTimer(COMM_TIMER_ID, COMM_TIMER_MS);
}

CCommWnd::~CCommWnd() {
    KillTimer(COMM_TIMER_ID);
    StopAllSessions();
    StopSearch(0);
}

void CCommWnd::StopAllSessions() {
    // Ask every session to stop first, then wait: the threads wind down in
    // parallel instead of one after another.
    for (auto& session : m_sessions)
        session->SetStopFlag(1);
    for (auto& session : m_sessions)
        StopSession(session.get(), 0);
    m_sessions.clear();
    m_passwordQueue.clear();
    m_tracked.clear();
    m_passwordSession = m_powerOnSession = nullptr;
}

void CCommWnd::PostToView(unsigned msg, WPARAM wParam, LPARAM lParam) { ::PostMessage(parent(), msg, wParam, lParam); }

void CCommWnd::SetPortRange(int start, int end) { m_ports.Set(start, end); }

int CCommWnd::NextLocalPort(int port) const { return m_ports.Next(port); }

void CCommWnd::PostSessionMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    ::PostMessage(this, msg, wParam, lParam);
}

int CCommWnd::AddProjector(CProjectorInfo* record) {
    if (!record)
        return -1;
    auto session = std::make_unique<CValueProjectorInfo>(record, this);
    session->SetPollRequest(1);
    CValueProjectorInfo* raw = session.get();
    m_sessions.push_back(std::move(session));
    if (StartSessionThread(raw) != 0) {
        m_sessions.pop_back();
        return -1;
    }
    return 0;
}

int CCommWnd::StartSessionThread(CValueProjectorInfo* session) { return session->StartThread(); }

int CCommWnd::EditRecord(CProjectorInfo* record, const std::function<void(CProjectorInfo&)>& edit) {
    if (!record)
        return -1;
    CValueProjectorInfo* session = FindSession(record);
    if (!session) {
        edit(*record);
        return -1;
    }
    session->EditRecord(edit);
    session->MarkRecordChanged(1);
    return 0;
}

void CCommWnd::SetCredentials(CProjectorInfo* record, const std::string& user, const std::string& password,
                              int remember) {
    if (!record)
        return;
    auto apply = [&](CProjectorInfo& r) {
        r.userName = user;
        r.password = password;
        r.rememberCredentials = remember;
    };
    if (CValueProjectorInfo* session = FindSession(record))
        session->EditRecord(apply);
    else
        apply(*record);
}

int CCommWnd::RemoveProjector(CProjectorInfo* record) {
    if (!record)
        return -1;
    auto it = std::find_if(m_sessions.begin(), m_sessions.end(),
                           [record](const auto& s) { return s->Record() == record; });
    if (it == m_sessions.end())
        return 0;
    CValueProjectorInfo* session = it->get();
    StopSession(session, 0);
    std::erase(m_passwordQueue, session);
    // Removing the last projector a tracked cycle waits for completes it.
    if (std::erase_if(m_tracked, [session](const TrackedSession& t) { return t.session == session; }) &&
        m_tracked.empty())
        PostToView(WM_VIEW_UPDATE_DONE, 0);
    if (m_passwordSession == session)
        m_passwordSession = nullptr;
    if (m_powerOnSession == session)
        m_powerOnSession = nullptr;
    m_sessions.erase(it);
    return 1;
}

int CCommWnd::RecordChanged(CProjectorInfo* record) {
    CValueProjectorInfo* session = FindSession(record);
    if (!session)
        return -1;
    session->MarkRecordChanged(1);
    return 0;
}

CValueProjectorInfo* CCommWnd::FindSession(const CProjectorInfo* record) const {
    for (const auto& session : m_sessions)
        if (session->Record() == record)
            return session.get();
    return nullptr;
}

bool CCommWnd::IsKnownSession(const CValueProjectorInfo* session) const {
    return std::any_of(m_sessions.begin(), m_sessions.end(), [session](const auto& s) { return s.get() == session; });
}

int CCommWnd::StopSession(CValueProjectorInfo* session, int ms) {
    if (!session || session->IsThreadEnded()) {
        if (session)
            session->WaitThread(0);  // collect the ended thread
        return 0;
    }
    session->SetStopFlag(1);
    return session->WaitThread(ms) == 0 ? 0 : 1;
}

void CCommWnd::RequestUpdateAll(int track) {
    if (track == 1)
        m_tracked.clear();
    for (auto& session : m_sessions) {
        const std::int64_t request = session->SetPollRequest(1);
        if (track == 1)
            m_tracked.push_back({session.get(), request});
    }
    // With no projector nobody would report: the cycle is done at once, or a
    // caller waiting for it (the periodic report) would wait for ever.
    if (track == 1 && m_tracked.empty())
        PostToView(WM_VIEW_UPDATE_DONE, 0);
}

int CCommWnd::SendCommand(CGroupItem* group, CProjectorInfo* record, int index) {
    if (index < 0 || index >= CONTROL_COUNT)
        return -1;
    if (record) {
        m_commandGroup = nullptr;
        CValueProjectorInfo* session = FindSession(record);
        return session ? session->QueueCommand(index) : -1;
    }
    if (!group)
        return 0;
    m_commandGroup = group;
    if (index != CONTROL_POWER_ON || m_powerOnSpacing <= 0) {
        int result = 0;
        for (int n = 0; CProjectorInfo* member = group->GetAt(n); ++n)
            if (CValueProjectorInfo* session = FindSession(member))
                result = session->QueueCommand(index);
        return result;
    }
    m_powerOnDueMs = m_clock->TickMs();
    m_powerOnActive = 1;
    m_powerOnSession = NextSessionInGroup(nullptr);
    return 0;
}

CValueProjectorInfo* CCommWnd::NextSessionInGroup(CValueProjectorInfo* current) const {
    if (!m_commandGroup)
        return nullptr;
    if (!current) {
        CProjectorInfo* first = m_commandGroup->GetAt(0);
        return first ? FindSession(first) : nullptr;
    }
    for (int n = 0; CProjectorInfo* member = m_commandGroup->GetAt(n); ++n) {
        if (FindSession(member) == current) {
            CProjectorInfo* next = m_commandGroup->GetAt(n + 1);
            return next ? FindSession(next) : nullptr;
        }
    }
    return nullptr;
}

void CCommWnd::ForgetGroup(const CGroupItem* group) {
    if (!group || group != m_commandGroup)
        return;
    m_commandGroup = nullptr;
    m_powerOnSession = nullptr;
    m_powerOnActive = 0;
}

void CCommWnd::ScheduleUpdate() {
    m_nextUpdate = m_updateInterval > 0 ? m_clock->Now().AddSeconds(m_updateInterval) : CDateTime::Never();
}

void CCommWnd::ScheduleSearch() {
    m_nextSearch = m_searchInterval > 0 ? m_clock->Now().AddSeconds(m_searchInterval) : CDateTime::Never();
}

void CCommWnd::OnTimer(int id) {
    if (id == COMM_TIMER_ID)
        Tick();
}

void CCommWnd::Tick() {
    const CDateTime now = m_clock->Now();
    if (m_updateInterval > 0 && now >= m_nextUpdate) {
        RequestUpdateAll(0);
        ScheduleUpdate();
    }
    if (m_searchInterval > 0 && now >= m_nextSearch) {
        PostToView(WM_VIEW_SEARCH_DUE, 0);
        ScheduleSearch();
    }
    if (!m_passwordSession && !m_passwordQueue.empty()) {
        m_passwordSession = m_passwordQueue.front();
        m_passwordQueue.pop_front();
        PostToView(WM_VIEW_PASSWORD, reinterpret_cast<WPARAM>(m_passwordSession->Record()),
                   reinterpret_cast<LPARAM>(m_passwordSession));
    }
    if (m_powerOnActive) {
        if (!m_powerOnSession) {
            m_powerOnActive = 0;
        } else if (m_powerOnDueMs <= m_clock->TickMs()) {
            m_powerOnSession->QueueCommand(CONTROL_POWER_ON);
            m_powerOnSession = NextSessionInGroup(m_powerOnSession);
            if (!m_powerOnSession)
                m_powerOnActive = 0;
            else
                m_powerOnDueMs += std::int64_t(m_powerOnSpacing) * 1000;
        }
    }
}

LRESULT CCommWnd::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    auto* session = reinterpret_cast<CValueProjectorInfo*>(wParam);
    switch (msg) {
    case WM_COMM_UPDATE:
        PostToView(WM_VIEW_UPDATE, wParam, lParam);
        break;
    case WM_COMM_RESULT:
        // A session removed after it posted is no longer known: ignore it.
        if (IsKnownSession(session))
            OnResult(session, static_cast<std::int64_t>(lParam));
        break;
    case WM_COMM_PASSWORD_REQUEST:
        if (IsKnownSession(session))
            m_passwordQueue.push_back(session);
        break;
    case WM_COMM_PASSWORD_ANSWER:
        OnPasswordAnswer(session, static_cast<int>(lParam));
        break;
    case WM_COMM_SEARCH_FOUND:
        OnSearchFound(wParam);
        break;
    case WM_COMM_SEARCH_DONE:
        OnSearchDone(lParam);
        break;
    default:
        break;
    }
    return 0;
}

void CCommWnd::OnPasswordAnswer(CValueProjectorInfo* session, int answer) {
    if (!session || session != m_passwordSession)
        return;
    session->AnswerPassword(answer);
    m_passwordSession = nullptr;
}

void CCommWnd::OnResult(CValueProjectorInfo* session, std::int64_t request) {
    CProjectorInfo* record = session->Record();
    int oldStatus = 0;
    const bool changed = session->TakeResult(oldStatus);
    // The new status travels with the message: a later result may change
    // the record before the view handles it, and the error must still be
    // told as it happened.
    if (changed && IsErrorStatus(record->status) && record->status != oldStatus)
        PostToView(WM_VIEW_STATUS_ERROR, reinterpret_cast<WPARAM>(record), record->status);
    PostToView(changed ? WM_VIEW_CHANGED : WM_VIEW_UPDATE, reinterpret_cast<WPARAM>(record));
    if (!m_tracked.empty()) {
        // A result queued before the cycle began answers an older request.
        auto it = std::find_if(m_tracked.begin(), m_tracked.end(), [&](const TrackedSession& t) {
            return t.session == session && request >= t.request;
        });
        if (it != m_tracked.end()) {
            m_tracked.erase(it);
            if (m_tracked.empty())
                PostToView(WM_VIEW_UPDATE_DONE, 0);
        }
    }
}
