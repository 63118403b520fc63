#include "BoardServer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <utility>

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "SimText.h"

namespace {

constexpr int LISTEN_BACKLOG = 128;
constexpr std::size_t INPUT_LIMIT = 4096;       // a request longer than this is not the console's
constexpr int INFO_REQUEST_WAIT_MS = 10000;     // console connects, then asks at once
constexpr int INFO_LINGER_MS = 3000;            // the console closes right after reading
constexpr int SILENT_LINGER_MS = 60000;         // longer than any console time-out
constexpr int CONNECT_BACK_LIMIT_MS = 5000;
constexpr int ACCEPTS_PER_ROUND = 64;
constexpr int DATAGRAMS_PER_ROUND = 64;

constexpr const char* LOGIN_PROMPT = "Login:";
constexpr const char* PASSWORD_PROMPT = "\r\nPassword:";
constexpr const char* LOGIN_ACCEPTED = "\r\n";
constexpr const char* LOGIN_REJECTED = "\r\nLogin incorrect\r\n";
constexpr const char* WRONG_LOGIN_PROMPT = "Username:";
constexpr const char* WRONG_PASSWORD_PROMPT = "\r\nPass:";
constexpr const char* INFO_REQUEST = "hostname";

enum ConnectionKind { KIND_INFO = 0, KIND_COMMAND = 1, KIND_SEARCH = 2 };

sockaddr_in SocketAddress(std::uint32_t address, int port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(address);
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    return sa;
}

std::string ErrnoText(int err) {
    return std::strerror(err);
}

// Splits a reply into pieces that do not end with a terminator byte, so the
// console, which takes a pause after the terminator as the reply's end, must
// wait for the last piece.
std::vector<std::string> SplitPieces(const std::string& text, int pieces, const std::string& terminators) {
    std::vector<std::string> out;
    const std::size_t length = text.size();
    std::size_t start = 0;
    for (int i = 1; i < pieces && length > 1; ++i) {
        std::size_t cut = std::max(start + 1, length * static_cast<std::size_t>(i) / static_cast<std::size_t>(pieces));
        while (cut < length && terminators.find(text[cut - 1]) != std::string::npos)
            ++cut;
        if (cut >= length)
            break;
        out.push_back(text.substr(start, cut - start));
        start = cut;
    }
    out.push_back(text.substr(start));
    return out;
}

// Counts go per command text, but a client sending endless distinct junk must
// not grow the table without bound.
std::string StatsKey(const SimBoardStats& stats, const std::string& command) {
    constexpr std::size_t DISTINCT_LIMIT = 1024;
    if (command.size() == 8 && (stats.commands.count(command) || stats.commands.size() < DISTINCT_LIMIT))
        return command;
    return "<other>";
}

}  // namespace

// One connection a board holds: the console's information or command
// connection, or a board's own connect-back during a search.
struct SimConnection {
    enum class State { AwaitRequest, InfoDone, LoginSilent, LoginUser, LoginPassword, Commands, Connecting, Holding };

    std::uint64_t id = 0;
    int fd = -1;
    int kind = KIND_INFO;
    std::size_t slot = 0;
    State state = State::AwaitRequest;
    std::string peer;
    std::string in;
    std::string out;
    bool busy = false;  // a reply is still being delivered; further requests wait
    bool closed = false;
    bool closeWhenFlushed = false;
    bool watchingWrite = false;
    std::deque<std::string> pieces;
    int gapMs = 0;
    bool closeAfterPieces = false;
    CEventLoop::TimerId pieceTimer = 0;
    CEventLoop::TimerId idleTimer = 0;
    CEventLoop::TimerId lifeTimer = 0;
    FaultPlan loginPlan;
    std::string user;
};

// One answer on its way out, with the timing the faults give it.
struct SimDelivery {
    std::string text;
    std::string terminators;
    int delayMs = 0;
    int pieces = 1;
    int gapMs = 0;
    bool closeAfter = false;

    static SimDelivery Of(const std::string& text, const FaultPlan& plan, const std::string& terminators) {
        SimDelivery d;
        d.text = text;
        d.terminators = terminators;
        d.delayMs = plan.delayMs;
        d.pieces = plan.pieces;
        d.gapMs = plan.gapMs;
        return d;
    }
};

CBoardServer::CBoardServer(CEventLoop& loop, std::vector<std::unique_ptr<CSimBoard>> boards, int searchPort)
    : m_loop(loop), m_searchPort(searchPort) {
    m_slots.reserve(boards.size());
    for (auto& board : boards) {
        m_byAddress[board->Address()] = m_slots.size();
        Slot slot;
        slot.board = std::move(board);
        m_slots.push_back(std::move(slot));
    }
}

CBoardServer::~CBoardServer() {
    for (auto& [id, conn] : m_connections)
        if (conn->fd >= 0)
            close(conn->fd);
    for (Slot& slot : m_slots) {
        if (slot.infoFd >= 0)
            close(slot.infoFd);
        if (slot.commandFd >= 0)
            close(slot.commandFd);
    }
    if (m_searchFd >= 0)
        close(m_searchFd);
    if (m_spareFd >= 0)
        close(m_spareFd);
}

bool CBoardServer::Open(std::string& error) {
    m_spareFd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        Slot& slot = m_slots[i];
        if (!Listen(slot, BOARD_INFO_PORT, true, error) || !UpdateCommandListener(*slot.board, error))
            return false;
    }
    return m_searchPort < 0 || OpenSearchSocket(error);
}

CSimBoard* CBoardServer::FindBoard(const std::string& address) {
    const auto it = m_byAddress.find(address);
    return it == m_byAddress.end() ? nullptr : m_slots[it->second].board.get();
}

std::vector<CSimBoard*> CBoardServer::Boards() {
    std::vector<CSimBoard*> boards;
    for (Slot& slot : m_slots)
        boards.push_back(slot.board.get());
    return boards;
}

CBoardServer::Slot* CBoardServer::SlotOf(const CSimBoard& board) {
    const auto it = m_byAddress.find(board.Address());
    return it == m_byAddress.end() ? nullptr : &m_slots[it->second];
}

const CBoardServer::Slot* CBoardServer::SlotOf(const CSimBoard& board) const {
    const auto it = m_byAddress.find(board.Address());
    return it == m_byAddress.end() ? nullptr : &m_slots[it->second];
}

bool CBoardServer::Listen(Slot& slot, int port, bool info, std::string& error) {
    const CSimBoard& board = *slot.board;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = "cannot make a socket for " + board.Address() + ": " + ErrnoText(errno) +
                (errno == EMFILE ? " (too many open files for this fleet)" : "");
        return false;
    }
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in sa = SocketAddress(board.AddressValue(), port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0 || listen(fd, LISTEN_BACKLOG) != 0) {
        const int err = errno;
        close(fd);
        error = "cannot listen on " + board.Address() + ":" + std::to_string(port) + ": " + ErrnoText(err);
        if (err == EACCES && port < 1024)
            error += " (ports below 1024 need root or a private network namespace)";
        else if (err == EADDRNOTAVAIL)
            error += " (the address is not on this machine; 127.x.y.z addresses always are)";
        return false;
    }
    const std::size_t index = static_cast<std::size_t>(&slot - m_slots.data());
    if (!m_loop.Add(fd, EPOLLIN, [this, index, info](std::uint32_t) { OnAccept(index, info); })) {
        error = "cannot watch the listener of " + board.Address() + ": " + ErrnoText(errno);
        close(fd);
        return false;
    }
    if (info) {
        slot.infoFd = fd;
        return true;
    }
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    slot.commandFd = fd;
    slot.commandPort = ntohs(bound.sin_port);
    slot.board->SetBoundCommandPort(slot.commandPort);
    return true;
}

void CBoardServer::CloseCommandListener(Slot& slot) {
    if (slot.commandFd < 0)
        return;
    m_loop.Remove(slot.commandFd);
    close(slot.commandFd);
    slot.commandFd = -1;
    slot.commandPort = 0;
}

bool CBoardServer::UpdateCommandListener(CSimBoard& board, std::string& error) {
    Slot* slot = SlotOf(board);
    if (!slot)
        return false;
    const int wanted = board.Settings().commandPort;
    const bool listen = !board.RefusesConnections();
    const bool moved = slot->commandFd >= 0 && wanted != 0 && wanted != slot->commandPort;
    if (slot->commandFd >= 0 && (!listen || moved))
        CloseCommandListener(*slot);
    if (listen && slot->commandFd < 0)
        return Listen(*slot, wanted, false, error);
    return true;
}

bool CBoardServer::IsCommandListening(const CSimBoard& board) const {
    const Slot* slot = SlotOf(board);
    return slot && slot->commandFd >= 0;
}

bool CBoardServer::OpenSearchSocket(std::string& error) {
    m_searchFd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_searchFd < 0) {
        error = "cannot make the search socket: " + ErrnoText(errno);
        return false;
    }
    const int on = 1;
    setsockopt(m_searchFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    setsockopt(m_searchFd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    setsockopt(m_searchFd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
    const sockaddr_in sa = SocketAddress(INADDR_ANY, m_searchPort);
    if (bind(m_searchFd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
        error = "cannot listen for searches on UDP port " + std::to_string(m_searchPort) + ": " + ErrnoText(errno);
        return false;
    }
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    getsockname(m_searchFd, reinterpret_cast<sockaddr*>(&bound), &length);
    m_searchPort = ntohs(bound.sin_port);
    if (!m_loop.Add(m_searchFd, EPOLLIN, [this](std::uint32_t) { OnSearchDatagram(); })) {
        error = "cannot watch the search socket: " + ErrnoText(errno);
        return false;
    }
    return true;
}

int CBoardServer::AcceptOne(int listenFd, std::string& peer) {
    sockaddr_in sa{};
    socklen_t length = sizeof sa;
    int fd = accept4(listenFd, reinterpret_cast<sockaddr*>(&sa), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0 && (errno == EMFILE || errno == ENFILE) && m_spareFd >= 0) {
        // Out of descriptors: drop this connection rather than spin on a
        // listener that stays readable.
        close(m_spareFd);
        fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0)
            close(fd);
        m_spareFd = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (!m_warnedNoDescriptors)
            std::fprintf(stderr, "lumivex-boardsim: out of file descriptors; dropping connections\n");
        m_warnedNoDescriptors = true;
        return -2;
    }
    if (fd < 0)
        return -1;
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    peer = FormatIpv4(ntohl(sa.sin_addr.s_addr));
    return fd;
}

void CBoardServer::OnAccept(std::size_t slotIndex, bool info) {
    for (int i = 0; i < ACCEPTS_PER_ROUND; ++i) {
        Slot& slot = m_slots[slotIndex];
        const int listenFd = info ? slot.infoFd : slot.commandFd;
        if (listenFd < 0)
            return;
        std::string peer;
        const int fd = AcceptOne(listenFd, peer);
        if (fd == -2)
            continue;
        if (fd < 0)
            return;
        SimConnection& conn = AddConnection(fd, slotIndex, info ? KIND_INFO : KIND_COMMAND, peer);
        if (info) {
            ++slot.board->Stats().infoConnections;
            ArmLifeTimer(conn, INFO_REQUEST_WAIT_MS);
        } else {
            ++slot.board->Stats().commandConnections;
            StartCommandConnection(conn);
        }
    }
}

SimConnection& CBoardServer::AddConnection(int fd, std::size_t slotIndex, int kind, const std::string& peer) {
    auto conn = std::make_unique<SimConnection>();
    conn->id = m_nextConnection++;
    conn->fd = fd;
    conn->kind = kind;
    conn->slot = slotIndex;
    conn->peer = peer;
    conn->state = kind == KIND_SEARCH ? SimConnection::State::Connecting : SimConnection::State::AwaitRequest;
    const std::uint64_t id = conn->id;
    const std::uint32_t events = kind == KIND_SEARCH ? EPOLLOUT : EPOLLIN;
    m_loop.Add(fd, events, [this, id](std::uint32_t ev) { OnConnectionEvent(id, ev); });
    if (kind != KIND_SEARCH)
        m_slots[slotIndex].connections.push_back(id);
    SimConnection& ref = *conn;
    m_connections[id] = std::move(conn);
    return ref;
}

void CBoardServer::StartCommandConnection(SimConnection& conn) {
    CSimBoard& board = *m_slots[conn.slot].board;
    if (board.TakeFaults(FAULT_PHASE_CONNECT).close) {
        CloseConnection(conn);
        return;
    }
    conn.loginPlan = board.TakeFaults(FAULT_PHASE_LOGIN);
    const FaultPlan& plan = conn.loginPlan;
    if (plan.close) {
        CloseConnection(conn);
        return;
    }
    const bool login = board.Settings().loginRequired;
    if (plan.silent && login) {
        conn.state = SimConnection::State::LoginSilent;
        return;
    }
    conn.state = login ? SimConnection::State::LoginUser : SimConnection::State::Commands;
    if (plan.content && plan.content->Kind() != FaultKind::BadPrompt) {
        DeliverFaultContent(conn, plan, ':');
        return;
    }
    if (!login) {
        ArmIdleTimer(conn);
        return;
    }
    const bool wrong = plan.content && !plan.content->PasswordPrompt();
    const std::string prompt = !wrong ? LOGIN_PROMPT
                               : plan.content->Text().empty() ? WRONG_LOGIN_PROMPT
                                                              : plan.content->Text();
    Deliver(conn, SimDelivery::Of(prompt, plan, ":"));
}

// Answers with the text a content fault asks for; false when the fault's
// kind is not one that replaces the answer.
bool CBoardServer::DeliverFaultContent(SimConnection& conn, const FaultPlan& plan, char terminator) {
    const CBoardFault& fault = *plan.content;
    const std::string end(1, terminator);
    SimDelivery d;
    switch (fault.Kind()) {
    case FaultKind::Err: d = SimDelivery::Of("ERR" + end, plan, end); break;
    case FaultKind::Reply: d = SimDelivery::Of(fault.Text() + end, plan, end); break;
    case FaultKind::YourIp:
        d = SimDelivery::Of(fault.Text().empty() ? "Your IP address " + conn.peer + " is not allowed.\r\n"
                                                 : fault.Text(),
                            plan, end);
        d.closeAfter = true;
        break;
    case FaultKind::Flood: d = SimDelivery::Of(std::string(static_cast<std::size_t>(fault.Bytes()), 'X'), plan, end); break;
    case FaultKind::Garbage: d = SimDelivery::Of(Garbage(fault.Bytes(), end) + end, plan, end); break;
    default: return false;
    }
    Deliver(conn, std::move(d));
    return true;
}

void CBoardServer::OnConnectionEvent(std::uint64_t id, std::uint32_t events) {
    SimConnection* conn = Find(id);
    if (!conn)
        return;
    if (conn->kind == KIND_SEARCH) {
        OnConnectBackEvent(*conn, events);
        return;
    }
    if (events & EPOLLOUT)
        FlushOutput(*conn);
    if (!conn->closed && (events & (EPOLLIN | EPOLLHUP | EPOLLERR)))
        ReadInput(*conn);
}

void CBoardServer::OnConnectBackEvent(SimConnection& conn, std::uint32_t events) {
    const int holdMs = m_slots[conn.slot].board->Settings().searchHoldMs;
    if (conn.state == SimConnection::State::Connecting) {
        // Connected or failed: for most boards the answer is over either way.
        if (holdMs <= 0 || (events & (EPOLLERR | EPOLLHUP))) {
            CloseConnection(conn);
            return;
        }
        conn.state = SimConnection::State::Holding;
        m_loop.Modify(conn.fd, EPOLLIN);
        ArmLifeTimer(conn, holdMs);
        return;
    }
    // Some boards keep their answer open for their own time even after the
    // console has closed its side; only a reset (or that time) ends it.
    if (events & (EPOLLERR | EPOLLHUP)) {
        CloseConnection(conn);
        return;
    }
    char sink[256];
    ssize_t n = 0;
    while ((n = recv(conn.fd, sink, sizeof sink, MSG_DONTWAIT)) > 0) {
    }
    if (n == 0)
        m_loop.Modify(conn.fd, 0);  // the console's close: stop hearing it, a reset still comes through
    else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
        CloseConnection(conn);
}

void CBoardServer::ReadInput(SimConnection& conn) {
    char buffer[2048];
    for (;;) {
        const ssize_t n = recv(conn.fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            conn.in.append(buffer, static_cast<std::size_t>(n));
            if (conn.in.size() > INPUT_LIMIT) {
                CloseConnection(conn);
                return;
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        CloseConnection(conn);  // the console closed, or the connection broke
        return;
    }
    ProcessInput(conn);
}

bool CBoardServer::TakeUnit(SimConnection& conn, char terminator, std::string& unit) {
    const std::size_t end = conn.in.find(terminator);
    if (end == std::string::npos)
        return false;
    unit = conn.in.substr(0, end);
    conn.in.erase(0, end + 1);
    return true;
}

void CBoardServer::ProcessInput(SimConnection& conn) {
    using State = SimConnection::State;
    std::string unit;
    while (!conn.closed && !conn.busy) {
        switch (conn.state) {
        case State::AwaitRequest:
            if (!TakeUnit(conn, '\n', unit))
                return;
            HandleInfoRequest(conn, unit);
            break;
        case State::LoginUser:
            if (!TakeUnit(conn, '\n', unit))
                return;
            HandleUser(conn, unit);
            break;
        case State::LoginPassword:
            if (!TakeUnit(conn, '\n', unit))
                return;
            HandlePassword(conn, unit);
            break;
        case State::Commands:
            if (!TakeUnit(conn, '\r', unit))
                return;
            // A client that ends commands with "\r\n" leaves the "\n" in front of the next one.
            unit.erase(0, unit.find_first_not_of('\n') == std::string::npos ? unit.size()
                                                                           : unit.find_first_not_of('\n'));
            HandleCommand(conn, unit);
            break;
        default:
            conn.in.clear();  // nothing more is read in this state
            return;
        }
    }
}

void CBoardServer::HandleInfoRequest(SimConnection& conn, const std::string& line) {
    if (Trim(line) != INFO_REQUEST) {
        CloseConnection(conn);
        return;
    }
    CSimBoard& board = *m_slots[conn.slot].board;
    const FaultPlan plan = board.TakeFaults(FAULT_PHASE_INFO);
    conn.state = SimConnection::State::InfoDone;
    if (plan.close) {
        CloseConnection(conn);
        return;
    }
    if (plan.silent) {
        ArmLifeTimer(conn, SILENT_LINGER_MS);
        return;
    }
    if (plan.content) {
        DeliverFaultContent(conn, plan, '\n');
        return;
    }
    Deliver(conn, SimDelivery::Of(board.InfoReply(plan), plan, "\n"));
}

void CBoardServer::HandleUser(SimConnection& conn, const std::string& line) {
    conn.user = line;
    if (!conn.user.empty() && conn.user.back() == '\r')
        conn.user.pop_back();
    conn.state = SimConnection::State::LoginPassword;
    const FaultPlan& plan = conn.loginPlan;
    const bool wrong = plan.content && plan.content->Kind() == FaultKind::BadPrompt && plan.content->PasswordPrompt();
    const std::string prompt = !wrong ? PASSWORD_PROMPT
                               : plan.content->Text().empty() ? WRONG_PASSWORD_PROMPT
                                                              : plan.content->Text();
    Deliver(conn, SimDelivery::Of(prompt, plan, ":"));
}

void CBoardServer::HandlePassword(SimConnection& conn, const std::string& line) {
    std::string password = line;
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    CSimBoard& board = *m_slots[conn.slot].board;
    if (board.CheckLogin(conn.user, password)) {
        ++board.Stats().logins;
        conn.state = SimConnection::State::Commands;
        Deliver(conn, SimDelivery::Of(LOGIN_ACCEPTED, conn.loginPlan, "\n"));
        return;
    }
    ++board.Stats().loginFailures;
    SimDelivery d = SimDelivery::Of(LOGIN_REJECTED, conn.loginPlan, "\n");
    d.closeAfter = true;
    Deliver(conn, std::move(d));
}

void CBoardServer::HandleCommand(SimConnection& conn, const std::string& command) {
    m_loop.CancelTimer(conn.idleTimer);
    conn.idleTimer = 0;
    CSimBoard& board = *m_slots[conn.slot].board;
    ++board.Stats().commands[StatsKey(board.Stats(), command)];
    const FaultPlan plan = board.TakeFaults(command);
    if (plan.close) {
        CloseConnection(conn);
        return;
    }
    if (plan.silent) {
        ArmIdleTimer(conn);
        return;
    }
    if (plan.content && DeliverFaultContent(conn, plan, '\r'))
        return;
    Deliver(conn, SimDelivery::Of(board.Answer(command) + "\r", plan, "\r"));
}

void CBoardServer::Deliver(SimConnection& conn, SimDelivery delivery) {
    const std::vector<std::string> pieces = SplitPieces(delivery.text, delivery.pieces, delivery.terminators);
    conn.pieces.assign(pieces.begin(), pieces.end());
    conn.gapMs = delivery.gapMs;
    conn.closeAfterPieces = delivery.closeAfter;
    conn.busy = true;
    const std::uint64_t id = conn.id;
    if (delivery.delayMs > 0)
        conn.pieceTimer = m_loop.AddTimer(delivery.delayMs, [this, id] { SendNextPiece(id); });
    else
        SendNextPiece(id);
}

void CBoardServer::SendNextPiece(std::uint64_t id) {
    SimConnection* conn = Find(id);
    if (!conn)
        return;
    conn->pieceTimer = 0;
    if (!conn->pieces.empty()) {
        const std::string piece = std::move(conn->pieces.front());
        conn->pieces.pop_front();
        Write(*conn, piece);
        if (conn->closed)
            return;
    }
    if (!conn->pieces.empty()) {
        conn->pieceTimer = m_loop.AddTimer(conn->gapMs, [this, id] { SendNextPiece(id); });
        return;
    }
    conn->busy = false;
    if (conn->closeAfterPieces) {
        if (conn->out.empty())
            CloseConnection(*conn);
        else
            conn->closeWhenFlushed = true;
        return;
    }
    if (conn->state == SimConnection::State::InfoDone)
        ArmLifeTimer(*conn, INFO_LINGER_MS);
    else if (conn->state == SimConnection::State::Commands)
        ArmIdleTimer(*conn);
    ProcessInput(*conn);
}

void CBoardServer::Write(SimConnection& conn, const std::string& bytes) {
    if (!conn.out.empty()) {
        conn.out += bytes;
        return;
    }
    conn.out = bytes;
    FlushOutput(conn);
}

void CBoardServer::FlushOutput(SimConnection& conn) {
    while (!conn.out.empty()) {
        const ssize_t n = send(conn.fd, conn.out.data(), conn.out.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (n < 0) {
            CloseConnection(conn);
            return;
        }
        conn.out.erase(0, static_cast<std::size_t>(n));
    }
    const bool pending = !conn.out.empty();
    if (pending != conn.watchingWrite) {
        conn.watchingWrite = pending;
        m_loop.Modify(conn.fd, pending ? (EPOLLIN | EPOLLOUT) : EPOLLIN);
    }
    if (!pending && conn.closeWhenFlushed)
        CloseConnection(conn);
}

void CBoardServer::CloseConnection(SimConnection& conn) {
    if (conn.closed)
        return;
    conn.closed = true;
    m_loop.CancelTimer(conn.pieceTimer);
    m_loop.CancelTimer(conn.idleTimer);
    m_loop.CancelTimer(conn.lifeTimer);
    m_loop.Remove(conn.fd);
    // Unread input would make close() reset the connection and could throw
    // away the last answer before the console reads it.
    char sink[1024];
    while (recv(conn.fd, sink, sizeof sink, MSG_DONTWAIT) > 0) {
    }
    close(conn.fd);
    conn.fd = -1;
    if (conn.kind != KIND_SEARCH) {
        auto& list = m_slots[conn.slot].connections;
        list.erase(std::remove(list.begin(), list.end(), conn.id), list.end());
    }
    // Callers up the stack may still hold the connection; free it after this round.
    const std::uint64_t id = conn.id;
    m_loop.Post([this, id] { m_connections.erase(id); });
}

SimConnection* CBoardServer::Find(std::uint64_t id) {
    const auto it = m_connections.find(id);
    return it == m_connections.end() || it->second->closed ? nullptr : it->second.get();
}

void CBoardServer::ArmIdleTimer(SimConnection& conn) {
    m_loop.CancelTimer(conn.idleTimer);
    conn.idleTimer = 0;
    const int ms = m_slots[conn.slot].board->IdleCloseMs();
    if (ms <= 0)
        return;
    const std::uint64_t id = conn.id;
    conn.idleTimer = m_loop.AddTimer(ms, [this, id] {
        SimConnection* c = Find(id);
        if (c && !c->busy)
            CloseConnection(*c);
    });
}

void CBoardServer::ArmLifeTimer(SimConnection& conn, int ms) {
    m_loop.CancelTimer(conn.lifeTimer);
    const std::uint64_t id = conn.id;
    conn.lifeTimer = m_loop.AddTimer(ms, [this, id] {
        if (SimConnection* c = Find(id))
            CloseConnection(*c);
    });
}

std::string CBoardServer::Garbage(int bytes, const std::string& avoid) {
    std::string text;
    while (static_cast<int>(text.size()) < bytes) {
        const char c = static_cast<char>(m_random() & 0xff);
        if (avoid.find(c) == std::string::npos && !(text.empty() && c == 'Y'))
            text += c;
    }
    return text;
}

int CBoardServer::CloseConnections(const CSimBoard& board) {
    Slot* slot = SlotOf(board);
    if (!slot)
        return 0;
    const std::vector<std::uint64_t> ids = slot->connections;
    int count = 0;
    for (const std::uint64_t id : ids)
        if (SimConnection* conn = Find(id)) {
            CloseConnection(*conn);
            ++count;
        }
    return count;
}

int CBoardServer::OpenConnections(const CSimBoard& board) const {
    const Slot* slot = SlotOf(board);
    return slot ? static_cast<int>(slot->connections.size()) : 0;
}

void CBoardServer::RearmIdleTimers(const CSimBoard& board) {
    Slot* slot = SlotOf(board);
    if (!slot)
        return;
    for (const std::uint64_t id : slot->connections)
        if (SimConnection* conn = Find(id); conn && conn->state == SimConnection::State::Commands && !conn->busy)
            ArmIdleTimer(*conn);
}

void CBoardServer::OnSearchDatagram() {
    for (int i = 0; i < DATAGRAMS_PER_ROUND; ++i) {
        char payload[64];
        sockaddr_in sender{};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        iovec iov{payload, sizeof payload - 1};
        msghdr msg{};
        msg.msg_name = &sender;
        msg.msg_namelen = sizeof sender;
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        const ssize_t n = recvmsg(m_searchFd, &msg, MSG_DONTWAIT);
        if (n < 0)
            return;
        long long port = 0;
        // Blanks around the digits are forgiven, so a search typed by hand works too.
        if (!ParseInt(Trim(std::string(payload, static_cast<std::size_t>(n))), 1, 65535, port))
            continue;  // not a search datagram
        int ifindex = 0;
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info{};
                std::memcpy(&info, CMSG_DATA(c), sizeof info);
                ifindex = info.ipi_ifindex;
            }
        // The subnets of the interface the datagram came in on: only boards in
        // them could have heard it.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> subnets;
        ifaddrs* list = nullptr;
        if (ifindex > 0 && getifaddrs(&list) == 0) {
            for (ifaddrs* it = list; it; it = it->ifa_next)
                if (it->ifa_addr && it->ifa_netmask && it->ifa_addr->sa_family == AF_INET &&
                    static_cast<int>(if_nametoindex(it->ifa_name)) == ifindex)
                    subnets.emplace_back(ntohl(reinterpret_cast<sockaddr_in*>(it->ifa_addr)->sin_addr.s_addr),
                                         ntohl(reinterpret_cast<sockaddr_in*>(it->ifa_netmask)->sin_addr.s_addr));
            freeifaddrs(list);
        }
        AnswerSearch(ntohl(sender.sin_addr.s_addr), static_cast<int>(port), subnets);
    }
}

void CBoardServer::AnswerSearch(std::uint32_t sender, int port,
                                const std::vector<std::pair<std::uint32_t, std::uint32_t>>& subnets) {
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        CSimBoard& board = *m_slots[i].board;
        const SimBoardSettings& s = board.Settings();
        if (!s.searchAnswer)
            continue;
        // Unsure where the datagram came from: every answering board answers.
        const bool heard = subnets.empty() || std::any_of(subnets.begin(), subnets.end(), [&](const auto& net) {
            return (net.first & net.second) == (board.AddressValue() & net.second);
        });
        if (!heard)
            continue;
        ++board.Stats().searchAnswers;
        for (int attempt = 0; attempt < (s.searchTwice ? 2 : 1); ++attempt) {
            if (s.searchDelayMs > 0)
                m_loop.AddTimer(s.searchDelayMs, [this, i, sender, port] { ConnectBack(i, sender, port); });
            else
                ConnectBack(i, sender, port);
        }
    }
}

void CBoardServer::ConnectBack(std::size_t slotIndex, std::uint32_t sender, int port) {
    const CSimBoard& board = *m_slots[slotIndex].board;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    const sockaddr_in local = SocketAddress(board.AddressValue(), 0);
    const sockaddr_in remote = SocketAddress(sender, port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        (connect(fd, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0 && errno != EINPROGRESS)) {
        close(fd);
        return;
    }
    SimConnection& conn = AddConnection(fd, slotIndex, KIND_SEARCH, FormatIpv4(sender));
    ArmLifeTimer(conn, CONNECT_BACK_LIMIT_MS);
}
