#include "settings/GeneralSetInfo.h"

#include <cerrno>
#include <cstdio>

#include <QStandardPaths>

#include "settings/ProfileStore.h"
#include "settings/Value.h"

CGeneralSetInfo::CGeneralSetInfo() { browserPath = DefaultBrowserPath(&m_browserPathError); }

std::string CGeneralSetInfo::DefaultBrowserPath(std::string* error) {
    std::string path = QStandardPaths::findExecutable(QStringLiteral("xdg-open")).toStdString();
    if (path.empty() && error) {
        char text[64];
        std::snprintf(text, sizeof text, "Error (SHGetFolderPath = %08x)", unsigned(ENOENT));
        *error = text;
    }
    return path;
}

int CGeneralSetInfo::Load() {
    CValue value;
    autoUpdateFlag = value.GetAutoUpdateFlag();
    autoUpdateInterval = value.GetAutoUpdateInterval();
    browserPath = value.GetBrowserPath();
    m_browserPathError.clear();
    if (browserPath.empty())
        browserPath = DefaultBrowserPath(&m_browserPathError);
    powerOnMoving = value.GetPowerOnMoving();
    nextPowerOnTime = value.GetNextPowerOnTime();
    return 0;
}

int CGeneralSetInfo::Save() {
    CValue value;
    CProfileBatch batch(value.Store());
    value.SetAutoUpdateFlag(autoUpdateFlag);
    value.SetAutoUpdateInterval(autoUpdateInterval);
    value.SetBrowserPath(browserPath);
    value.SetPowerOnMoving(powerOnMoving);
    value.SetNextPowerOnTime(nextPowerOnTime);
    return 0;
}
