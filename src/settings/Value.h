#pragma once
// CValue: the one way to the values of the profile store. It holds no data;
// make one on the stack where a value is needed. Every read goes to the store
// and a missing or unreadable value gives its default; every write reaches
// the store at once and reports nothing (failed writes are lost). Texts and
// lists come back unparsed. Section "Settings" holds the console's settings;
// "All" and "Group<n>" hold the projector list and the named groups.
#include <cstdint>
#include <string>

#include "settings/Binary.h"
#include "settings/WindowPlacement.h"

class CProfileStore;

class CValue {
public:
    CValue();  // the application's store
    explicit CValue(CProfileStore& store);

    // Column list.
    std::string GetViewInfoVisible() const;
    void SetViewInfoVisible(const std::string& value);
    std::string GetViewInfoWidth() const;
    void SetViewInfoWidth(const std::string& value);
    std::string GetViewInfoOrder() const;
    void SetViewInfoOrder(const std::string& value);
    int GetListSort() const;
    void SetListSort(int value);
    int GetListSortOrder() const;
    void SetListSortOrder(int value);

    // Groups and windows.
    int GetGroupCount() const;
    void SetGroupCount(int value);
    int GetSelectGroup() const;
    void SetSelectGroup(int value);
    // which: PLACEMENT_WINDOW or any other value for the controller. 0 when a
    // stored value of exactly 44 bytes was copied to out; else -1 with out
    // zeroed apart from its length field.
    int GetPlacement(int which, CWindowPlacement& out) const;
    void SetPlacement(int which, const CWindowPlacement& in);
    int GetControllerVisible() const;
    void SetControllerVisible(int value);

    // Communication.
    std::string GetOnlyBroadcastBoardIP() const;
    int GetAutoSearchFlag() const;
    void SetAutoSearchFlag(int value);
    int GetAutoSearchInterval() const;
    void SetAutoSearchInterval(int value);
    int GetProjectorSearchPort() const;
    void SetProjectorSearchPort(int value);
    int GetClientDataPortStart() const;
    void SetClientDataPortStart(int value);
    int GetClientDataPortEnd() const;
    void SetClientDataPortEnd(int value);
    int GetProjectorSearchSecond() const;

    // General.
    int GetAutoUpdateFlag() const;
    void SetAutoUpdateFlag(int value);
    int GetAutoUpdateInterval() const;
    void SetAutoUpdateInterval(int value);
    std::string GetBrowserPath() const;
    void SetBrowserPath(const std::string& value);
    int GetPowerOnMoving() const;
    void SetPowerOnMoving(int value);
    int GetNextPowerOnTime() const;
    void SetNextPowerOnTime(int value);
    int GetAutoUpdateSecondMinimum() const;
    void SetAutoUpdateSecondMinimum(int value);

    // Alerts and the error log.
    std::string GetAlertStatus() const;
    void SetAlertStatus(const std::string& value);
    int GetErrorLoging() const;
    void SetErrorLoging(int value);
    std::string GetErrorLogFile() const;
    void SetErrorLogFile(const std::string& value);

    // Mail.
    std::string GetMailSMTPServer() const;
    void SetMailSMTPServer(const std::string& value);
    std::string GetMailSenderName() const;
    void SetMailSenderName(const std::string& value);
    std::string GetMailFromAddress() const;
    void SetMailFromAddress(const std::string& value);
    std::string GetMailSenderAppendix() const;
    void SetMailSenderAppendix(const std::string& value);
    std::string GetMailErrorStatus() const;
    void SetMailErrorStatus(const std::string& value);
    std::string GetMailToAddress(int i) const;  // recipient i, 0..MAIL_RECIPIENTS-1
    void SetMailToAddress(int i, const std::string& value);
    std::string GetMailToStatus(int i) const;
    void SetMailToStatus(int i, const std::string& value);
    int GetMailPeriodicalKind() const;
    void SetMailPeriodicalKind(int value);
    std::string GetMailPeriodicalTime() const;
    void SetMailPeriodicalTime(const std::string& value);
    std::string GetMailPeriodicalDayStatus() const;
    void SetMailPeriodicalDayStatus(const std::string& value);
    int GetMailPeriodicalByWeek() const;
    void SetMailPeriodicalByWeek(int value);
    int GetMailPeriodicalByMonth() const;
    void SetMailPeriodicalByMonth(int value);

    // Group sections: n < 0 is the All group's section.
    static std::string GroupSectionName(int n);
    static std::string ProjectorValueName(int m);
    std::string GetGroupName(int n) const;
    void SetGroupName(int n, const std::string& value);
    int GetProjectorCount(int n) const;
    void SetProjectorCount(int n, int count);
    CBinary GetProjector(int n, int m) const;  // empty when missing
    void SetProjector(int n, int m, const CBinary& bytes);
    // Removes "All" and Group0 .. Group(GroupCount-1), then sets GroupCount
    // to 0; nothing when GroupCount is negative. Sections beyond the count
    // stay. One atomic change of the file.
    void DeleteGroupSections();
    // One past the highest n of an existing "Group<n>" section, and one past
    // the highest m of an existing "Projector<m>" value of section n: loads
    // stop there, whatever count a damaged store claims.
    int StoredGroupLimit() const;
    int StoredProjectorLimit(int n) const;

    CBinary GetBinary(const std::string& section, const std::string& name) const;
    void WriteBinary(const std::string& section, const std::string& name, const CBinary& bytes);

    // Whether value name of section "Settings" is in the store at all (its
    // reader gives the default either way).
    bool IsStored(const char* name) const;

    CProfileStore& Store() const { return m_store; }

private:
    int GetInt(const char* name, int fallback) const;
    void SetInt(const char* name, int value);
    std::string GetText(const char* name, const char* fallback) const;
    void SetText(const char* name, const std::string& value);

    CProfileStore& m_store;
};
