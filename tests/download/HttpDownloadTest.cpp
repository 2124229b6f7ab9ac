#include "DownloadFixture.h"

#include "download/DownloadNames.h"
#include "platform/Paths.h"

#include <thread>

namespace flk {
namespace {

using test::EarlyReply;
using test::PageRow;
using test::Pattern;
using test::ReplyMode;

class HttpDownloadTest : public test::DownloadFixture {};

// One answer of the server and what the finished list and the folder show.
struct AnswerCase {
    const char* name;
    PageRow row;
    int code;
    const char* result;
    bool fileKept;
};

TEST_F(HttpDownloadTest, AnswersMapToResultsAndFiles) {
    const std::string body = Pattern(10000);
    const std::vector<AnswerCase> cases = {
        {"length", {.path = "/length.jpg", .body = body}, 1, "Finished successfully", true},
        {"chunked", {.path = "/chunked.jpg", .body = body, .mode = ReplyMode::NoLength}, 1, "Finished successfully",
         true},
        {"empty", {.path = "/empty.jpg", .body = ""}, 1, "Finished successfully", true},
        {"no type", {.path = "/plain.bin", .headers = {{"Content-Type", ""}}, .body = body}, 1,
         "Finished successfully", true},
        {"moved", {.path = "/moved.jpg", .status = 301, .headers = {{"Location", "/length.jpg"}}}, 4,
         "File not found", false},
        {"see other", {.path = "/other.jpg", .status = 303, .headers = {{"Location", "/length.jpg"}}}, 4,
         "File not found", false},
        {"missing", {.path = "/missing.jpg", .status = 404, .body = "gone"}, 4, "File not found", false},
        {"forbidden", {.path = "/forbidden.jpg", .status = 403, .body = "no"}, 2, "Connection error", false},
        {"server error", {.path = "/broken.jpg", .status = 500, .body = "oops"}, 2, "Connection error", false},
        {"teapot", {.path = "/teapot.jpg", .status = 418}, 2, "Connection error", false},
        {"password", {.path = "/secret.jpg", .body = body, .user = "u", .password = "p"}, 5, "Access denied",
         false},
    };
    for (const AnswerCase& c : cases) server.Add(c.row);
    for (const AnswerCase& c : cases) EXPECT_EQ(Add(server.Url(c.row.path)), DownloadManager::kAdded) << c.name;
    WaitIdle();
    for (const AnswerCase& c : cases) {
        const FinishedRow row = Finished(server.Url(c.row.path));
        EXPECT_EQ(row.code, c.code) << c.name;
        EXPECT_EQ(row.result, c.result) << c.name;
        const std::string file = dir.File(c.row.path.substr(1));
        EXPECT_EQ(FileExists(file), c.fileKept) << c.name;
        EXPECT_FALSE(FileExists(PartPath(file))) << c.name;
        EXPECT_FALSE(FileExists(PartNotePath(file))) << c.name;
        if (c.fileKept) {
            EXPECT_EQ(dir.Read(c.row.path.substr(1)), c.row.body) << c.name;
        }
    }
    EXPECT_EQ(Manager().View().waiting.size(), 0u);
    EXPECT_EQ(Manager().View().finished.size(), cases.size());
    // A 5xx is retried before it counts; a 404 is not.
    EXPECT_EQ(server.Count("/broken.jpg"), 4);
    EXPECT_EQ(server.Count("/missing.jpg"), 1);
}

TEST_F(HttpDownloadTest, CredentialsFromTheQuestionAreSent) {
    const std::string body = Pattern(3000);
    server.Add({.path = "/secret.jpg", .body = body, .user = "ann", .password = "pw"});
    notifier.answer = true;
    notifier.user = "ann";
    notifier.password = "pw";
    Add(server.Url("/secret.jpg"));
    WaitIdle();
    EXPECT_EQ(Finished(server.Url("/secret.jpg")).code, 1);
    EXPECT_EQ(notifier.asked, 1);
    EXPECT_EQ(dir.Read("secret.jpg"), body);

    // Wrong answers are asked again a few times, then the download ends.
    server.Add({.path = "/locked.jpg", .body = body, .user = "ann", .password = "other"});
    notifier.asked = 0;
    Add(server.Url("/locked.jpg"));
    WaitIdle();
    EXPECT_EQ(Finished(server.Url("/locked.jpg")).result, "Access denied");
    EXPECT_EQ(notifier.asked, 5);
    EXPECT_FALSE(FileExists(dir.File("locked.jpg")));
}

TEST_F(HttpDownloadTest, ProgressColumnsWhileReading) {
    const std::string body = Pattern(8 * 1024);
    server.Add({.path = "/slow.jpg", .body = body, .mode = ReplyMode::Dripping, .dripDelayMs = 20,
                .dripChunk = 1024});
    Add(server.Url("/slow.jpg"));
    // Unknown size: "Unknown" and no percentage while bytes arrive.
    bool seenUnknown = false;
    for (int i = 0; i < 400 && !seenUnknown; ++i) {
        for (const WaitingRow& row : Manager().View().waiting) {
            const auto cells = row.Cells();
            if (cells[3] == "Unknown" && cells[5] == "Reading file") {
                seenUnknown = true;
                EXPECT_EQ(cells[4], "");
                EXPECT_EQ(cells[1], dir.File("slow.jpg"));
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(seenUnknown);
    WaitIdle();
    EXPECT_EQ(dir.Read("slow.jpg"), body);

    WaitingRow row;
    row.url = "u";
    row.target = "t";
    row.status = "Reading file";
    EXPECT_EQ(row.Cells(), (std::vector<std::string>{"u", "t", "", "", "", "Reading file"}));
    row.total = 10240;
    row.received = 2560;
    EXPECT_EQ(row.Cells(), (std::vector<std::string>{"u", "t", "2", "10", "25%", "Reading file"}));
    row.total = -1;
    EXPECT_EQ(row.Cells()[3], "Unknown");
    EXPECT_EQ(row.Cells()[4], "");
}

TEST_F(HttpDownloadTest, DroppedBodyIsContinuedWithARange) {
    const std::string body = Pattern(50000);
    server.Add({.path = "/cut.jpg", .body = body, .mode = ReplyMode::Partial, .partialBytes = 20000, .ranges = true});
    Add(server.Url("/cut.jpg"));
    WaitIdle();
    EXPECT_EQ(Finished(server.Url("/cut.jpg")).code, 1);
    EXPECT_EQ(dir.Read("cut.jpg"), body);
    EXPECT_EQ(Files(), (std::vector<std::string>{"cut.jpg"}));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].range, "");
    EXPECT_EQ(requests[1].range, "bytes=20000-");
}

TEST_F(HttpDownloadTest, DropsThatNeverEndKeepThePartForLater) {
    const std::string body = Pattern(50000);
    server.Add({.path = "/cut.jpg", .body = body, .mode = ReplyMode::Partial, .partialBytes = 20000});
    Add(server.Url("/cut.jpg"));
    WaitIdle();
    const FinishedRow row = Finished(server.Url("/cut.jpg"));
    EXPECT_EQ(row.code, 2);
    EXPECT_EQ(server.Count("/cut.jpg"), 4);
    // No truncated file under the name; the part and its address stay.
    EXPECT_FALSE(FileExists(dir.File("cut.jpg")));
    EXPECT_EQ(dir.Read("cut.jpg.part"), body.substr(0, 20000));
    EXPECT_EQ(dir.Read("cut.jpg.part.url"), server.Url("/cut.jpg") + "\n");

    // Started again, the server now answers ranges: it continues the part.
    server.Add({.path = "/cut.jpg", .body = body, .ranges = true});
    server.ClearLog();
    Add(server.Url("/cut.jpg"));
    WaitIdle();
    EXPECT_EQ(Finished(server.Url("/cut.jpg")).code, 1);
    EXPECT_EQ(dir.Read("cut.jpg"), body);
    EXPECT_EQ(Files(), (std::vector<std::string>{"cut.jpg"}));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].range, "bytes=20000-");
}

TEST_F(HttpDownloadTest, KeptPartsContinueOrStartOver) {
    // A part left by an earlier run: 206 appends, 200 replaces, a part of
    // another address is left alone and the file gets another name.
    const std::string body = Pattern(30000);
    server.Add({.path = "/ranged.jpg", .body = body, .ranges = true});
    server.Add({.path = "/whole.jpg", .body = body});
    server.Add({.path = "/done.jpg", .body = body, .ranges = true});
    server.Add({.path = "/theirs.jpg", .body = body});
    dir.Write("ranged.jpg.part", body.substr(0, 12345));
    dir.Write("ranged.jpg.part.url", server.Url("/ranged.jpg") + "\n");
    dir.Write("whole.jpg.part", "garbage that the server's 200 replaces");
    dir.Write("whole.jpg.part.url", server.Url("/whole.jpg") + "\n");
    dir.Write("done.jpg.part", body);
    dir.Write("done.jpg.part.url", server.Url("/done.jpg") + "\n");
    dir.Write("theirs.jpg.part", "another address's part");
    dir.Write("theirs.jpg.part.url", "http://elsewhere.example/theirs.jpg\n");
    for (const char* p : {"/ranged.jpg", "/whole.jpg", "/done.jpg", "/theirs.jpg"}) Add(server.Url(p));
    WaitIdle();
    for (const char* p : {"/ranged.jpg", "/whole.jpg", "/done.jpg", "/theirs.jpg"})
        EXPECT_EQ(Finished(server.Url(p)).code, 1) << p;
    EXPECT_EQ(dir.Read("ranged.jpg"), body);
    EXPECT_EQ(dir.Read("whole.jpg"), body);
    EXPECT_EQ(dir.Read("done.jpg"), body);
    EXPECT_EQ(dir.Read("theirs (1).jpg"), body);
    EXPECT_EQ(dir.Read("theirs.jpg.part"), "another address's part");
    EXPECT_EQ(Files(), (std::vector<std::string>{"done.jpg", "ranged.jpg", "theirs (1).jpg", "theirs.jpg.part",
                                                 "theirs.jpg.part.url", "whole.jpg"}));
    EXPECT_EQ(Finished(server.Url("/ranged.jpg")).bytes, body.size());
}

TEST_F(HttpDownloadTest, TooManyRequestsWaitsAndTriesAgain) {
    const std::string body = Pattern(2000);
    server.Add({.path = "/busy.jpg", .body = body,
                .firstReplies = {EarlyReply{429, {{"Retry-After", "1"}}}, EarlyReply{503, {}}}});
    const auto start = std::chrono::steady_clock::now();
    Add(server.Url("/busy.jpg"));
    bool sawRetry = false;
    while (!Manager().Idle()) {
        for (const WaitingRow& row : Manager().View().waiting)
            if (row.status.find("retry 1 of 3") != std::string::npos) sawRetry = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(sawRetry);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(950));
    EXPECT_EQ(Finished(server.Url("/busy.jpg")).code, 1);
    EXPECT_EQ(server.Count("/busy.jpg"), 3);
    EXPECT_EQ(dir.Read("busy.jpg"), body);
}

TEST_F(HttpDownloadTest, StoppedByTheUserKeepsOnlyAPart) {
    const std::string body = Pattern(200000);
    server.Add({.path = "/slow.jpg", .body = body, .mode = ReplyMode::Dripping, .dripDelayMs = 20,
                .dripChunk = 512});
    server.Add({.path = "/never.jpg", .mode = ReplyMode::Stalled});
    Add(server.Url("/slow.jpg"));
    Add(server.Url("/never.jpg"));
    for (int i = 0; i < 500; ++i) {
        const auto view = Manager().View();
        if (!view.waiting.empty() && view.waiting[0].received >= 2048) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Manager().StopDownloads({server.Url("/slow.jpg"), server.Url("/never.jpg")});
    WaitIdle();
    EXPECT_EQ(Finished(server.Url("/slow.jpg")).result, "Interrupted by user");
    EXPECT_EQ(Finished(server.Url("/never.jpg")).result, "Interrupted by user");
    EXPECT_FALSE(FileExists(dir.File("slow.jpg")));
    EXPECT_FALSE(FileExists(dir.File("never.jpg")));
    EXPECT_FALSE(FileExists(dir.File("never.jpg.part")));  // nothing fetched, nothing kept
    const std::string part = dir.Read("slow.jpg.part");
    EXPECT_GE(part.size(), 2048u);
    EXPECT_EQ(part, body.substr(0, part.size()));
}

TEST_F(HttpDownloadTest, ExistingFileRules) {
    server.Add({.path = "/a.jpg", .body = "new"});
    server.Add({.path = "/b.jpg", .body = "new"});
    server.Add({.path = "/c.jpg", .body = "new"});
    server.Add({.path = "/d.jpg", .body = "new"});
    dir.Write("a.jpg", "old");
    dir.Write("a (1).jpg", "old1");
    dir.Write("b.jpg", "old");
    dir.Write("c.jpg", "old");
    dir.Write("d.jpg", "old");
    Manager().SetOptions(false, 0, 1);
    questions.answers = {dir.File("c-chosen.jpg"), std::nullopt};
    Add(server.Url("/a.jpg"), ExistingFilePolicy::Rename);
    Add(server.Url("/b.jpg"), ExistingFilePolicy::Overwrite);
    Add(server.Url("/c.jpg"), ExistingFilePolicy::Ask);
    Add(server.Url("/d.jpg"), ExistingFilePolicy::Ask);
    WaitIdle();
    EXPECT_EQ(dir.Read("a.jpg"), "old");
    EXPECT_EQ(dir.Read("a (1).jpg"), "old1");
    EXPECT_EQ(dir.Read("a (2).jpg"), "new");
    EXPECT_EQ(Finished(server.Url("/a.jpg")).target, dir.File("a (2).jpg"));
    EXPECT_EQ(dir.Read("b.jpg"), "new");
    EXPECT_EQ(dir.Read("c.jpg"), "old");
    EXPECT_EQ(dir.Read("c-chosen.jpg"), "new");
    EXPECT_EQ(questions.asked, (std::vector<std::string>{"File Exists!|" + dir.File("c.jpg"),
                                                         "File Exists!|" + dir.File("d.jpg")}));
    // Cancelled: nothing fetched, the row keeps its last status.
    EXPECT_EQ(dir.Read("d.jpg"), "old");
    EXPECT_EQ(server.Count("/d.jpg"), 0);
    EXPECT_EQ(Finished(server.Url("/d.jpg")).code, 0);
    EXPECT_EQ(Finished(server.Url("/d.jpg")).result, "Waiting...");
    EXPECT_EQ(Files(), (std::vector<std::string>{"a (1).jpg", "a (2).jpg", "a.jpg", "b.jpg", "c-chosen.jpg",
                                                 "c.jpg", "d.jpg"}));
}

TEST_F(HttpDownloadTest, SameNameAtOnceGetsTwoFiles) {
    // Two addresses with one file name, fetched at the same time, never
    // share a part file, whatever the rule.
    server.Add({.path = "/x/pic.jpg", .body = Pattern(40000), .mode = ReplyMode::Dripping, .dripDelayMs = 5,
                .dripChunk = 4000});
    server.Add({.path = "/y/pic.jpg", .body = Pattern(30000), .mode = ReplyMode::Dripping, .dripDelayMs = 5,
                .dripChunk = 4000});
    Add(server.Url("/x/pic.jpg"), ExistingFilePolicy::Overwrite);
    Add(server.Url("/y/pic.jpg"), ExistingFilePolicy::Overwrite);
    WaitIdle();
    EXPECT_EQ(Files(), (std::vector<std::string>{"pic (1).jpg", "pic.jpg"}));
    const std::string a = dir.Read("pic.jpg"), b = dir.Read("pic (1).jpg");
    EXPECT_TRUE((a == Pattern(40000) && b == Pattern(30000)) || (a == Pattern(30000) && b == Pattern(40000)));
}

TEST_F(HttpDownloadTest, NamesThatAreNoNamesAreAsked) {
    server.Add({.path = "/dir/", .body = "index"});
    server.Add({.path = "/dir/..", .body = "dots"});
    server.Add({.path = "/q", .body = "evil"});
    questions.answers = {dir.File("index.html"), std::nullopt};
    Add(server.Url("/dir/"));
    Add(server.Url("/dir/.."));
    // A name with a backslash is cut there: "..\\..\\evil.jpg" becomes "evil.jpg".
    Add(server.Url("/q") + "?f=..\\..\\evil.jpg");
    WaitIdle();
    ASSERT_EQ(questions.asked.size(), 2u);
    EXPECT_EQ(questions.asked[0], "Save As|" + dir.Path() + "/");
    EXPECT_EQ(dir.Read("index.html"), "index");
    EXPECT_EQ(dir.Read("evil.jpg"), "evil");
    EXPECT_EQ(Manager().View().finished.size(), 2u);  // the cancelled one was never added
    EXPECT_EQ(Files(), (std::vector<std::string>{"evil.jpg", "index.html"}));

    // Asking every name: the dialog shows the target the address gives.
    questions.asked.clear();
    questions.answers = {dir.File("renamed.txt")};
    server.Add({.path = "/n.txt", .body = "n"});
    Manager().SetOptions(true, 0, 5);
    Add(server.Url("/n.txt"));
    WaitIdle();
    EXPECT_EQ(questions.asked, (std::vector<std::string>{"Save As|" + dir.File("n.txt")}));
    EXPECT_EQ(dir.Read("renamed.txt"), "n");
}

TEST_F(HttpDownloadTest, NotEnoughFreeSpaceStopsAndLeavesNothing) {
    server.Add({.path = "/big.jpg", .body = Pattern(100000)});
    server.Add({.path = "/small.jpg", .body = Pattern(1000)});
    server.Add({.path = "/unsized.jpg", .body = Pattern(1000), .mode = ReplyMode::NoLength});
    freeBytes = 1024 * 1024 + 50000;  // 1 MB must stay free
    Manager().SetOptions(false, 1, 1);
    Add(server.Url("/big.jpg"));
    Add(server.Url("/small.jpg"));
    Add(server.Url("/unsized.jpg"));
    WaitIdle();
    const FinishedRow big = Finished(server.Url("/big.jpg"));
    EXPECT_EQ(big.result, "Not enough free disk space");
    EXPECT_EQ(big.code, 3);
    // Only that download is stopped; the next ones are judged for themselves.
    EXPECT_EQ(Finished(server.Url("/small.jpg")).result, "Finished successfully");
    EXPECT_EQ(Finished(server.Url("/unsized.jpg")).result, "Finished successfully");
    EXPECT_EQ(Files(), (std::vector<std::string>{"small.jpg", "unsized.jpg"}));
    ASSERT_FALSE(freeAsked.empty());
    EXPECT_EQ(freeAsked[0], dir.Path());
}

TEST_F(HttpDownloadTest, ManyFilesNeverMoreWorkersThanAllowed) {
    constexpr int kFiles = 200;
    for (int i = 0; i < kFiles; ++i)
        server.Add({.path = "/m/" + std::to_string(i) + ".jpg", .body = Pattern(1000 + i * 37), .delayMs = 5});
    Manager().SetOptions(false, 0, 5);
    for (int i = 0; i < kFiles; ++i) ASSERT_EQ(Add(server.Url("/m/" + std::to_string(i) + ".jpg")), 20);
    // Listed twice while queued or running: refused.
    EXPECT_EQ(Add(server.Url("/m/199.jpg")), DownloadManager::kAlreadyListed);
    WaitIdle();
    EXPECT_LE(Manager().PeakRunning(), 5);
    EXPECT_GE(Manager().PeakRunning(), 2);
    EXPECT_LE(server.PeakConcurrent(), 5);
    const DownloadView view = Manager().View();
    EXPECT_EQ(view.waiting.size(), 0u);
    ASSERT_EQ(view.finished.size(), static_cast<std::size_t>(kFiles));
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = std::to_string(i) + ".jpg";
        EXPECT_EQ(dir.Read(name).size(), 1000u + i * 37) << name;
    }
}

TEST_F(HttpDownloadTest, OneWorkerTakesTheQueueInOrder) {
    for (const char* p : {"/1.jpg", "/2.jpg", "/3.jpg"}) server.Add({.path = p, .body = "x", .delayMs = 150});
    Manager().SetOptions(false, 0, 1);
    for (const char* p : {"/1.jpg", "/2.jpg", "/3.jpg"}) Add(server.Url(p));
    const auto view = Manager().View();
    ASSERT_EQ(view.waiting.size(), 3u);
    EXPECT_EQ(view.waiting[1].status, "Waiting...");
    EXPECT_EQ(view.waiting[2].status, "Waiting...");
    WaitIdle();
    const auto finished = Manager().View().finished;
    ASSERT_EQ(finished.size(), 3u);
    EXPECT_EQ(finished[0].url, server.Url("/3.jpg"));
    EXPECT_EQ(finished[2].url, server.Url("/1.jpg"));
    const auto log = server.Requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].target, "/1.jpg");
    EXPECT_EQ(log[2].target, "/3.jpg");
}

TEST_F(HttpDownloadTest, StopAllMovesQueuedRowsAtOnce) {
    for (int i = 0; i < 5; ++i)
        server.Add({.path = "/s" + std::to_string(i) + ".jpg", .body = Pattern(100000), .mode = ReplyMode::Dripping,
                    .dripDelayMs = 20, .dripChunk = 1000});
    Manager().SetOptions(false, 0, 2);
    for (int i = 0; i < 5; ++i) Add(server.Url("/s" + std::to_string(i) + ".jpg"));
    auto reading = [this] {
        int n = 0;
        for (const WaitingRow& row : Manager().View().waiting) n += row.received > 0;
        return n;
    };
    for (int i = 0; i < 1000 && reading() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Manager().StopAll();
    const DownloadView right = Manager().View();
    EXPECT_EQ(right.finished.size() + right.waiting.size(), 5u);
    EXPECT_GE(right.finished.size(), 3u);
    for (const FinishedRow& row : right.finished) EXPECT_EQ(row.result, "Interrupted by user");
    WaitIdle();
    const DownloadView after = Manager().View();
    EXPECT_EQ(after.finished.size(), 5u);
    for (const FinishedRow& row : after.finished) EXPECT_EQ(row.result, "Interrupted by user");
    EXPECT_EQ(server.Requests().size(), 2u);
    // Adding again accepts again.
    server.Add({.path = "/after.jpg", .body = "a"});
    Add(server.Url("/after.jpg"));
    WaitIdle();
    EXPECT_EQ(Finished(server.Url("/after.jpg")).code, 1);
}

}  // namespace
}  // namespace flk
