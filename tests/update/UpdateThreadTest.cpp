#include "settings/Settings.h"
#include "net/InternetShare.h"
#include "platform/Notifier.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "update/UpdateFile.h"
#include "update/UpdateThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace flk;
using Outcome = UpdateThread::Outcome;
using test::PageRow;

namespace {

constexpr LocalDate kToday{2024, 3, 5};
const std::string kOldFile = "<register>server=\"http://old.test/\"</register>";

struct CountingNotifier : Notifier {
    std::atomic<int> ended{0};
    long Send(Notification& n) override {
        if (n.code == notify::UpdateEnded) ++ended;
        return 0;
    }
};

class UpdateThreadTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::LoopbackServer server;
    InternetShare share;
    CountingNotifier notifier;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    UpdateFile file{dir.Path()};

    void SetUp() override {
        settings.Set(hosts::UpdateBase, server.Url("/update/"));
        dir.Write("data.txt", kOldFile);
    }
    std::unique_ptr<UpdateThread> Started() {
        UpdateThreadOptions options;
        options.today = [] { return kToday; };
        auto t = std::make_unique<UpdateThread>(settings, file, notifier, share, options);
        EXPECT_TRUE(t->Start());
        return t;
    }
    Outcome RunOnce() {
        auto t = Started();
        t->Join();
        return t->Result();
    }
    LocalDate StoredDate() const { return ReadDate(settings, kUpdateDateKeys); }
};

}  // namespace

TEST_F(UpdateThreadTest, DownloadsOncePerDayAndKeepsOnlyUsableAnswers) {
    const std::string good = "<register>\nserver=\"http://new.test/trn/\"\n</register>\n<sex words>zebra</sex words>\n";
    struct Row {
        const char* name;
        LocalDate stored;
        PageRow reply;
        Outcome outcome;
        bool replaced;
    };
    const LocalDate yesterday{2024, 3, 4};
    const std::vector<Row> rows = {
        {"not due", kToday, {.body = good}, Outcome::NotDue, false},
        {"due", {0, 0, 0}, {.body = good}, Outcome::Stored, true},
        {"error page", yesterday, {.status = 404, .body = "<h1>404 Not Found</h1>"}, Outcome::Stored, true},
        {"9 characters", yesterday, {.body = "123456789 \r\n\n\t"}, Outcome::TooShort, false},
        {"10 characters", yesterday, {.body = "1234567890\n"}, Outcome::Stored, true},
        {"broken transfer", yesterday, {.body = good + good, .mode = test::ReplyMode::Partial, .partialBytes = 40},
         Outcome::Failed, false},
        {"too large", yesterday, {.body = std::string(UpdateFile::kMaxBytes + 2, 'x')}, Outcome::Failed, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        dir.Write("data.txt", kOldFile);
        WriteDate(settings, kUpdateDateKeys, row.stored);
        PageRow reply = row.reply;
        reply.path = "/update/data.txt";
        server.Add(reply);
        server.ClearLog();
        const int noticesBefore = notifier.ended;

        EXPECT_EQ(RunOnce(), row.outcome);
        EXPECT_EQ(server.Count("/update/data.txt"), row.outcome == Outcome::NotDue ? 0 : 1);
        EXPECT_EQ(notifier.ended, noticesBefore + 1);
        EXPECT_EQ(StoredDate(), row.replaced ? kToday : row.stored);
        EXPECT_EQ(dir.Read("data.txt") != kOldFile, row.replaced);
    }
    ASSERT_FALSE(server.Requests().empty());
    EXPECT_EQ(server.Requests().back().agent, kUpdateAgent);
}

TEST_F(UpdateThreadTest, StopDuringSlowDownloadStoresNothingAndKeepsTheDate) {
    server.Add({.path = "/update/data.txt", .body = std::string(4000, 'a'), .mode = test::ReplyMode::Dripping,
                .dripDelayMs = 20, .dripChunk = 10});
    auto thread = Started();
    for (int i = 0; i < 500 && server.Count("/update/data.txt") == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto before = std::chrono::steady_clock::now();
    thread->RequestStop();
    thread->Join();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_EQ(thread->Result(), Outcome::Stopped);
    EXPECT_EQ(notifier.ended, 0);
    EXPECT_EQ(dir.Read("data.txt"), kOldFile);
    EXPECT_EQ(StoredDate(), (LocalDate{1980, 1, 1}));
}

TEST_F(UpdateThreadTest, DateIsWrittenOnlyAfterTheFileIsStored) {
    server.Add({.path = "/update/data.txt", .body = "<banners>same=\"y\"</banners>"});
    file.SetProjectFolder(dir.File("no such folder"));
    EXPECT_EQ(RunOnce(), Outcome::StoreFailed);
    EXPECT_EQ(StoredDate(), (LocalDate{1980, 1, 1}));
    EXPECT_EQ(notifier.ended, 1);

    file.SetProjectFolder(dir.Path());
    EXPECT_EQ(RunOnce(), Outcome::Stored);
    EXPECT_EQ(StoredDate(), kToday);
}
