#include "CtlFleet.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <memory>


#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "comm/ValueProjectorInfo.h"
#include "platform/EventWait.h"
#include "platform/FileLimit.h"

namespace {

std::atomic<bool> g_interrupted{false};

void OnSignal(int) { g_interrupted = true; }

}  // namespace

int CCtlEngine::ResultCount(const CValueProjectorInfo* session) const {
    auto it = m_results.find(session);
    return it == m_results.end() ? 0 : it->second;
}

LRESULT CCtlEngine::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMM_RESULT)
        ++m_results[reinterpret_cast<const CValueProjectorInfo*>(wParam)];
    return CCommWnd::OnMessage(msg, wParam, lParam);
}

CCtlFleet::CCtlFleet() : m_engine(new CCtlEngine(this)) {
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
}

CCtlFleet::~CCtlFleet() {
    // Sessions first: they refer to the records the group owns.
    delete m_engine;
    m_engine = nullptr;
}

bool CCtlFleet::Fits(long boards, std::string& message) {
    long limit = RaiseOpenFileLimit();
    long needed = DescriptorsNeededFor(boards);
    if (limit >= needed)
        return true;
    message = "a fleet of " + std::to_string(boards) + " boards needs about " + std::to_string(needed) +
              " open files but this process may open only " + std::to_string(limit) +
              " (raise the hard limit, e.g. ulimit -Hn)";
    return false;
}

CProjectorInfo* CCtlFleet::Add(const std::string& address, const std::string& user, const std::string& password) {
    CProjectorInfo seed;
    seed.ipAddress = address;
    seed.userName = user;
    seed.password = password;
    return AddStored(seed);
}

CProjectorInfo* CCtlFleet::AddStored(const CProjectorInfo& stored) {
    CProjectorInfo* record = nullptr;
    if (m_all.AddCopy(stored, &record) != 0 || !record)
        return nullptr;
    m_records.push_back(record);
    if (m_engine->AddProjector(record) != 0)
        return nullptr;
    return record;
}

bool CCtlFleet::Interrupted() { return g_interrupted; }

bool CCtlFleet::RunUntil(const std::function<bool()>& done, int ms) {
    constexpr int kCheckMs = 50;
    return RunEventsUntil(done, ms, [] { return g_interrupted.load(); }, kCheckMs);
}

bool CCtlFleet::IsRecord(const void* pointer) const {
    return std::find(m_records.begin(), m_records.end(), pointer) != m_records.end();
}

void CCtlFleet::AnswerPassword(CProjectorInfo* record, CValueProjectorInfo* session) {
    std::string user, password;
    int answer = 0;
    // The session is only trusted while the engine still serves the record with it.
    const bool known = session && m_engine->FindSession(record) == session;
    if (known && onPassword && onPassword(record, session->HostName(), user, password)) {
        m_engine->SetCredentials(record, user, password, 0);
        answer = 1;
    }
    m_engine->PostMessage(WM_COMM_PASSWORD_ANSWER, reinterpret_cast<WPARAM>(session), answer);
}

LRESULT CCtlFleet::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    auto* record = reinterpret_cast<CProjectorInfo*>(wParam);
    switch (msg) {
    case WM_VIEW_CHANGED:
        if (IsRecord(record) && onChanged)
            onChanged(record);
        break;
    case WM_VIEW_STATUS_ERROR:
        if (IsRecord(record) && onStatusError)
            onStatusError(record);
        break;
    case WM_VIEW_UPDATE_DONE:
        if (onUpdateDone)
            onUpdateDone();
        break;
    case WM_VIEW_SEARCH_FOUND: {
        std::unique_ptr<std::string> address(reinterpret_cast<std::string*>(wParam));  // ours to free
        if (address && onSearchFound)
            onSearchFound(*address);
        break;
    }
    case WM_VIEW_SEARCH_DONE:
        if (onSearchDone)
            onSearchDone();
        break;
    case WM_VIEW_PASSWORD:
        if (IsRecord(record))
            AnswerPassword(record, reinterpret_cast<CValueProjectorInfo*>(lParam));
        break;
    default:
        break;
    }
    return 0;
}
