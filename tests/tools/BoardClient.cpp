#include "BoardClient.h"

#include <cerrno>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/TickCount.h"

CBoardClient::~CBoardClient() {
    if (m_fd >= 0)
        close(m_fd);
}

bool CBoardClient::Connect(const std::string& address, int port) {
    m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    if (connect(m_fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0)
        return true;
    m_errno = errno;
    close(m_fd);
    m_fd = -1;
    return false;
}

bool CBoardClient::Send(const std::string& text) {
    return m_fd >= 0 && send(m_fd, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
}

std::string CBoardClient::ReadSome(int timeoutMs) {
    if (!m_pending.empty()) {
        std::string out;
        out.swap(m_pending);
        return out;
    }
    pollfd p{m_fd, POLLIN, 0};
    if (m_fd < 0 || poll(&p, 1, timeoutMs) <= 0)
        return {};
    char buffer[4096];
    const ssize_t n = recv(m_fd, buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string CBoardClient::ReadUntil(char terminator, int timeoutMs) {
    const std::int64_t deadline = TickCount() + timeoutMs;
    std::string text;
    while (text.empty() || text.back() != terminator) {
        const std::int64_t left = deadline - TickCount();
        if (left <= 0)
            break;
        const std::string part = ReadSome(static_cast<int>(left));
        if (part.empty())
            break;
        const std::size_t end = (text + part).find(terminator, text.size());
        text += part;
        if (end != std::string::npos && end + 1 < text.size()) {
            m_pending = text.substr(end + 1);
            text.resize(end + 1);
        }
    }
    return text;
}

std::string CBoardClient::ReadToClose(bool& closed, int timeoutMs) {
    const std::int64_t deadline = TickCount() + timeoutMs;
    std::string text;
    text.swap(m_pending);
    closed = false;
    while (m_fd >= 0) {
        const std::int64_t left = deadline - TickCount();
        pollfd p{m_fd, POLLIN, 0};
        if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0)
            break;
        char buffer[4096];
        const ssize_t n = recv(m_fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            closed = true;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

std::string CBoardClient::Transact(const std::string& command) {
    if (!Send(command + "\r"))
        return {};
    return ReadUntil('\r');
}

std::string CBoardClient::QueryInfo(const std::string& address) {
    CBoardClient client;
    if (!client.Connect(address, 7) || !client.Send("hostname\n"))
        return {};
    // The serial number line is the reply's last line.
    std::string reply;
    for (;;) {
        const std::string line = client.ReadUntil('\n');
        reply += line;
        if (line.empty() || line.back() != '\n' || line.find("SERIAL:") != std::string::npos)
            return reply;
    }
}

std::string InfoValue(const std::string& reply, const std::string& key) {
    const std::size_t at = reply.find(key + ":");
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + key.size() + 1;
    const std::size_t end = reply.find_first_of("\r\n", start);
    return reply.substr(start, end - start);
}
