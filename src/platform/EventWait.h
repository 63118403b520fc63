#pragma once
// Runs the calling thread's event loop until a condition holds, without
// spinning: the loop sleeps between events and the condition is looked at
// every few milliseconds. For command-line tools, benchmarks and tests; the
// console itself never waits like this.
#include <functional>

// True when done() held before ms passed (ms < 0: no limit) and before
// stop() (if given) held. The conditions are looked at every checkMs.
bool RunEventsUntil(const std::function<bool()>& done, int ms, const std::function<bool()>& stop = {},
                    int checkMs = 10);
