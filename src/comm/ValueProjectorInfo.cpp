#include "comm/ValueProjectorInfo.h"

#include "comm/CommWnd.h"
#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "comm/StreamSocket.h"

CValueProjectorInfo::CValueProjectorInfo(CProjectorInfo* record, CCommWnd* engine)
    : m_record(record),
      m_engine(engine),
      m_working(std::make_unique<CProjectorInfo>()),
      m_commandSocket(std::make_unique<CStreamSocket>()),
      m_infoSocket(std::make_unique<CStreamSocket>()) {
    if (m_record)
        m_working->CopyFrom(*m_record);
}

CValueProjectorInfo::~CValueProjectorInfo() = default;

void CValueProjectorInfo::SetPollRequest(int value) {
    CSingleLock lock(m_lock);
    m_pollRequest = value;
}

void CValueProjectorInfo::SetStopFlag(int value) {
    CSingleLock lock(m_lock);
    m_stop = value;
}

int CValueProjectorInfo::IsStopRequested() {
    CSingleLock lock(m_lock);
    return m_stop;
}

std::string CValueProjectorInfo::HostName() {
    CSingleLock lock(m_lock);
    return m_hostName;
}

CProjectorInfo CValueProjectorInfo::WorkingSnapshot() {
    CSingleLock lock(m_lock);
    return *m_working;
}

int CValueProjectorInfo::CheckStop() { return IsStopRequested() ? RC_STOPPED : RC_OK; }

void CValueProjectorInfo::AdvanceLocalPort() {
    if (m_engine)
        m_localPort = m_engine->NextLocalPort(m_localPort);
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
