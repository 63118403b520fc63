#pragma once
// CServerSocket: the listening TCP socket of the search; accepts boards that
// connect back. Owned by the engine, used by the search listener thread.
#include <string>

#include "comm/StreamSocket.h"

class CServerSocket : public CStreamSocket {
public:
    int Bind(const char* address, int port, int kind) override;
    int Connect(const char* host, int port) override;
    int SelectAccept();
    // Accepts one connection into target; peerAddress receives its dotted address.
    int Accept(CSocketEx& target, std::string& peerAddress);
};
