#include "comm/BroadcastSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

CBroadcastSocket::~CBroadcastSocket() {
    if (IsOpen())
        CBroadcastSocket::Close();
}

int CBroadcastSocket::Create(int) {
    int rc = CSocketEx::Create(SOCKET_KIND_DATAGRAM);
    if (rc != 0)
        return rc;
    int on = 1;
    if (::setsockopt(m_socket, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    return 0;
}

int CBroadcastSocket::Bind(const char* address, int port, int) {
    return CSocketEx::Bind(address, port, SOCKET_KIND_DATAGRAM);
}

int CBroadcastSocket::Connect(const char*, int) { return -1; }
int CBroadcastSocket::Receive(void*, int) { return -1; }
int CBroadcastSocket::Send(const void*, int) { return -1; }

int CBroadcastSocket::Close() {
    m_lastError = 0;
    if (!IsOpen())
        return 0;
    SetBlocking();
    ::shutdown(m_socket, SHUT_RDWR);
    ::close(m_socket);
    ForgetHandle();
    return 0;
}

std::string CBroadcastSocket::BroadcastAddress(const char* address, const char* mask) {
    in_addr a{}, m{};
    if (!address || !mask || inet_pton(AF_INET, address, &a) != 1 || inet_pton(AF_INET, mask, &m) != 1)
        return "255.255.255.255";
    in_addr b{};
    b.s_addr = (a.s_addr & m.s_addr) | ~m.s_addr;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &b, text, sizeof text);
    return text;
}

int CBroadcastSocket::SendTo(int port, const void* data, int length, const char* address, const char* mask) {
    m_lastError = 0;
    if (!IsOpen() || !data || length <= 0)
        return -1;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, BroadcastAddress(address, mask).c_str(), &target.sin_addr);
    ssize_t n = ::sendto(m_socket, data, static_cast<size_t>(length), MSG_NOSIGNAL,
                         reinterpret_cast<sockaddr*>(&target), sizeof target);
    if (n < 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    return n == length ? 0 : -1;
}
