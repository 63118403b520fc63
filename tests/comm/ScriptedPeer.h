#pragma once
// A one-connection TCP peer on 127.0.0.1 for transport tests: it accepts one
// client and then runs a script of sends, pauses and a close on its own thread.
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

class ScriptedPeer {
public:
    // The script runs with the accepted descriptor once a client connects.
    explicit ScriptedPeer(std::function<void(int fd)> script) : m_script(std::move(script)) {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(m_listen, 4);
        socklen_t len = sizeof addr;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { Run(); });
    }
    ~ScriptedPeer() {
        m_done = true;
        m_thread.join();
        ::close(m_listen);
    }
    int Port() const { return m_port; }
    bool Finished() const { return m_finished; }

    static void SendText(int fd, const std::string& text) { ::send(fd, text.data(), text.size(), MSG_NOSIGNAL); }
    // Reads until text holds terminator or the peer closes; returns what came.
    static std::string ReadUntil(int fd, char terminator, int timeoutMs = 5000) {
        std::string text;
        char c;
        pollfd pfd{fd, POLLIN, 0};
        while (::poll(&pfd, 1, timeoutMs) > 0 && ::recv(fd, &c, 1, 0) == 1) {
            text += c;
            if (c == terminator)
                break;
        }
        return text;
    }

private:
    void Run() {
        pollfd pfd{m_listen, POLLIN, 0};
        while (!m_done) {
            if (::poll(&pfd, 1, 20) > 0) {
                int fd = ::accept(m_listen, nullptr, nullptr);
                if (fd >= 0) {
                    m_script(fd);
                    // Keep the connection until the test is done with it.
                    m_finished = true;
                    while (!m_done && !m_closeRequested)
                        ::poll(nullptr, 0, 5);
                    ::close(fd);
                }
                return;
            }
        }
    }

    std::function<void(int)> m_script;
    int m_listen = -1;
    int m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_finished{false};

public:
    std::atomic<bool> m_closeRequested{false};
};
