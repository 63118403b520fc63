#include "comm/ValueProjectorInfo.h"

#include <chrono>

#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "comm/SessionHost.h"
#include "comm/StreamSocket.h"

CValueProjectorInfo::CValueProjectorInfo(CProjectorInfo* record, ISessionHost* host)
    : m_record(record),
      m_host(host),
      m_working(std::make_unique<CProjectorInfo>()),
      m_commandSocket(std::make_unique<CStreamSocket>()),
      m_infoSocket(std::make_unique<CStreamSocket>()) {
    if (m_record)
        m_working->CopyFrom(*m_record);
}

CValueProjectorInfo::~CValueProjectorInfo() {
    // The host waits for the thread before it deletes a session; this only
    // guards against a session dropped without that.
    if (m_thread.joinable()) {
        SetStopFlag(1);
        m_thread.join();
    }
}

std::int64_t CValueProjectorInfo::SetPollRequest(int value) {
    std::int64_t number = 0;
    {
        CSingleLock lock(m_lock);
        m_pollRequest = value;
        if (value)
            ++m_pollRequestNumber;
        else
            m_takenPollRequest = m_pollRequestNumber;
        number = m_pollRequestNumber;
    }
    if (value)
        m_wake.Set();
    return number;
}

std::int64_t CValueProjectorInfo::TakenPollRequest() {
    CSingleLock lock(m_lock);
    return m_takenPollRequest;
}

void CValueProjectorInfo::SetStopFlag(int value) {
    {
        CSingleLock lock(m_lock);
        m_stop = value;
    }
    m_changed.notify_all();
    if (value)
        m_wake.Set();
}

int CValueProjectorInfo::IsStopRequested() {
    CSingleLock lock(m_lock);
    return m_stop;
}

int CValueProjectorInfo::QueueCommand(int index) {
    {
        CSingleLock lock(m_lock);
        if (m_pendingCommand != -1)
            return -1;
        m_pendingCommand = index;
    }
    m_wake.Set();
    return 0;
}

void CValueProjectorInfo::MarkRecordChanged(int value) {
    {
        CSingleLock lock(m_lock);
        m_recordChanged = value;
        if (value == 1 && m_record)
            m_working->CopyFrom(*m_record);
    }
    if (value == 1)
        m_wake.Set();
}

void CValueProjectorInfo::AnswerPassword(int answer) {
    bool nobodyWaits = false;
    {
        CSingleLock lock(m_lock);
        m_passwordAnswer = answer;
        if (m_passwordEvent)
            m_passwordEvent->Set();
        else
            nobodyWaits = true;
    }
    if (nobodyWaits)
        SetStopFlag(1);
}

void CValueProjectorInfo::EditRecord(const std::function<void(CProjectorInfo&)>& edit) {
    CSingleLock lock(m_lock);
    if (m_record)
        edit(*m_record);
}

int CValueProjectorInfo::IsThreadEnded() {
    CSingleLock lock(m_lock);
    return m_threadEnded;
}

std::string CValueProjectorInfo::HostName() {
    CSingleLock lock(m_lock);
    return m_hostName;
}

CProjectorInfo CValueProjectorInfo::WorkingSnapshot() {
    CSingleLock lock(m_lock);
    return *m_working;
}

bool CValueProjectorInfo::TakeResult(int& oldStatus) {
    CSingleLock lock(m_lock);
    if (!m_record || m_working->SameValues(*m_record))
        return false;
    oldStatus = m_record->status;
    const std::int32_t busy = m_record->busy;
    m_record->CopyValues(*m_working);
    m_record->busy = busy;
    return true;
}

int CValueProjectorInfo::CheckStop() { return IsStopRequested() ? RC_STOPPED : RC_OK; }

bool CValueProjectorInfo::SleepUnlessStopped(int ms) {
    std::unique_lock lock(m_lock);
    return m_changed.wait_until(lock, TimedWaitDeadline(ms), [this] { return m_stop != 0; });
}

void CValueProjectorInfo::AdvanceLocalPort() {
    if (m_host)
        m_localPort = m_host->NextLocalPort(m_localPort);
}

bool CValueProjectorInfo::IsCommandOpen() const { return m_commandSocket && m_commandSocket->IsOpen(); }

void CValueProjectorInfo::CloseCommandConnection() {
    if (m_commandSocket)
        m_commandSocket->Close();
}

void CValueProjectorInfo::SetBusy(int flag) {
    CSingleLock lock(m_lock);
    if (m_record)
        m_record->busy = flag;
    m_working->busy = flag;
}

bool CValueProjectorInfo::NeedsPassword() {
    CSingleLock lock(m_lock);
    return m_loginRequired && m_record && m_record->userName.empty() && m_record->password.empty();
}

int CValueProjectorInfo::PendingCommand() {
    CSingleLock lock(m_lock);
    return m_pendingCommand;
}

void CValueProjectorInfo::ClearCommand() {
    CSingleLock lock(m_lock);
    m_pendingCommand = -1;
}

int CValueProjectorInfo::IsPollRequested() {
    CSingleLock lock(m_lock);
    return m_pollRequest;
}

int CValueProjectorInfo::IsRecordChanged() {
    CSingleLock lock(m_lock);
    return m_recordChanged;
}

void CValueProjectorInfo::PostToHost(unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (m_host)
        m_host->PostSessionMessage(msg, wParam, lParam);
}

void CValueProjectorInfo::PostResult() {
    PostToHost(WM_COMM_RESULT, reinterpret_cast<WPARAM>(this), static_cast<LPARAM>(TakenPollRequest()));
}

void CValueProjectorInfo::WriteWorkingStatus(int status) {
    CSingleLock lock(m_lock);
    m_working->status = status;
}

int CValueProjectorInfo::RequestPassword() {
    if (!m_host)
        return -1;
    CAutoResetEvent* event = nullptr;
    {
        CSingleLock lock(m_lock);
        if (!m_passwordEvent)
            m_passwordEvent = std::make_unique<CAutoResetEvent>();
        event = m_passwordEvent.get();
        m_passwordAnswer = -1;
    }
    PostToHost(WM_COMM_PASSWORD_REQUEST, reinterpret_cast<WPARAM>(this));
    for (;;) {
        bool signalled = event->Wait(100);
        CSingleLock lock(m_lock);
        if (signalled) {
            m_passwordEvent.reset();
            return m_passwordAnswer == 1 ? 0 : -1;
        }
        if (m_stop) {
            m_passwordEvent.reset();
            return 1;
        }
    }
}

int CValueProjectorInfo::CheckPeerClosed(int& closed) {
    closed = 0;
    if (!m_commandSocket)
        return -3;
    if (m_commandSocket->SelectClose() != 0)
        return -3;
    int r = m_commandSocket->WaitEvent(10);
    if (r == WAIT_EVENT_OK) {
        closed = 1;
        return 0;
    }
    return r < 0 ? 2 : r;
}

int CValueProjectorInfo::StartThread() {
    if (m_thread.joinable())
        WaitThread(0);
    {
        CSingleLock lock(m_lock);
        m_threadEnded = 0;
    }
    try {
        m_thread = std::thread(&CValueProjectorInfo::SessionThread, this);
    } catch (const std::system_error&) {
        CSingleLock lock(m_lock);
        m_threadEnded = 1;
        return -1;
    }
    return 0;
}

int CValueProjectorInfo::WaitThread(int ms) {
    if (!m_thread.joinable())
        return 0;
    if (ms > 0) {
        std::unique_lock lock(m_lock);
        if (!m_changed.wait_until(lock, TimedWaitDeadline(ms), [this] { return m_threadEnded != 0; }))
            return -1;
    }
    m_thread.join();
    return 0;
}

void CValueProjectorInfo::EndThread() {
    {
        CSingleLock lock(m_lock);
        m_threadEnded = 1;
    }
    m_changed.notify_all();
}
