#pragma once
// CGeneralSetInfo: the general settings (automatic update, browser, power-on
// spacing). Owned by the main view; the settings sheet edits a copy.
#include <string>

class CGeneralSetInfo {
public:
    CGeneralSetInfo();
    virtual ~CGeneralSetInfo() = default;

    int Load();
    int Save();

    // The xdg-open found on PATH; "" when there is none, and error then gets
    // the message the caller shows.
    static std::string DefaultBrowserPath(std::string* error = nullptr);
    // The message of the last failed default browser look-up, "" when none.
    const std::string& BrowserPathError() const { return m_browserPathError; }

    int autoUpdateFlag = 1;
    int autoUpdateInterval = 60;  // seconds
    std::string browserPath;
    int powerOnMoving = 1;
    int nextPowerOnTime = 3;  // seconds

private:
    std::string m_browserPathError;
};
