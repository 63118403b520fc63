#include "TestNetwork.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <sched.h>
#include <unistd.h>

#include <QDeadlineTimer>

namespace {

int OpenOwnNamespace() { return ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC); }

// A path other programs can open to reach a namespace this process holds.
std::string NamespacePath(int fd) { return "/proc/" + std::to_string(::getpid()) + "/fd/" + std::to_string(fd); }

// True once lvx0 can carry packets (both ends of the pair are up).
bool ConsoleLinkRunning() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return false;
    bool running = false;
    for (ifaddrs* it = list; it; it = it->ifa_next)
        if (std::strcmp(it->ifa_name, TestNetwork::kConsoleLink) == 0 && (it->ifa_flags & IFF_RUNNING))
            running = true;
    ::freeifaddrs(list);
    return running;
}

}  // namespace

std::vector<std::string> TestNetwork::LinkNames() {
    std::vector<std::string> names;
    if (struct if_nameindex* list = ::if_nameindex()) {
        for (struct if_nameindex* it = list; it->if_index != 0; ++it)
            names.push_back(it->if_name);
        ::if_freenameindex(list);
    }
    return names;
}

bool TestNetwork::OnlyOurLinks() {
    for (const std::string& name : LinkNames())
        if (name != "lo" && name != kConsoleLink)
            return false;
    return true;
}

bool TestNetwork::Run(const std::string& command, std::string& whyNot) {
    const std::string quiet = command + " >/dev/null 2>&1";
    if (std::system(quiet.c_str()) == 0)
        return true;
    whyNot = "cannot build the test network: '" + command + "' failed";
    return false;
}

std::string TestNetwork::BoardNamespacePath() const { return "--net=" + NamespacePath(m_boardsNs); }

std::string TestNetwork::InBoards(const std::string& command) const {
    return "nsenter " + BoardNamespacePath() + " " + command;
}

bool TestNetwork::Build(std::string& whyNot) {
    std::vector<std::string> links = LinkNames();
    if (links != std::vector<std::string>{"lo"}) {
        whyNot = "needs a private network namespace holding only lo (scripts/test makes one); this one has";
        for (const std::string& name : links)
            whyNot += " " + name;
        return false;
    }
    m_outerNs = OpenOwnNamespace();
    if (m_outerNs < 0) {
        whyNot = "cannot open this thread's network namespace";
        return false;
    }
    // Both sides get namespaces of their own, so tests running side by side
    // never see each other's links. This thread (and every thread and
    // program it starts) stays on the console's side until destruction.
    if (::unshare(CLONE_NEWNET) != 0) {
        whyNot = std::string("cannot make a network namespace: ") + std::strerror(errno);
        return false;
    }
    m_consoleNs = OpenOwnNamespace();
    // The boards' namespace is made and left at once: the descriptor alone
    // keeps it alive.
    if (m_consoleNs < 0 || ::unshare(CLONE_NEWNET) != 0) {
        whyNot = std::string("cannot make a network namespace for the boards: ") + std::strerror(errno);
        return false;
    }
    m_boardsNs = OpenOwnNamespace();
    if (::setns(m_consoleNs, CLONE_NEWNET) != 0)
        std::abort();  // the test would go on among the boards
    if (m_boardsNs < 0) {
        whyNot = "cannot open the boards' network namespace";
        return false;
    }
    // The pair is made on the boards' side with lvx0 sent here, so the
    // boards' end gets a known hardware address for the ARP checks.
    std::string boards = std::string("ip link set lo up && ip link add lvx1 address ") + kBoardMac +
                         " type veth peer name " + kConsoleLink + " netns " + NamespacePath(m_consoleNs);
    for (const char* address : kBoardAddresses)
        boards += std::string(" && ip addr add ") + address + "/24 dev lvx1";
    boards += " && ip link set lvx1 up";
    if (!Run("ip link set lo up", whyNot) || !Run(InBoards("sh -c '" + boards + "'"), whyNot) ||
        !Run(std::string("ip addr add ") + kConsoleAddress + "/24 dev " + kConsoleLink, whyNot) ||
        !Run(std::string("ip link set ") + kConsoleLink + " up", whyNot))
        return false;
    QDeadlineTimer deadline(5000);
    while (!ConsoleLinkRunning()) {
        if (deadline.hasExpired()) {
            whyNot = "the test link did not come up";
            return false;
        }
        ::usleep(10000);
    }
    if (!OnlyOurLinks()) {
        whyNot = "a link this test did not make appeared";
        return false;
    }
    return true;
}

bool TestNetwork::AddBoardAddresses(const std::vector<std::string>& addresses, std::string& whyNot) {
    std::string command = "true";
    for (const std::string& address : addresses)
        command += " && ip addr add " + address + "/24 dev lvx1";
    return Run(InBoards("sh -c '" + command + "'"), whyNot);
}

TestNetwork::~TestNetwork() {
    // Leaving the console's namespace lets the kernel take it down, and the
    // link pair with it, once the last socket in it is closed.
    if (m_consoleNs >= 0 && ::setns(m_outerNs, CLONE_NEWNET) != 0)
        std::abort();
    for (int fd : {m_boardsNs, m_consoleNs, m_outerNs})
        if (fd >= 0)
            ::close(fd);
}

TestBoard::TestBoard(int boardsNs, std::string address, int searchPort) : m_address(std::move(address)) {
    m_thread = std::thread(&TestBoard::Run, this, boardsNs, searchPort);
}

TestBoard::~TestBoard() {
    m_stop = true;
    m_thread.join();
}

bool TestBoard::Ready() {
    QDeadlineTimer deadline(5000);
    while (m_state == 0 && !deadline.hasExpired())
        ::usleep(1000);
    return m_state == 1;
}

std::vector<searchtest::Datagram> TestBoard::Heard() const {
    std::lock_guard lock(m_lock);
    return m_heard;
}

void TestBoard::Run(int boardsNs, int searchPort) {
    // Only this thread joins the boards' namespace; its sockets stay there.
    if (::setns(boardsNs, CLONE_NEWNET) != 0) {
        m_state = -1;
        return;
    }
    // Every board on the subnet hears the broadcast, so they share the port.
    searchtest::DatagramProbe probe(searchPort, true);
    m_state = probe.Ok() ? 1 : -1;
    while (probe.Ok() && !m_stop) {
        auto datagram = probe.Next(20);
        if (!datagram)
            continue;
        {
            std::lock_guard lock(m_lock);
            m_heard.push_back(*datagram);
        }
        const std::string& text = datagram->payload;
        if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
            continue;  // not a search datagram
        if (searchtest::ConnectBack(m_address, datagram->source, std::stoi(text)))
            ++m_answers;
    }
}
