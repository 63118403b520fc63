#pragma once
// Shared pieces of the search tests: a UDP probe that records each datagram
// with the address it was sent to, and a board's answer (a TCP connection
// back from a chosen source address).
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace searchtest {

// Checks done() every few milliseconds until it holds or ms pass, without
// running the event loop (so posted messages stay queued).
template <class Pred>
bool WaitUntil(Pred done, int ms = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

inline std::string Dotted(in_addr address) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

inline sockaddr_in SocketAddress(const std::string& address, int port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    return sa;
}

// The local port number of a socket, or 0.
inline int LocalPort(int fd) {
    sockaddr_in local{};
    socklen_t len = sizeof local;
    return ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) == 0 ? ntohs(local.sin_port) : 0;
}

struct Datagram {
    std::string payload;
    std::string destination;  // the address it was sent to
    std::string source;
    int sourcePort = 0;
};

// A UDP socket on any local address that keeps each datagram's destination.
class DatagramProbe {
public:
    // port 0 picks a free one; reuse lets several probes share a port, as
    // boards on one subnet all hear the same broadcast.
    explicit DatagramProbe(int port = 0, bool reuse = false) {
        m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        int on = 1;
        ::setsockopt(m_fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
        if (reuse)
            ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in local = SocketAddress("0.0.0.0", port);
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        m_port = LocalPort(m_fd);
    }
    ~DatagramProbe() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DatagramProbe(const DatagramProbe&) = delete;
    DatagramProbe& operator=(const DatagramProbe&) = delete;

    bool Ok() const { return m_fd >= 0; }
    int Port() const { return m_port; }
    int Fd() const { return m_fd; }

    // The next datagram within ms, or none.
    std::optional<Datagram> Next(int ms) {
        pollfd pfd{m_fd, POLLIN, 0};
        if (m_fd < 0 || ::poll(&pfd, 1, ms) <= 0)
            return std::nullopt;
        char data[512];
        char control[256];
        sockaddr_in from{};
        iovec iov{data, sizeof data};
        msghdr msg{};
        msg.msg_name = &from;
        msg.msg_namelen = sizeof from;
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        ssize_t n = ::recvmsg(m_fd, &msg, 0);
        if (n < 0)
            return std::nullopt;
        Datagram d;
        d.payload.assign(data, static_cast<size_t>(n));
        d.source = Dotted(from.sin_addr);
        d.sourcePort = ntohs(from.sin_port);
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info;
                std::memcpy(&info, CMSG_DATA(c), sizeof info);
                d.destination = Dotted(info.ipi_addr);
            }
        }
        return d;
    }

    // Everything that arrived before a marker this probe sends to itself
    // through loopback now: what a step sent before it returned.
    std::vector<Datagram> Drain() {
        static const std::string kMarker = "probe-marker";
        int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in self = SocketAddress("127.0.0.1", m_port);
        ::sendto(s, kMarker.data(), kMarker.size(), 0, reinterpret_cast<sockaddr*>(&self), sizeof self);
        ::close(s);
        std::vector<Datagram> seen;
        while (auto d = Next(5000)) {
            if (d->payload == kMarker && d->destination == "127.0.0.1")
                break;
            seen.push_back(*d);
        }
        return seen;
    }

private:
    int m_fd = -1;
    int m_port = 0;
};

// A port number the search can use in a test: its TCP side for the engine's
// listener and its UDP side for a probe that sees the search datagrams. A
// free UDP port is not enough: an earlier test's connection may still hold
// the same number on the TCP side. So the TCP number is taken first, by a
// socket that binds it with address reuse and never listens. While it is
// held no outgoing connection gets that number, yet the engine can still
// bind and listen there with its own address reuse.
class SearchPort {
public:
    // wanted 0 takes any number free on both sides.
    explicit SearchPort(int wanted = 0) {
        constexpr int kAttempts = 100;
        for (int attempt = 0; attempt < kAttempts && !Ok(); ++attempt) {
            Release();
            m_tcp = HoldTcp(wanted);
            // Never left without a probe; without the TCP hold it does not count.
            m_probe = std::make_unique<DatagramProbe>(m_tcp >= 0 ? m_port : 0);
            if (wanted != 0)
                break;
        }
    }
    ~SearchPort() { Release(); }
    SearchPort(const SearchPort&) = delete;
    SearchPort& operator=(const SearchPort&) = delete;

    bool Ok() const { return m_tcp >= 0 && m_probe->Ok(); }
    int Port() const { return m_port; }
    DatagramProbe& Probe() { return *m_probe; }

private:
    int HoldTcp(int wanted) {
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in local = SocketAddress("0.0.0.0", wanted);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            ::close(fd);
            return -1;
        }
        m_port = LocalPort(fd);
        return fd;
    }
    void Release() {
        m_probe.reset();
        if (m_tcp >= 0)
            ::close(m_tcp);
        m_tcp = -1;
    }

    int m_tcp = -1;
    int m_port = 0;
    std::unique_ptr<DatagramProbe> m_probe;
};

// A TCP connection from source to target:port, as a board answers a
// search: its descriptor, or -1 when it did not reach the console. The
// console may take the connection and close it before connect returns here;
// that connection reached it all the same.
inline int OpenConnectBack(const std::string& source, const std::string& target, int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in local = SocketAddress(source, 0);
    sockaddr_in remote = SocketAddress(target, port);
    bool reached = ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
    if (reached && ::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0)
        reached = errno == ECONNRESET || errno == EPIPE;
    if (!reached) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Answers a search and closes at once. With waitForClose, waits (up to 5 s)
// until the console has closed its side, i.e. until it has taken the
// connection. False when it failed.
inline bool ConnectBack(const std::string& source, const std::string& target, int port, bool waitForClose = false) {
    int fd = OpenConnectBack(source, target, port);
    if (fd < 0)
        return false;
    bool ok = true;
    if (waitForClose) {
        pollfd pfd{fd, POLLIN, 0};
        char byte;
        ok = ::poll(&pfd, 1, 5000) == 1 && ::recv(fd, &byte, 1, 0) <= 0;
    }
    ::close(fd);
    return ok;
}

// Boards that answer a search and keep their connection open whatever the
// console does, until this object goes.
class HeldConnections {
public:
    HeldConnections() = default;
    ~HeldConnections() {
        for (int fd : m_fds)
            ::close(fd);
    }
    HeldConnections(const HeldConnections&) = delete;
    HeldConnections& operator=(const HeldConnections&) = delete;

    bool Open(const std::string& source, const std::string& target, int port) {
        int fd = OpenConnectBack(source, target, port);
        if (fd >= 0)
            m_fds.push_back(fd);
        return fd >= 0;
    }

private:
    std::vector<int> m_fds;
};

// True when nothing listens on TCP port (a listener could be opened there
// the way the search opens its own).
inline bool TcpPortFree(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local = SocketAddress("0.0.0.0", port);
    bool free = ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 && ::listen(fd, 1) == 0;
    ::close(fd);
    return free;
}

}  // namespace searchtest
