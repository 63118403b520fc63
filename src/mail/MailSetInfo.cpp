#include "mail/MailSetInfo.h"

#include "settings/ProfileStore.h"
#include "settings/Value.h"

int CMailSetInfo::Load() {
    return originator.Load() | error.Load() | recipients.Load() | periodical.Load();
}

int CMailSetInfo::Save() {
    CProfileBatch batch(CValue().Store());
    int result = originator.Save();
    result |= error.Save();
    result |= recipients.Save();
    result |= periodical.Save();
    return result;
}
