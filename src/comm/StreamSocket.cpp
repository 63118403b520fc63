#include "comm/StreamSocket.h"

#include <cerrno>

#include <poll.h>
#include <sys/socket.h>

#include "platform/WinsockError.h"

CStreamSocket::CStreamSocket() = default;

CStreamSocket::~CStreamSocket() {
    m_hasEvent = false;
    if (IsOpen())
        CStreamSocket::Close();
}

int CStreamSocket::FreshEvent() {
    // The event is the socket's own readiness as poll(2) reports it; a fresh
    // one forgets whatever was armed before.
    m_hasEvent = true;
    m_waitMode = WAIT_NONE;
    m_peerClosed = false;
    return 0;
}

int CStreamSocket::Create(int kind) {
    int rc = CSocketEx::Create(kind);
    if (rc != 0)
        return rc;
    if (SetNonBlocking() != 0)
        return -1;
    return FreshEvent();
}

int CStreamSocket::Bind(const char* address, int port, int kind) {
    int rc = CSocketEx::Bind(address, port, kind);
    if (rc != 0)
        return rc;
    if (SetNonBlocking() != 0)
        return -1;
    return FreshEvent();
}

int CStreamSocket::Connect(const char* host, int port) {
    m_lastError = 0;
    if (!IsOpen() || m_waitMode != WAIT_NONE)
        return -1;
    m_hasEvent = true;
    int rc = CSocketEx::Connect(host, port);
    if (rc != 0) {
        if (m_lastError != WSAEINPROGRESS && m_lastError != WSAEWOULDBLOCK)
            return -1;
        m_lastError = 0;  // a started non-blocking connect
    }
    m_waitMode = WAIT_CONNECT;
    return 0;
}

int CStreamSocket::Close() {
    m_lastError = 0;
    if (!IsOpen())
        return 0;
    // An event-driven socket stays non-blocking, so its drain ends at the
    // first read that finds nothing.
    if (m_hasEvent)
        return OrderlyClose(0);
    return CSocketEx::Close();
}

int CStreamSocket::Attach(int handle) {
    int rc = CSocketEx::Attach(handle);
    if (rc != 0)
        return rc;
    // A non-blocking handle comes from a non-blocking listener, whose event
    // notification it shares; treated as event-driven, its close drains
    // without waiting for the peer.
    return IsBlocking() ? 0 : FreshEvent();
}

int CStreamSocket::Arm(int mode) {
    m_lastError = 0;
    if (!IsOpen())
        return -1;
    m_hasEvent = true;
    m_waitMode = mode;
    return 0;
}

int CStreamSocket::SelectRead() { return Arm(WAIT_READ); }
int CStreamSocket::SelectWrite() { return Arm(WAIT_WRITE); }
int CStreamSocket::SelectClose() { return Arm(WAIT_CLOSE); }

int CStreamSocket::PickResult(short revents) {
    const bool readable = revents & (POLLIN | POLLHUP | POLLERR);
    if (m_waitMode == WAIT_CONNECT) {
        int err = 0;
        socklen_t len = sizeof err;
        if (::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
            err = errno;
        if (err != 0) {
            m_lastError = WsaErrorFromErrno(err);
            return WAIT_EVENT_ERROR;
        }
        return (revents & POLLOUT) ? WAIT_EVENT_OK : WAIT_EVENT_TIMEOUT;
    }
    if (m_waitMode == WAIT_ACCEPT)
        return readable ? WAIT_EVENT_OK : WAIT_EVENT_NO_ACCEPT;
    if (m_waitMode == WAIT_WRITE) {
        if (revents & POLLERR) {
            int err = 0;
            socklen_t len = sizeof err;
            ::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &err, &len);
            m_lastError = WsaErrorFromErrno(err ? err : ECONNRESET);
            return WAIT_EVENT_ERROR;
        }
        return (revents & POLLOUT) ? WAIT_EVENT_OK : WAIT_EVENT_NO_WRITE;
    }
    // Read and close modes: without a hang-up there is data to read; only a
    // hang-up needs a peek to tell remaining data from the peer's close.
    if (!(revents & (POLLRDHUP | POLLHUP | POLLERR)))
        return m_waitMode == WAIT_READ ? WAIT_EVENT_OK : WAIT_EVENT_NO_CLOSE;
    char probe;
    ssize_t n = ::recv(m_socket, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return m_waitMode == WAIT_READ ? WAIT_EVENT_NO_READ : WAIT_EVENT_NO_CLOSE;
        SetLastErrorFromErrno();
        return WAIT_EVENT_ERROR;
    }
    if (n == 0) {
        m_peerClosed = true;
        return m_waitMode == WAIT_CLOSE ? WAIT_EVENT_OK : WAIT_EVENT_NO_READ;
    }
    return m_waitMode == WAIT_READ ? WAIT_EVENT_OK : WAIT_EVENT_NO_CLOSE;
}

int CStreamSocket::WaitEvent(int ms) {
    m_lastError = 0;
    if (m_waitMode == WAIT_NONE)
        return WAIT_EVENT_NOT_ARMED;
    if (!m_hasEvent || !IsOpen())
        return WAIT_EVENT_ERROR;
    if (ms == 0)
        ms = m_defaultWait;
    short events = 0;
    switch (m_waitMode) {
    case WAIT_CONNECT: events = POLLOUT; break;
    case WAIT_ACCEPT: events = POLLIN; break;
    case WAIT_READ:
    case WAIT_CLOSE: events = POLLIN | POLLRDHUP; break;
    case WAIT_WRITE: events = POLLIN | POLLOUT; break;
    default: return WAIT_EVENT_ERROR;
    }
    pollfd pfd{m_socket, events, 0};
    int n;
    do {
        n = ::poll(&pfd, 1, ms);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        SetLastErrorFromErrno();
        return WAIT_EVENT_ERROR;
    }
    if (n == 0)
        return WAIT_EVENT_TIMEOUT;
    return PickResult(pfd.revents);
}
