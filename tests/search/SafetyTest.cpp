#include "settings/Settings.h"
#include "search/AdultFilter.h"
#include "search/SafetyCheck.h"
#include "search/SafetyDialogs.h"
#include "search/SafetyLevel.h"
#include "search/SafetyPage.h"
#include "support/TempDir.h"
#include "update/UpdateFile.h"
#include "update/WordCoding.h"

#include <gtest/gtest.h>
#include <deque>
#include <optional>

using namespace flk;

namespace {

// Answers the safety questions from a script (nullopt: Cancel) and logs what
// was shown: "!caption" / "i caption" for messages, "?prompt" for the
// password prompt, "+prompt" for the set-password dialog, "W" the warning.
class ScriptedUi : public SafetyUi {
public:
    std::deque<std::optional<std::string>> typed;
    std::deque<std::optional<std::pair<std::string, std::string>>> newPasswords;
    WarningAnswer warning{true, false};
    std::vector<std::string> log;

    void ShowMessage(const std::string&, const std::string& caption, MessageIcon icon) override {
        log.push_back((icon == MessageIcon::Exclamation ? "!" : "i") + caption);
    }
    bool PasswordPrompt(const std::string& prompt, const std::function<bool(const std::string&)>& accept) override {
        log.push_back("?" + prompt);
        return Run(typed, [&](const std::string& t) { return accept(t); });
    }
    bool SetPasswordPrompt(const std::string& prompt,
                           const std::function<bool(const std::string&, const std::string&)>& accept) override {
        log.push_back("+" + prompt);
        return Run(newPasswords, [&](const auto& p) { return accept(p.first, p.second); });
    }
    WarningAnswer Warning(const std::string& text) override {
        log.push_back("W");
        EXPECT_EQ(text, safety_text::kWarning);
        return warning;
    }

private:
    // OK with each scripted answer until one is accepted; Cancel ends it.
    template <class Queue, class Accept>
    static bool Run(Queue& q, Accept accept) {
        for (; !q.empty(); q.pop_front())
            if (!q.front() || accept(*q.front())) {
                bool ok = q.front().has_value();
                q.pop_front();
                return ok;
            }
        return false;
    }
};

using Log = std::vector<std::string>;
const std::string kSite = "!Safety level";
const std::string kAdult = "iWarning! potential adult-related content";
const std::string kAsk = std::string("?") + safety_text::kSitePrompt;
const std::string kWrong = "!Wrong password";

class SafetyTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    ScriptedUi ui;
    AdultWordsReader words = [] { return std::vector<std::string>{"nude", "red wine", "\r\nsmut"}; };

    void Configure(int level, int usePassword, const std::string& password) {
        settings.Set(keys::CrawlerSafetyLevel, level);
        settings.Set(keys::CrawlerAskPassword, usePassword);
        settings.Set(keys::CrawlerWord, password);
    }
};

}  // namespace

TEST(AdultFilter, PrefixWordsPhrasesAndPunctuation) {
    const std::vector<std::string> keywords{"wine", "  Red   WINE ", "\r\nsmut", " x", "c++"};
    const std::pair<const char*, bool> rows[] = {
        {"Win", true},        {"wines", false},         {"wine", true},
        {"Red-Wine!", true},  {"a  red\twine", true},   {"redwine", false},
        {"SMU", true},        {"x", false},             {"x ray", false},
        {"cat's toy", false}, {"c", false},             {"", false},
        {"    ", false},      {"\xc3\xa9wine", false},
        // A one-letter query word is no prefix worth matching: taken, "a"
        // would make "a red cat" adult through every keyword beginning with
        // "a", and "w" matches "wine".
        {"w", false},         {"a red cat", false},
    };
    for (const auto& [query, adult] : rows) EXPECT_EQ(IsAdultQuery(keywords, query), adult) << query;
    EXPECT_FALSE(IsAdultQuery({}, "wine"));

    ASSERT_EQ(kQueryPunctuation.size(), 32u);
    for (char p : kQueryPunctuation)
        EXPECT_TRUE(IsAdultQuery({"red wine"}, std::string("red") + p + "wine")) << p;
    for (char other : std::string("0a\xa0\x7f"))
        EXPECT_FALSE(IsAdultQuery({"red wine"}, std::string("red") + other + "wine")) << other;
}

TEST_F(SafetyTest, EachLevelDecidesSiteAddressesPathsAndAdultWords) {
    struct Row {
        int level, usePassword;
        const char* password;
        const char* query;
        std::vector<std::optional<std::string>> typed;
        bool proceed;  // the warning's answer
        int result;
        Log shown;
    } rows[] = {
        // Level 1: keyword searches pass untouched; site addresses never.
        {1, 1, "pw", "nude red wine", {}, true, 0, {}},
        {1, 0, "", "http://site.example", {}, true, -1, {kSite}},
        {1, 0, "", "cats HTTPS://site.example", {}, true, -1, {kSite}},
        {0, 0, "", "HtTp://site.example", {}, true, -1, {kSite}},
        // Level 2.
        {2, 1, "pw", "http://site.example", {"pw"}, true, -1, {kSite}},
        {2, 0, "", "C:\\pics", {}, false, 0, {}},
        {2, 0, "", "/home/me/smut", {}, false, 0, {}},
        {2, 0, "", "\\\\server\\nude", {}, false, 0, {}},
        {2, 0, "", "nude\\", {}, true, -1, {kAdult}},
        {2, 0, "", "cats\\dogs", {}, true, 0, {"W"}},
        {2, 0, "", "Red-Wine", {}, true, -1, {kAdult}},
        {2, 0, "", "cats", {}, false, -1, {"W"}},
        // Level 3 with "Use password" on.
        {3, 1, "pw", "http://site.example", {"PW", "pw"}, false, 0, {kAsk, kWrong}},
        {3, 1, "pw", "http://site.example", {"bad", std::nullopt}, true, -1, {kAsk, kWrong}},
        {3, 1, "pw", "nude", {"Lost mine..."}, true, 0, {kAsk, "W"}},
        {3, 1, "pw", "nude", {std::nullopt}, true, -1, {kAsk}},
        {3, 1, "", "nude", {}, true, 0, {"W"}},
        {9, 1, "", "http://site.example", {}, true, 0, {}},
        // Level 3 with it off: no prompt, still the warning.
        {3, 0, "pw", "nude", {}, true, 0, {"W"}},
        {3, 0, "pw", "http://site.example", {}, false, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.query) + " at level " + std::to_string(r.level));
        Configure(r.level, r.usePassword, r.password);
        ui = ScriptedUi();
        ui.typed.assign(r.typed.begin(), r.typed.end());
        ui.warning.proceed = r.proceed;
        EXPECT_EQ(CheckSearchAllowed(settings, ui, words, r.query), r.result);
        EXPECT_EQ(ui.log, r.shown);
    }
}

TEST_F(SafetyTest, WarningCanBeSwitchedOff) {
    Configure(2, 0, "");
    ui.warning = {false, true};  // Cancel records nothing
    EXPECT_EQ(CheckSearchAllowed(settings, ui, words, "cats"), -1);
    ui.warning = {true, true};
    EXPECT_EQ(CheckSearchAllowed(settings, ui, words, "cats"), 0);
    EXPECT_EQ(CheckSearchAllowed(settings, ui, words, "dogs"), 0);
    EXPECT_EQ(ui.log, (Log{"W", "W"}));
}

TEST_F(SafetyTest, KeywordsAreReadAfreshFromTheUpdateData) {
    Configure(2, 0, "");
    UpdateFile file(dir.Path());
    AdultWordsReader stored = UpdateDataAdultWords(file, settings);
    EXPECT_EQ(CheckSearchAllowed(settings, ui, stored, "porn"), -1);  // built-in list
    ASSERT_TRUE(file.Store("<sex words>zebra, okapi</sex words>", nullptr));
    EXPECT_EQ(CheckSearchAllowed(settings, ui, stored, "OKA"), -1);
    ui.warning.proceed = false;
    EXPECT_EQ(CheckSearchAllowed(settings, ui, stored, "porn"), -1);
    EXPECT_EQ(ui.log, (Log{kAdult, kAdult, "W"}));
}

TEST_F(SafetyTest, SafetyPageAsksOnlyWhenLowering) {
    const std::string reduce = std::string("?") + safety_text::kReduceLevelPrompt;
    struct Row {
        int level, usePassword;
        std::vector<int> clicks;
        std::vector<std::optional<std::string>> typed;
        int chosen;
        Log shown;
    } rows[] = {
        {3, 1, {2}, {}, 2, {}},
        {2, 1, {1, 3, 2}, {"pw"}, 2, {reduce}},
        {1, 1, {2}, {"pw"}, 2, {reduce}},
        {2, 1, {3}, {"no", std::nullopt}, 2, {reduce, kWrong}},
        {1, 1, {3}, {std::nullopt}, 1, {reduce}},
        {1, 0, {3}, {}, 3, {}},
    };
    for (const Row& r : rows) {
        Configure(r.level, r.usePassword, "pw");
        ui = ScriptedUi();
        ui.typed.assign(r.typed.begin(), r.typed.end());
        SafetyPage page(settings, ui);
        for (int c : r.clicks) page.ClickLevel(c);
        EXPECT_EQ(page.ChosenLevel(), r.chosen) << r.level;
        EXPECT_EQ(ui.log, r.shown) << r.level;
        EXPECT_EQ(GetSafetyLevel(settings), r.level);  // nothing written before OK
    }
}

TEST_F(SafetyTest, SafetyPagePasswordBoxAndSave) {
    Configure(2, 0, "");
    SafetyPage page(settings, ui);
    page.ClickUsePassword(true);  // set-password cancelled: unticked again
    EXPECT_FALSE(page.UsePassword());
    ui.newPasswords = {std::pair{"", ""}, std::pair{"pw", "pX"}, std::pair{"pw", "pw"}};
    page.ClickUsePassword(true);
    EXPECT_TRUE(page.UsePassword());
    EXPECT_EQ(settings.Get(keys::CrawlerWord), "pw");  // in force at once
    ui.typed = {"wrong", std::nullopt};
    page.ClickUsePassword(false);  // refused: ticked again
    EXPECT_TRUE(page.UsePassword());
    ui.typed = {"pw"};
    ui.newPasswords = {std::pair{"new", "new"}};
    page.ClickSetPassword();
    EXPECT_EQ(settings.Get(keys::CrawlerWord), "new");
    page.ClickLevel(1);
    page.Save();
    EXPECT_EQ(GetSafetyLevel(settings), 1);
    EXPECT_EQ(settings.Get(keys::CrawlerAskPassword), 1);
    EXPECT_EQ(ui.log, (Log{"+Fill in new password", "+Fill in new password", "!No password written",
                           "!Non Identical fields.", "?Please fill in the password",
                           kWrong, "?Please fill in old password",
                           "+Fill in new password.\nPlease remember your password."}));
}

TEST(SafetyScope, OnlyLevelOneKeepsToTheDirectorysCategories) {
    EXPECT_TRUE(SafetyScopeFor(0).directoryOnly && !SafetyScopeFor(1).keepDirectoryWebPages);
    EXPECT_TRUE(!SafetyScopeFor(2).directoryOnly && SafetyScopeFor(2).keepDirectoryWebPages);
    EXPECT_EQ(SafetyScopeFor(7).directoryTemplate, 3);
}
