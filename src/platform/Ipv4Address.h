#pragma once
// IsIPv4Address: whether a text is a dotted IPv4 address, four decimal
// numbers of 0..255 and nothing else.
#include <string>

bool IsIPv4Address(const std::string& text);
