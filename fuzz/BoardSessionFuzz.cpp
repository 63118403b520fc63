// The board dialogue over a real TCP connection on loopback: login prompts,
// commands and their replies as the session's transport steps receive them
// (terminators, the board's pause after a reply, "Your IP", replies that
// overflow the receive, "ERR" retries). The input chooses the session's side
// (login wanted, credentials kept, power-only poll, a control command) and
// every reply the board gives; the board closes the connection when its
// replies run out, so no exchange waits for its time-out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "PolledRecordCheck.h"
#include "comm/CommDefs.h"
#include "comm/DirectSession.h"
#include "comm/ProjectorInfo.h"
#include "comm/ValueProjectorInfo.h"

namespace {

// Long enough for a loaded machine, short enough that an exchange that does
// wait for it shows up as a slow input.
constexpr int kTimeoutMs = 3000;
constexpr int kBoardWaitMs = 5000;
constexpr const char kAddress[] = "127.0.0.1";

// The board's listening socket on an ephemeral loopback port, for the run.
int Listener(int& port) {
    static int fd = -1;
    static int boundPort = 0;
    if (fd < 0) {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        FuzzCheck(fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
                      ::listen(fd, 4) == 0 && ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0,
                  "the board listens on a loopback port");
        boundPort = ntohs(addr.sin_port);
    }
    port = boundPort;
    return fd;
}

// Reads until terminator; false when the session closed or went quiet.
bool ReadUntil(int fd, char terminator) {
    char c = 0;
    pollfd pfd{fd, POLLIN, 0};
    while (::poll(&pfd, 1, kBoardWaitMs) > 0 && ::recv(fd, &c, 1, 0) == 1)
        if (c == terminator)
            return true;
    return false;
}

// Takes in whatever the session still sends until it closes.
void WaitForClose(int fd) {
    char discard[256];
    pollfd pfd{fd, POLLIN, 0};
    while (::poll(&pfd, 1, kBoardWaitMs) > 0 && ::recv(fd, discard, sizeof discard, 0) > 0) {
    }
}

// One board connection: a login prompt first when a login is wanted, then
// each reply after the session's next line (user, password) or command.
class CScriptedBoard {
public:
    CScriptedBoard(std::vector<std::string> replies, bool login)
        : m_replies(std::move(replies)), m_login(login), m_thread([this] { Run(); }) {}
    ~CScriptedBoard() { m_thread.join(); }

private:
    // What the session waits for after reply n.
    char Terminator(std::size_t n) const {
        if (!m_login || n > 2)
            return '\r';
        return n == 2 ? '\n' : ':';
    }
    // What the session sends before it waits for reply n; 0 for nothing.
    char Request(std::size_t n) const {
        if (!m_login)
            return '\r';
        return n == 0 ? 0 : n <= 2 ? '\n' : '\r';
    }

    void Run() {
        int port = 0;
        pollfd pfd{Listener(port), POLLIN, 0};
        if (::poll(&pfd, 1, kBoardWaitMs) <= 0)
            return;
        int fd = ::accept4(pfd.fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            return;
        for (std::size_t n = 0; n < m_replies.size(); ++n) {
            if (Request(n) && !ReadUntil(fd, Request(n)))
                break;
            const std::string& reply = m_replies[n];
            // Without its terminator the session would wait out its time-out
            // for the rest; the board's close ends that wait at once.
            if (reply.empty() || ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL) < 0 ||
                reply.back() != Terminator(n))
                break;
        }
        ::shutdown(fd, SHUT_WR);
        WaitForClose(fd);
        ::close(fd);
    }

    std::vector<std::string> m_replies;
    bool m_login;
    std::thread m_thread;
};

constexpr int kResults[] = {RC_OK, RC_STOPPED, RC_TIMEOUT, RC_INVALID, RC_SOCKET_ERROR, RC_LOGIN_REFUSED,
                            RC_BAD_COMMAND, RC_REFUSED};

bool IsResult(int rc) {
    for (int known : kResults)
        if (rc == known)
            return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto flags = input.ConsumeIntegral<std::uint8_t>();
    const bool login = flags & 1, credentials = flags & 2, powerOnly = flags & 4;
    const int control = input.ConsumeIntegralInRange<int>(-1, CONTROL_COUNT);
    std::vector<std::string> replies;
    while (input.remaining_bytes() > 0)
        replies.push_back(input.ConsumeRandomLengthString(2 * BOARD_REPLY_CAPACITY));

    CProjectorInfo record;
    record.ipAddress = kAddress;
    if (credentials) {
        record.userName = "admin";
        record.password = "secret";
    }
    CScriptedBoard board(replies, login);
    {
        CDirectSession direct(record);
        CValueProjectorInfo& session = direct.Session();
        session.SetBoardTimeout(kTimeoutMs);
        int port = 0;
        Listener(port);
        const std::string info = std::string("PASSWD:") + (login ? "YES" : "NO") + "\nCOMRPT:" +
                                 std::to_string(port) + "\n";
        FuzzCheck(session.ApplyBoardInfo(info) == RC_OK, "a plain information reply is taken");
        int rc = session.Login(kTimeoutMs);
        FuzzCheck(IsResult(rc), "login gives a result code");
        if (rc == RC_OK) {
            rc = session.PollStatus(kTimeoutMs, powerOnly);
            FuzzCheck(IsResult(rc), "a poll gives a result code");
            if (rc == RC_OK)
                CheckPolledRecord(session.WorkingSnapshot(), powerOnly);
        }
        if (rc == RC_OK && control >= 0) {
            rc = session.SendControl(control, kTimeoutMs);
            FuzzCheck(control < CONTROL_COUNT ? rc != RC_BAD_COMMAND : rc == RC_BAD_COMMAND,
                      "only an index outside the table is a bad command");
        }
    }  // the session closes its connection, which ends the board
    return 0;
}
