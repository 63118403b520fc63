#include "platform/InterfaceList.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace {

std::string Dotted(const sockaddr* sa) {
    if (!sa || sa->sa_family != AF_INET)
        return "0.0.0.0";
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, text, sizeof text);
    return text;
}

}  // namespace

int ReadInterfaceList(std::vector<InterfaceEntry>& out) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return -1;
    out.clear();
    for (ifaddrs* it = list; it; it = it->ifa_next) {
        if (!it->ifa_addr || it->ifa_addr->sa_family != AF_INET || !(it->ifa_flags & IFF_UP))
            continue;
        InterfaceEntry entry;
        // Only the loopback bit is read by the console; it must sit at 0x4.
        entry.flags = (it->ifa_flags & IFF_LOOPBACK) ? IFF_LOOPBACK_FLAG : 0;
        if (it->ifa_flags & IFF_BROADCAST)
            entry.flags |= 0x2;
        entry.address = Dotted(it->ifa_addr);
        entry.mask = Dotted(it->ifa_netmask);
        entry.broadcast = (it->ifa_flags & IFF_BROADCAST) ? Dotted(it->ifa_broadaddr) : "0.0.0.0";
        out.push_back(entry);
    }
    freeifaddrs(list);
    return 0;
}
