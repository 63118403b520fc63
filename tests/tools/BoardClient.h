#pragma once
// A raw TCP client for talking to simulated boards the way the console does,
// with every wait bounded by a deadline. Test helper; one per connection.
#include <string>

class CBoardClient {
public:
    CBoardClient() = default;
    ~CBoardClient();
    CBoardClient(const CBoardClient&) = delete;
    CBoardClient& operator=(const CBoardClient&) = delete;

    // False when the connection fails; Errno() tells why.
    bool Connect(const std::string& address, int port);
    int Errno() const { return m_errno; }
    bool Send(const std::string& text);
    // Whatever one read returns within the time ("" on time-out or close).
    std::string ReadSome(int timeoutMs = 5000);
    // Reads until the text ends with terminator, the board closes, or time runs out.
    std::string ReadUntil(char terminator, int timeoutMs = 5000);
    // Reads everything until the board closes; closed tells whether it did in time.
    std::string ReadToClose(bool& closed, int timeoutMs = 5000);
    // One command and its reply, as the console frames them.
    std::string Transact(const std::string& command);
    // The information exchange on port 7.
    static std::string QueryInfo(const std::string& address);

private:
    int m_fd = -1;
    int m_errno = 0;
    std::string m_pending;  // bytes read past the last returned reply
};

// Reads a "NAME:value" line of an information reply ("" when missing).
std::string InfoValue(const std::string& reply, const std::string& key);
