#include "platform/FileLimit.h"

#include <sys/resource.h>

namespace {

constexpr long kDescriptorsPerSession = 2;  // information and command connection
constexpr long kProgramReserve = 64;        // listeners, files, the event loop

}  // namespace

long RaiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return -1;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    return limit.rlim_cur == RLIM_INFINITY ? (1L << 30) : static_cast<long>(limit.rlim_cur);
}

long DescriptorsNeededFor(long sessions) { return sessions * kDescriptorsPerSession + kProgramReserve; }
