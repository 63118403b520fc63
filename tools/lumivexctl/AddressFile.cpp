#include "AddressFile.h"

#include <fstream>

#include "BoardAccess.h"

bool ReadAddressFile(const std::string& path, std::vector<std::string>& addresses, std::vector<std::string>& errors) {
    std::ifstream file(path);
    if (!file) {
        errors.push_back("cannot read " + path);
        return false;
    }
    return ReadAddressList(file, addresses, errors);
}

bool ReadAddressList(std::istream& in, std::vector<std::string>& addresses, std::vector<std::string>& errors) {
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        size_t begin = line.find_first_not_of(" \t\r");
        if (begin == std::string::npos)
            continue;
        size_t end = line.find_last_not_of(" \t\r");
        std::string address = line.substr(begin, end - begin + 1);
        if (IsIPv4Address(address))
            addresses.push_back(address);
        else
            errors.push_back("line " + std::to_string(number) + ": not an IPv4 address: " + address);
    }
    return errors.empty();
}
