#pragma once
// CCommSetInfo: the communication settings (automatic search, search port,
// the local port range of the sessions). Owned by the main view; the settings
// sheet edits a copy.

class CCommSetInfo {
public:
    virtual ~CCommSetInfo() = default;

    int Load();
    int Save();

    int autoSearchFlag = 1;
    int autoSearchInterval = 3;  // minutes
    int projectorSearchPort = 5006;
    int clientDataPortStart = 1025;
    int clientDataPortEnd = 65535;
};
