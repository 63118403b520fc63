#pragma once
// Address lists for lumivexctl: one IPv4 address per line, blank lines and
// "#" comments allowed.
#include <istream>
#include <string>
#include <vector>

// Reads path into addresses; each bad line adds "line N: ..." to errors.
// False when the file cannot be read or any line is bad.
bool ReadAddressFile(const std::string& path, std::vector<std::string>& addresses, std::vector<std::string>& errors);
// The same for the lines of an open stream.
bool ReadAddressList(std::istream& in, std::vector<std::string>& addresses, std::vector<std::string>& errors);
