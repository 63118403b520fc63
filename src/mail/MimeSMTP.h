#pragma once
// CMimeSMTP: the SMTP client that sends MIME 1.0 mail: one ISO-2022-JP text
// part, or multipart/mixed with the text part and one part per attachment.
// The mail sending thread creates one per mail, fills its attachments and
// owns it.
#include <string>

#include "mail/MailAttachList.h"
#include "mail/MailSMTP.h"
#include "platform/Clock.h"

class CMimeSMTP : public CMailSMTP {
public:
    explicit CMimeSMTP(int japanese, const IClock& clock = SystemClock());

    CMailAttachList& Attachments() { return m_attachments; }
    const std::string& Boundary() const { return m_boundary; }

    std::string MakeMessageId() const;
    std::string MakeDate() const;
    void MakeBoundary();

    // The pieces of the three above, for a given moment and random draw.
    static std::string FormatMessageId(const CDateTime& now, int random, const std::string& server);
    // minutesWest: the standard-time zone as minutes west of UTC (-540 in Japan).
    static std::string FormatDate(const CDateTime& now, int minutesWest);
    static std::string FormatBoundary(const CDateTime& now, int random);
    // Inserts CRLF so that no line grows past 996 characters.
    static std::string BreakLongLines(const std::string& text);
    // The originator as "From:" shows it ("name" <address>, the name encoded
    // when it holds double-byte characters) or as MAIL FROM takes it (<address>).
    static std::string OriginatorForm(const std::string& name, const std::string& address, bool headerForm);

protected:
    int WriteHeaders(const std::string& subject) override;
    int WriteBody(const std::string& body) override;
    int WriteTrailer() override;

private:
    int m_japanese;
    const IClock& m_clock;
    std::string m_boundary;
    CMailAttachList m_attachments;
};
