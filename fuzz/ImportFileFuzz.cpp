// The address lists lumivexctl imports (and sends to or refreshes from): one
// IPv4 address per line, blank lines and "#" comments. Every address taken
// must be one the console can store and compare: the dotted form of an IPv4
// address, exactly.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include <arpa/inet.h>

#include "AddressFile.h"
#include "FuzzSupport.h"

namespace {

bool IsDottedAddress(const std::string& text) {
    in_addr addr{};
    char dotted[INET_ADDRSTRLEN] = {};
    return inet_pton(AF_INET, text.c_str(), &addr) == 1 && inet_ntop(AF_INET, &addr, dotted, sizeof dotted) &&
           text == dotted;
}

// Lines with something other than blanks before any "#".
std::size_t UsedLines(const std::string& text) {
    std::istringstream in(text);
    std::size_t used = 0;
    for (std::string line; std::getline(in, line);)
        used += line.substr(0, line.find('#')).find_first_not_of(" \t\r") != std::string::npos;
    return used;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    std::vector<std::string> addresses, errors;
    const bool ok = ReadAddressList(in, addresses, errors);
    FuzzCheck(ok == errors.empty(), "a list is taken only without a bad line");
    FuzzCheck(addresses.size() + errors.size() == UsedLines(text), "every used line is an address or an error");
    for (const std::string& address : addresses)
        FuzzCheck(IsDottedAddress(address), "an address taken is a dotted IPv4 address, exactly");
    return 0;
}
