#pragma once
// CSmtpReplyReader: assembles one SMTP reply from the bytes of successive
// receives and reads its code. A reply is complete when what arrived ends with
// a line end; the code is that of its first line without a dash after the
// code, so continuation lines are passed over, and a reply made only of
// continuation lines is followed by a fresh one. Made by CMailSMTP::ReadReply
// for each reply it awaits; no I/O of its own, so any byte sequence can be fed
// to it in any pieces.
#include <cstddef>
#include <string>

class CSmtpReplyReader {
public:
    // What the bytes of one receive made of the reply.
    enum class Step {
        More,      // the reply is still incomplete
        NewReply,  // only continuation lines so far: a fresh reply follows
        Done,      // Code() holds the reply's code
        Failed,    // Status() holds why
    };

    // A reply may take at most this many bytes, continuation lines included:
    // far more than any server's reply, and a bound on what one that never
    // ends its reply can make the client hold or wait for.
    static constexpr std::size_t kMaxReplyBytes = 64 * 1024;

    // Takes the bytes of one receive up to the first zero byte, as the text
    // of a C string would end there.
    Step Take(const char* bytes, std::size_t n);

    int Code() const { return m_code; }
    int Status() const { return m_status; }

private:
    Step Parse();
    Step Fail(int status);

    std::string m_text;       // the reply so far
    std::size_t m_taken = 0;  // bytes taken since the reader began
    int m_code = 0;
    int m_status = 0;
};
