#pragma once
// A running fleet of simulated projector network boards: the in-process API
// that tests and the lumivex-boardsim program use. Open() binds every
// listener, Start() runs the fleet on its own thread, Apply() carries out
// control lines from any thread, Stop() (or the destructor) ends it. Owns the
// event loop, the boards and their sockets.
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "FleetFile.h"

class CEventLoop;
class CBoardServer;
class CSimControl;

class CBoardSim {
public:
    explicit CBoardSim(SimFleet fleet);
    ~CBoardSim();
    CBoardSim(const CBoardSim&) = delete;
    CBoardSim& operator=(const CBoardSim&) = delete;

    // Raises the open-file limit as far as allowed and binds every listener
    // and the search socket. False with a reason when the fleet cannot fit
    // or a socket cannot bind.
    bool Open(std::string& error);
    // Opens (when not yet open) and runs the fleet on its own thread.
    bool Start(std::string& error);
    // Ends the thread and closes every socket; safe to call twice.
    void Stop();
    // True from Start() until Stop() or a "quit" line.
    bool IsRunning() const;

    // Thread-safe: one control line, one answer line (see CSimControl). Before
    // Start() it runs on the calling thread; after the fleet stopped it fails.
    std::string Apply(const std::string& line);

    std::size_t BoardCount() const;
    int SearchPort() const;  // the bound port once open (-1 without a search socket)
    // Not empty when the open-file limit leaves no room for one command
    // connection per board (the fleet still runs).
    const std::string& FileLimitWarning() const { return m_fileLimitWarning; }

private:
    enum class Phase { Idle, Running, Stopped };
    bool RaiseFileLimit(std::string& error);
    std::string ApplyOnLoop(const std::string& line);

    std::unique_ptr<CEventLoop> m_loop;
    std::unique_ptr<CBoardServer> m_server;
    std::unique_ptr<CSimControl> m_control;
    std::thread m_thread;
    mutable std::mutex m_mutex;  // guards m_phase and direct Apply before Start
    Phase m_phase = Phase::Idle;
    bool m_open = false;
    std::string m_fileLimitWarning;
};
