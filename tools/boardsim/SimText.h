#pragma once
// Text helpers shared by the board simulator's fleet file, control lines and
// protocol: strict number and switch parsing, escapes for texts typed on one
// line, and IPv4 address text.
#include <cstdint>
#include <string>
#include <vector>

// Whole text as a decimal integer within [lo, hi]; false otherwise.
bool ParseInt(const std::string& text, long long lo, long long hi, long long& value);
// 1/0, true/false, on/off, yes/no.
bool ParseSwitch(const std::string& text, bool& value);
// \r \n \t \\ and \xHH become the bytes they name; false on a broken escape.
bool DecodeEscapes(const std::string& text, std::string& out);
// The reverse, for echoing texts that hold control bytes.
std::string EncodeEscapes(const std::string& text);
// Dotted IPv4 text to a host-order number; false unless exactly a.b.c.d.
bool ParseIpv4(const std::string& text, std::uint32_t& address);
std::string FormatIpv4(std::uint32_t address);
// Blank-separated words; a word in double quotes may hold blanks. begin is
// where the word (or its opening quote) starts in the line.
struct LineWord {
    std::string text;
    std::size_t begin = 0;
};
std::vector<LineWord> SplitLineWords(const std::string& line);
std::vector<std::string> SplitWords(const std::string& line);
std::string Trim(const std::string& text);
