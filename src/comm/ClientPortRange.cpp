#include "comm/ClientPortRange.h"

#include <algorithm>

void CClientPortRange::Set(int start, int end) {
    m_packed.store((std::int64_t(std::uint32_t(end)) << 32) | std::uint32_t(start));
}

int CClientPortRange::Next(int port) const {
    const std::int64_t packed = m_packed.load();
    const int start = static_cast<std::int32_t>(packed & 0xffffffff);
    const int end = static_cast<std::int32_t>(packed >> 32);
    const int lo = std::min(start, end);
    const int hi = std::max(start, end);
    if (lo == 0 && hi == 0)
        return 0;
    // Compared before adding: a hand-edited end of INT_MAX must not overflow.
    if (port >= lo && port < hi)
        return port + 1;
    return lo;
}
