// The lumivex-boardsim program: its command line, READY line, control lines on
// standard input and clean ending. Needs port 7 (a private network namespace).
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestAddress.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/TickCount.h"

extern char** environ;

namespace {

// The program with its standard input and output on pipes.
class CProgram {
public:
    explicit CProgram(const std::vector<std::string>& args) {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char*> argv;
        std::string program = BOARDSIM_PROGRAM;
        argv.push_back(program.data());
        std::vector<std::string> copies = args;
        for (std::string& arg : copies)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        m_in = in[1];
        m_out = out[0];
    }
    ~CProgram() {
        if (m_pid > 0 && Wait(5000) < 0)
            kill(m_pid, SIGKILL), Wait(5000);
        if (m_in >= 0)
            close(m_in);
        if (m_out >= 0)
            close(m_out);
    }

    std::string ReadLine(int timeoutMs = 10000) {
        const std::int64_t deadline = TickCount() + timeoutMs;
        for (;;) {
            const std::size_t end = m_buffer.find('\n');
            if (end != std::string::npos) {
                const std::string line = m_buffer.substr(0, end);
                m_buffer.erase(0, end + 1);
                return line;
            }
            pollfd p{m_out, POLLIN, 0};
            const std::int64_t left = deadline - TickCount();
            if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0)
                return "<time-out>";
            char chunk[4096];
            const ssize_t n = read(m_out, chunk, sizeof chunk);
            if (n <= 0)
                return "<eof>";
            m_buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }
    std::string Ask(const std::string& line) {
        const std::string text = line + "\n";
        if (write(m_in, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            return "<write failed>";
        return ReadLine();
    }
    void Signal(int signal) { kill(m_pid, signal); }
    // The exit code, or -1 when the program is still running after timeoutMs.
    int Wait(int timeoutMs) {
        const std::int64_t deadline = TickCount() + timeoutMs;
        int status = 0;
        while (TickCount() < deadline) {
            const pid_t done = waitpid(m_pid, &status, WNOHANG);
            if (done == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            SleepMs(10);  // polling the child's state, not synchronising on time
        }
        return -1;
    }

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    std::string m_buffer;
};

std::string FirstAddress() { return TestLoopbackAddress(1); }

}  // namespace

TEST(BoardSimProgram, GeneratedFleetAnswersControlLinesUntilQuit) {
    CProgram program({"--generate", "3", "--first", FirstAddress(), "--search-port", "0"});
    ASSERT_EQ(program.ReadLine(), "READY 3");
    const std::string state = program.Ask("state " + FirstAddress());
    EXPECT_NE(state.find("\"address\":\"" + FirstAddress() + "\""), std::string::npos) << state;
    EXPECT_EQ(program.Ask("set " + FirstAddress() + " power warm").rfind("ERROR", 0), 0u);
    EXPECT_EQ(program.Ask("quit"), "OK quit");
    EXPECT_EQ(program.Wait(5000), 0);
}

TEST(BoardSimProgram, TermSignalEndsCleanly) {
    CProgram program({"--generate", "2", "--first", FirstAddress(), "--search-port", "0"});
    ASSERT_EQ(program.ReadLine(), "READY 2");
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(5000), 0);
}

TEST(BoardSimProgram, BadCommandLinesAndFleetFilesExitWithUsageError) {
    EXPECT_EQ(CProgram({}).Wait(5000), 2);
    EXPECT_EQ(CProgram({"--demo", "--generate", "2"}).Wait(5000), 2);
    EXPECT_EQ(CProgram({"--generate", "0"}).Wait(5000), 2);
    EXPECT_EQ(CProgram({"/nonexistent/fleet.json"}).Wait(5000), 2);
    const std::string path = ::testing::TempDir() + "boardsim_bad_fleet.json";
    std::ofstream(path) << R"({"boards": [{"address": "127.9.9.9", "power": "sideways"}]})";
    EXPECT_EQ(CProgram({path}).Wait(5000), 2);
    std::remove(path.c_str());
}
