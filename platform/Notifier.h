#pragma once
#include <atomic>
#include <string>

namespace flk {

// The notification message (number 2990) that workers, lists and dialogs
// send to the media-search window. Sending is synchronous: the sender waits
// for the answer.
constexpr int kNotifyMessage = 2990;

namespace notify {
constexpr int PasswordNeeded = 1;     // text: address; user/password filled by the answer
constexpr int MoviesCount = 51;       // value: count | 100 << 16
constexpr int SoundsCount = 52;
constexpr int ImagesCount = 53;
constexpr int WebSearchOver = 54;     // the web search is over, the media scan starts
constexpr int SearchEnded = 55;       // value: 0 success, -1 nothing found, -2 failure
constexpr int UpdateEnded = 56;
constexpr int ServerText = 57;        // text: answer of the maker's server
constexpr int AnyCountExceeds = 59;   // value: limit; non-zero answer stops the crawl
}  // namespace notify

struct Notification {
    int code = 0;
    long value = 0;
    std::string text;
    std::string user;
    std::string password;
    // The sender's stop flag, when it has one: a question still waiting for
    // its answer is dropped (answered 0) once the flag is set, so stopping a
    // worker never waits on a dialog nobody answers.
    const std::atomic<bool>* senderStop = nullptr;
};

class Notifier {
public:
    virtual ~Notifier() = default;
    // Delivers the notification and returns the receiver's answer.
    virtual long Send(Notification& n) = 0;
    // Delivers a notification whose answer nobody needs (a progress count)
    // without waiting for the receiver, in the order of sending.
    virtual void Post(const Notification& n) {
        Notification copy = n;
        Send(copy);
    }
    // Drops the questions whose sender's stop flag is set; for receivers
    // that answer on another thread. Called by whoever stops workers.
    virtual void DropStopped() {}
};

// For front ends without a receiver: every notification answers 0.
class NullNotifier : public Notifier {
public:
    long Send(Notification&) override { return 0; }
};

}  // namespace flk
