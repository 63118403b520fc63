#pragma once
// CCommWnd: the communication engine, a hidden message window owned by the
// main view. It owns one session per projector and the settings the sessions
// read (the client data port range).
#include <atomic>
#include <cstdint>

#include "platform/MsgWnd.h"

class CCommWnd : public CMsgWnd {
public:
    explicit CCommWnd(QObject* parent = nullptr);
    ~CCommWnd() override;

    void SetPortRange(int start, int end);
    // The next local port of the client data port range after port, or 0 when
    // no range is set. Safe from session threads: the range is read atomically.
    int NextLocalPort(int port) const;

private:
    std::atomic<std::int64_t> m_portRange{0};  // start in the low half, end in the high half
};
