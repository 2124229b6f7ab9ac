#pragma once
#include "platform/Notifier.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>

namespace flk::ui {

// The notifier of the windows. Send from a worker runs the handler on the
// UI thread and blocks the worker until it answers; on the UI thread it
// calls the handler directly. The UI thread must never block on a worker
// without servicing these calls: every such wait goes through ServiceUntil.
//
// After Close() no handler runs any more: pending and later calls answer 0.
class WxNotifier : public Notifier {
public:
    using Handler = std::function<long(Notification&)>;

    explicit WxNotifier(Handler handler);
    ~WxNotifier() override;
    WxNotifier(const WxNotifier&) = delete;
    WxNotifier& operator=(const WxNotifier&) = delete;

    long Send(Notification& n) override;
    // Queued behind the calls already waiting, and run on the UI thread in
    // that order: every count is shown (the window asks its question at an
    // exact count), only the worker does not wait for it.
    void Post(const Notification& n) override;
    void DropStopped() override;

    // A question whose answer is published state (atomics) is answered on
    // the sender's thread, without waiting for the UI thread: the crawl
    // asks some of them for every link it decides. The answer runs under
    // the notifier's lock, so AnswerDirectly(code, {}) from the owner's
    // destructor waits for an answer in progress. Any thread.
    using DirectAnswer = std::function<long(const Notification&)>;
    void AnswerDirectly(int code, DirectAnswer answer);

    // Runs any function on the UI thread the way Send runs the handler
    // (a question of the search flow, for instance). `stop`, when given,
    // drops the call once it is set.
    long Call(std::function<long()> fn, const std::atomic<bool>* stop = nullptr);

    // Runs the calls that wait for the UI thread now; UI thread only.
    void ServicePending();

    // The one wait of the UI thread on workers: services pending calls
    // until done() holds or the time runs out (false then). Questions of
    // stopped senders are dropped while it waits. UI thread only.
    bool ServiceUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

    void Close();
    bool Closed() const;

private:
    long Call(std::function<long()> fn, const std::atomic<bool>* stop, bool* answered);

    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace flk::ui
