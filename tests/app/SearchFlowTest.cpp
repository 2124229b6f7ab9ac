// "Go" from the query to a crawl, against loopback engines and sites.
#include "app/SearchFlow.h"
#include "settings/Settings.h"
#include "session/CrawlerSession.h"
#include "search/CategorySearch.h"
#include "search/SafetyDialogs.h"
#include "support/DistinctBody.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "update/ServerRequests.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

using namespace flk;
using namespace std::chrono_literals;

namespace {

struct ScriptedUi : SafetyUi, CategoryUi {
    std::vector<std::string> messages;
    bool proceed = true;
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon) override {
        messages.push_back(caption + ": " + text);
    }
    bool PasswordPrompt(const std::string&, const std::function<bool(const std::string&)>&) override { return false; }
    bool SetPasswordPrompt(const std::string&, const std::function<bool(const std::string&, const std::string&)>&) override {
        return false;
    }
    WarningAnswer Warning(const std::string&) override { return {proceed, false}; }
    void ShowInformation(const std::string& text) override { messages.push_back(text); }
};

// A media site: a home page with two pictures, on its own server.
struct MediaSite {
    test::LoopbackServer server;
    MediaSite() {
        server.Add({"/index.html", 200, {{"Content-Type", "text/html"}},
                    "<title>Larks</title><img src=\"a.jpg\"><a href=\"more.html\">more</a>"});
        server.Add({"/more.html", 200, {{"Content-Type", "text/html"}}, "<img src=\"/b.jpg\" width=120 height=120>"});
        for (const char* p : {"/a.jpg", "/b.jpg"}) server.Add({p, 200, {}, test::DistinctBody(p, 4000, 'j')});
    }
};

struct Flow {
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    NullNotifier notifier;
    ScriptedUi ui;
    test::LoopbackServer services;  // the engines and the maker's guide pages
    std::unique_ptr<CrawlerSession> session;

    Flow() {
        settings.WriteDefaults();
        settings.Set(keys::ProjectPath, dir.Path());
        const std::string port = std::to_string(services.Port());
        settings.Set(hosts::Altavista, "127.0.0.1:" + port);
        settings.Set(hosts::Maker, "127.0.0.1:" + port);
        dir.Write("data.txt", "<engines>[Altavista]url1=\"-\"</engines><categories>url=\"http://127.0.0.1:" + port +
                                  "/eng/\"Birds</categories>");
        session = std::make_unique<CrawlerSession>(SessionContext{settings, notifier, {}, Pacing::None()});
    }

    std::unique_ptr<ServerRequests> server;

    GoResult Go(const std::string& query, bool guide, std::string& detail) {
        SearchFlowContext context{*session, ui, ui, nullptr, server.get()};
        return RunGo(context, GoRequest{query, guide, ""}, detail);
    }

    std::set<std::string> ImagesAfterCrawl() {
        EXPECT_TRUE(session->WaitForEnd(60s));
        std::set<std::string> out;
        for (std::size_t r = 0; r < session->Lists().images.RowCount(); ++r)
            out.insert(session->Lists().images.RowUrl(r));
        return out;
    }
};

}  // namespace

TEST(SearchFlow, KeywordsGoThroughTheEngineToACrawlOfTheFoundSites) {
    MediaSite site;
    Flow flow;
    flow.services.Add({"/cgi-bin/query", 200, {{"Content-Type", "text/html"}},
                       "<a href=\"" + site.server.Url("/index.html") + "\">Larks</a>"
                       "<a href=\"http://www.altavista.search.example/ad\">ad</a>"});
    flow.server = std::make_unique<ServerRequests>(flow.session->Internet(), flow.notifier, flow.services.Url("/trn/"));
    std::string detail;
    ASSERT_EQ(flow.Go("  singing   larks ", false, detail), GoResult::Crawling) << detail;
    EXPECT_EQ(flow.settings.Get(keys::SearchEngineLine), "singing larks");
    EXPECT_EQ(flow.ImagesAfterCrawl(), (std::set<std::string>{site.server.Url("/a.jpg"), site.server.Url("/b.jpg")}));
    // One usage report with the search words.
    for (int i = 0; i < 500 && flow.server->Pending() > 0; ++i) std::this_thread::sleep_for(10ms);
    int reports = 0;
    for (const auto& r : flow.services.Requests())
        reports += r.target.rfind("/trn/tarn.dll?mdl=use&req=insert&txt_code=word&info=", 0) == 0;
    EXPECT_EQ(reports, 1);
}

TEST(SearchFlow, SiteAddressesAndGuideCategories) {
    MediaSite site;
    {
        Flow flow;
        flow.settings.Set(keys::CrawlerSafetyLevel, 3);
        std::string detail;
        ASSERT_EQ(flow.Go(site.server.Url("/index.html"), false, detail), GoResult::Crawling) << detail;
        EXPECT_EQ(flow.ImagesAfterCrawl().size(), 2u);
    }
    {
        Flow flow;  // level 2: a typed address is refused with the safety message
        std::string detail;
        EXPECT_EQ(flow.Go(site.server.Url("/index.html"), false, detail), GoResult::Refused);
        ASSERT_FALSE(flow.ui.messages.empty());
        EXPECT_EQ(flow.ui.messages[0],
                  "Safety level: Entering site address only works in the lowest safety level (Safety Level 3).");
    }
    {
        Flow flow;
        flow.services.Add({"/eng/Birds.htm", 200, {{"Content-Type", "text/html"}},
                           "<a href=\"" + site.server.Url("/index.html") + "\">larks</a>"});
        std::string detail;
        ASSERT_EQ(flow.Go("Birds", true, detail), GoResult::Crawling) << detail;
        EXPECT_EQ(flow.ImagesAfterCrawl().size(), 2u);
    }
}

TEST(SearchFlow, EmptyOrRefusedQueriesStartNothing) {
    Flow flow;
    std::string detail;
    EXPECT_EQ(flow.Go("   ", false, detail), GoResult::Refused);
    EXPECT_EQ(flow.ui.messages.back(), "Empty search string: Please define your search");
    flow.ui.proceed = false;  // the warning dialog is cancelled
    EXPECT_EQ(flow.Go("larks", false, detail), GoResult::Refused);
    EXPECT_FALSE(flow.session->Crawling());
    flow.ui.proceed = true;
    EXPECT_EQ(flow.Go("larks", false, detail), GoResult::NothingFound);  // the engine page has no links
}
