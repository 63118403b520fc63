#pragma once
// Automatic group names: the prefix (text 301) followed by a number from 1 to
// 999 in three digits ("グループ007"). The numbers in use are read from the
// captions of the named groups' tabs: wherever a caption holds the prefix,
// the digits after its first occurrence (none read as 0).
#include <string>
#include <vector>

constexpr int GROUP_NUMBER_MAX = 999;

std::string AutomaticGroupName(const std::string& prefix, int number);
// The largest number in use plus 1 (1 when none is); when that passes 999,
// LowestFreeGroupNumber. -1 when every number is taken.
int NextGroupNumber(const std::vector<std::string>& captions, const std::string& prefix);
// The smallest number of 1..999 not in use, or -1.
int LowestFreeGroupNumber(const std::vector<std::string>& captions, const std::string& prefix);
// name when no caption equals it; else the automatic name with the lowest
// free number, or "" when none is free.
std::string UniqueGroupName(const std::string& name, const std::vector<std::string>& captions,
                            const std::string& prefix);
