#include "platform/AutoResetEvent.h"

#include <chrono>

void CAutoResetEvent::Set() {
    {
        std::lock_guard lock(m_mutex);
        m_signalled = true;
    }
    m_cond.notify_one();
}

bool CAutoResetEvent::Wait(int ms) {
    std::unique_lock lock(m_mutex);
    auto ready = [this] { return m_signalled; };
    if (ms < 0)
        m_cond.wait(lock, ready);
    else if (!m_cond.wait_until(lock, TimedWaitDeadline(ms), ready))
        return false;
    m_signalled = false;
    return true;
}
