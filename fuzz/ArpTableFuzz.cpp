// The kernel's ARP table text, as the MAC look-up reads it after talking to a
// board: a heading, then address, type, flags, MAC, mask and device per line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <arpa/inet.h>

#include "FuzzSupport.h"
#include "platform/ArpTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<ArpEntry> entries = ParseArpTable(text);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        FuzzCheck(i == 0 || entries[i - 1].address <= entries[i].address, "the table is sorted by address");
        in_addr addr{htonl(entries[i].address)};
        char dotted[INET_ADDRSTRLEN] = {};
        FuzzCheck(inet_ntop(AF_INET, &addr, dotted, sizeof dotted) && text.find(dotted) != std::string::npos,
                  "an entry's address is written in the table");
    }
    return 0;
}
