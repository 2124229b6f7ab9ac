#include "flkcrawl/TerminalSearchUi.h"

#include "platform/TextUtil.h"

#include <cstdio>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace flk {

namespace {

// Reads one line from the terminal without showing it; false at the end of
// input.
bool ReadHiddenLine(std::string& line) {
    termios saved {};
    const bool isTerminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (isTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    const bool ok = static_cast<bool>(std::getline(std::cin, line));
    if (isTerminal) ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::fputs("\n", stderr);
    return ok;
}

void PrintText(const std::string& text) {
    // Dialog texts use "\n" and "\r\n" line breaks.
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    std::fprintf(stderr, "%s\n", out.c_str());
}

}  // namespace

TerminalSearchUi::TerminalSearchUi() : interactive_(::isatty(STDIN_FILENO) != 0) {}

void TerminalSearchUi::ShowMessage(const std::string& text, const std::string& caption, MessageIcon) {
    std::fprintf(stderr, "%s: ", caption.c_str());
    PrintText(text);
}

void TerminalSearchUi::ShowInformation(const std::string& text) { PrintText(text); }

bool TerminalSearchUi::PasswordPrompt(const std::string& prompt,
                                      const std::function<bool(const std::string& typed)>& accept) {
    PrintText(prompt);
    if (!interactive_) return false;
    for (;;) {
        std::fputs("Password (empty line cancels): ", stderr);
        std::string typed;
        if (!ReadHiddenLine(typed) || typed.empty()) return false;
        if (accept(typed)) return true;
    }
}

bool TerminalSearchUi::SetPasswordPrompt(const std::string& prompt,
                                         const std::function<bool(const std::string&, const std::string&)>& accept) {
    PrintText(prompt);
    if (!interactive_) return false;
    for (;;) {
        std::string password, repeat;
        std::fputs("New password (empty line cancels): ", stderr);
        if (!ReadHiddenLine(password) || password.empty()) return false;
        std::fputs("Repeat it: ", stderr);
        if (!ReadHiddenLine(repeat)) return false;
        if (accept(password, repeat)) return true;
    }
}

WarningAnswer TerminalSearchUi::Warning(const std::string& text) {
    PrintText(text);
    WarningAnswer answer;
    if (!interactive_) return answer;
    std::fputs("Continue? [y/N] ", stderr);
    std::string line;
    if (std::getline(std::cin, line)) answer.proceed = StartsWithNoCase(Trim(line), "y");
    return answer;
}

}  // namespace flk
