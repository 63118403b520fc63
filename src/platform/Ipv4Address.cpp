#include "platform/Ipv4Address.h"

#include <arpa/inet.h>

bool IsIPv4Address(const std::string& text) {
    in_addr addr{};
    return inet_pton(AF_INET, text.c_str(), &addr) == 1;
}
