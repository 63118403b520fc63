#include "comm/NetBoardInfo.h"

#include <utility>

#include "platform/InterfaceList.h"

CNetBoardInfo::CNetBoardInfo(int f, std::string a, std::string m, std::string b)
    : flags(f), address(std::move(a)), mask(std::move(m)), broadcast(std::move(b)) {}

bool CNetBoardInfo::IsLoopback() const { return (flags & IFF_LOOPBACK_FLAG) != 0; }
