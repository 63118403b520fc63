#pragma once
// CMailErrorInfo: which error kinds (temperature, fan, filter cover, lamp,
// communication, connection) send an error mail. Part of CMailSetInfo.
#include <array>

constexpr int MAIL_ERROR_KIND_COUNT = 6;

class CMailErrorInfo {
public:
    virtual ~CMailErrorInfo() = default;

    // The stored values; missing ones keep the defaults. Both return 0.
    int Load();
    int Save();

    std::array<int, MAIL_ERROR_KIND_COUNT> flags{};
};
