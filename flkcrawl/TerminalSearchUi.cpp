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

namespace terminal_text {

std::string AdultBlocked(const std::string& profile) {
    return "The keywords you have searched for may retrieve adult-related content.\n"
           "For your safety, the search is blocked. To search for these keywords,\n"
           "set the safety level to 3 (lowest): crl=3 in section [crawler] of\n" +
           profile;
}

std::string Warning(const std::string& profile) {
    return "WARNING!\nThe following pages may contain adult-only material or other offensive content.\n"
           "To search in a safe manner, set the safety level to 1 (safest, directory results only):\n"
           "crl=1 in section [crawler] of " + profile;
}

std::string NoTerminal(const std::string& profile) {
    return "There is no terminal to answer the warning, so the search is not started.\n"
           "To search without the warning, set warning=1 in section [crawler] of " + profile;
}

}  // namespace terminal_text

TerminalSearchUi::TerminalSearchUi(std::string profilePath)
    : interactive_(::isatty(STDIN_FILENO) != 0), profilePath_(std::move(profilePath)) {}

void TerminalSearchUi::ShowMessage(const std::string& text, const std::string& caption, MessageIcon) {
    std::fprintf(stderr, "%s: ", caption.c_str());
    if (text == safety_text::kAdultBlocked) {
        PrintText(terminal_text::AdultBlocked(profilePath_));
        return;
    }
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
    PrintText(text == safety_text::kWarning ? terminal_text::Warning(profilePath_) : text);
    WarningAnswer answer;
    if (!interactive_) {
        PrintText(terminal_text::NoTerminal(profilePath_));
        return answer;
    }
    std::fputs("Continue? [y/N] ", stderr);
    std::string line;
    if (std::getline(std::cin, line)) answer.proceed = StartsWithNoCase(Trim(line), "y");
    return answer;
}

}  // namespace flk
