#pragma once
// CMailObject: one mail (originator, server, recipients, subject, body,
// attachments and the time it was composed). The view composes one, the mail
// window queues a copy and owns it until its sending thread is done.
#include <string>
#include <vector>

#include "mail/MailAttachList.h"
#include "platform/DateTime.h"

class CMailObject {
public:
    CMailObject();
    CMailObject(const CMailObject&) = delete;
    CMailObject& operator=(const CMailObject&) = delete;
    virtual ~CMailObject();

    // A server, a sender address and at least one recipient.
    virtual bool IsValid() const;
    // Subject and body from the numbered texts; extra goes after the opening.
    // The body leaves with CRLF line ends, in ISO-2022-JP when it holds
    // double-byte characters. Returns 0.
    virtual int BuildText(const std::string& extra = {});
    // Replaces the attachments by one CSV named after the time stamp: the
    // heading of the mail's kind, a line feed, then rows (UTF-8), stored in
    // CP932 when the texts are Japanese. Returns 0 (-1 when the attachment
    // cannot be made).
    virtual int BuildCsv(const std::string& rows);

    // Kind 0, empty strings, no attachments or recipients; the time stamp stays.
    void Clear();
    void CopyFrom(const CMailObject& other);

    // "%Y%b%d_%H%M.CSV" of the time stamp (2008Dec08_1345.CSV).
    std::string CsvFileName() const;

    CDateTime timeStamp;
    int kind = 0;
    std::string server;
    std::string senderName;
    std::string senderAddress;
    std::string senderInfo;
    std::string subject;
    std::string body;
    CMailAttachList attachments;
    std::vector<std::string> recipients;
};
