// The values of section "Settings" as the settings records read them: ints,
// texts, comma lists and the report time "h:m", whatever text a hand edit or
// another tool left in the profile. Each value present is the input's text;
// the records load them, the engine's port walk and the report schedule use
// them, and what the records then save must load back unchanged.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "comm/ClientPortRange.h"
#include "mail/MailSetInfo.h"
#include "platform/DateTime.h"
#include "settings/AlertSetInfo.h"
#include "settings/CommSetInfo.h"
#include "settings/GeneralSetInfo.h"
#include "settings/ProfileStore.h"
#include "settings/ViewSortInfo.h"

namespace {

const char* const kNames[] = {
    "AutoSearchFlag", "AutoSearchInterval", "ProjectorSearchPort", "ClientDataPortStart", "ClientDataPortEnd",
    "AutoUpdateFlag", "AutoUpdateInterval", "BrowserPath", "PowerOnMoving", "NextPowerOnTime", "ListSort",
    "ListSortOrder", "AlertStatus", "ErrorLoging", "ErrorLogFile", "MailSMTPServer", "MailSenderName",
    "MailFromAddress", "MailSenderAppendix", "MailErrorStatus", "MailToAddress0", "MailToStatus0", "MailToAddress4",
    "MailToStatus4", "MailPeriodicalKind", "MailPeriodicalTime", "MailPeriodicalDayStatus", "MailPeriodicalByWeek",
    "MailPeriodicalByMonth",
};

struct Records {
    CGeneralSetInfo general;
    CCommSetInfo comm;
    CAlertSetInfo alert;
    CViewSortInfo sort;
    CMailSetInfo mail;

    void Load() {
        general.Load();
        comm.Load();
        alert.Load();
        sort.Load();
        mail.Load();
    }
    void Save() {
        CProfileBatch batch(CurrentProfile());
        general.Save();
        comm.Save();
        alert.Save();
        sort.Save();
        mail.Save();
    }
};

bool IsFlag(int value) { return value == 0 || value == 1; }

template <class Flags>
bool AllFlags(const Flags& flags) {
    for (int flag : flags)
        if (!IsFlag(flag))
            return false;
    return true;
}

bool SameMail(const CMailSetInfo& a, const CMailSetInfo& b) {
    bool same = a.originator.server == b.originator.server && a.originator.senderAddress == b.originator.senderAddress &&
                a.originator.senderName == b.originator.senderName && a.originator.senderInfo == b.originator.senderInfo &&
                a.error.flags == b.error.flags && a.periodical.kind == b.periodical.kind &&
                a.periodical.hour == b.periodical.hour && a.periodical.minute == b.periodical.minute &&
                a.periodical.weekdays == b.periodical.weekdays && a.periodical.weeklyDay == b.periodical.weeklyDay &&
                a.periodical.monthlyDay == b.periodical.monthlyDay;
    for (std::size_t i = 0; i < a.recipients.entries.size(); ++i) {
        const CMailRecipient &x = a.recipients.entries[i], &y = b.recipients.entries[i];
        same = same && x.address == y.address && x.errorMail == y.errorMail && x.periodicReport == y.periodicReport;
    }
    return same;
}

bool Same(const Records& a, const Records& b) {
    return a.general.autoUpdateFlag == b.general.autoUpdateFlag &&
           a.general.autoUpdateInterval == b.general.autoUpdateInterval &&
           a.general.browserPath == b.general.browserPath && a.general.powerOnMoving == b.general.powerOnMoving &&
           a.general.nextPowerOnTime == b.general.nextPowerOnTime && a.comm.autoSearchFlag == b.comm.autoSearchFlag &&
           a.comm.autoSearchInterval == b.comm.autoSearchInterval &&
           a.comm.projectorSearchPort == b.comm.projectorSearchPort &&
           a.comm.clientDataPortStart == b.comm.clientDataPortStart &&
           a.comm.clientDataPortEnd == b.comm.clientDataPortEnd && a.alert.alertStatus == b.alert.alertStatus &&
           a.alert.errorLoging == b.alert.errorLoging && a.alert.errorLogFile == b.alert.errorLogFile &&
           a.sort.listSort == b.sort.listSort && a.sort.listSortOrder == b.sort.listSortOrder && SameMail(a.mail, b.mail);
}

// The engine's walk through the loaded local port range, from its ends.
void CheckPortWalk(const CCommSetInfo& comm) {
    CClientPortRange range;
    range.Set(comm.clientDataPortStart, comm.clientDataPortEnd);
    const int lo = std::min(comm.clientDataPortStart, comm.clientDataPortEnd);
    const int hi = std::max(comm.clientDataPortStart, comm.clientDataPortEnd);
    for (int port : {0, lo, lo == INT_MIN ? lo : lo - 1, hi == INT_MIN ? hi : hi - 1, hi}) {
        const int next = range.Next(port);
        FuzzCheck((lo == 0 && hi == 0) ? next == 0 : (next >= lo && next <= hi), "the next local port is in the range");
    }
}

// The report schedule from the loaded values: never, or a moment ahead
// within two months.
void CheckSchedule(const CMailSetInfo& mail) {
    const CDateTime now = CDateTime::FromParts(2024, 1, 31, 23, 59, 30);
    const CDateTime next = mail.periodical.NextTime(now);
    FuzzCheck(next == CDateTime::Never() || (next.IsValid() && next > now && next < now.AddDays(62)),
              "the next report is never, or ahead within two months");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    CProfileStore& store = FreshProfile();
    {
        CProfileBatch batch(store);
        for (const char* name : kNames)
            if (input.ConsumeBool())
                store.WriteText("Settings", name, input.ConsumeRandomLengthString(64));
    }
    Records loaded;
    loaded.Load();
    FuzzCheck(AllFlags(loaded.alert.alertStatus) && IsFlag(loaded.alert.errorLoging), "alert switches are flags");
    FuzzCheck(AllFlags(loaded.mail.error.flags) && AllFlags(loaded.mail.periodical.weekdays), "mail switches are flags");
    for (const CMailRecipient& entry : loaded.mail.recipients.entries)
        FuzzCheck(IsFlag(entry.errorMail) && IsFlag(entry.periodicReport), "recipient ticks are flags");
    CheckPortWalk(loaded.comm);
    CheckSchedule(loaded.mail);

    loaded.Save();
    Records again;
    again.Load();
    FuzzCheck(Same(loaded, again), "the settings save and load back unchanged");
    return 0;
}
