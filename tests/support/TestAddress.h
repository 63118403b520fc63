#pragma once
// Loopback addresses of this test process alone, so test processes running
// side by side never share a listener: a /24 picked from the process id in
// 127.128.0.0/9 (mail tests use single addresses in 127.64.0.0/10).
#include <string>

#include <unistd.h>

inline std::string TestLoopbackAddress(int host) {
    const unsigned pid = static_cast<unsigned>(getpid());
    return "127." + std::to_string(128 + ((pid >> 8) & 127)) + "." + std::to_string(pid & 255) + "." +
           std::to_string(host);
}
