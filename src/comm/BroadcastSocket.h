#pragma once
// CBroadcastSocket: the UDP socket that sends the search datagram to a
// subnet's directed broadcast address. Made and closed by each search.
#include "comm/SocketEx.h"

class CBroadcastSocket : public CSocketEx {
public:
    ~CBroadcastSocket() override;

    int Bind(const char* address, int port, int kind) override;
    int Create(int kind) override;
    int Connect(const char* host, int port) override;
    int Receive(void* buffer, int size) override;
    int Send(const void* data, int length) override;
    int Close() override;

    // One datagram to (address AND mask) OR NOT mask, port; 255.255.255.255
    // when either text is missing. 0 when every byte went out.
    int SendTo(int port, const void* data, int length, const char* address, const char* mask);

    // The directed broadcast address of address/mask, or 255.255.255.255.
    static std::string BroadcastAddress(const char* address, const char* mask);
};
