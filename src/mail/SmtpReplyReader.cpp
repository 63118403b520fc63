#include "mail/SmtpReplyReader.h"

#include <cstring>

#include "mail/MailDefs.h"
#include "settings/TextTools.h"

CSmtpReplyReader::Step CSmtpReplyReader::Take(const char* bytes, std::size_t n) {
    const void* zero = std::memchr(bytes, '\0', n);
    const std::size_t length = zero ? std::size_t(static_cast<const char*>(zero) - bytes) : n;
    m_taken += length;
    if (m_taken > kMaxReplyBytes)
        return Fail(SMTP_UNEXPECTED_REPLY);
    m_text.append(bytes, length);
    if (m_text.size() < 2 || m_text.compare(m_text.size() - 2, 2, "\r\n") != 0)
        return Step::More;
    return Parse();
}

CSmtpReplyReader::Step CSmtpReplyReader::Parse() {
    // Lines are walked by offset rather than cut off the front one by one,
    // so a reply of many continuation lines costs its length, not its square.
    std::size_t line = 0;
    for (;;) {
        const std::size_t start = m_text.find_first_not_of(' ', line);
        if (start == std::string::npos)
            return Fail(SMTP_NO_CODE);
        // The code starts at the first character whatever it is, so a line
        // that starts with "-" is a final line with a code no step accepts,
        // not a continuation to wait for. The code also ends at its line's
        // end, so a dash on a later line cannot make this one a continuation.
        const std::size_t end = m_text.find_first_of(" -\r\n", start + 1);
        if (end != std::string::npos && m_text[end] == '-') {
            // A continuation line: the code that counts is on a later line.
            const std::size_t lineEnd = m_text.find("\r\n", line);
            line = lineEnd == std::string::npos ? m_text.size() : lineEnd + 2;
            if (line == m_text.size()) {
                m_text.clear();
                return Step::NewReply;
            }
            continue;
        }
        // Only the code's own text is read, and clamped, so that neither a
        // later line nor a number too large for an int can pose as an
        // accepted code.
        const std::size_t length = end == std::string::npos ? std::string::npos : end - start;
        m_code = LeadingInt(m_text.substr(start, length));
        return Step::Done;
    }
}

CSmtpReplyReader::Step CSmtpReplyReader::Fail(int status) {
    m_status = status;
    return Step::Failed;
}
