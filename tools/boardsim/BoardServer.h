#pragma once
// The network side of a simulated fleet: for every board a listener on the
// information port and one on its command port, the connections the console
// opens, and one UDP socket that hears search datagrams and makes the boards
// connect back. Runs entirely on one CEventLoop thread; owned by CBoardSim.
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "BoardSimDefs.h"
#include "EventLoop.h"
#include "SimBoard.h"

struct SimConnection;
struct SimDelivery;

class CBoardServer {
public:
    // searchPort 0 takes any free port, -1 opens no search socket.
    CBoardServer(CEventLoop& loop, std::vector<std::unique_ptr<CSimBoard>> boards, int searchPort);
    ~CBoardServer();
    CBoardServer(const CBoardServer&) = delete;
    CBoardServer& operator=(const CBoardServer&) = delete;

    // Binds every listener and the search socket; false with the reason.
    bool Open(std::string& error);

    std::size_t BoardCount() const { return m_slots.size(); }
    CSimBoard* FindBoard(const std::string& address);
    std::vector<CSimBoard*> Boards();
    int SearchPort() const { return m_searchPort; }

    // Control operations (loop thread).
    int CloseConnections(const CSimBoard& board);
    int OpenConnections(const CSimBoard& board) const;
    bool IsCommandListening(const CSimBoard& board) const;
    // Brings the command listener in line with the board's port and refuse rule.
    bool UpdateCommandListener(CSimBoard& board, std::string& error);
    // Re-reads the idle-close rule for the board's open command connections.
    void RearmIdleTimers(const CSimBoard& board);

private:
    struct Slot {
        std::unique_ptr<CSimBoard> board;
        int infoFd = -1;
        int commandFd = -1;
        int commandPort = 0;  // the port commandFd is bound to
        std::vector<std::uint64_t> connections;
    };

    Slot* SlotOf(const CSimBoard& board);
    const Slot* SlotOf(const CSimBoard& board) const;
    bool Listen(Slot& slot, int port, bool info, std::string& error);
    void CloseCommandListener(Slot& slot);
    bool OpenSearchSocket(std::string& error);

    void OnAccept(std::size_t slotIndex, bool info);
    int AcceptOne(int listenFd, std::string& peer);
    SimConnection& AddConnection(int fd, std::size_t slotIndex, int kind, const std::string& peer);
    void StartCommandConnection(SimConnection& conn);
    void OnConnectionEvent(std::uint64_t id, std::uint32_t events);
    void OnConnectBackEvent(SimConnection& conn, std::uint32_t events);
    void ReadInput(SimConnection& conn);
    void ProcessInput(SimConnection& conn);
    bool TakeUnit(SimConnection& conn, char terminator, std::string& unit);
    void HandleInfoRequest(SimConnection& conn, const std::string& line);
    void HandleUser(SimConnection& conn, const std::string& line);
    void HandlePassword(SimConnection& conn, const std::string& line);
    void HandleCommand(SimConnection& conn, const std::string& command);
    bool DeliverFaultContent(SimConnection& conn, const FaultPlan& plan, char terminator);

    void Deliver(SimConnection& conn, SimDelivery delivery);
    void SendNextPiece(std::uint64_t id);
    void Write(SimConnection& conn, const std::string& bytes);
    void FlushOutput(SimConnection& conn);
    void CloseConnection(SimConnection& conn);
    SimConnection* Find(std::uint64_t id);
    void ArmIdleTimer(SimConnection& conn);
    void ArmLifeTimer(SimConnection& conn, int ms);
    std::string Garbage(int bytes, const std::string& avoid);

    void OnSearchDatagram();
    void AnswerSearch(std::uint32_t sender, int port, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& subnets);
    void ConnectBack(std::size_t slotIndex, std::uint32_t sender, int port);

    CEventLoop& m_loop;
    std::vector<Slot> m_slots;
    std::unordered_map<std::string, std::size_t> m_byAddress;
    std::unordered_map<std::uint64_t, std::unique_ptr<SimConnection>> m_connections;
    std::uint64_t m_nextConnection = 1;
    int m_searchFd = -1;
    int m_searchPort = 0;
    int m_spareFd = -1;  // given up to accept and drop a connection when descriptors run out
    bool m_warnedNoDescriptors = false;
    std::minstd_rand m_random{20240601};
};
