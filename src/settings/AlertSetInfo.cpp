#include "settings/AlertSetInfo.h"

#include <algorithm>
#include <vector>

#include <QStandardPaths>

#include "settings/ProfileStore.h"
#include "settings/TextTools.h"
#include "settings/Value.h"

CAlertSetInfo::CAlertSetInfo() : errorLogFile(DefaultErrorLogFile()) {}

std::string CAlertSetInfo::DefaultErrorLogFile() {
    std::string folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    return folder.empty() ? std::string() : AppendPath(folder, "Error.Log");
}

int CAlertSetInfo::Load() {
    CValue value;
    std::vector<int> flags(alertStatus.begin(), alertStatus.end());
    ParseFlagList(value.GetAlertStatus(), flags);
    std::copy(flags.begin(), flags.end(), alertStatus.begin());
    errorLoging = value.GetErrorLoging() != 0 ? 1 : 0;
    std::string file = value.GetErrorLogFile();
    if (!file.empty())
        errorLogFile = file;
    return 0;
}

int CAlertSetInfo::Save() {
    CValue value;
    CProfileBatch batch(value.Store());
    std::vector<int> flags;
    for (int flag : alertStatus)
        flags.push_back(flag != 0 ? 1 : 0);
    value.SetAlertStatus(JoinIntList(flags));
    value.SetErrorLoging(errorLoging != 0 ? 1 : 0);
    value.SetErrorLogFile(errorLogFile);
    return 0;
}
