#include "ui/WxNotifier.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <wx/app.h>
#include <wx/thread.h>

namespace flk::ui {

namespace {

// A sender that waits also looks at its stop flag this often, in case the
// stopper did not call DropStopped.
constexpr auto kStopCheck = std::chrono::milliseconds(100);
// How often ServiceUntil looks at its condition when no call arrives.
constexpr auto kServiceCheck = std::chrono::milliseconds(5);

struct PendingCall {
    std::function<long()> fn;
    const std::atomic<bool>* stop = nullptr;
    bool answered = false;
    bool dropped = false;  // answered 0 without running
    long answer = 0;
};

}  // namespace

struct WxNotifier::State {
    Handler handler;
    std::mutex lock;
    std::map<int, DirectAnswer> direct;
    std::condition_variable answeredCv;  // a pending call was answered or dropped
    std::condition_variable arrivedCv;   // a call waits for the UI thread
    std::deque<std::shared_ptr<PendingCall>> pending;
    bool closed = false;
    bool wakePosted = false;

    void AnswerLocked(PendingCall& call, long answer) {
        call.answered = true;
        call.answer = answer;
        answeredCv.notify_all();
    }

    // Queues a call for the UI thread and makes sure the event loop runs
    // the queue when the UI thread is not already servicing it in a wait.
    void EnqueueLocked(std::shared_ptr<PendingCall> call, const std::shared_ptr<State>& self) {
        pending.push_back(std::move(call));
        arrivedCv.notify_all();
        if (wakePosted || !wxTheApp) return;
        wakePosted = true;
        std::weak_ptr<State> weak = self;
        wxTheApp->CallAfter([weak] {
            if (auto s = weak.lock()) s->RunPending();
        });
    }

    void DropStoppedLocked() {
        for (auto it = pending.begin(); it != pending.end();) {
            if ((*it)->stop && (*it)->stop->load()) {
                (*it)->dropped = true;
                AnswerLocked(**it, 0);
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
    }

    // Runs the pending calls one by one, without the lock while a call runs:
    // a handler may show a dialog, whose loop comes back here.
    void RunPending() {
        for (;;) {
            std::shared_ptr<PendingCall> call;
            {
                std::lock_guard<std::mutex> guard(lock);
                wakePosted = false;
                DropStoppedLocked();
                if (closed || pending.empty()) return;
                call = pending.front();
                pending.pop_front();
            }
            const long answer = call->fn();
            std::lock_guard<std::mutex> guard(lock);
            AnswerLocked(*call, answer);
        }
    }
};

WxNotifier::WxNotifier(Handler handler) : state_(std::make_shared<State>()) {
    state_->handler = std::move(handler);
}

WxNotifier::~WxNotifier() { Close(); }

long WxNotifier::Send(Notification& n) {
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        if (const auto direct = state_->direct.find(n.code); direct != state_->direct.end())
            return state_->closed ? 0 : direct->second(n);
    }
    if (wxIsMainThread()) return Closed() ? 0 : state_->handler(n);
    // The handler works on a copy: a dropped sender may be gone before a
    // dialog already open for it is answered.
    auto copy = std::make_shared<Notification>(n);
    std::weak_ptr<State> weak = state_;
    bool answered = false;
    const long answer = Call(
        [weak, copy, &answered] {
            auto s = weak.lock();
            return s ? s->handler(*copy) : 0L;
        },
        n.senderStop, &answered);
    if (answered) {
        n.user = copy->user;
        n.password = copy->password;
    }
    return answer;
}

void WxNotifier::Post(const Notification& n) {
    if (wxIsMainThread()) {
        Notification copy = n;
        if (!Closed()) state_->handler(copy);
        return;
    }
    std::lock_guard<std::mutex> guard(state_->lock);
    if (state_->closed) return;
    auto call = std::make_shared<PendingCall>();
    std::weak_ptr<State> weak = state_;
    call->fn = [weak, note = n]() mutable {
        auto s = weak.lock();
        return s ? s->handler(note) : 0L;
    };
    state_->EnqueueLocked(std::move(call), state_);
}

long WxNotifier::Call(std::function<long()> fn, const std::atomic<bool>* stop) {
    return Call(std::move(fn), stop, nullptr);
}

long WxNotifier::Call(std::function<long()> fn, const std::atomic<bool>* stop, bool* answeredOut) {
    if (wxIsMainThread()) {
        if (Closed()) return 0;
        if (answeredOut) *answeredOut = true;
        return fn();
    }
    auto call = std::make_shared<PendingCall>();
    call->fn = std::move(fn);
    call->stop = stop;
    std::unique_lock<std::mutex> guard(state_->lock);
    if (state_->closed || (stop && stop->load())) return 0;
    state_->EnqueueLocked(call, state_);
    while (!call->answered) {
        state_->answeredCv.wait_for(guard, kStopCheck);
        if (call->answered) break;
        if (stop && stop->load()) {
            // Queued or already on screen: the sender goes on without it.
            std::erase(state_->pending, call);
            return 0;
        }
    }
    if (answeredOut) *answeredOut = call->dropped ? false : true;
    return call->answer;
}

void WxNotifier::DropStopped() {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->DropStoppedLocked();
}

void WxNotifier::AnswerDirectly(int code, DirectAnswer answer) {
    std::lock_guard<std::mutex> guard(state_->lock);
    if (answer)
        state_->direct[code] = std::move(answer);
    else
        state_->direct.erase(code);
}

void WxNotifier::ServicePending() { state_->RunPending(); }

bool WxNotifier::ServiceUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        state_->RunPending();
        if (done()) return true;
        std::unique_lock<std::mutex> guard(state_->lock);
        if (std::chrono::steady_clock::now() >= end) return false;
        if (state_->pending.empty()) state_->arrivedCv.wait_for(guard, kServiceCheck);
    }
}

void WxNotifier::Close() {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->closed = true;
    for (auto& call : state_->pending) {
        call->dropped = true;
        state_->AnswerLocked(*call, 0);
    }
    state_->pending.clear();
}

bool WxNotifier::Closed() const {
    std::lock_guard<std::mutex> guard(state_->lock);
    return state_->closed;
}

}  // namespace flk::ui
