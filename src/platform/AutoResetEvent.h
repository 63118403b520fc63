#pragma once
// An auto-reset event: Set() releases one waiter (or the next Wait() if none
// waits) and the event falls back to not signalled.

#include <condition_variable>
#include <mutex>

class CAutoResetEvent {
public:
    void Set();
    // True when signalled within ms milliseconds (ms < 0: wait without limit).
    bool Wait(int ms);

private:
    std::mutex m_mutex;
    std::condition_variable m_cond;
    bool m_signalled = false;
};
