#pragma once
// CMailOriginatorInfo: the mail server and the sender (address, display name,
// the free text that ends every body). Part of the view's CMailSetInfo.
#include <string>

class CMailOriginatorInfo {
public:
    virtual ~CMailOriginatorInfo() = default;

    // The stored values; missing ones keep the defaults. Both return 0.
    int Load();
    int Save();

    std::string server;
    std::string senderAddress;
    std::string senderName;
    std::string senderInfo;
};
