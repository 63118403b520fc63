#pragma once
// What the SMTP tests share: a loopback address of this test process (so
// parallel test processes never meet on port 25), the real SMTP server
// (aiosmtpd through smtp_capture.py) with the messages it received parsed
// back, a scripted one-connection SMTP peer for replies no real server
// gives, and a Qt event pump that waits on a condition with a deadline.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A loopback address of this process alone (127.64.0.0/10, from the pid).
std::string TestLoopbackAddress();
// Empty when port 25 of address can be bound here, else why not.
std::string Port25Unavailable(const std::string& address);
// The text with its carriage returns taken out (the parser keeps CRLF).
std::string WithoutCr(const std::string& text);
// Runs the Qt event loop until done() or the deadline; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

// A test that needs port 25 of this process's loopback address; skipped with
// the reason where that port cannot be bound.
class Port25Test : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why = Port25Unavailable(address);
        if (!why.empty())
            GTEST_SKIP() << why;
    }

    std::string address = TestLoopbackAddress();
};

class CCaptureServer {
public:
    CCaptureServer() = default;
    ~CCaptureServer();
    bool Start(const std::string& address, const std::vector<std::string>& rejects = {});

    // The logged commands in order ("HELO x", "RCPT a@b", "DATA", ...).
    std::vector<std::string> Events() const;
    // The same with their monotonic times in seconds.
    std::vector<std::pair<double, std::string>> TimedEvents() const;
    bool WaitForMessages(int count, int timeoutMs) const;
    int MessageCount() const;
    QJsonObject Message(int number) const;  // from 1
    std::string RawMessage(int number) const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

class CScriptedSmtpPeer {
public:
    using Script = std::function<void(CScriptedSmtpPeer& peer)>;
    // Listens on address:25 and runs script on its own thread for the first connection.
    CScriptedSmtpPeer(const std::string& address, Script script);
    ~CScriptedSmtpPeer();
    bool Listening() const { return m_listen >= 0; }

    // Inside the script.
    void Send(const std::string& text);
    // One line with its line end; "" when the client closed or 5 s passed.
    std::string ReadLine();
    // The message text after DATA up to and including the end-of-data line.
    std::string ReadData();
    // The same for messages of megabytes: read in large blocks and not kept
    // in Received(); "" when the client closed or 5 s passed without data.
    std::string ReadBulkData();
    // True when the client closed the connection within the time.
    bool WaitForClose(int timeoutMs);
    void Pause(int ms);

    bool Finished() const { return m_finished; }
    // Lines the peer read, in order.
    std::vector<std::string> Received() const;

    std::atomic<bool> release{false};  // a flag the test raises for a waiting script

private:
    void Run(Script script);

    int m_listen = -1;
    int m_fd = -1;
    std::thread m_thread;
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_quit{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_received;
};
