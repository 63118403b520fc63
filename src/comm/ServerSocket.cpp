#include "comm/ServerSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

int CServerSocket::Bind(const char* address, int port, int) {
    int rc = CStreamSocket::Bind(address, port, SOCKET_KIND_STREAM);
    if (rc != 0)
        return rc;
    if (::listen(m_socket, SOMAXCONN) != 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    return 0;
}

int CServerSocket::Connect(const char*, int) { return -1; }

int CServerSocket::SelectAccept() { return Arm(WAIT_ACCEPT); }

int CServerSocket::Accept(CSocketEx& target, std::string& peerAddress) {
    if (!IsOpen())
        return -1;
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    // The new connection takes the listener's mode, as an accepted socket
    // shares its listener's event notification: a non-blocking listener gives
    // a non-blocking, event-driven connection.
    const int flags = SOCK_CLOEXEC | (IsBlocking() ? 0 : SOCK_NONBLOCK);
    int handle = ::accept4(m_socket, reinterpret_cast<sockaddr*>(&peer), &len, flags);
    if (handle < 0)
        return -1;  // last error stays as it was
    int rc = target.Attach(handle);
    if (rc != 0) {
        target.Close();
        ::close(handle);
        return rc;
    }
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
    peerAddress = text;
    return 0;
}
