#pragma once
// CMailAttachCsv: a binary attachment (the CSV of error mails and reports),
// carried in base64 under its file name. Owned by a CMailAttachList.
#include "mail/MailAttachObject.h"

class CMailAttachCsv : public CMailAttachObject {
public:
    CMailAttachCsv();
    std::string GetContent() const override;
    void ResetKind() override;
};
