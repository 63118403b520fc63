#pragma once
// CStreamSocket: a non-blocking TCP socket with one armed network event at a
// time (connect, read, write, accept or the peer's close) and a timed wait for
// it. Each board session owns two; the search listener owns one per accepted
// board. Used by one thread at a time.
#include "comm/SocketEx.h"

// Which event the next WaitEvent looks for.
constexpr int WAIT_NONE = 0;
constexpr int WAIT_CONNECT = 1;
constexpr int WAIT_READ = 2;
constexpr int WAIT_WRITE = 3;
constexpr int WAIT_ACCEPT = 4;
constexpr int WAIT_CLOSE = 5;

// WaitEvent results.
constexpr int WAIT_EVENT_OK = 0;
constexpr int WAIT_EVENT_TIMEOUT = 1;
constexpr int WAIT_EVENT_NOT_ARMED = 2;
constexpr int WAIT_EVENT_NO_READ = 3;
constexpr int WAIT_EVENT_NO_WRITE = 4;
constexpr int WAIT_EVENT_NO_ACCEPT = 5;
constexpr int WAIT_EVENT_NO_CLOSE = 6;
constexpr int WAIT_EVENT_ERROR = -1;

class CStreamSocket : public CSocketEx {
public:
    CStreamSocket();
    ~CStreamSocket() override;

    int Bind(const char* address, int port, int kind) override;
    int Create(int kind) override;
    int Connect(const char* host, int port) override;
    int Close() override;
    int Attach(int handle) override;

    int SelectRead();
    int SelectWrite();
    int SelectClose();
    int WaitEvent(int ms);

    int WaitMode() const { return m_waitMode; }
    bool HasEvent() const { return m_hasEvent; }
    // True when the peer has closed its side (the last wait saw only its close).
    bool PeerClosed() const { return m_peerClosed; }

protected:
    int Arm(int mode);
    int FreshEvent();
    // Classifies the socket's pending events for the armed mode.
    int PickResult(short revents);

    bool m_hasEvent = false;
    int m_waitMode = WAIT_NONE;
    bool m_peerClosed = false;
};
