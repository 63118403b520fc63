#include "mail/MailRecipientInfo.h"

#include <vector>

#include "settings/ProfileStore.h"
#include "settings/TextTools.h"
#include "settings/Value.h"

int CMailRecipientInfo::Load() {
    CValue value;
    for (int i = 0; i < MAIL_RECIPIENT_COUNT; ++i) {
        CMailRecipient& entry = entries[static_cast<size_t>(i)];
        entry.address = value.GetMailToAddress(i);
        std::vector<int> ticks = {0, 0};
        ParseFlagList(value.GetMailToStatus(i), ticks);
        entry.errorMail = ticks[0];
        entry.periodicReport = ticks[1];
    }
    return 0;
}

int CMailRecipientInfo::Save() {
    CValue value;
    CProfileBatch batch(value.Store());
    for (int i = 0; i < MAIL_RECIPIENT_COUNT; ++i) {
        const CMailRecipient& entry = entries[static_cast<size_t>(i)];
        value.SetMailToAddress(i, entry.address);
        value.SetMailToStatus(i, JoinIntList({entry.errorMail ? 1 : 0, entry.periodicReport ? 1 : 0}));
    }
    return 0;
}
