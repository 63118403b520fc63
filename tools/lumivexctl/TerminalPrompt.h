#pragma once
// Asks the operator on the terminal; the password is read without echo.
#include <string>

// False when there is no terminal to ask or the input ended.
bool PromptLine(const std::string& prompt, std::string& answer, bool echo);
