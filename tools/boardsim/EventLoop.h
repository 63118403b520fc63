#pragma once
// A single-threaded event loop over epoll: level-triggered descriptor
// handlers, one-shot timers and tasks posted from other threads. Owned by
// CBoardSim; every handler and timer runs on the thread inside Run().
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <queue>
#include <unordered_map>
#include <vector>

class CEventLoop {
public:
    using Handler = std::function<void(std::uint32_t events)>;
    using Task = std::function<void()>;
    using TimerId = std::uint64_t;

    CEventLoop();
    ~CEventLoop();
    CEventLoop(const CEventLoop&) = delete;
    CEventLoop& operator=(const CEventLoop&) = delete;

    // False when the kernel objects could not be made (see errno).
    bool IsValid() const { return m_epoll >= 0 && m_wake >= 0; }

    // Loop thread only (or before Run). A handler may remove any descriptor,
    // its own included, while it runs.
    bool Add(int fd, std::uint32_t events, Handler handler);
    bool Modify(int fd, std::uint32_t events);
    void Remove(int fd);

    TimerId AddTimer(int ms, Task task);
    void CancelTimer(TimerId id);  // 0 and fired ids are ignored

    // Any thread: runs task on the loop thread after the current round.
    void Post(Task task);
    // Any thread: Run() returns after the current round.
    void Quit();

    // Runs until Quit(); tasks posted before Run() run first.
    void Run();
    // Runs the tasks posted so far (after Run() has returned, so none is lost).
    void RunPending() { RunPosted(); }

private:
    struct Watch {
        int fd;
        std::shared_ptr<Handler> handler;
    };
    struct Due {
        std::int64_t at;
        TimerId id;
        bool operator>(const Due& other) const { return at != other.at ? at > other.at : id > other.id; }
    };

    int NextWaitMs() const;
    void RunTimers();
    void RunPosted();
    void DrainWake();

    int m_epoll = -1;
    int m_wake = -1;  // eventfd that Post and Quit use to interrupt epoll_wait
    std::atomic<bool> m_quit{false};

    std::unordered_map<std::uint64_t, Watch> m_watches;  // by token
    std::unordered_map<int, std::uint64_t> m_tokens;     // fd -> token
    std::uint64_t m_nextToken = 1;

    std::priority_queue<Due, std::vector<Due>, std::greater<Due>> m_due;
    std::unordered_map<TimerId, Task> m_timers;
    TimerId m_nextTimer = 1;

    std::mutex m_postMutex;
    std::vector<Task> m_posted;
};
