#include "mail/MailOriginatorInfo.h"

#include "settings/ProfileStore.h"
#include "settings/Value.h"

int CMailOriginatorInfo::Load() {
    CValue value;
    server = value.GetMailSMTPServer();
    senderAddress = value.GetMailFromAddress();
    senderName = value.GetMailSenderName();
    senderInfo = value.GetMailSenderAppendix();
    return 0;
}

int CMailOriginatorInfo::Save() {
    CValue value;
    CProfileBatch batch(value.Store());
    value.SetMailSMTPServer(server);
    value.SetMailFromAddress(senderAddress);
    value.SetMailSenderName(senderName);
    value.SetMailSenderAppendix(senderInfo);
    return 0;
}
