// Board simulator benchmark: serves N generated boards in a lumivex-boardsim
// process and measures, from one multiplexed client, the information
// exchange with every board, a full 18-query poll of every board on its kept
// command connection, and the simulator's CPU time while busy and while idle
// with every command connection open. Run inside a private network namespace
// (bench/run-boardsim).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileLimit.h"
#include "platform/TickCount.h"

extern char** environ;

namespace {

const char* const POLL_COMMANDS[] = {"POWR????", "PJN0   1", "MNRD   1", "TABN   1", "TLPS   1", "TLPS   2",
                                     "TLTT   1", "TLTT   2", "TLTM   1", "TLTM   2", "TLTL   1", "TLTL   2",
                                     "IMOD????", "IRGB????", "IVED????", "TDSP   1", "SNRD   1", "TTAV   1"};
constexpr int POLL_LENGTH = 18;

// CPU seconds the process has used, from /proc.
double ProcessCpu(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::vector<std::string> fields;
    std::size_t pos = close + 2;
    while (pos < text.size()) {
        const std::size_t end = text.find(' ', pos);
        fields.push_back(text.substr(pos, end - pos));
        pos = end == std::string::npos ? text.size() : end + 1;
    }
    // utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    return fields.size() > 13 ? (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str())) / sysconf(_SC_CLK_TCK)
                              : 0;
}

std::string Address(int i) {
    const int n = i + 1;  // 127.1.0.1 onwards, as --generate numbers them
    return "127.1." + std::to_string(n / 256) + "." + std::to_string(n % 256);
}

int ConnectTo(const std::string& address, int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        close(fd);
        return -1;
    }
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

// Reads from fd until the text ends with terminator (blocking, bounded by poll).
bool ReadReply(int fd, char terminator, std::string& text) {
    text.clear();
    while (text.empty() || text.back() != terminator) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 10000) <= 0)
            return false;
        char buffer[1024];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

// Every board answers one poll command at a time; all boards are in flight at once.
bool PollAll(const std::vector<int>& fds) {
    const int epoll = epoll_create1(EPOLL_CLOEXEC);
    std::vector<int> step(fds.size(), 0);
    std::vector<std::string> partial(fds.size());
    for (std::size_t i = 0; i < fds.size(); ++i) {
        epoll_event ev{};
        ev.events = EPOLLIN;
        ev.data.u64 = i;
        epoll_ctl(epoll, EPOLL_CTL_ADD, fds[i], &ev);
        const std::string command = std::string(POLL_COMMANDS[0]) + "\r";
        send(fds[i], command.data(), command.size(), MSG_NOSIGNAL);
    }
    std::size_t finished = 0;
    epoll_event events[256];
    while (finished < fds.size()) {
        const int n = epoll_wait(epoll, events, 256, 10000);
        if (n <= 0)
            break;
        for (int e = 0; e < n; ++e) {
            const std::size_t i = events[e].data.u64;
            char buffer[1024];
            const ssize_t got = recv(fds[i], buffer, sizeof buffer, 0);
            if (got <= 0)
                continue;
            partial[i].append(buffer, static_cast<std::size_t>(got));
            if (partial[i].back() != '\r')
                continue;
            partial[i].clear();
            if (++step[i] == POLL_LENGTH) {
                ++finished;
                continue;
            }
            const std::string command = std::string(POLL_COMMANDS[step[i]]) + "\r";
            send(fds[i], command.data(), command.size(), MSG_NOSIGNAL);
        }
    }
    close(epoll);
    return finished == fds.size();
}

int Run(const std::string& simulator, int boards, int idleSeconds) {
    int out[2];
    if (pipe(out) != 0)
        return 1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::string count = std::to_string(boards);
    std::vector<char*> argv = {const_cast<char*>(simulator.c_str()), const_cast<char*>("--generate"), count.data(),
                               const_cast<char*>("--search-port"), const_cast<char*>("off"), nullptr};
    pid_t pid = -1;
    const std::int64_t launched = TickCount();
    if (posix_spawn(&pid, simulator.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        return 1;
    close(out[1]);
    std::string ready;
    if (!ReadReply(out[0], '\n', ready) || ready.rfind("READY", 0) != 0) {
        std::fprintf(stderr, "boardsim_bench: the simulator did not start for %d boards\n", boards);
        return 1;
    }
    const double readyMs = double(TickCount() - launched);
    const double cpuStart = ProcessCpu(pid);

    std::int64_t start = TickCount();
    std::vector<int> ports(static_cast<std::size_t>(boards));
    for (int i = 0; i < boards; ++i) {
        const int fd = ConnectTo(Address(i), 7);
        std::string reply;
        send(fd, "hostname\n", 9, MSG_NOSIGNAL);
        const bool ok = fd >= 0 && ReadReply(fd, '\n', reply);
        while (ok && reply.find("SERIAL:") == std::string::npos) {
            std::string more;
            if (!ReadReply(fd, '\n', more))
                break;
            reply += more;
        }
        const std::size_t at = reply.find("COMRPT:");
        ports[static_cast<std::size_t>(i)] = at == std::string::npos ? 0 : std::atoi(reply.c_str() + at + 7);
        if (fd >= 0)
            close(fd);
    }
    const double infoMs = double(TickCount() - start);

    std::vector<int> fds;
    for (int i = 0; i < boards; ++i)
        fds.push_back(ConnectTo(Address(i), ports[static_cast<std::size_t>(i)]));
    const double cpuBeforePoll = ProcessCpu(pid);
    start = TickCount();
    const bool polled = PollAll(fds);
    const double pollMs = double(TickCount() - start);
    const double pollCpu = ProcessCpu(pid) - cpuBeforePoll;

    const double cpuIdle = ProcessCpu(pid);
    const std::int64_t idleUntil = TickCount() + idleSeconds * 1000;
    while (TickCount() < idleUntil)
        poll(nullptr, 0, static_cast<int>(idleUntil - TickCount()));
    const double idleCpu = ProcessCpu(pid) - cpuIdle;

    std::printf("%8d %10.0f %12.0f %10.0f %12.3f %14.3f %12.3f\n", boards, readyMs, infoMs, pollMs, pollCpu,
                idleCpu * 60.0 / idleSeconds, ProcessCpu(pid) - cpuStart);
    std::fflush(stdout);
    for (int fd : fds)
        if (fd >= 0)
            close(fd);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    close(out[0]);
    if (!polled) {
        std::fprintf(stderr, "boardsim_bench: not every board answered its poll\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    RaiseOpenFileLimit();
    std::string self = argv[0];
    const std::string simulator = self.substr(0, self.rfind('/') + 1) + "lumivex-boardsim";
    std::vector<int> sizes = {10, 100, 1000};
    int idleSeconds = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--idle" && i + 1 < argc) {
            idleSeconds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--sizes" && i + 1 < argc) {
            sizes.clear();
            for (std::string list = argv[++i]; !list.empty();) {
                const std::size_t comma = list.find(',');
                sizes.push_back(std::atoi(list.substr(0, comma).c_str()));
                list = comma == std::string::npos ? "" : list.substr(comma + 1);
            }
        } else {
            std::fprintf(stderr, "usage: boardsim_bench [--sizes 10,100,1000] [--idle SECONDS]\n");
            return 2;
        }
    }
    std::printf("%8s %10s %12s %10s %12s %14s %12s\n", "boards", "ready ms", "info all ms", "poll ms",
                "poll cpu s", "idle cpu s/min", "total cpu s");
    std::fflush(stdout);
    for (const int boards : sizes)
        if (Run(simulator, boards, idleSeconds) != 0)
            return 1;
    return 0;
}
