#pragma once
// CMailRecipientInfo: the five recipient entries, each an address with a tick
// for error mail and one for the periodic report. Part of CMailSetInfo.
#include <array>
#include <string>

constexpr int MAIL_RECIPIENT_COUNT = 5;

class CMailRecipient {
public:
    virtual ~CMailRecipient() = default;

    std::string address;  // without angle brackets
    int errorMail = 0;
    int periodicReport = 0;
};

class CMailRecipientInfo {
public:
    virtual ~CMailRecipientInfo() = default;

    // The stored values; missing ones keep the defaults. Both return 0.
    int Load();
    int Save();

    std::array<CMailRecipient, MAIL_RECIPIENT_COUNT> entries;
};
