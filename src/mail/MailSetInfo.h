#pragma once
// CMailSetInfo: everything the operator sets for mail. The view owns one,
// loads it at start-up, reads it whenever a mail is composed and replaces and
// saves it when the mail settings sheet is confirmed; the sheet edits a copy.
#include "mail/MailErrorInfo.h"
#include "mail/MailOriginatorInfo.h"
#include "mail/MailPeriodicalInfo.h"
#include "mail/MailRecipientInfo.h"

class CMailSetInfo {
public:
    virtual ~CMailSetInfo() = default;

    // The four parts in turn: originator, error kinds, recipients, schedule.
    int Load();
    // The same order, written to the store as one change.
    int Save();

    CMailOriginatorInfo originator;
    CMailErrorInfo error;
    CMailRecipientInfo recipients;
    CMailPeriodicalInfo periodical;
};
