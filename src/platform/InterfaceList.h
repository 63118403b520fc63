#pragma once
// The local IPv4 interfaces as the platform reports them, in its order.
#include <string>
#include <vector>

constexpr int IFF_LOOPBACK_FLAG = 0x4;  // the loopback bit callers test

struct InterfaceEntry {
    int flags = 0;
    std::string address;
    std::string mask;
    std::string broadcast;
};

// 0 on success (also for no interfaces), -1 when the platform query fails.
int ReadInterfaceList(std::vector<InterfaceEntry>& out);
