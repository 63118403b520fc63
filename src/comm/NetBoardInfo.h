#pragma once
// CNetBoardInfo: one local IPv4 interface a projector search may broadcast on,
// as the platform reported it. Owned by the engine's CNetBoardInfoList.
#include <string>

class CNetBoardInfo {
public:
    CNetBoardInfo() = default;
    CNetBoardInfo(int flags, std::string address, std::string mask, std::string broadcast);
    virtual ~CNetBoardInfo() = default;

    bool IsLoopback() const;

    int flags = 0;
    std::string address;    // dotted IPv4
    std::string mask;       // dotted IPv4
    // As the platform reports it; the search works out the subnet's directed
    // broadcast address from address and mask instead.
    std::string broadcast;
};
