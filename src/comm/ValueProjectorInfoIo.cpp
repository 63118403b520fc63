// The timed transport steps of a board session: every wait is cut into
// 100 ms slices between which the stop flag is read, so a stop request ends a
// step within about 200 ms whatever its time-out.
#include "comm/ValueProjectorInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include <arpa/inet.h>

#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "comm/StreamSocket.h"
#include "platform/ArpTable.h"
#include "platform/TickCount.h"
#include "platform/WinsockError.h"

namespace {

constexpr int kSliceMs = 100;
constexpr char kRefusalText[] = "Your IP";
constexpr int kRefusalLength = 7;

bool DeadlineReached(std::int64_t start, int timeoutMs) { return TickCount() - start >= timeoutMs; }

// A host that does not answer is a time-out, however the platform reports
// it: Linux gives up on a board without an ARP answer (or a route) with
// "unreachable" after about 3 s. No other local port can reach such a board,
// so it must end the connection step, not move it on to the next port.
bool IsUnansweredHost(int socketError) {
    return socketError == WSAETIMEDOUT || socketError == WSAEHOSTUNREACH || socketError == WSAEHOSTDOWN ||
           socketError == WSAENETUNREACH;
}

int ConnectFailure(int socketError) {
    if (IsUnansweredHost(socketError))
        return RC_TIMEOUT;
    if (socketError == WSAEADDRINUSE)
        return RC_ADDR_IN_USE;
    if (socketError == WSAECONNREFUSED)
        return RC_CONN_REFUSED;
    return RC_SOCKET_ERROR;
}

}  // namespace

int CValueProjectorInfo::WaitSliced(CStreamSocket* socket, int timeoutMs, int wantedResult) {
    const std::int64_t start = TickCount();
    while (!DeadlineReached(start, timeoutMs)) {
        int r = socket->WaitEvent(kSliceMs);
        if (r == wantedResult)
            return RC_OK;
        if (r < 0)
            return RC_SOCKET_ERROR;
        // A peer that has closed will never send the awaited data: waiting out
        // the whole time-out would only delay the same failure.
        if (r == WAIT_EVENT_NO_READ && socket->PeerClosed())
            return RC_SOCKET_ERROR;
        if (CheckStop() != RC_OK)
            return RC_STOPPED;
        if (r != WAIT_EVENT_TIMEOUT)
            SleepMs(kSliceMs);
    }
    return RC_TIMEOUT;
}

int CValueProjectorInfo::ConnectTimed(CStreamSocket* socket, const char* address, int port, int timeoutMs) {
    if (!socket)
        return RC_SOCKET_ERROR;
    if (socket->Connect(address, port) != 0)
        return IsUnansweredHost(socket->LastError()) ? RC_TIMEOUT : RC_SOCKET_ERROR;
    const std::int64_t start = TickCount();
    while (!DeadlineReached(start, timeoutMs)) {
        int r = socket->WaitEvent(kSliceMs);
        if (r == WAIT_EVENT_OK)
            return RC_OK;
        if (r < 0)
            return ConnectFailure(socket->LastError());
        if (CheckStop() != RC_OK)
            return RC_STOPPED;
        if (r != WAIT_EVENT_TIMEOUT)
            SleepMs(kSliceMs);
    }
    return RC_TIMEOUT;
}

int CValueProjectorInfo::ConnectFromRange(CStreamSocket* socket, int boardPort, int timeoutMs) {
    if (!socket)
        return RC_INVALID;
    std::string address;
    {
        CSingleLock lock(m_lock);
        if (m_record)
            address = m_record->ipAddress;
    }
    if (m_localPort == 0) {
        if (socket->Create(SOCKET_KIND_STREAM) != 0) {
            socket->Close();
            return RC_REFUSED;
        }
        int r = ConnectTimed(socket, address.c_str(), boardPort, timeoutMs);
        if (r == RC_OK)
            return RC_OK;
        socket->Close();
        return r == RC_TIMEOUT ? RC_TIMEOUT : RC_REFUSED;
    }
    // The walk through the range shares the step's time-out, so a board
    // whose every attempt fails slowly still ends the step within it.
    const int first = m_localPort;
    const std::int64_t start = TickCount();
    for (;;) {
        if (socket->Bind(nullptr, m_localPort, SOCKET_KIND_STREAM) == 0) {
            const int left = timeoutMs - static_cast<int>(TickCount() - start);
            int r = ConnectTimed(socket, address.c_str(), boardPort, std::max(left, 0));
            if (r == RC_OK)
                return RC_OK;
            if (r == RC_TIMEOUT || r == RC_CONN_REFUSED) {
                socket->Close();
                return r == RC_TIMEOUT ? RC_TIMEOUT : RC_REFUSED;
            }
        }
        socket->Close();
        AdvanceLocalPort();
        if (m_localPort == first || m_localPort == 0)
            return RC_REFUSED;
        if (CheckStop() != RC_OK)
            return RC_STOPPED;
        if (DeadlineReached(start, timeoutMs))
            return RC_TIMEOUT;
    }
}

int CValueProjectorInfo::SendTimed(CStreamSocket* socket, const char* data, int& length, int timeoutMs,
                                   bool waitWritable) {
    if (!socket || !data || length <= 0)
        return RC_INVALID;
    if (waitWritable) {
        if (socket->SelectWrite() != 0)
            return RC_SOCKET_ERROR;
        int r = WaitSliced(socket, timeoutMs, WAIT_EVENT_OK);
        if (r != RC_OK)
            return r;
    }
    int sent = socket->Send(data, length);
    if (sent < 0)
        return RC_SOCKET_ERROR;
    length = sent;
    return RC_OK;
}

int CValueProjectorInfo::ReceiveUntil(CStreamSocket* socket, char* buffer, int& length, char terminator,
                                      int timeoutMs) {
    const int capacity = length;
    if (!socket || !buffer || capacity < 1)
        return RC_INVALID;
    if (socket->SelectRead() != 0)
        return RC_SOCKET_ERROR;
    int r = WaitSliced(socket, timeoutMs, WAIT_EVENT_OK);
    if (r != RC_OK)
        return r;
    if (capacity <= 1)
        return RC_TIMEOUT;
    int total = 0;
    buffer[0] = '\0';
    const std::int64_t start = TickCount();
    while (!DeadlineReached(start, timeoutMs)) {
        int n = socket->Receive(buffer + total, capacity - 1 - total);
        if (n > 0) {
            total += n;
            buffer[total] = '\0';
            if (total >= kRefusalLength && std::memcmp(buffer, kRefusalText, kRefusalLength) == 0)
                return RC_REFUSED;
        } else {
            // The board completes a reply by pausing after the terminator:
            // only a read that finds nothing may end it.
            if (total > 0 && buffer[total - 1] == terminator) {
                length = total;
                return RC_OK;
            }
            // A closed peer will never send the terminator.
            if (n == 0 || (n < 0 && socket->LastError() != WSAEWOULDBLOCK))
                return RC_SOCKET_ERROR;
        }
        if (CheckStop() != RC_OK)
            return RC_STOPPED;
        SleepMs(1);
        if (total >= capacity - 1)
            return RC_TIMEOUT;
    }
    return RC_TIMEOUT;
}

std::string CValueProjectorInfo::LookUpMacAddress(const std::string& address) {
    std::vector<ArpEntry> table;
    if (ReadArpTable(table) != 0)
        return {};
    for (const ArpEntry& entry : table) {
        char text[16];
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", (entry.address >> 24) & 0xff, (entry.address >> 16) & 0xff,
                      (entry.address >> 8) & 0xff, entry.address & 0xff);
        if (address == text) {
            char mac[18];
            std::snprintf(mac, sizeof mac, "%02X:%02X:%02X:%02X:%02X:%02X", entry.mac[0], entry.mac[1],
                          entry.mac[2], entry.mac[3], entry.mac[4], entry.mac[5]);
            return mac;
        }
    }
    return {};
}
