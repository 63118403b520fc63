#pragma once
// The small text functions the settings parsers share (and the session, the
// mail settings, the alerts and the column list with them).
#include <string>
#include <vector>

// The next field of source after position, trimmed of white space; position
// moves to the byte after the field. Leading delimiters are skipped, so empty
// fields do not count ("1,,0" gives 1 and 0). A multi-byte UTF-8 character is
// one character. "" with position unchanged when no field is left.
std::string NextToken(const std::string& source, const std::string& delimiters, int& position);

// path + "/" + name, without doubling a trailing "/".
std::string AppendPath(const std::string& path, const std::string& name);

// 1 when text is non-empty and all its bytes are '0'..'9', else 0.
int IsAllDigits(const std::string& text);

// The decimal number at the start of text (sign allowed, leading blanks
// skipped), stopping at the first non-digit: "12ab" is 12, "ab" is 0.
// Clamped to the int range.
int LeadingInt(const std::string& text);

// Reads a "," list into values, one field per element in order: an empty or
// missing field leaves the element as it is, surplus fields are ignored.
void ParseIntList(const std::string& text, std::vector<int>& values);
// The same for flags: any non-zero number is 1.
void ParseFlagList(const std::string& text, std::vector<int>& flags);
// Joins decimal numbers with "," and no spaces.
std::string JoinIntList(const std::vector<int>& values);
