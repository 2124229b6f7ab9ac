#include "settings/Settings.h"
#include "net/InternetShare.h"
#include "platform/Notifier.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "update/ServerQueries.h"
#include "update/ServerRequests.h"
#include "update/UpgradeOffer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

using namespace flk;

namespace {

bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
    for (int i = 0; i < ms / 10 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

struct TextNotifier : Notifier {
    std::mutex lock;
    std::vector<std::string> texts;
    std::function<void(const std::string&)> onText;
    long Send(Notification& n) override {
        if (n.code != notify::ServerText) return 0;
        std::lock_guard<std::mutex> g(lock);
        texts.push_back(n.text);
        if (onText) onText(n.text);
        return 0;
    }
};

struct ScriptedQuestion : UpgradeQuestion {
    bool answer = false;
    std::vector<std::string> asked, told;
    bool AskYesNo(const std::string& message, const std::string& title) override {
        asked.push_back(title + "|" + message);
        return answer;
    }
    void Inform(const std::string& message, const std::string& title) override { told.push_back(title + "|" + message); }
};

}  // namespace

TEST(ServerQueries, VersionAndUsageQueriesAreExact) {
    SystemDescription linux;
    linux.osver = "6.1";
    EXPECT_EQ(BuildVersionQuery("D", "G", "U", "E", "T", "P", linux),
              "tarn.dll?mdl=checkver&distrib=D&engine=E&ui=U&templ=T&distrib_g=G&upgrade=P"
              "&osver=6.1&osbuild=0.0&ospfmid=0&osverdesc=&osshver=0.0&osshbuild=0");

    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    const std::pair<StrKey, const char*> upgrades[] = {
        {keys::UpgradesBandlerCode, "D"}, {keys::UpgradesBandler, "G"},   {keys::UpgradesGui, "U"},
        {keys::UpgradesEngine, "E"},      {keys::UpgradesTemplates, "T"}, {keys::UpgradesUpgrade, "P"}};
    for (const auto& [key, value] : upgrades) settings.Set(key, value);
    EXPECT_EQ(BuildVersionQuery(settings), BuildVersionQuery("D", "G", "U", "E", "T", "P"));

    EXPECT_EQ(BuildUsageQuery("cats & dogs", true), "tarn.dll?mdl=use&req=insert&txt_code=word&info=cats+&+dogs");
    EXPECT_EQ(BuildUsageQuery("Art/\r\nx=1", false), "tarn.dll?mdl=use&req=insert&txt_code=category&info=Art%2Fx=1");

    const std::pair<const char*, const char*> releases[] = {
        {"6.1.0-18-amd64", "6.1"}, {"5.15", "5.15"}, {"4", "4.0"}, {"010.02x", "10.2"}, {"", "0.0"},
        {"abc", "0.0"}, {"99999999999999999999.1", "999999999.0"}};
    for (const auto& [release, expected] : releases) EXPECT_EQ(MajorMinorOf(release), expected) << release;
}

TEST(ServerRequests, PrefixesPathsAndHandsOnVersionAnswers) {
    test::LoopbackServer server;
    test::TempDir program;
    const UpgradePlace place{program.Path(), program.File("user")};
    const std::string answer = "[general]\r\nmessage=Get it\\nnow\r\nmax_files=1\r\n[1]\r\nstatus=1\r\n";
    server.Add({.path = "/trn/tarn.dll", .body = answer});
    InternetShare share;
    TextNotifier notifier;
    // The window stores each answer and offers what it describes.
    ScriptedQuestion question;
    std::vector<UpgradeDecision> decisions;
    notifier.onText = [&](const std::string& text) {
        ASSERT_TRUE(StoreVersionAnswer(place, text));
        decisions.push_back(CheckPendingUpgrade(place, question));
    };
    ServerRequests requests(share, notifier, server.Url("/trn/"));

    EXPECT_EQ(requests.FullAddress("HTTP://a.test/x"), "HTTP://a.test/x");
    EXPECT_EQ(requests.FullAddress("https://a.test/x"), "https://a.test/x");
    EXPECT_EQ(requests.FullAddress("tarn.dll?q"), server.Url("/trn/tarn.dll?q"));

    ASSERT_TRUE(requests.Queue(BuildUsageQuery("two words", true)));
    ASSERT_TRUE(requests.Queue(BuildVersionQuery("D", "G", "U", "E", "T", "P")));
    ASSERT_TRUE(requests.Queue(server.Url("/missing?mdl=checkver")));  // an error page is no answer
    ASSERT_TRUE(WaitFor([&] { return requests.Pending() == 0; }));

    ASSERT_EQ(notifier.texts, std::vector<std::string>{answer});
    EXPECT_EQ(server.Count("/trn/tarn.dll?mdl=use&req=insert&txt_code=word&info=two+words"), 1);
    for (const auto& r : server.Requests()) EXPECT_EQ(r.agent, kServerAgent);
    EXPECT_EQ(program.Read(kUpgradeIniName), answer);
    EXPECT_EQ(question.asked, std::vector<std::string>{std::string(kUpgradeTitle) + "|Get it\nnow"});
    EXPECT_EQ(decisions, std::vector<UpgradeDecision>{UpgradeDecision::Declined});
}

TEST(ServerRequests, AtMostFiveRunAtOnce) {
    test::LoopbackServer server;
    server.Add({.path = "/trn/slow", .body = "ok", .delayMs = 150});
    InternetShare share;
    TextNotifier notifier;
    ServerRequests requests(share, notifier, server.Url("/trn/"));
    for (int i = 0; i < 12; ++i) ASSERT_TRUE(requests.Queue("slow?n=" + std::to_string(i)));
    ASSERT_TRUE(WaitFor([&] { return requests.Pending() == 0; }));
    EXPECT_EQ(server.Requests().size(), 12u);
    EXPECT_EQ(server.PeakConcurrent(), kServerWorkers);
}

TEST(UpgradeOffer, PendingComponentsAskAndStartTheTool) {
    test::TempDir program;
    const UpgradePlace place{program.Path(), program.File("user")};
    const std::string tool = program.File(kUpgradeToolName);
    struct Row {
        const char* name;
        std::string ini;
        bool yes;
        const char* toolScript;  // nullptr: no tool
        UpgradeDecision decision;
        std::string question;  // "" when nothing is asked
    };
    // Section 1 is not pending, section 2 is.
    auto twoParts = [](const std::string& message) {
        return "[general]\n" + message + "max_files=2\n[1]\nstatus=5\n[2]\nstatus=0\n";
    };
    const std::string defaultQuestion = "A new version of Findlark is available!\nUpgrade now?";
    const std::vector<Row> rows = {
        {"no file", "", true, nullptr, UpgradeDecision::NoOffer, ""},
        {"no components", "[general]\nmax_files=-1\n[1]\nstatus=0\n", true, nullptr, UpgradeDecision::NoOffer, ""},
        {"hostile count", "[general]\nmax_files=2147483647\n", true, nullptr, UpgradeDecision::NoOffer, ""},
        {"declined", twoParts("message=\"One\\nTwo\"\n"), false, nullptr, UpgradeDecision::Declined, "One\nTwo"},
        {"long message", twoParts("message=" + std::string(2000, 'm') + "\n"), false, nullptr,
         UpgradeDecision::Declined, std::string(1023, 'm')},
        {"tool missing", twoParts(""), true, nullptr, UpgradeDecision::ToolFailed, defaultQuestion},
        {"tool not runnable", twoParts(""), true, "", UpgradeDecision::ToolFailed, defaultQuestion},
        // Last: the shell still reads the script after it was started.
        {"accepted", twoParts(""), true, "#!/bin/sh\necho \"$0\" > ran\n", UpgradeDecision::EndProcess,
         defaultQuestion},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(program.File(kUpgradeIniName));
        std::filesystem::remove(tool);
        if (!row.ini.empty()) program.Write(kUpgradeIniName, row.ini);
        if (row.toolScript) {
            program.Write(kUpgradeToolName, row.toolScript);
            if (*row.toolScript) std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
        }
        ScriptedQuestion question;
        question.answer = row.yes;
        EXPECT_EQ(CheckPendingUpgrade(place, question), row.decision);
        const std::string title = std::string(kUpgradeTitle) + "|";
        EXPECT_EQ(question.asked, row.question.empty() ? std::vector<std::string>{}
                                                        : std::vector<std::string>{title + row.question});
        EXPECT_EQ(question.told, row.decision == UpgradeDecision::ToolFailed
                                     ? std::vector<std::string>{title + "Could not run Extractor:\n" + tool}
                                     : std::vector<std::string>{});
    }
    // The tool ran from the program folder.
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(program.File("ran")); }));
    EXPECT_TRUE(WaitFor([&] { return program.Read("ran") == tool + "\n"; }));
}
