#pragma once
#include "net/InternetSession.h"
#include "net/InternetShare.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace flk {

class Settings;

// The text viewer never holds more of a page than this; the rest is not read.
inline constexpr std::uint64_t kSourceCapBytes = 4u << 20;
// Redirects the viewer follows before it gives up on an address.
inline constexpr int kMostSourceRedirects = 5;

// Texts of the text viewer's status line.
namespace sourcetext {
inline constexpr char kLoading[] = "Loading...";
inline constexpr char kStopped[] = "Stopped.";
inline constexpr char kError[] = "Error: ";
inline constexpr char kNotAnAddress[] = "not a web address or a local file";
inline constexpr char kNoFile[] = "no such file";
inline constexpr char kNotAFile[] = "not a plain file";
inline constexpr char kUnreadable[] = "the file could not be read";
inline constexpr char kNoAnswer[] = "no answer from the server";
inline constexpr char kBrokeOff[] = "the transfer broke off";
inline constexpr char kTooManyRedirects[] = "too many redirects";
}  // namespace sourcetext

// How the viewer asks for pages: the crawl's network settings (time-outs,
// proxy use, compression, User-Agent, cookies, per-host limit).
struct PageSourceOptions {
    InternetOptions network{};
    std::uint64_t capBytes = kSourceCapBytes;
    int mostRedirects = kMostSourceRedirects;
};

// The crawl's own settings of the profile on top of the program's network.
PageSourceOptions ReadPageSourceOptions(const Settings& settings, InternetOptions network);

// What the text viewer shows of one address.
struct PageSource {
    enum class Outcome {
        Read,       // the page or file as it came
        HttpError,  // the server answered with a status other than 2xx; its page is shown
        Failed,     // nothing (or only a part) could be read
        Stopped,    // the stop flag ended it
    };
    Outcome outcome = Outcome::Failed;
    std::string address;      // what was asked for
    std::string finalAddress; // what was read after redirects
    bool local = false;       // read from a local file
    int status = 0;           // the last HTTP status; 0 for a file
    std::uint64_t bytes = 0;  // body bytes taken (before decoding)
    bool cut = false;         // more came than the cap; the rest was not read
    std::string reason;       // why it failed
    std::string text;         // the body for display: UTF-8, line ends as "\n"

    // The viewer's status line for this result.
    std::string StatusLine(std::uint64_t capBytes = kSourceCapBytes) const;
};

// Reads the page at `address` (http, https or ftp, following redirects) or
// the local file it names (a path or a "file:" address), at most
// options.capBytes of it. Runs on the caller's thread; returns soon after
// `stop` turns true.
PageSource FetchPageSource(InternetShare& internet, const std::string& address, const PageSourceOptions& options,
                           const std::atomic<bool>& stop);

// Page bytes as display text: UTF-8 when they are, else Latin-1 (of a body
// cut at the cap, a character the cut broke is dropped); CR LF and lone CR
// become "\n", and a NUL, which would end the text in a window, becomes
// U+FFFD.
std::string SourceDisplayText(std::string_view bytes, bool cut = false);

}  // namespace flk
