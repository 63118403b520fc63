#include "platform/ArpTable.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <arpa/inet.h>

namespace {

constexpr unsigned ATF_COMPLETE_FLAG = 0x2;

bool ParseMac(const std::string& text, std::array<std::uint8_t, 6>& mac) {
    unsigned b[6];
    char tail = 0;
    if (std::sscanf(text.c_str(), "%2x:%2x:%2x:%2x:%2x:%2x%c", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5],
                    &tail) != 6)
        return false;
    for (int i = 0; i < 6; ++i)
        mac[i] = static_cast<std::uint8_t>(b[i]);
    return true;
}

}  // namespace

std::vector<ArpEntry> ParseArpTable(const std::string& text) {
    std::vector<ArpEntry> entries;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);  // column headings
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string ip, type, flags, mac;
        if (!(fields >> ip >> type >> flags >> mac))
            continue;
        unsigned long flagBits = std::strtoul(flags.c_str(), nullptr, 16);
        in_addr addr{};
        ArpEntry entry;
        if (!(flagBits & ATF_COMPLETE_FLAG) || inet_pton(AF_INET, ip.c_str(), &addr) != 1 ||
            !ParseMac(mac, entry.mac))
            continue;
        entry.address = ntohl(addr.s_addr);
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const ArpEntry& a, const ArpEntry& b) { return a.address < b.address; });
    return entries;
}

int ReadArpTable(std::vector<ArpEntry>& out, const std::string& path) {
    std::ifstream file(path);
    if (!file)
        return -1;
    std::stringstream text;
    text << file.rdbuf();
    out = ParseArpTable(text.str());
    return 0;
}
