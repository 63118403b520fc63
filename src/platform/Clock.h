#pragma once
// The source of "now" for time-driven logic (engine timer, power-on spacing,
// report schedule). Production code uses SystemClock(); tests inject a
// CFakeClock and move it forward instead of waiting.
#include <atomic>
#include <cstdint>

#include "platform/DateTime.h"

class IClock {
public:
    virtual ~IClock() = default;
    virtual CDateTime Now() const = 0;        // local date-time
    virtual std::int64_t TickMs() const = 0;  // monotonic milliseconds
};

IClock& SystemClock();

class CFakeClock : public IClock {
public:
    explicit CFakeClock(CDateTime start = CDateTime::FromParts(2026, 1, 1));
    CDateTime Now() const override;
    std::int64_t TickMs() const override;
    void Set(CDateTime now);
    void AdvanceMs(std::int64_t ms);

private:
    std::atomic<std::int64_t> m_ms;  // milliseconds since 1899-12-30
};
