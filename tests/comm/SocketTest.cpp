// The socket layer and the timed transport steps over loopback.
#include <chrono>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "ScriptedPeer.h"
#include "comm/BroadcastSocket.h"
#include "comm/CommDefs.h"
#include "comm/DirectSession.h"
#include "comm/ProjectorInfo.h"
#include "comm/ServerSocket.h"
#include "comm/StreamSocket.h"
#include "comm/ValueProjectorInfo.h"
#include "platform/TickCount.h"
#include "platform/WinsockError.h"

namespace {

// A session aimed at 127.0.0.1 with a timed step's view of the world.
std::unique_ptr<CDirectSession> LoopbackSession(int portStart = 0, int portEnd = 0) {
    CProjectorInfo record;
    record.ipAddress = "127.0.0.1";
    return std::make_unique<CDirectSession>(record, portStart, portEnd);
}

int ClosedLoopbackPort() {
    CServerSocket probe;
    probe.Bind("127.0.0.1", 0, SOCKET_KIND_STREAM);
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    ::getsockname(probe.Handle(), reinterpret_cast<sockaddr*>(&addr), &len);
    return ntohs(addr.sin_port);  // closed again when probe goes
}

}  // namespace

TEST(SocketLayer, CreateTwiceFailsAndCloseIsIdempotent) {
    CSocketEx socket;
    EXPECT_EQ(socket.Close(), 0);
    ASSERT_EQ(socket.Create(SOCKET_KIND_STREAM), 0);
    EXPECT_EQ(socket.Create(SOCKET_KIND_STREAM), -1);
    EXPECT_TRUE(socket.IsOpen());
    EXPECT_EQ(socket.Close(), 0);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_EQ(socket.Close(), 0);
    EXPECT_EQ(socket.Attach(-1), -1);
}

TEST(SocketLayer, StreamConnectNeedsAFreshSocket) {
    CStreamSocket socket;
    EXPECT_EQ(socket.WaitEvent(10), WAIT_EVENT_NOT_ARMED);
    ASSERT_EQ(socket.Create(SOCKET_KIND_STREAM), 0);
    EXPECT_EQ(socket.IsBlocking(), 0);
    ASSERT_EQ(socket.SelectRead(), 0);
    EXPECT_EQ(socket.Connect("127.0.0.1", 9), -1);
    socket.Close();
    ASSERT_EQ(socket.Create(SOCKET_KIND_STREAM), 0);
    EXPECT_EQ(socket.WaitMode(), WAIT_NONE);
    EXPECT_EQ(socket.WaitEvent(10), WAIT_EVENT_NOT_ARMED);
}

TEST(SocketLayer, WaitZeroUsesTheDefaultWait) {
    ScriptedPeer peer([](int) {});
    CStreamSocket socket;
    ASSERT_EQ(socket.Create(SOCKET_KIND_STREAM), 0);
    ASSERT_EQ(socket.Connect("127.0.0.1", peer.Port()), 0);
    ASSERT_EQ(socket.WaitEvent(2000), WAIT_EVENT_OK);
    socket.SetDefaultTimeout(150);
    ASSERT_EQ(socket.SelectRead(), 0);
    auto start = TickCount();
    EXPECT_EQ(socket.WaitEvent(0), WAIT_EVENT_TIMEOUT);
    EXPECT_GE(TickCount() - start, 140);
}

TEST(SocketLayer, ReadModeSeesAPeerCloseAsNoRead) {
    ScriptedPeer peer([](int fd) { ::shutdown(fd, SHUT_WR); });
    CStreamSocket socket;
    ASSERT_EQ(socket.Create(SOCKET_KIND_STREAM), 0);
    ASSERT_EQ(socket.Connect("127.0.0.1", peer.Port()), 0);
    ASSERT_EQ(socket.WaitEvent(2000), WAIT_EVENT_OK);
    ASSERT_EQ(socket.SelectRead(), 0);
    int r = WAIT_EVENT_TIMEOUT;
    for (int i = 0; i < 50 && r == WAIT_EVENT_TIMEOUT; ++i)
        r = socket.WaitEvent(100);
    EXPECT_EQ(r, WAIT_EVENT_NO_READ);
    ASSERT_EQ(socket.SelectClose(), 0);
    EXPECT_EQ(socket.WaitEvent(100), WAIT_EVENT_OK);
}

TEST(SocketLayer, ConnectRefusedCarriesItsErrorNumber) {
    int port = ClosedLoopbackPort();
    CStreamSocket socket;
    ASSERT_EQ(socket.Create(SOCKET_KIND_STREAM), 0);
    ASSERT_EQ(socket.Connect("127.0.0.1", port), 0);
    EXPECT_EQ(socket.WaitEvent(2000), WAIT_EVENT_ERROR);
    EXPECT_EQ(socket.LastError(), WSAECONNREFUSED);
}

TEST(SocketLayer, UnresolvableNameFailsToConnect) {
    CStreamSocket socket;
    ASSERT_EQ(socket.Create(SOCKET_KIND_STREAM), 0);
    EXPECT_EQ(socket.Connect("no-such-host.invalid", 80), -1);
    EXPECT_EQ(socket.Connect(nullptr, 80), -1);
}

TEST(SocketLayer, AcceptGivesThePeerAddressAndTheListenersMode) {
    CServerSocket server;
    ASSERT_EQ(server.Bind("127.0.0.1", 0, SOCKET_KIND_STREAM), 0);
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    ::getsockname(server.Handle(), reinterpret_cast<sockaddr*>(&addr), &len);
    EXPECT_EQ(server.Connect("127.0.0.1", 1), -1);
    ASSERT_EQ(server.SelectAccept(), 0);
    CStreamSocket client;
    ASSERT_EQ(client.Create(SOCKET_KIND_STREAM), 0);
    ASSERT_EQ(client.Connect("127.0.0.1", ntohs(addr.sin_port)), 0);
    ASSERT_EQ(server.WaitEvent(2000), WAIT_EVENT_OK);
    CStreamSocket accepted;
    std::string peer;
    ASSERT_EQ(server.Accept(accepted, peer), 0);
    EXPECT_EQ(peer, "127.0.0.1");
    EXPECT_TRUE(accepted.IsOpen());
    // Non-blocking and event-driven like its listener, so closing it never
    // waits for a peer that keeps the connection open.
    EXPECT_EQ(accepted.IsBlocking(), 0);
    EXPECT_TRUE(accepted.HasEvent());
}

TEST(SocketLayer, BroadcastSocketOnlySendsDatagrams) {
    CBroadcastSocket socket;
    char byte = 0;
    EXPECT_EQ(socket.SendTo(5006, "5006", 4, nullptr, nullptr), -1);  // closed
    ASSERT_EQ(socket.Create(SOCKET_KIND_STREAM), 0);
    EXPECT_EQ(socket.Receive(&byte, 1), -1);
    EXPECT_EQ(socket.Send(&byte, 1), -1);
    EXPECT_EQ(socket.Connect("127.0.0.1", 1), -1);
    EXPECT_EQ(socket.SendTo(5006, nullptr, 4, nullptr, nullptr), -1);
    EXPECT_EQ(socket.SendTo(5006, "5006", 0, nullptr, nullptr), -1);
    EXPECT_EQ(CBroadcastSocket::BroadcastAddress("192.168.1.20", "255.255.255.0"), "192.168.1.255");
    EXPECT_EQ(CBroadcastSocket::BroadcastAddress("10.1.2.3", "255.255.0.0"), "10.1.255.255");
    EXPECT_EQ(CBroadcastSocket::BroadcastAddress("192.168.1.20", nullptr), "255.255.255.255");
    EXPECT_EQ(CBroadcastSocket::BroadcastAddress(nullptr, "255.255.255.0"), "255.255.255.255");
    EXPECT_EQ(socket.Close(), 0);
}

TEST(TimedIo, ConnectMapsRefusalAndStartsFromTheRange) {
    auto s = LoopbackSession();
    int port = ClosedLoopbackPort();
    CStreamSocket socket;
    ASSERT_EQ(socket.Create(SOCKET_KIND_STREAM), 0);
    EXPECT_EQ(s->Session().ConnectTimed(&socket, "127.0.0.1", port, 2000), RC_CONN_REFUSED);
    EXPECT_EQ(s->Session().ConnectTimed(nullptr, "127.0.0.1", port, 2000), RC_SOCKET_ERROR);
    // Without a range a refusal is RC_REFUSED and the socket is closed.
    EXPECT_EQ(s->Session().ConnectFromRange(&socket, port, 2000), RC_REFUSED);
    EXPECT_FALSE(socket.IsOpen());
}

TEST(TimedIo, EveryPortOfTheRangeTriedOnceThenRefused) {
    // Hold the range's ports so every bind fails.
    CSocketEx holders[3];
    int base = 0;
    for (int attempt = 0; attempt < 20 && !base; ++attempt) {
        int candidate = 40000 + attempt * 10;
        bool ok = true;
        for (int i = 0; i < 3 && ok; ++i) {
            holders[i].Close();
            ok = holders[i].Create(SOCKET_KIND_STREAM) == 0;
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_port = htons(static_cast<uint16_t>(candidate + i));
            ok = ok && ::bind(holders[i].Handle(), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                 ::listen(holders[i].Handle(), 1) == 0;
        }
        if (ok)
            base = candidate;
    }
    ASSERT_NE(base, 0);
    auto s = LoopbackSession(base, base + 2);
    s->Session().AdvanceLocalPort();
    EXPECT_EQ(s->Session().LocalPort(), base);
    ScriptedPeer peer([](int) {});
    CStreamSocket socket;
    EXPECT_EQ(s->Session().ConnectFromRange(&socket, peer.Port(), 2000), RC_REFUSED);
    EXPECT_FALSE(socket.IsOpen());
}

TEST(TimedIo, ReceiveUntilWaitsForThePauseAfterTheTerminator) {
    ScriptedPeer peer([](int fd) {
        ScriptedPeer::SendText(fd, "12");
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ScriptedPeer::SendText(fd, "34\rtail");  // bytes after the terminator stay in the reply
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ScriptedPeer::SendText(fd, "\r");
    });
    auto s = LoopbackSession();
    CStreamSocket socket;
    ASSERT_EQ(s->Session().ConnectFromRange(&socket, peer.Port(), 2000), RC_OK);
    char buffer[64];
    int length = sizeof buffer;
    ASSERT_EQ(s->Session().ReceiveUntil(&socket, buffer, length, '\r', 3000), RC_OK);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(length)), "1234\rtail\r");
}

TEST(TimedIo, RefusalTextEndsAnyReceive) {
    ScriptedPeer peer([](int fd) { ScriptedPeer::SendText(fd, "Your IP is not allowed"); });
    auto s = LoopbackSession();
    CStreamSocket socket;
    ASSERT_EQ(s->Session().ConnectFromRange(&socket, peer.Port(), 2000), RC_OK);
    char buffer[64];
    int length = sizeof buffer;
    EXPECT_EQ(s->Session().ReceiveUntil(&socket, buffer, length, '\n', 3000), RC_REFUSED);
}

TEST(TimedIo, FullBufferWithoutTerminatorIsATimeout) {
    ScriptedPeer peer([](int fd) { ScriptedPeer::SendText(fd, std::string(100, 'x')); });
    auto s = LoopbackSession();
    CStreamSocket socket;
    ASSERT_EQ(s->Session().ConnectFromRange(&socket, peer.Port(), 2000), RC_OK);
    char buffer[16];
    int length = sizeof buffer;
    EXPECT_EQ(s->Session().ReceiveUntil(&socket, buffer, length, '\r', 3000), RC_TIMEOUT);
    length = 1;
    EXPECT_EQ(s->Session().ReceiveUntil(nullptr, buffer, length, '\r', 3000), RC_INVALID);
}

TEST(TimedIo, PeerClosingMidReplyFailsAtOnce) {
    ScriptedPeer peer([](int fd) {
        ScriptedPeer::SendText(fd, "12");
        ::shutdown(fd, SHUT_WR);
    });
    auto s = LoopbackSession();
    CStreamSocket socket;
    ASSERT_EQ(s->Session().ConnectFromRange(&socket, peer.Port(), 2000), RC_OK);
    char buffer[64];
    int length = sizeof buffer;
    auto start = TickCount();
    EXPECT_EQ(s->Session().ReceiveUntil(&socket, buffer, length, '\r', 30000), RC_SOCKET_ERROR);
    EXPECT_LT(TickCount() - start, 5000);
}

TEST(TimedIo, StopRequestEndsAWaitWithinAboutTwoHundredMs) {
    ScriptedPeer peer([](int) {});  // never answers
    auto s = LoopbackSession();
    CStreamSocket socket;
    ASSERT_EQ(s->Session().ConnectFromRange(&socket, peer.Port(), 2000), RC_OK);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        s->Session().SetStopFlag(1);
    });
    char buffer[64];
    int length = sizeof buffer;
    auto start = TickCount();
    EXPECT_EQ(s->Session().ReceiveUntil(&socket, buffer, length, '\r', 30000), RC_STOPPED);
    auto elapsed = TickCount() - start;
    stopper.join();
    EXPECT_LT(elapsed, 300 + 250);
}

TEST(TimedIo, SendTimedChecksItsArguments) {
    auto s = LoopbackSession();
    CStreamSocket socket;
    int length = 0;
    EXPECT_EQ(s->Session().SendTimed(&socket, "x", length, 100, false), RC_INVALID);
    length = 1;
    EXPECT_EQ(s->Session().SendTimed(nullptr, "x", length, 100, false), RC_INVALID);
    EXPECT_EQ(s->Session().SendTimed(&socket, "x", length, 100, false), RC_SOCKET_ERROR);  // not open
}

TEST(MacLookUp, ExactDottedFormOnly) {
    EXPECT_EQ(CValueProjectorInfo::LookUpMacAddress("203.0.113.254"), "");
}
