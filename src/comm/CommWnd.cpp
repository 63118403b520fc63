#include "comm/CommWnd.h"

#include <algorithm>

CCommWnd::CCommWnd(QObject* parent) : CMsgWnd(parent) {}

CCommWnd::~CCommWnd() = default;

void CCommWnd::SetPortRange(int start, int end) {
    std::int64_t packed = (std::int64_t(std::uint32_t(end)) << 32) | std::uint32_t(start);
    m_portRange.store(packed);
}

int CCommWnd::NextLocalPort(int port) const {
    std::int64_t packed = m_portRange.load();
    int start = static_cast<std::int32_t>(packed & 0xffffffff);
    int end = static_cast<std::int32_t>(packed >> 32);
    int lo = std::min(start, end);
    int hi = std::max(start, end);
    if (lo == 0 && hi == 0)
        return 0;
    if (port >= lo && port <= hi && port + 1 <= hi)
        return port + 1;
    return lo;
}
