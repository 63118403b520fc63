#include "mail/MIME.h"

#include <cerrno>
#include <iconv.h>

namespace {

constexpr char kEscToJis[] = "\x1b$B";
constexpr char kEscToAscii[] = "\x1b(B";
// The JIS X 0208 geta mark, written for a character the 94x94 set lacks, so
// that the reader sees where a character was lost instead of stray bytes.
constexpr char kGeta[] = "\x22\x2e";

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xfc && c != 0x7f; }

// The standard Shift_JIS to JIS X 0208 arithmetic; false when the result
// falls outside the 94x94 set (user-defined and vendor rows).
bool SjisToJis(unsigned char lead, unsigned char trail, char out[2]) {
    int row = lead >= 0xe0 ? lead - 0x40 : lead;
    row = (row - 0x81) * 2 + 0x21;
    int cell;
    if (trail >= 0x9f) {
        ++row;
        cell = trail - 0x7e;
    } else {
        cell = trail - (trail >= 0x80 ? 0x20 : 0x1f);
    }
    if (row < 0x21 || row > 0x7e || cell < 0x21 || cell > 0x7e)
        return false;
    out[0] = static_cast<char>(row);
    out[1] = static_cast<char>(cell);
    return true;
}

size_t Utf8SequenceLength(unsigned char c) {
    if (c < 0x80)
        return 1;
    if (c >= 0xc2 && c <= 0xdf)
        return 2;
    if (c >= 0xe0 && c <= 0xef)
        return 3;
    if (c >= 0xf0 && c <= 0xf4)
        return 4;
    return 1;  // not a lead byte: skip it alone
}

class CIconv {
public:
    explicit CIconv(const char* to) : m_cd(iconv_open(to, "UTF-8")) {}
    ~CIconv() {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;

    // Converts as much as it can; returns false at the first character it
    // cannot take, with in/inLeft pointing at it.
    bool Convert(char*& in, size_t& inLeft, std::string& out) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char buffer[256];
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t rc = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t m_cd;
};

void AppendBase64Group(std::string& out, const unsigned char* p, size_t n) {
    unsigned v = static_cast<unsigned>(p[0]) << 16;
    if (n > 1)
        v |= static_cast<unsigned>(p[1]) << 8;
    if (n > 2)
        v |= p[2];
    out += CMIME::Base64Char(static_cast<int>((v >> 18) & 63));
    out += CMIME::Base64Char(static_cast<int>((v >> 12) & 63));
    out += n > 1 ? CMIME::Base64Char(static_cast<int>((v >> 6) & 63)) : '=';
    out += n > 2 ? CMIME::Base64Char(static_cast<int>(v & 63)) : '=';
}

std::string Base64Lines(const std::string& bytes, size_t lineLimit) {
    std::string out;
    out.reserve(bytes.size() / 3 * 4 + bytes.size() / 57 * 2 + 8);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t lineLength = 0;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        if (lineLimit && lineLength > lineLimit - 1) {
            out += "\r\n";
            lineLength = 0;
        }
        AppendBase64Group(out, data + i, bytes.size() - i < 3 ? bytes.size() - i : 3);
        lineLength += 4;
    }
    return out;
}

}  // namespace

std::string CMIME::ToJis(const std::string& sjis) {
    m_converted = 0;
    std::string out;
    out.reserve(sjis.size() * 2);
    const auto* s = reinterpret_cast<const unsigned char*>(sjis.c_str());
    bool jisMode = false;
    size_t i = 0;
    while (s[i] != 0) {
        if (!IsLeadByte(s[i])) {
            out += static_cast<char>(s[i++]);
            continue;
        }
        if (!jisMode) {
            out += kEscToJis;
            m_converted = 1;
            jisMode = true;
        }
        char jis[2];
        if (IsTrailByte(s[i + 1]) && SjisToJis(s[i], s[i + 1], jis)) {
            out.append(jis, 2);
            i += 2;
        } else {
            // A character outside the set takes both its bytes; a lead byte
            // without a trail byte takes only itself, so the next byte (maybe
            // the terminator) is read on its own.
            out += kGeta;
            i += IsTrailByte(s[i + 1]) ? 2 : 1;
        }
        if (!IsLeadByte(s[i])) {
            out += kEscToAscii;
            jisMode = false;
        }
    }
    return out;
}

std::string CMIME::ToCodePage(const std::string& utf8) {
    CIconv cp932("CP932");
    std::string out;
    std::string buffer = utf8;
    char* in = buffer.data();
    size_t inLeft = buffer.size();
    while (!cp932.Convert(in, inLeft, out)) {
        // CP932 lacks a few characters that plain Shift_JIS maps (its
        // standard wave dash, for one); try that table for this one character.
        size_t length = Utf8SequenceLength(static_cast<unsigned char>(*in));
        if (length > inLeft)
            length = inLeft;
        CIconv sjis("SHIFT_JIS");
        char* one = in;
        size_t oneLeft = length;
        std::string converted;
        if (sjis.Convert(one, oneLeft, converted) && !converted.empty())
            out += converted;
        else
            out += '?';
        in += length;
        inLeft -= length;
    }
    return out;
}

std::string CMIME::EncodeText(const std::string& utf8, bool asHeader) {
    m_converted = 0;
    if (utf8.empty())
        return {};
    std::string jis = ToJis(ToCodePage(utf8));
    if (!asHeader)
        return jis;
    return "=?ISO-2022-JP?B?" + Base64Run(jis) + "?=";
}

std::string CMIME::Base64(const std::string& bytes) { return Base64Lines(bytes, 76); }

std::string CMIME::Base64Run(const std::string& bytes) { return Base64Lines(bytes, 0); }

char CMIME::Base64Char(int value) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    return value >= 0 && value < 64 ? kAlphabet[value] : '=';
}

std::string CMIME::ToCrlf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string CMIME::OneLine(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}
