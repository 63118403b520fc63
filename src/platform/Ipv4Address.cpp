#include "platform/Ipv4Address.h"

#include <arpa/inet.h>

bool IsIPv4Address(const std::string& text) {
    // The parser stops at a zero byte; what follows it would otherwise be
    // kept with the address and never match a board's.
    in_addr addr{};
    return text.find('\0') == std::string::npos && inet_pton(AF_INET, text.c_str(), &addr) == 1;
}
