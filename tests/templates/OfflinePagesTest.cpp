#include "lists/ImageCache.h"
#include "platform/Paths.h"
#include "platform/PercentEncoding.h"
#include "platform/TextModeFile.h"
#include "platform/TextUtil.h"
#include "search/HitList.h"
#include "support/TempDir.h"
#include "templates/ResultPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <regex>

// The shipped templates with the result-page switches of section `modern`
// on: pictures from the image cache, players for what browsers play, hit
// lines as reader text.

namespace flk {
namespace {

const std::string kResources = std::string(FLK_SOURCE_DIR) + "/resources";

ResultPagesRequest Request(ResultKind kind, const std::string& folder) {
    ResultPagesRequest req;
    req.kind = kind;
    req.projectFolder = folder;
    req.programFolder = kResources;
    req.subject = "lark";
    req.present = {true, true, true, true};
    req.offline = true;
    req.readerHitLines = true;
    req.hitKeywords = {"lark"};
    return req;
}

std::string Render(ResultKind kind, const std::string& folder, const ListTable& list) {
    AdvSource adv(1);
    const std::string first = GenerateListPages(Request(kind, folder), list, adv);
    std::string page;
    EXPECT_TRUE(ReadWholeFile(first, page)) << first;
    return page;
}

// Every value of an attribute in the page, in order.
std::vector<std::string> Attributes(const std::string& page, const std::string& tag, const std::string& attr) {
    std::vector<std::string> out;
    const std::regex re("<" + tag + "[^>]* " + attr + "=\"([^\"]*)\"");
    for (std::sregex_iterator it(page.begin(), page.end(), re), end; it != end; ++it) out.push_back((*it)[1]);
    return out;
}

std::string Unescaped(std::string s) {
    for (std::size_t at = s.find("&amp;"); at != std::string::npos; at = s.find("&amp;", at + 1)) s.erase(at + 1, 4);
    return s;
}


TEST(OfflinePages, PicturesFromTheCacheLinkToTheOriginalAndSurviveAMove) {
    test::TempDir temp;
    const std::string folder = temp.File("project");
    ASSERT_TRUE(EnsureFolder(JoinPath(folder, "Images")));
    // As the crawl left them: each copy under the name the cache gives it.
    const char* cached[] = {"lark.jpg", "two%20words%20&%20more.png", "caf%C3%A9%20%231.gif", "it's%20100%25.jpg"};
    ListTable list(9);
    std::vector<std::string> files;
    for (const char* name : cached) {
        files.push_back(CacheFileName(std::string("http://birds.example/pics/") + name));
        ASSERT_TRUE(WriteBinaryFile(JoinPath(folder, "Images/" + files.back()), "picture bytes"));
        list.SetCell(list.AddRow(name), 1, "http://birds.example/pics/");
    }
    list.SetCell(list.AddRow("not-cached.jpg"), 1, "http://birds.example/pics/");

    const std::string page = Render(ResultKind::Images, folder, list);
    const std::vector<std::string> srcs = Attributes(page, "img", "src");
    const std::vector<std::string> hrefs = Attributes(page, "a", "href");
    ASSERT_EQ(srcs.size(), 5u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(srcs[i].rfind("Images/", 0), 0u) << srcs[i];
        EXPECT_EQ(srcs[i].find_first_of(" \"#<>"), std::string::npos) << srcs[i];
    }
    EXPECT_EQ(srcs[4], "http://birds.example/pics/not-cached.jpg");
    // The thumbnails still link to the sites.
    for (const char* name : {"lark.jpg", "two%20words%20&amp;%20more.png", "not-cached.jpg"})
        EXPECT_NE(std::find(hrefs.begin(), hrefs.end(), std::string("http://birds.example/pics/") + name), hrefs.end())
            << name;

    // Moved elsewhere, the page still finds every copy beside it.
    const std::string moved = temp.File("moved elsewhere");
    ASSERT_EQ(std::rename(folder.c_str(), moved.c_str()), 0);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string file = JoinPath(moved, PercentDecode(Unescaped(srcs[i])));
        EXPECT_TRUE(FileExists(file)) << srcs[i] << " -> " << file;
        EXPECT_EQ(file, JoinPath(moved, "Images/" + files[i]));
    }
}

TEST(OfflinePages, PlayersOnlyForFormatsBrowsersPlay) {
    struct Case {
        ResultKind kind;
        const char* player;
        std::vector<const char*> playable;
        std::vector<const char*> others;
    };
    const Case cases[] = {
        // Ten rows make one page.
        {ResultKind::Sounds, "<audio", {"a.mp3", "b.ogg", "c.oga", "d.opus", "e.wav"}, {"i.mid", "j.ram", "noext"}},
        {ResultKind::Sounds, "<audio", {"f.m4a", "g.aac", "h.FLAC"}, {"k.wma", "l.au", "m.aiff"}},
        {ResultKind::Movies, "<video", {"a.mp4", "b.m4v", "c.webm", "d.ogv", "e.MP4"},
         {"f.avi", "g.mov", "h.mkv", "i.wmv", "j.mpg"}},
    };
    for (const Case& c : cases) {
        test::TempDir temp;
        ListTable list(6);
        for (const auto* names : {&c.playable, &c.others})
            for (const char* name : *names) list.SetCell(list.AddRow(name), 1, "http://birds.example/m/");
        const std::string page = Render(c.kind, temp.Path(), list);
        const std::vector<std::string> players = Attributes(page, c.player + 1, "src");
        ASSERT_EQ(players.size(), c.playable.size()) << c.player;
        for (std::size_t i = 0; i < players.size(); ++i)
            EXPECT_EQ(players[i], std::string("http://birds.example/m/") + c.playable[i]);
        // The others are plain links to the file.
        for (const char* name : c.others)
            EXPECT_NE(page.find(std::string("href=\"http://birds.example/m/") + name + "\""), std::string::npos) << name;
    }
}

const char* kMarkedLines[] = {
    "ass=\"nav\"><b>skylark</b> &amp; wood<i>lark</i> sing",
    "e lark's song</td><td>up high<scri",
    "ipt>var x='<b>lark</b>';</script><p>the lark &eacute;t&#233; <!-- x --> fin",
    "<p>&lt;script&gt;alert(1)&lt;/script&gt; lark <img src=x onerror=alert(1)>",
};

TEST(OfflinePages, TextHitsShowNoMarkup) {
    test::TempDir temp;
    ListTable list(4);
    for (const char* line : kMarkedLines) {
        const std::size_t r = list.AddRow("Larks");
        list.SetCell(r, 1, line);
        list.SetCell(r, 3, "birds.example/larks.html");
    }
    const std::string page = Render(ResultKind::TextHits, temp.Path(), list);
    const std::regex sample("<p class=\"sample\">([^\n]*)</p>");
    std::vector<std::string> samples;
    for (std::sregex_iterator it(page.begin(), page.end(), sample), end; it != end; ++it) samples.push_back((*it)[1]);
    ASSERT_EQ(samples.size(), 4u);
    for (const std::string& s : samples) {
        EXPECT_NE(s.find("<mark>lark</mark>"), std::string::npos) << s;
        if (&s == &samples[3]) continue;  // a page whose text shows tags
        // Only the marks are tags; no tag of the page shows as text.
        const std::string bare = std::regex_replace(s, std::regex("</?mark>"), "");
        EXPECT_EQ(bare.find('<'), std::string::npos) << s;
        EXPECT_EQ(bare.find("&lt;b"), std::string::npos) << s;
        EXPECT_EQ(bare.find("&lt;/"), std::string::npos) << s;
        EXPECT_EQ(bare.find("&amp;amp;"), std::string::npos) << s;
    }
    EXPECT_EQ(samples[0], "sky<mark>lark</mark> &amp; wood<mark>lark</mark> &#8230;");
    EXPECT_EQ(samples[2], "the <mark>lark</mark> &#233;t&#233; &#8230;");
    // A page's text that shows a tag is text, escaped, never a tag.
    EXPECT_EQ(samples[3], "&lt;script&gt;alert(1)&lt;/script&gt; <mark>lark</mark>");
}

TEST(OfflinePages, HitListHtmlShowsReaderLinesWhenAsked) {
    HitList hits;
    hits.SetQuery("lark");
    hits.AddHit("http://birds.example/", "Larks", 7, kMarkedLines[0]);
    hits.SetReaderLines(true);
    const std::string reader = hits.HtmlListText();
    EXPECT_NE(reader.find("sky<mark>lark</mark> &amp; wood<mark>lark</mark> &#8230;</TR>"), std::string::npos);
    EXPECT_EQ(reader.find("&lt;"), std::string::npos);
    hits.SetReaderLines(false);
    EXPECT_NE(hits.HtmlListText().find("ass=&quot;nav&quot;  b skylark /b  &amp;amp; wood i lark /i  sing</TR>"),
              std::string::npos);
}

}  // namespace
}  // namespace flk
