#include "lists/SiteChecks.h"
#include "lists/SitesList.h"
#include "support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace flk {
namespace {

using Rows = std::vector<std::string>;

TEST(SitesList, FillingAddingAndRemovingByTheListRules) {
    SitesList list;
    list.Fill(" http://a.example/;a.example/;HTTP://b.example;c.example/x;tail-without-semicolon");
    EXPECT_EQ(list.Addresses(), (Rows{"a.example/", "b.example", "c.example/x"}));
    EXPECT_EQ(list.Caption(), "Url's (0 / 3)");

    EXPECT_TRUE(list.Add("  HTTP://Site.example  "));
    EXPECT_TRUE(list.Add("site.example"));       // other letter case: a row of its own
    EXPECT_FALSE(list.Add("http://Site.example"));  // the same address again
    EXPECT_FALSE(list.Add("   "));
    EXPECT_TRUE(list.Add("C:\\pages\\http://x.htm"));  // a local path keeps its text
    EXPECT_EQ(list.Count(), 6u);
    EXPECT_EQ(list.Addresses().back(), "C:\\pages\\http://x.htm");

    list.Remove({0, 4, 0, 99});
    EXPECT_EQ(list.Addresses(), (Rows{"b.example", "c.example/x", "Site.example", "C:\\pages\\http://x.htm"}));
    EXPECT_TRUE(list.Add("a.example/"));  // removed rows leave the map too
    EXPECT_EQ(list.Joined(), "b.example;c.example/x;Site.example;C:\\pages\\http://x.htm;a.example/;");
    list.RemoveAll();
    EXPECT_EQ(list.Joined(), "");
}

TEST(SitesList, CheckResultsFindTheirRowWhateverTheCase) {
    SitesList list;
    list.Fill("one.example/;two.example/;");
    list.SetCheckResult("  http://TWO.example/", "Second", 4);
    list.SetCheckResult("http://three.example/", "Nobody", 1);
    const ListTable t = list.Snapshot();
    EXPECT_EQ(t.Cell(1, SitesList::kPageTitle), "Second");
    EXPECT_EQ(t.Cell(1, SitesList::kWordsFound), "4");
    EXPECT_EQ(t.Cell(0, SitesList::kPageTitle), "");
}

TEST(SitesList, AddressesAndLoadedFiles) {
    EXPECT_EQ(SiteAddressToFetch(" a.example/"), "http://a.example/");
    EXPECT_EQ(SiteAddressToFetch("https://a.example/"), "https://a.example/");
    EXPECT_EQ(SiteAddressToFetch("/home/me/index.html"), "/home/me/index.html");
    EXPECT_EQ(SitesFromFile("list.txt", "a.example;b.example;"), "a.example;b.example;");
    EXPECT_EQ(SitesFromFile(" Start.HTML ",
                            "<a href=\"http://a.example/\">A</a><A HREF = 'b.example/x'>B</A>"
                            "<a href=#top>t</a><a href=c.example>C</a>"),
              "http://a.example/;b.example/x;c.example;");
}

TEST(SiteChecks, TitlesAndWordCountsFromLoopbackPages) {
    const SiteCheckResult r = CheckSitePage("<html><TITLE> Cats &amp; dogs </TITLE><body>Cats, more CATS; a dog</body>",
                                            "cats \"dog\"");
    EXPECT_EQ(r.title, "Cats & dogs");
    EXPECT_EQ(r.wordsFound, 3 + 2);

    test::LoopbackServer server;
    server.Add({.path = "/a", .body = "<title>Page A</title>cats cats"});
    server.Add({.path = "/b", .body = "<title>Page B</title>no match"});
    server.Add({.path = "/slow", .mode = test::ReplyMode::Stalled});
    const std::string base = "127.0.0.1:" + std::to_string(server.Port());
    SitesList list;
    list.Fill(base + "/a;" + base + "/b;" + base + "/missing;");
    InternetShare share;
    InternetOptions net;
    net.access = InternetAccess::Direct;
    {
        SiteChecks checks(list, share, net);
        checks.Start(list.Joined(), "cats");
        for (int i = 0; i < 500 && checks.Pending() > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(checks.Pending(), 0);
    }
    const ListTable t = list.Snapshot();
    EXPECT_EQ(t.Cell(0, SitesList::kPageTitle), "Page A");
    EXPECT_EQ(t.Cell(0, SitesList::kWordsFound), "2");
    EXPECT_EQ(t.Cell(1, SitesList::kWordsFound), "0");
    EXPECT_EQ(t.Cell(2, SitesList::kPageTitle), "");  // 404: nothing to show

    // Stopping a check that waits on a silent server returns at once and
    // leaves nothing writing into the list.
    list.Fill(base + "/slow;");
    SiteChecks checks(list, share, net);
    checks.Start(list.Joined(), "cats");
    const auto start = std::chrono::steady_clock::now();
    checks.Stop();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0);
    EXPECT_EQ(checks.Pending(), 0);
}

}  // namespace
}  // namespace flk
