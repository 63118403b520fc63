#include "comm/SocketEx.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/TickCount.h"
#include "platform/WinsockError.h"

namespace {

// A blocking socket whose peer never closes must not hold its closer for
// long: the drain gives up after this budget.
constexpr int kBlockingDrainBudgetMs = 200;

std::atomic<bool> g_socketsStarted{false};

}  // namespace

bool ResolveIPv4(const char* host, unsigned& networkAddress) {
    if (!host || !*host)
        return false;
    in_addr addr{};
    if (inet_pton(AF_INET, host, &addr) == 1) {
        networkAddress = addr.s_addr;
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
        return false;
    networkAddress = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return true;
}

CSocketEx::CSocketEx() = default;

CSocketEx::~CSocketEx() {
    if (IsOpen())
        CSocketEx::Close();
}

void CSocketEx::SetLastErrorFromErrno() { m_lastError = WsaErrorFromErrno(errno); }

int CSocketEx::Create(int kind) {
    m_lastError = 0;
    if (IsOpen())
        return -1;
    int type = kind == SOCKET_KIND_DATAGRAM ? SOCK_DGRAM : SOCK_STREAM;
    m_socket = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (m_socket < 0) {
        m_socket = INVALID_SOCKET_HANDLE;
        SetLastErrorFromErrno();
        return -1;
    }
    m_blocking = 1;
    return 0;
}

int CSocketEx::Bind(const char* address, int port, int kind) {
    int rc = Create(kind);
    if (rc != 0)
        return rc;
    int on = 1;
    if (::setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(port));
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (address && *address && inet_pton(AF_INET, address, &local.sin_addr) != 1) {
        m_lastError = WSAEINVAL;
        return -1;
    }
    if (::bind(m_socket, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    return 0;
}

int CSocketEx::Connect(const char* host, int port) {
    m_lastError = 0;
    if (!IsOpen() || !host)
        return -1;
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<uint16_t>(port));
    unsigned addr = 0;
    if (!ResolveIPv4(host, addr)) {
        m_lastError = WSAHOST_NOT_FOUND;
        return -1;
    }
    remote.sin_addr.s_addr = addr;
    if (::connect(m_socket, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    return 0;
}

int CSocketEx::Receive(void* buffer, int size) {
    m_lastError = 0;
    if (!IsOpen() || !buffer || size <= 0)
        return -1;
    ssize_t n = ::recv(m_socket, buffer, static_cast<size_t>(size), 0);
    if (n < 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    return static_cast<int>(n);
}

int CSocketEx::Send(const void* data, int length) {
    m_lastError = 0;
    if (!IsOpen() || !data || length <= 0)
        return -1;
    ssize_t n = ::send(m_socket, data, static_cast<size_t>(length), MSG_NOSIGNAL);
    if (n < 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    return static_cast<int>(n);
}

int CSocketEx::OrderlyClose(int drainBudgetMs) {
    if (!IsOpen())
        return 0;
    // Tell the peer we are done, take in what it still sends until it closes
    // too (within the budget), then drop the handle without lingering.
    linger noLinger{1, 0};
    ::setsockopt(m_socket, SOL_SOCKET, SO_LINGER, &noLinger, sizeof noLinger);
    ::shutdown(m_socket, SHUT_WR);
    const std::int64_t deadline = TickCount() + drainBudgetMs;
    char discard[1024];
    for (;;) {
        ssize_t n = ::recv(m_socket, discard, sizeof discard, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            break;
        if (n > 0)
            continue;
        int left = static_cast<int>(deadline - TickCount());
        if (left <= 0)
            break;
        pollfd pfd{m_socket, POLLIN, 0};
        if (::poll(&pfd, 1, left) <= 0)
            break;
    }
    ::shutdown(m_socket, SHUT_RD);
    ::close(m_socket);
    ForgetHandle();
    return 0;
}

int CSocketEx::Close() {
    m_lastError = 0;
    if (!IsOpen())
        return 0;
    SetBlocking();
    return OrderlyClose(kBlockingDrainBudgetMs);
}

int CSocketEx::IsBlocking() { return m_blocking; }

int CSocketEx::SetBlocking() {
    if (!IsOpen())
        return -1;
    int flags = ::fcntl(m_socket, F_GETFL);
    if (flags < 0 || ::fcntl(m_socket, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    m_blocking = 1;
    return 0;
}

int CSocketEx::SetNonBlocking() {
    if (!IsOpen())
        return -1;
    int flags = ::fcntl(m_socket, F_GETFL);
    if (flags < 0 || ::fcntl(m_socket, F_SETFL, flags | O_NONBLOCK) != 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    m_blocking = 0;
    return 0;
}

int CSocketEx::SetDefaultTimeout(int ms) {
    m_defaultWait = ms;
    return 0;
}

int CSocketEx::Attach(int handle) {
    m_lastError = 0;
    if (handle < 0)
        return -1;
    if (IsOpen())
        Close();
    m_socket = handle;
    int flags = ::fcntl(handle, F_GETFL);
    m_blocking = (flags >= 0 && (flags & O_NONBLOCK)) ? 0 : 1;
    return 0;
}

int SocketsStartup() {
    g_socketsStarted = true;
    return 0;
}

int SocketsCleanup() {
    g_socketsStarted = false;
    return 0;
}
