#include "mail/MailObject.h"

#include <memory>
#include <new>

#include "mail/MIME.h"
#include "mail/MailAttachCsv.h"
#include "mail/MailDefs.h"
#include "mail/MailText.h"
#include "platform/ResourceText.h"

CMailObject::CMailObject() = default;

CMailObject::~CMailObject() = default;

bool CMailObject::IsValid() const { return !server.empty() && !senderAddress.empty() && !recipients.empty(); }

int CMailObject::BuildText(const std::string& extra) {
    std::string text = ResourceText(TEXT_MAIL_OPENING) + extra + ResourceText(TEXT_MAIL_ORIGINATOR) +
                       FormatResourceText(TEXT_MAIL_SENDER_NAME, {senderName}) +
                       FormatResourceText(TEXT_MAIL_SENDER_ADDRESS, {senderAddress}) +
                       FormatResourceText(TEXT_MAIL_SENDER_INFO, {senderInfo});
    // The texts and the operator's sender information use bare line feeds;
    // a mail body has CRLF line ends.
    body = CMIME::ToCrlf(text);
    CMIME bodyMime;
    std::string jis = bodyMime.EncodeText(body, false);
    if (bodyMime.Converted())
        body = jis;

    std::string title = ResourceText(kind == MAIL_KIND_ERROR ? TEXT_SUBJECT_ERROR : TEXT_SUBJECT_REPORT);
    CMIME subjectMime;
    std::string word = subjectMime.EncodeText(title, true);
    subject = subjectMime.Converted() ? word : title;
    return 0;
}

int CMailObject::BuildCsv(const std::string& rows) {
    attachments.RemoveAll();
    std::string content =
        ResourceText(kind == MAIL_KIND_ERROR ? TEXT_CSV_HEADING_ERROR : TEXT_CSV_HEADING_REPORT) + "\n" + rows;
    std::unique_ptr<CMailAttachCsv> csv(new (std::nothrow) CMailAttachCsv);
    if (!csv)
        return -1;
    csv->SetFileName(CsvFileName());
    // A spreadsheet reads a CSV without a byte-order mark in the system's code
    // page: the Japanese one on a Japanese system, UTF-8 on ours otherwise.
    csv->SetContent(JapaneseTexts() ? CMIME::ToCodePage(content) : content);
    attachments.Add(std::move(csv));
    return 0;
}

void CMailObject::Clear() {
    kind = MAIL_KIND_ERROR;
    server.clear();
    senderName.clear();
    senderAddress.clear();
    senderInfo.clear();
    subject.clear();
    body.clear();
    attachments.RemoveAll();
    recipients.clear();
}

void CMailObject::CopyFrom(const CMailObject& other) {
    if (this == &other)
        return;
    timeStamp = other.timeStamp;
    kind = other.kind;
    server = other.server;
    senderName = other.senderName;
    senderAddress = other.senderAddress;
    senderInfo = other.senderInfo;
    subject = other.subject;
    body = other.body;
    attachments.CopyFrom(other.attachments);
    recipients = other.recipients;
}

std::string CMailObject::CsvFileName() const { return timeStamp.Format("%Y%b%d_%H%M.CSV"); }
