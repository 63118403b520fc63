#include "platform/Clock.h"

#include "platform/TickCount.h"

namespace {

class CSystemClock : public IClock {
public:
    CDateTime Now() const override { return CDateTime::CurrentLocal(); }
    std::int64_t TickMs() const override { return TickCount(); }
};

}  // namespace

IClock& SystemClock() {
    static CSystemClock clock;
    return clock;
}

CFakeClock::CFakeClock(CDateTime start) : m_ms(start.Seconds() * 1000) {}

CDateTime CFakeClock::Now() const {
    return CDateTime::FromParts(1899, 12, 30).AddSeconds(m_ms.load() / 1000);
}

std::int64_t CFakeClock::TickMs() const { return m_ms.load(); }

void CFakeClock::Set(CDateTime now) { m_ms = now.Seconds() * 1000; }

void CFakeClock::AdvanceMs(std::int64_t ms) { m_ms += ms; }
