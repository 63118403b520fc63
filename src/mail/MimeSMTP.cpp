#include "mail/MimeSMTP.h"

#include <cstdio>
#include <ctime>
#include <random>

#include "mail/MIME.h"
#include "mail/MailDefs.h"

namespace {

// A draw in 0..32767, the range the Message-Id and boundary formats were
// sized for, from a generator seeded with the tick count.
int DrawRandom(const IClock& clock) {
    std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(clock.TickMs()));
    return std::uniform_int_distribution<int>(0, 32767)(generator);
}

int StandardZoneMinutesWest() {
    tzset();
    return static_cast<int>(timezone / 60);
}

std::string Printf(const char* format, auto... args) {
    char buffer[256];
    int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return n < 0 ? std::string() : std::string(buffer, n < static_cast<int>(sizeof buffer) ? static_cast<size_t>(n) : sizeof buffer - 1);
}

// A display name inside double quotes: a quote or backslash of the name is escaped.
std::string Quoted(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

CMimeSMTP::CMimeSMTP(int japanese, const IClock& clock) : m_japanese(japanese), m_clock(clock) {}

std::string CMimeSMTP::FormatMessageId(const CDateTime& now, int random, const std::string& server) {
    return Printf("%04d%02d%02d%02d%02d%02d.%06d@", now.Year(), now.Month(), now.Day(), now.Hour(), now.Minute(),
                  now.Second(), random) +
           server;
}

std::string CMimeSMTP::FormatDate(const CDateTime& now, int minutesWest) {
    int offset = minutesWest < 0 ? -minutesWest : minutesWest;
    std::string zone = Printf("%c%02d%02d", minutesWest > 0 ? '-' : '+', offset / 60, offset % 60);
    return now.Format("%a, %d %b %Y %H:%M:%S") + " " + zone;
}

std::string CMimeSMTP::FormatBoundary(const CDateTime& now, int random) {
    if (random >= 10000)
        random /= 10;
    return Printf("%02d%02d%04d%02d%02d%02d%04d", now.Month(), now.Day(), now.Year(), now.Hour(), now.Minute(),
                  now.Second(), random);
}

std::string CMimeSMTP::MakeMessageId() const {
    return FormatMessageId(m_clock.Now(), DrawRandom(m_clock), CMIME::OneLine(ServerName()));
}

std::string CMimeSMTP::MakeDate() const { return FormatDate(m_clock.Now(), StandardZoneMinutesWest()); }

void CMimeSMTP::MakeBoundary() { m_boundary = FormatBoundary(m_clock.Now(), DrawRandom(m_clock)); }

std::string CMimeSMTP::BreakLongLines(const std::string& text) {
    if (text.empty())
        return text;
    std::string out;
    out.reserve(text.size() + text.size() / SMTP_BODY_LINE_LIMIT * 2 + 2);
    int count = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        char c = text[i];
        // CR and LF count as the first two characters of the next line.
        if (c == '\r' && text[i + 1] == '\n')
            count = 0;
        if (count >= SMTP_BODY_LINE_LIMIT) {
            out += "\r\n";
            count = 0;
        }
        out += c;
        ++count;
    }
    out += text.back();
    return out;
}

std::string CMimeSMTP::OriginatorForm(const std::string& name, const std::string& address, bool headerForm) {
    if (address.empty())
        return {};
    std::string form;
    if (headerForm && !name.empty()) {
        CMIME mime;
        std::string word = mime.EncodeText(name, true);
        form = (mime.Converted() ? "\"" + word + "\"" : Quoted(name)) + " ";
    }
    return form + "<" + address + ">";
}

int CMimeSMTP::WriteHeaders(const std::string& subject) {
    std::string subjectText = subject;
    {
        CMIME mime;
        std::string word = mime.EncodeText(subject, true);
        if (mime.Converted())
            subjectText = word;
    }
    std::string contentType = "Content-Type: text/plain; charset=\"iso-2022-jp\"\r\n";
    if (!m_attachments.IsEmpty()) {
        MakeBoundary();
        contentType = "Content-Type: multipart/mixed; boundary=\"" + m_boundary + "\"\r\n";
    }
    const std::string lines[] = {
        Sender().empty() ? std::string() : "From: " + CMIME::OneLine(Sender()) + "\r\n",
        Recipients().empty() ? std::string() : "To: " + CMIME::OneLine(Recipients()) + "\r\n",
        subjectText.empty() ? std::string() : "Subject: " + CMIME::OneLine(subjectText) + "\r\n",
        "Message-Id: <" + MakeMessageId() + ">\r\n",
        "Date: " + MakeDate() + "\r\n",
        "MIME-Version: 1.0\r\n",
        contentType,
        "Content-Transfer-Encoding: 7bit\r\n",
    };
    for (const std::string& line : lines) {
        if (line.empty())
            continue;
        int status = SendText(line);
        if (status != SMTP_OK)
            return status;
    }
    return WriteExtraHeaders();
}

int CMimeSMTP::WriteBody(const std::string& body) {
    if (!m_attachments.IsEmpty()) {
        int status = SendText("\r\n--" + m_boundary + "\r\n" +
                              (m_japanese ? "Content-Type: text/plain; charset=\"iso-2022-jp\"\r\n"
                                          : "Content-Type: text/plain; charset=\"us-ascii\"\r\n") +
                              "Content-Transfer-Encoding: 7bit\r\n\r\n");
        if (status != SMTP_OK)
            return status;
    }
    std::string text = body;
    if (m_japanese) {
        CMIME mime;
        text = mime.EncodeText(body, false);
    }
    // Line ends become CRLF before the count, so a bare LF ends a line too.
    return SendText(BreakLongLines(CMIME::ToCrlf(text)));
}

int CMimeSMTP::WriteTrailer() {
    if (m_attachments.IsEmpty())
        return SMTP_OK;
    return SendText(m_attachments.RenderParts(m_boundary, m_japanese));
}
