#pragma once
// CMIME: the mail text encoder. Turns program text (UTF-8) into the code
// page's double-byte form and then into ISO-2022-JP, wraps header text in one
// "B" encoded word, and writes base64 in 76-character lines. Its only state is
// whether the last conversion met a double-byte character; callers make one on
// the stack per conversion and read Converted() right after.
#include <string>

class CMIME {
public:
    virtual ~CMIME() = default;

    // Shift_JIS (code page bytes) to ISO-2022-JP. The walk stops at the first
    // zero byte, as the zero-terminated source of the design does.
    std::string ToJis(const std::string& sjis);

    // UTF-8 text to ISO-2022-JP (asHeader false) or to one encoded word
    // "=?ISO-2022-JP?B?...?=" (asHeader true). Empty source: empty result,
    // Converted() 0.
    std::string EncodeText(const std::string& utf8, bool asHeader);

    // 1 when the last ToJis/EncodeText met at least one double-byte character.
    int Converted() const { return m_converted; }

    // UTF-8 to the code page's bytes (CP932). A character the code page lacks,
    // or a byte that is not UTF-8, becomes "?".
    static std::string ToCodePage(const std::string& utf8);

    // Base64 in lines of 76 characters joined by CRLF, no line end after the last.
    static std::string Base64(const std::string& bytes);
    // Base64 in one unbroken run (the encoded word of a header).
    static std::string Base64Run(const std::string& bytes);
    static char Base64Char(int value);

    // Every CR, LF or CRLF becomes CRLF, so that no bare CR or LF reaches the wire.
    static std::string ToCrlf(const std::string& text);
    // A header value or command argument on one line: CR and LF become blanks,
    // so that no text can start a header or a command of its own.
    static std::string OneLine(const std::string& text);

private:
    int m_converted = 0;
};
