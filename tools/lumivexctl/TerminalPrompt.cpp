#include "TerminalPrompt.h"

#include <cstdio>
#include <iostream>

#include <termios.h>
#include <unistd.h>

bool PromptLine(const std::string& prompt, std::string& answer, bool echo) {
    if (!isatty(STDIN_FILENO))
        return false;
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    termios saved{};
    bool restore = false;
    if (!echo && tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        restore = tcsetattr(STDIN_FILENO, TCSANOW, &quiet) == 0;
    }
    bool ok = static_cast<bool>(std::getline(std::cin, answer));
    if (restore) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fputs("\n", stderr);
    }
    return ok;
}
