#pragma once
// CClientPortRange: the client data port range a session binds its
// connections from, and the rule that picks the next local port in it. Set on
// the UI thread and read by session threads, so it is kept in one atomic word.
// Owned by a session host (the engine or a direct session).
#include <atomic>
#include <cstdint>

class CClientPortRange {
public:
    // The two ends in either order; both 0 means no range (no binding).
    void Set(int start, int end);
    // After port: port + 1 while that stays in the range, else the low end;
    // 0 when no range is set.
    int Next(int port) const;

private:
    std::atomic<std::int64_t> m_packed{0};  // start in the low half, end in the high half
};
