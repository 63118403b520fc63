#pragma once
// An auto-reset event: Set() releases one waiter (or the next Wait() if none
// waits) and the event falls back to not signalled.

#include <chrono>
#include <condition_variable>
#include <mutex>

// The deadline of a timed condition wait ms from now. It is taken on the
// system clock because a steady-clock wait goes through a call that this
// toolchain's ThreadSanitizer does not see, which makes it report races that
// are not there; the waits are short, so a clock step only shortens or
// lengthens one of them.
inline std::chrono::system_clock::time_point TimedWaitDeadline(int ms) {
    return std::chrono::system_clock::now() + std::chrono::milliseconds(ms);
}

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
