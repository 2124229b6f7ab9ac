#include "settings/Settings.h"
#include "net/InternetShare.h"
#include "platform/Notifier.h"
#include "platform/ProblemLog.h"
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
// Update data with every block the readers need.
const std::string kGood =
    "<engines>[Looksmart]url1=\"http://d.test/r?%search%\"</engines>\n<categories>url=\"http://m.test/eng/\"</categories>\n"
    "<register>\nserver=\"http://new.test/trn/\"\n</register>\n<sex words>zebra</sex words>\n";
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
    const std::string good = kGood;
    std::string noWords = kGood;
    noWords.erase(noWords.find("<sex words>"));
    struct Row {
        const char* name;
        LocalDate stored;
        PageRow reply;
        Outcome outcome;
        bool replaced;
        const char* logged;  // the reason in the log line; "" for none
    };
    const LocalDate yesterday{2024, 3, 4};
    const std::vector<Row> rows = {
        {"not due", kToday, {.body = good}, Outcome::NotDue, false, ""},
        {"due", {0, 0, 0}, {.body = good}, Outcome::Stored, true, ""},
        // Only a 200 answer with every block is stored: anything else would
        // leave the readers with no adult words.
        {"error page", yesterday, {.status = 404, .body = "<h1>404 Not Found</h1>"}, Outcome::NotUpdateData, false,
         "(answer 404)"},
        {"error page with the blocks", yesterday, {.status = 500, .body = good}, Outcome::NotUpdateData, false, "(answer 500)"},
        {"redirect without a location", yesterday, {.status = 301, .body = good}, Outcome::NotUpdateData, false,
         "(answer 301)"},
        {"redirect", yesterday, {.status = 302, .headers = {{"Location", "moved/1.txt"}}}, Outcome::Stored, true, ""},
        {"too many redirects", yesterday, {.status = 302, .headers = {{"Location", "loop/1.txt"}}},
         Outcome::NotUpdateData, false, "(answer 302)"},
        {"no adult words", yesterday, {.body = noWords}, Outcome::NotUpdateData, false, "block"},
        {"empty", yesterday, {.body = ""}, Outcome::TooShort, false, "too short"},
        {"9 characters", yesterday, {.body = "123456789 \r\n\n\t"}, Outcome::TooShort, false, "too short"},
        {"10 characters", yesterday, {.body = "1234567890\n"}, Outcome::NotUpdateData, false, "block"},
        {"broken transfer", yesterday, {.body = good + good, .mode = test::ReplyMode::Partial, .partialBytes = 40},
         Outcome::Failed, false, "bytes remaining"},
        {"too large", yesterday, {.body = std::string(UpdateFile::kMaxBytes + 2, 'x')}, Outcome::Failed, false,
         "larger than"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        dir.Write("data.txt", kOldFile);
        WriteDate(settings, kUpdateDateKeys, row.stored);
        PageRow reply = row.reply;
        reply.path = "/update/data.txt";
        server.Add(reply);
        // "moved/" reaches the data after one more hop; "loop/" goes on for ever.
        server.Add({.path = "/update/moved/1.txt", .status = 301, .headers = {{"Location", "/update/moved/2.txt"}}});
        server.Add({.path = "/update/moved/2.txt", .body = good});
        for (int n = 1; n <= 10; ++n)
            server.Add({.path = "/update/loop/" + std::to_string(n) + ".txt", .status = 302,
                        .headers = {{"Location", std::to_string(n + 1) + ".txt"}}, .body = good});
        server.ClearLog();
        const int noticesBefore = notifier.ended;
        std::vector<std::string> log;
        SetProblemLogHook([&log](const std::string& line) { log.push_back(line); });

        EXPECT_EQ(RunOnce(), row.outcome);
        SetProblemLogHook({});
        if (*row.logged == '\0') {
            EXPECT_TRUE(log.empty()) << log.front();
        } else {
            // A refusal is never silent: the address, why, and that the old data stays.
            ASSERT_EQ(log.size(), 1u);
            EXPECT_NE(log[0].find(server.Url("/update/data.txt")), std::string::npos) << log[0];
            EXPECT_NE(log[0].find(row.logged), std::string::npos) << log[0];
            EXPECT_NE(log[0].find("the previous data is kept"), std::string::npos) << log[0];
        }
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
    server.Add({.path = "/update/data.txt", .body = kGood});
    file.SetProjectFolder(dir.File("no such folder"));
    EXPECT_EQ(RunOnce(), Outcome::StoreFailed);
    EXPECT_EQ(StoredDate(), (LocalDate{1980, 1, 1}));
    EXPECT_EQ(notifier.ended, 1);

    file.SetProjectFolder(dir.Path());
    EXPECT_EQ(RunOnce(), Outcome::Stored);
    EXPECT_EQ(StoredDate(), kToday);
}

TEST_F(UpdateThreadTest, ADrippingDownloadEndsAtTheRequestTimeLimit) {
    settings.Set(keys::CrawlerPageTimeout, 1);
    server.Add({.path = "/update/data.txt", .body = std::string(40, 'a'), .mode = test::ReplyMode::Dripping,
                .dripDelayMs = 200, .dripChunk = 1});  // 8 s in all, always above the low-speed limit
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(RunOnce(), Outcome::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_EQ(dir.Read("data.txt"), kOldFile);
}

TEST_F(UpdateThreadTest, TooManyRedirectsStopAtTheFifth) {
    WriteDate(settings, kUpdateDateKeys, {2024, 3, 4});
    server.Add({.path = "/update/data.txt", .status = 302, .headers = {{"Location", "loop/1.txt"}}});
    for (int n = 1; n <= 10; ++n)
        server.Add({.path = "/update/loop/" + std::to_string(n) + ".txt", .status = 302,
                    .headers = {{"Location", std::to_string(n + 1) + ".txt"}}});
    EXPECT_EQ(RunOnce(), Outcome::NotUpdateData);
    EXPECT_EQ(server.Requests().size(), 6u);  // the address and five redirects
    EXPECT_EQ(server.Count("/update/loop/5.txt"), 1);
    EXPECT_EQ(server.Count("/update/loop/6.txt"), 0);
}
