#include "ui/WxNotifier.h"

#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>
#include <wx/evtloop.h>
#include <wx/thread.h>
#include <wx/timer.h>

using namespace flk;
using namespace std::chrono_literals;

namespace {

constexpr int kThreads = 8;
constexpr int kCallsEach = 5000;

long AnswerFor(long value) { return value * 2 + 1; }

struct Sender {
    std::atomic<bool> stop{false};
    std::thread thread;
    std::vector<long> answers;  // per call, in order
};

// Runs the toolkit's own event loop for a while: the calls then reach the
// UI thread through posted events, not through ServiceUntil.
void RunEventLoop(std::chrono::milliseconds howLong) {
    wxGUIEventLoop loop;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { loop.Exit(); });
    timer.StartOnce(static_cast<int>(howLong.count()));
    loop.Run();
}

}  // namespace

TEST(WxNotifier, ManySendersStoppedAndClosedWithoutDeadlockOrLostAnswer) {
    std::atomic<bool> closed{false};
    std::atomic<int> callsAfterClose{0};
    std::atomic<int> handled{0};
    std::atomic<int> offUiThread{0};
    std::mutex handledLock;
    std::vector<std::vector<long>> handledValues(kThreads);

    ui::WxNotifier notifier([&](Notification& n) -> long {
        if (closed) ++callsAfterClose;
        if (!wxIsMainThread()) ++offUiThread;
        {
            std::lock_guard<std::mutex> guard(handledLock);
            handledValues[n.code].push_back(n.value);
        }
        ++handled;
        n.user = "u" + std::to_string(n.value);
        return AnswerFor(n.value);
    });

    std::vector<Sender> senders(kThreads);
    std::atomic<int> mismatchedUser{0};
    for (int t = 0; t < kThreads; ++t) {
        senders[t].thread = std::thread([&, t] {
            for (int i = 0; i < kCallsEach; ++i) {
                Notification n;
                n.code = t;
                n.value = i;
                n.senderStop = &senders[t].stop;
                const long answer = notifier.Send(n);
                if (answer != 0 && n.user != "u" + std::to_string(i)) ++mismatchedUser;
                senders[t].answers.push_back(answer);
            }
        });
    }

    // Both ways of reaching the UI thread: the event loop and the wait.
    RunEventLoop(150ms);
    ASSERT_TRUE(notifier.ServiceUntil([&] { return handled.load() >= kThreads * 200; }, 20s));
    // Stop half of the senders, as Stop does with the crawl's workers.
    for (int t = 0; t < kThreads; t += 2) senders[t].stop = true;
    notifier.DropStopped();
    RunEventLoop(100ms);
    ASSERT_TRUE(notifier.ServiceUntil([&] { return handled.load() >= kThreads * 1500; }, 20s));
    notifier.Close();
    closed = true;
    for (auto& s : senders) s.thread.join();  // senders no longer wait once closed

    EXPECT_EQ(callsAfterClose.load(), 0);
    EXPECT_EQ(offUiThread.load(), 0);
    EXPECT_EQ(mismatchedUser.load(), 0);
    for (int t = 0; t < kThreads; ++t) {
        const auto& got = senders[t].answers;
        ASSERT_EQ(got.size(), static_cast<std::size_t>(kCallsEach));
        // Calls are handled in the order each sender made them, each once.
        const auto& seen = handledValues[t];
        for (std::size_t k = 0; k < seen.size(); ++k) ASSERT_EQ(seen[k], static_cast<long>(k));
        std::size_t answered = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (got[i] == 0) continue;
            EXPECT_EQ(got[i], AnswerFor(static_cast<long>(i)));
            ++answered;
        }
        // Every answer the handler gave reached its sender; a stopped sender
        // may have left before the one answer it was waiting for.
        if (t % 2 == 1)
            EXPECT_EQ(answered, seen.size()) << "sender " << t;
        else
            EXPECT_GE(answered + 1, seen.size()) << "sender " << t;
        EXPECT_LT(seen.size(), static_cast<std::size_t>(kCallsEach)) << "sender " << t << " should have been cut short";
    }
}

TEST(WxNotifier, OnTheUiThreadCallsDirectlyAndAfterCloseAnswersZero) {
    int calls = 0;
    ui::WxNotifier notifier([&](Notification& n) -> long {
        ++calls;
        return n.value + 1;
    });
    Notification n;
    n.value = 41;
    EXPECT_EQ(notifier.Send(n), 42);
    EXPECT_EQ(calls, 1);
    notifier.Close();
    EXPECT_EQ(notifier.Send(n), 0);
    long fromWorker = -1;
    std::thread([&] { fromWorker = notifier.Send(n); }).join();
    EXPECT_EQ(fromWorker, 0);
    EXPECT_EQ(calls, 1);
}

TEST(WxNotifier, AStoppedSenderLeavesAQuestionThatIsOnScreen) {
    std::atomic<bool> stop{false};
    std::atomic<bool> senderBack{false};
    long senderAnswer = -1;
    std::string senderUser = "unchanged";
    ui::WxNotifier* self = nullptr;
    ui::WxNotifier notifier([&](Notification& n) -> long {
        // The question is on screen (a dialog's loop keeps servicing) when
        // the worker is stopped; the worker must not wait for the answer.
        stop = true;
        EXPECT_TRUE(self->ServiceUntil([&] { return senderBack.load(); }, 5s));
        n.user = "late";
        return 7;
    });
    self = &notifier;
    std::thread worker([&] {
        Notification n;
        n.code = notify::PasswordNeeded;
        n.senderStop = &stop;
        senderAnswer = notifier.Send(n);
        senderUser = n.user;
        senderBack = true;
    });
    EXPECT_TRUE(notifier.ServiceUntil([&] { return senderBack.load(); }, 5s));
    worker.join();
    EXPECT_EQ(senderAnswer, 0);
    EXPECT_EQ(senderUser, "");
}

// Counts are posted: the worker never waits for the UI thread, and the
// window sees every count in the order the worker sent them, the end
// after the last count.
TEST(WxNotifier, PostedCountsDoNotWaitAndArriveInOrder) {
    std::vector<std::pair<int, long>> seen;
    ui::WxNotifier notifier([&](Notification& n) -> long {
        seen.emplace_back(n.code, n.value);
        return 0;
    });
    constexpr int kPosts = 2000;
    std::atomic<bool> posted{false};
    std::thread worker([&] {
        for (int i = 1; i <= kPosts; ++i) {
            Notification count;
            count.code = i % 2 ? notify::ImagesCount : notify::SoundsCount;
            count.value = i;
            notifier.Post(count);
        }
        posted = true;  // the UI thread has not serviced anything yet
        Notification ended;
        ended.code = notify::SearchEnded;
        notifier.Send(ended);
    });
    for (int i = 0; i < 500 && !posted; ++i) std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(posted.load());
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(notifier.ServiceUntil([&] { return !seen.empty() && seen.back().first == notify::SearchEnded; }, 5s));
    worker.join();
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(kPosts + 1));
    for (int i = 1; i <= kPosts; ++i) {
        EXPECT_EQ(seen[i - 1].second, i);
        EXPECT_EQ(seen[i - 1].first, i % 2 ? notify::ImagesCount : notify::SoundsCount);
    }
    notifier.Close();
    std::thread([&] {
        Notification late;
        late.code = notify::ImagesCount;
        notifier.Post(late);
    }).join();
    notifier.ServicePending();
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kPosts + 1));
}

// A question answered from published state is answered on the asking
// thread even while the UI thread services nothing; once the answer is
// taken back, the question goes to the UI thread again.
TEST(WxNotifier, DirectAnswersNeedNoUiThread) {
    std::atomic<int> published{0};
    int uiAnswers = 0;
    ui::WxNotifier notifier([&](Notification&) -> long {
        ++uiAnswers;
        return 5;
    });
    notifier.AnswerDirectly(notify::AnyCountExceeds,
                            [&](const Notification& n) { return published.load() > n.value ? 1L : 0L; });
    long first = -1, second = -1;
    std::thread([&] {
        Notification ask;
        ask.code = notify::AnyCountExceeds;
        ask.value = 100;
        first = notifier.Send(ask);
        published = 101;
        second = notifier.Send(ask);
    }).join();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(uiAnswers, 0);

    notifier.AnswerDirectly(notify::AnyCountExceeds, {});
    std::atomic<long> later{-1};
    std::thread asker([&] {
        Notification ask;
        ask.code = notify::AnyCountExceeds;
        later = notifier.Send(ask);
    });
    EXPECT_TRUE(notifier.ServiceUntil([&] { return later.load() != -1; }, 5s));
    asker.join();
    EXPECT_EQ(later.load(), 5);
    EXPECT_EQ(uiAnswers, 1);
}
