#include "mail/MailAttachCsv.h"

#include "mail/MIME.h"

CMailAttachCsv::CMailAttachCsv() { m_kind = ATTACH_KIND_CSV; }

std::string CMailAttachCsv::GetContent() const { return CMIME::Base64(m_content); }

void CMailAttachCsv::ResetKind() { m_kind = ATTACH_KIND_CSV; }
