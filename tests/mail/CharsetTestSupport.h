#pragma once
// Character set conversion for the mail tests: glibc's own iconv, as a
// reference independent of the encoder under test.
#include <string>

// text converted from the character set from into to. Text that is not valid
// in from gives "<not FROM>", so that a comparison with the expected text fails
// visibly instead of matching a half-converted prefix.
std::string IconvTo(const char* to, const std::string& text, const char* from = "UTF-8");
