#pragma once
// A small network the search tests build inside their private network
// namespace: a namespace for the console's side, where the test's thread
// moves, with lvx0 at 10.77.0.1/24, and a namespace of boards holding its
// veth peer lvx1 with the board addresses. Nothing here can reach a real
// network: Build refuses unless the namespace it starts in holds only lo.
// Both namespaces go when the object does (and when the process dies), so
// the links need no removal.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "SearchTestSupport.h"

class TestNetwork {
public:
    static constexpr const char* kConsoleLink = "lvx0";
    static constexpr const char* kConsoleAddress = "10.77.0.1";
    static constexpr const char* kConsoleMask = "255.255.255.0";
    static constexpr const char* kSubnetBroadcast = "10.77.0.255";
    static constexpr const char* kBoardMac = "02:4C:56:00:00:02";  // the boards' side of the link
    static constexpr const char* kBoardAddresses[] = {"10.77.0.2", "10.77.0.3"};

    TestNetwork() = default;
    ~TestNetwork();
    TestNetwork(const TestNetwork&) = delete;
    TestNetwork& operator=(const TestNetwork&) = delete;

    // Builds the network and moves the calling thread to the console's side;
    // false with the reason when this test cannot run here.
    bool Build(std::string& whyNot);
    // More board addresses on the boards' side of the link (in 10.77.0.0/24).
    bool AddBoardAddresses(const std::vector<std::string>& addresses, std::string& whyNot);
    // The boards' namespace, for threads that join it.
    int BoardNamespace() const { return m_boardsNs; }
    // "--net=<path>" of the boards' namespace, for nsenter.
    std::string BoardNamespacePath() const;
    // The names of every link in the calling thread's namespace.
    static std::vector<std::string> LinkNames();
    // True when the only links here are lo and this network's own.
    static bool OnlyOurLinks();

private:
    bool Run(const std::string& command, std::string& whyNot);
    std::string InBoards(const std::string& command) const;

    int m_outerNs = -1;    // where the test started
    int m_consoleNs = -1;
    int m_boardsNs = -1;
};

// A board as far as the search goes, living in the boards' namespace: it
// hears the search datagram on its port and connects back from its own
// address to the sender on the port the datagram names.
class TestBoard {
public:
    TestBoard(int boardsNs, std::string address, int searchPort);
    ~TestBoard();
    TestBoard(const TestBoard&) = delete;
    TestBoard& operator=(const TestBoard&) = delete;

    // False when the board could not open its socket.
    bool Ready();
    std::vector<searchtest::Datagram> Heard() const;
    int Answers() const { return m_answers; }

private:
    void Run(int boardsNs, int searchPort);

    std::string m_address;
    mutable std::mutex m_lock;
    std::vector<searchtest::Datagram> m_heard;
    std::atomic<int> m_answers{0};
    std::atomic<int> m_state{0};  // 0 starting, 1 listening, -1 failed
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
