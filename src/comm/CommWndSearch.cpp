// The engine's projector search: the search port's number goes out as one UDP
// datagram to the directed broadcast address of every chosen local subnet,
// and a listener thread takes each board that connects back on that port
// until the search time is up.
#include "comm/CommWnd.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <system_error>

#include <sys/socket.h>

#include "comm/BroadcastSocket.h"
#include "comm/ServerSocket.h"
#include "comm/StreamSocket.h"
#include "settings/Value.h"

namespace {

// The listener waits for a connection in short steps and pauses between
// them, so the deadline is seen within about 100 ms; a stop request cuts the
// pause short.
constexpr int kAcceptWaitMs = 50;
constexpr int kPauseMs = 50;
constexpr int kHighestPort = 65535;
// One round of taking waiting boards stops after a full backlog's worth, so
// boards that keep arriving cannot hold off the deadline or a stop.
constexpr int kMostBoardsPerRound = SOMAXCONN;

}  // namespace

bool CCommWnd::IsSearchInterface(const CNetBoardInfo& info, const std::string& onlyAddress) {
    if (!onlyAddress.empty() && onlyAddress != info.address)
        return false;
    return !info.IsLoopback();
}

int CCommWnd::FailSearch(int reason, int socketError, const std::string& interfaceAddress) {
    m_searchFailure = {reason, socketError, interfaceAddress};
    return -1;
}

int CCommWnd::StartSearch() {
    m_searchFailure = {};
    if (IsSearching()) {
        bool ended = false;
        {
            CSingleLock lock(m_searchLock);
            ended = m_searchEnded != 0;
        }
        if (!ended)
            return FailSearch(SEARCH_FAIL_RUNNING, 0);
        m_searchThread.join();  // stopped with a time limit, or its report is still queued
    }
    if (m_listenSocket->IsOpen())
        return FailSearch(SEARCH_FAIL_RUNNING, 0);
    // An out-of-range port would be cut to 16 bits and search somewhere else.
    if (m_searchPort < 1 || m_searchPort > kHighestPort)
        return FailSearch(SEARCH_FAIL_PORT, 0);
    if (m_listenSocket->Bind(nullptr, m_searchPort, SOCKET_KIND_STREAM) != 0) {
        const int error = m_listenSocket->LastError();
        m_listenSocket->Close();
        return FailSearch(SEARCH_FAIL_LISTEN, error);
    }
    if (StartSearchListener() != 0) {
        m_listenSocket->Close();
        return FailSearch(SEARCH_FAIL_THREAD, 0);
    }
    return Broadcast(m_onlyBroadcastOverride ? *m_onlyBroadcastOverride : CValue().GetOnlyBroadcastBoardIP());
}

int CCommWnd::Broadcast(const std::string& onlyAddress) {
    CBroadcastSocket socket;
    int failed = socket.Create(SOCKET_KIND_DATAGRAM);
    std::string failedAddress;
    if (failed == 0) {
        const std::string payload = std::to_string(m_searchPort);
        for (int n = 0; const CNetBoardInfo* info = m_interfaces.GetAt(n); ++n) {
            if (!IsSearchInterface(*info, onlyAddress))
                continue;
            failed = socket.SendTo(m_searchPort, payload.data(), static_cast<int>(payload.size()),
                                   info->address.c_str(), info->mask.c_str());
            if (failed != 0) {
                failedAddress = info->address;
                break;
            }
        }
    }
    if (failed == 0)
        return 0;
    // The listener thread owns the listening socket by now, so it is asked
    // to close it; it then finds nothing more and still reports at its deadline.
    {
        CSingleLock lock(m_searchLock);
        m_searchClose = 1;
    }
    return FailSearch(SEARCH_FAIL_BROADCAST, socket.LastError(), failedAddress);
}

int CCommWnd::StartSearchListener() {
    if (m_searchThread.joinable())
        return -1;
    {
        CSingleLock lock(m_searchLock);
        m_searchStop = m_searchClose = m_searchEnded = 0;
    }
    ++m_searchSerial;
    // On the monotonic clock, so a change of the wall clock neither ends a
    // search early nor draws it out.
    m_searchDeadlineMs = m_clock->TickMs() + std::int64_t(std::max(m_searchSeconds, 0)) * 1000;
    try {
        m_searchThread = std::thread(&CCommWnd::SearchListenerThread, this);
    } catch (const std::system_error&) {
        CSingleLock lock(m_searchLock);
        m_searchEnded = 1;
        return -1;
    }
    return 0;
}

void CCommWnd::SearchListenerThread(CCommWnd* engine) { engine->RunSearchListener(); }

void CCommWnd::RunSearchListener() {
    // Both were set by StartSearch before this thread began and stay as they
    // are until it has been joined.
    const unsigned serial = m_searchSerial;
    const std::int64_t deadline = m_searchDeadlineMs;
    const auto reportDone = [this, serial] {
        PostMessage(WM_COMM_SEARCH_DONE, 0, static_cast<LPARAM>(serial));
    };
    CServerSocket& listener = *m_listenSocket;
    if (listener.SelectAccept() != 0) {
        listener.Close();
        reportDone();
        EndSearchListener();
        return;
    }
    for (;;) {
        int stop = 0;
        int close = 0;
        {
            CSingleLock lock(m_searchLock);
            stop = m_searchStop;
            close = m_searchClose;
        }
        if (stop)
            break;
        if (close)
            listener.Close();
        if (m_clock->TickMs() > deadline) {
            // A board whose connection was complete by the deadline answered
            // in time, even if it still waits to be taken.
            AcceptWaitingBoards(serial);
            reportDone();
            break;
        }
        if (listener.IsOpen() && listener.WaitEvent(kAcceptWaitMs) == WAIT_EVENT_OK && AcceptWaitingBoards(serial) > 0) {
            if (listener.SelectAccept() != 0) {
                reportDone();
                break;
            }
            continue;
        }
        PauseSearch(kPauseMs);
    }
    listener.Close();
    EndSearchListener();
}

int CCommWnd::AcceptWaitingBoards(unsigned serial) {
    // Boards answer together: take every one already waiting, each reported
    // at once, or a large fleet would still sit in the backlog at the
    // deadline. The listener is non-blocking, so the accept that finds none
    // ends the round, and each accepted socket is too, so closing it never
    // waits for a board that keeps its connection open.
    int taken = 0;
    while (taken < kMostBoardsPerRound && m_listenSocket->IsOpen()) {
        CStreamSocket board;
        std::string peer;
        if (m_listenSocket->Accept(board, peer) != 0)
            break;  // none waiting, or a board gave up before we took it: keep listening
        // The connection itself is the board's answer; nothing is exchanged on it.
        board.Close();
        PostOwnedMessage(this, WM_COMM_SEARCH_FOUND, std::make_unique<std::string>(peer), static_cast<LPARAM>(serial));
        ++taken;
    }
    return taken;
}

void CCommWnd::PauseSearch(int ms) {
    std::unique_lock lock(m_searchLock);
    m_searchChanged.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_searchStop != 0; });
}

void CCommWnd::EndSearchListener() {
    {
        CSingleLock lock(m_searchLock);
        m_searchEnded = 1;
    }
    m_searchChanged.notify_all();
}

int CCommWnd::StopSearch(int ms) {
    if (!m_searchThread.joinable())
        return 0;
    {
        std::unique_lock lock(m_searchLock);
        m_searchStop = 1;
        m_searchChanged.notify_all();
        if (ms > 0 && !m_searchChanged.wait_for(lock, std::chrono::milliseconds(ms),
                                                 [this] { return m_searchEnded != 0; }))
            return 1;
    }
    m_searchThread.join();
    return 0;
}

void CCommWnd::OnSearchFound(WPARAM text) {
    // Handed on to the view, which frees it; a board is worth reporting
    // whichever search it answered.
    PostOwnedMessage(parent(), WM_VIEW_SEARCH_FOUND, std::unique_ptr<std::string>(reinterpret_cast<std::string*>(text)));
}

void CCommWnd::OnSearchDone(LPARAM serial) {
    // A stopped search may have reported just before it was stopped; once a
    // newer search runs, that report is not about it.
    if (static_cast<unsigned>(serial) != m_searchSerial)
        return;
    if (m_searchThread.joinable())
        m_searchThread.join();  // the report is its last step but closing the socket
    PostToView(WM_VIEW_SEARCH_DONE, 0);
}
