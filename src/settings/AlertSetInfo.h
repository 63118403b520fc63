#pragma once
// CAlertSetInfo: which error kinds raise an alert, and the error log switch
// and file. Owned by the main view; the alert settings dialog edits a copy.
#include <array>
#include <string>

#include "comm/ProjectorCodes.h"

class CAlertSetInfo {
public:
    CAlertSetInfo();
    virtual ~CAlertSetInfo() = default;

    int Load();
    int Save();

    // The documents folder joined with "Error.Log"; "" without that folder.
    static std::string DefaultErrorLogFile();

    // Indexed by ErrorKind: temperature, fan, filter cover, lamp,
    // communication, connection.
    std::array<int, ERROR_KIND_COUNT> alertStatus{1, 1, 1, 1, 1, 1};
    int errorLoging = 0;
    std::string errorLogFile;
};
