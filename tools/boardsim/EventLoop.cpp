#include "EventLoop.h"

#include <algorithm>
#include <cerrno>

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/TickCount.h"

namespace {

constexpr std::uint64_t WAKE_TOKEN = 0;
constexpr int MAX_EVENTS = 256;

}  // namespace

CEventLoop::CEventLoop() {
    m_epoll = epoll_create1(EPOLL_CLOEXEC);
    m_wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_epoll >= 0 && m_wake >= 0) {
        epoll_event ev{};
        ev.events = EPOLLIN;
        ev.data.u64 = WAKE_TOKEN;
        epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_wake, &ev);
    }
}

CEventLoop::~CEventLoop() {
    if (m_wake >= 0)
        close(m_wake);
    if (m_epoll >= 0)
        close(m_epoll);
}

bool CEventLoop::Add(int fd, std::uint32_t events, Handler handler) {
    const std::uint64_t token = m_nextToken++;
    epoll_event ev{};
    ev.events = events;
    ev.data.u64 = token;
    if (epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &ev) != 0)
        return false;
    m_watches[token] = Watch{fd, std::make_shared<Handler>(std::move(handler))};
    m_tokens[fd] = token;
    return true;
}

bool CEventLoop::Modify(int fd, std::uint32_t events) {
    const auto it = m_tokens.find(fd);
    if (it == m_tokens.end())
        return false;
    epoll_event ev{};
    ev.events = events;
    ev.data.u64 = it->second;
    return epoll_ctl(m_epoll, EPOLL_CTL_MOD, fd, &ev) == 0;
}

void CEventLoop::Remove(int fd) {
    const auto it = m_tokens.find(fd);
    if (it == m_tokens.end())
        return;
    epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
    m_watches.erase(it->second);
    m_tokens.erase(it);
}

CEventLoop::TimerId CEventLoop::AddTimer(int ms, Task task) {
    const TimerId id = m_nextTimer++;
    m_timers[id] = std::move(task);
    m_due.push(Due{TickCount() + std::max(0, ms), id});
    return id;
}

void CEventLoop::CancelTimer(TimerId id) {
    // The queue entry stays and is skipped when it comes due.
    m_timers.erase(id);
}

void CEventLoop::Post(Task task) {
    {
        std::lock_guard<std::mutex> lock(m_postMutex);
        m_posted.push_back(std::move(task));
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(m_wake, &one, sizeof one);
}

void CEventLoop::Quit() {
    m_quit = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(m_wake, &one, sizeof one);
}

int CEventLoop::NextWaitMs() const {
    if (m_due.empty())
        return -1;
    const std::int64_t wait = m_due.top().at - TickCount();
    return static_cast<int>(std::clamp<std::int64_t>(wait, 0, 60000));
}

void CEventLoop::RunTimers() {
    const std::int64_t now = TickCount();
    while (!m_due.empty() && m_due.top().at <= now) {
        const TimerId id = m_due.top().id;
        m_due.pop();
        const auto it = m_timers.find(id);
        if (it == m_timers.end())
            continue;
        Task task = std::move(it->second);
        m_timers.erase(it);
        task();
    }
}

void CEventLoop::RunPosted() {
    std::vector<Task> tasks;
    {
        std::lock_guard<std::mutex> lock(m_postMutex);
        tasks.swap(m_posted);
    }
    for (Task& task : tasks)
        task();
}

void CEventLoop::DrainWake() {
    std::uint64_t count = 0;
    while (read(m_wake, &count, sizeof count) > 0) {
    }
}

void CEventLoop::Run() {
    epoll_event events[MAX_EVENTS];
    RunPosted();
    while (!m_quit) {
        const int n = epoll_wait(m_epoll, events, MAX_EVENTS, NextWaitMs());
        if (n < 0 && errno != EINTR)
            break;
        for (int i = 0; i < n; ++i) {
            if (events[i].data.u64 == WAKE_TOKEN) {
                DrainWake();
                continue;
            }
            const auto it = m_watches.find(events[i].data.u64);
            if (it == m_watches.end())
                continue;  // removed by an earlier handler of this round
            // Held here so the handler survives removing its own descriptor.
            const std::shared_ptr<Handler> handler = it->second.handler;
            (*handler)(events[i].events);
        }
        RunTimers();
        RunPosted();
    }
}
