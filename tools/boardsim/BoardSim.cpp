#include "BoardSim.h"

#include <future>

#include "BoardServer.h"
#include "EventLoop.h"
#include "SimControl.h"
#include "platform/FileLimit.h"

CBoardSim::CBoardSim(SimFleet fleet) : m_loop(std::make_unique<CEventLoop>()) {
    m_server = std::make_unique<CBoardServer>(*m_loop, std::move(fleet.boards), fleet.searchPort);
    m_control = std::make_unique<CSimControl>(*m_server);
}

CBoardSim::~CBoardSim() {
    Stop();
}

bool CBoardSim::RaiseFileLimit(std::string& error) {
    const long limit = RaiseOpenFileLimit();
    if (limit < 0)
        return true;  // unknown: let the listeners tell
    const long boards = static_cast<long>(m_server->BoardCount());
    const long least = boards * FDS_PER_BOARD_MIN + FDS_SPARE;
    const long connected = boards * FDS_PER_BOARD_CONNECTED + FDS_SPARE;
    if (limit < least) {
        error = "a fleet of " + std::to_string(boards) + " boards needs at least " + std::to_string(least) +
                " open files (two listeners per board), but this process may open only " + std::to_string(limit) +
                "; raise the hard limit (ulimit -Hn) or run fewer boards";
        return false;
    }
    if (limit < connected)
        m_fileLimitWarning = "the open-file limit " + std::to_string(limit) + " leaves no room for a " +
                             "command connection to every board (" + std::to_string(connected) + " needed)";
    return true;
}

bool CBoardSim::Open(std::string& error) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_open)
        return true;
    if (!m_loop->IsValid()) {
        error = "cannot make the event loop";
        return false;
    }
    if (!RaiseFileLimit(error) || !m_server->Open(error))
        return false;
    m_open = true;
    return true;
}

bool CBoardSim::Start(std::string& error) {
    if (!Open(error))
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_phase != Phase::Idle) {
        error = "the fleet was started before";
        return false;
    }
    m_phase = Phase::Running;
    m_thread = std::thread([this] {
        m_loop->Run();
        {
            std::lock_guard<std::mutex> threadLock(m_mutex);
            m_phase = Phase::Stopped;
        }
        // Control lines posted before the phase changed still get their answer.
        m_loop->RunPending();
    });
    return true;
}

void CBoardSim::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase == Phase::Idle)
            m_phase = Phase::Stopped;
    }
    m_loop->Quit();
    if (m_thread.joinable())
        m_thread.join();
}

bool CBoardSim::IsRunning() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_phase == Phase::Running;
}

std::string CBoardSim::ApplyOnLoop(const std::string& line) {
    std::string answer = m_control->Apply(line);
    if (m_control->QuitRequested()) {
        // Stopped from here on, so the caller sees it as soon as "OK quit" is back.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_phase = Phase::Stopped;
        m_loop->Quit();
    }
    return answer;
}

std::string CBoardSim::Apply(const std::string& line) {
    std::future<std::string> answer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase == Phase::Idle)
            return m_control->Apply(line);  // no loop thread yet: the caller is the only user
        if (m_phase == Phase::Stopped)
            return "ERROR the fleet has stopped";
        auto task = std::make_shared<std::packaged_task<std::string()>>([this, line] { return ApplyOnLoop(line); });
        answer = task->get_future();
        m_loop->Post([task] { (*task)(); });
    }
    return answer.get();
}

std::size_t CBoardSim::BoardCount() const {
    return m_server->BoardCount();
}

int CBoardSim::SearchPort() const {
    return m_server->SearchPort();
}
