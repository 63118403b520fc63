#pragma once
// The workstation's IPv4 ARP table (complete entries only), sorted by address.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ArpEntry {
    std::uint32_t address = 0;  // host byte order, so sorting follows the dotted order
    std::array<std::uint8_t, 6> mac{};
};

// 0 on success, -1 when the table cannot be read.
int ReadArpTable(std::vector<ArpEntry>& out, const std::string& path = "/proc/net/arp");
// Parses the kernel's table text; malformed lines are skipped.
std::vector<ArpEntry> ParseArpTable(const std::string& text);
