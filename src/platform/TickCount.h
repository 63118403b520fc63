#pragma once
// The millisecond tick count: monotonic, so deadlines never wrap.
#include <cstdint>

std::int64_t TickCount();
// Sleeps the calling thread.
void SleepMs(int ms);
