#include "settings/Value.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "settings/ProfileStore.h"
#include "settings/SettingsDefs.h"
#include "settings/TextTools.h"

namespace {

constexpr const char* kSettings = "Settings";
constexpr const char* kGroupPrefix = "Group";
constexpr const char* kProjectorPrefix = "Projector";

// n when name is prefix followed by n in plain decimal (as the writers make
// it), else -1.
int IndexAfterPrefix(const std::string& name, const char* prefix) {
    std::size_t n = std::strlen(prefix);
    if (name.compare(0, n, prefix) != 0)
        return -1;
    std::string digits = name.substr(n);
    if (!IsAllDigits(digits) || digits.size() > 9 || (digits.size() > 1 && digits[0] == '0'))
        return -1;
    return std::stoi(digits);
}

std::string Numbered(const char* prefix, int i) { return prefix + std::to_string(i); }

}  // namespace

CValue::CValue() : m_store(CurrentProfile()) {}

CValue::CValue(CProfileStore& store) : m_store(store) {}

int CValue::GetInt(const char* name, int fallback) const {
    std::int32_t value = fallback;
    return m_store.ReadInt(kSettings, name, value) ? value : fallback;
}

void CValue::SetInt(const char* name, int value) { m_store.WriteInt(kSettings, name, value); }

std::string CValue::GetText(const char* name, const char* fallback) const {
    std::string value;
    return m_store.ReadText(kSettings, name, value) ? value : fallback;
}

void CValue::SetText(const char* name, const std::string& value) { m_store.WriteText(kSettings, name, value); }

bool CValue::IsStored(const char* name) const {
    const std::vector<std::string> names = m_store.ValueNames(kSettings);
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string CValue::GetViewInfoVisible() const { return GetText("ViewInfoVisible", "11111111111"); }
void CValue::SetViewInfoVisible(const std::string& value) { SetText("ViewInfoVisible", value); }
std::string CValue::GetViewInfoWidth() const { return GetText("ViewInfoWidth", "98,96,104,111,84,71,110,109,47,73,78"); }
void CValue::SetViewInfoWidth(const std::string& value) { SetText("ViewInfoWidth", value); }
std::string CValue::GetViewInfoOrder() const { return GetText("ViewInfoOrder", "0,1,2,3,4,5,6,7,8,9,10"); }
void CValue::SetViewInfoOrder(const std::string& value) { SetText("ViewInfoOrder", value); }
int CValue::GetListSort() const { return GetInt("ListSort", 0); }
void CValue::SetListSort(int value) { SetInt("ListSort", value); }
int CValue::GetListSortOrder() const { return GetInt("ListSortOrder", 0); }
void CValue::SetListSortOrder(int value) { SetInt("ListSortOrder", value); }

int CValue::GetGroupCount() const { return GetInt("GroupCount", 0); }
void CValue::SetGroupCount(int value) { SetInt("GroupCount", value); }
int CValue::GetSelectGroup() const { return GetInt("SelectGroup", 0); }
void CValue::SetSelectGroup(int value) { SetInt("SelectGroup", value); }

int CValue::GetPlacement(int which, CWindowPlacement& out) const {
    out = CWindowPlacement();
    CBinary bytes = GetBinary(kSettings, which == PLACEMENT_WINDOW ? "WindowPos" : "ControllerPos");
    return out.FromBinary(bytes) ? 0 : -1;
}

void CValue::SetPlacement(int which, const CWindowPlacement& in) {
    WriteBinary(kSettings, which == PLACEMENT_WINDOW ? "WindowPos" : "ControllerPos", in.ToBinary());
}

int CValue::GetControllerVisible() const { return GetInt("ControllerVisible", 0); }
void CValue::SetControllerVisible(int value) { SetInt("ControllerVisible", value); }

std::string CValue::GetOnlyBroadcastBoardIP() const { return GetText("OnlyBroadcastBoardIP", ""); }
int CValue::GetAutoSearchFlag() const { return GetInt("AutoSearchFlag", 1); }
void CValue::SetAutoSearchFlag(int value) { SetInt("AutoSearchFlag", value); }
int CValue::GetAutoSearchInterval() const { return GetInt("AutoSearchInterval", 3); }
void CValue::SetAutoSearchInterval(int value) { SetInt("AutoSearchInterval", value); }
int CValue::GetProjectorSearchPort() const { return GetInt("ProjectorSearchPort", 5006); }
void CValue::SetProjectorSearchPort(int value) { SetInt("ProjectorSearchPort", value); }
int CValue::GetClientDataPortStart() const { return GetInt("ClientDataPortStart", 1025); }
void CValue::SetClientDataPortStart(int value) { SetInt("ClientDataPortStart", value); }
int CValue::GetClientDataPortEnd() const { return GetInt("ClientDataPortEnd", 65535); }
void CValue::SetClientDataPortEnd(int value) { SetInt("ClientDataPortEnd", value); }
int CValue::GetProjectorSearchSecond() const { return GetInt("ProjectorSearchSecond", 15); }

int CValue::GetAutoUpdateFlag() const { return GetInt("AutoUpdateFlag", 1); }
void CValue::SetAutoUpdateFlag(int value) { SetInt("AutoUpdateFlag", value); }
int CValue::GetAutoUpdateInterval() const { return GetInt("AutoUpdateInterval", 60); }
void CValue::SetAutoUpdateInterval(int value) { SetInt("AutoUpdateInterval", value); }
std::string CValue::GetBrowserPath() const { return GetText("BrowserPath", ""); }
void CValue::SetBrowserPath(const std::string& value) { SetText("BrowserPath", value); }
int CValue::GetPowerOnMoving() const { return GetInt("PowerOnMoving", 1); }
void CValue::SetPowerOnMoving(int value) { SetInt("PowerOnMoving", value); }
int CValue::GetNextPowerOnTime() const { return GetInt("NextPowerOnTime", 3); }
void CValue::SetNextPowerOnTime(int value) { SetInt("NextPowerOnTime", value); }
int CValue::GetAutoUpdateSecondMinimum() const { return GetInt("AutoUpdateSecondMinimum", 60); }
void CValue::SetAutoUpdateSecondMinimum(int value) { SetInt("AutoUpdateSecondMinimum", value); }

std::string CValue::GetAlertStatus() const { return GetText("AlertStatus", "1,1,1,1,1,1"); }
void CValue::SetAlertStatus(const std::string& value) { SetText("AlertStatus", value); }
int CValue::GetErrorLoging() const { return GetInt("ErrorLoging", 0); }
void CValue::SetErrorLoging(int value) { SetInt("ErrorLoging", value); }
std::string CValue::GetErrorLogFile() const { return GetText("ErrorLogFile", ""); }
void CValue::SetErrorLogFile(const std::string& value) { SetText("ErrorLogFile", value); }

std::string CValue::GetMailSMTPServer() const { return GetText("MailSMTPServer", ""); }
void CValue::SetMailSMTPServer(const std::string& value) { SetText("MailSMTPServer", value); }
std::string CValue::GetMailSenderName() const { return GetText("MailSenderName", ""); }
void CValue::SetMailSenderName(const std::string& value) { SetText("MailSenderName", value); }
std::string CValue::GetMailFromAddress() const { return GetText("MailFromAddress", ""); }
void CValue::SetMailFromAddress(const std::string& value) { SetText("MailFromAddress", value); }
std::string CValue::GetMailSenderAppendix() const { return GetText("MailSenderAppendix", ""); }
void CValue::SetMailSenderAppendix(const std::string& value) { SetText("MailSenderAppendix", value); }
// Empty parses as all six flags off.
std::string CValue::GetMailErrorStatus() const { return GetText("MailErrorStatus", ""); }
void CValue::SetMailErrorStatus(const std::string& value) { SetText("MailErrorStatus", value); }
std::string CValue::GetMailToAddress(int i) const { return GetText(Numbered("MailToAddress", i).c_str(), ""); }
void CValue::SetMailToAddress(int i, const std::string& value) { SetText(Numbered("MailToAddress", i).c_str(), value); }
std::string CValue::GetMailToStatus(int i) const { return GetText(Numbered("MailToStatus", i).c_str(), "0,0"); }
void CValue::SetMailToStatus(int i, const std::string& value) { SetText(Numbered("MailToStatus", i).c_str(), value); }
int CValue::GetMailPeriodicalKind() const { return GetInt("MailPeriodicalKind", 0); }
void CValue::SetMailPeriodicalKind(int value) { SetInt("MailPeriodicalKind", value); }
std::string CValue::GetMailPeriodicalTime() const { return GetText("MailPeriodicalTime", ""); }
void CValue::SetMailPeriodicalTime(const std::string& value) { SetText("MailPeriodicalTime", value); }
std::string CValue::GetMailPeriodicalDayStatus() const { return GetText("MailPeriodicalDayStatus", ""); }
void CValue::SetMailPeriodicalDayStatus(const std::string& value) { SetText("MailPeriodicalDayStatus", value); }
int CValue::GetMailPeriodicalByWeek() const { return GetInt("MailPeriodicalByWeek", 0); }
void CValue::SetMailPeriodicalByWeek(int value) { SetInt("MailPeriodicalByWeek", value); }
int CValue::GetMailPeriodicalByMonth() const { return GetInt("MailPeriodicalByMonth", 1); }
void CValue::SetMailPeriodicalByMonth(int value) { SetInt("MailPeriodicalByMonth", value); }

std::string CValue::GroupSectionName(int n) { return n < 0 ? "All" : Numbered(kGroupPrefix, n); }

std::string CValue::ProjectorValueName(int m) { return Numbered(kProjectorPrefix, m); }

std::string CValue::GetGroupName(int n) const {
    std::string value;
    return m_store.ReadText(GroupSectionName(n), "GroupName", value) ? value : std::string();
}

void CValue::SetGroupName(int n, const std::string& value) { m_store.WriteText(GroupSectionName(n), "GroupName", value); }

int CValue::GetProjectorCount(int n) const {
    std::int32_t value = 0;
    return m_store.ReadInt(GroupSectionName(n), "ProjectorCount", value) ? value : 0;
}

void CValue::SetProjectorCount(int n, int count) { m_store.WriteInt(GroupSectionName(n), "ProjectorCount", count); }

CBinary CValue::GetProjector(int n, int m) const { return GetBinary(GroupSectionName(n), ProjectorValueName(m)); }

void CValue::SetProjector(int n, int m, const CBinary& bytes) {
    WriteBinary(GroupSectionName(n), ProjectorValueName(m), bytes);
}

int CValue::StoredGroupLimit() const {
    int limit = 0;
    for (const std::string& section : m_store.SectionNames())
        limit = std::max(limit, IndexAfterPrefix(section, kGroupPrefix) + 1);
    return limit;
}

int CValue::StoredProjectorLimit(int n) const {
    int limit = 0;
    for (const std::string& name : m_store.ValueNames(GroupSectionName(n)))
        limit = std::max(limit, IndexAfterPrefix(name, kProjectorPrefix) + 1);
    return limit;
}

void CValue::DeleteGroupSections() {
    int count = GetGroupCount();
    if (count < 0)
        return;
    // The sections that exist are walked rather than the count, which a
    // damaged store may hold as a huge number.
    CProfileBatch batch(m_store);
    m_store.RemoveSection(GroupSectionName(ALL_GROUP_INDEX));
    for (const std::string& section : m_store.SectionNames()) {
        int n = IndexAfterPrefix(section, kGroupPrefix);
        if (n >= 0 && n < count)
            m_store.RemoveSection(section);
    }
    SetGroupCount(0);
}

CBinary CValue::GetBinary(const std::string& section, const std::string& name) const {
    CBinary bytes;
    return m_store.ReadBinary(section, name, bytes) ? bytes : CBinary();
}

void CValue::WriteBinary(const std::string& section, const std::string& name, const CBinary& bytes) {
    m_store.WriteBinary(section, name, bytes);
}
