#include "platform/Paths.h"
#include "platform/TextModeFile.h"
#include "platform/TextUtil.h"
#include "search/HitList.h"
#include "support/TempDir.h"
#include "templates/ResultPages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

// With the result-page switches of section `modern` off, every kind's pages
// and the hit list's HTML list are the bytes they were before those
// switches existed: golden copies in tests/templates/classic/, made by that
// program over these lists. Set FLK_WRITE_CLASSIC to a folder to write them.

namespace flk {
namespace {

const std::string kGolden = std::string(FLK_SOURCE_DIR) + "/tests/templates/classic/";

// Names that need escaping in URLs and HTML, a picture that is in the
// cache folder, formats browsers play and formats they do not.
ListTable Images() {
    ListTable list(9);
    const char* names[] = {"lark.jpg", "two words & more.png", "caf\xC3\xA9 #1.gif", "quote\"s.jpg"};
    for (const char* name : names) {
        const std::size_t r = list.AddRow(name);
        list.SetCell(r, 1, "http://birds.example/pics/");
        list.SetCell(r, 2, "a <b>lark</b>");
        list.SetCell(r, 3, "320");
        list.SetCell(r, 4, "200");
        list.SetCell(r, 5, "Larks & pipits");
        list.SetCell(r, 6, "http://birds.example/larks.html");
        list.SetCell(r, 7, "12.50 KB");
    }
    return list;
}

ListTable Media(std::vector<const char*> names) {
    ListTable list(6);
    for (const char* name : names) {
        const std::size_t r = list.AddRow(name);
        list.SetCell(r, 1, "http://birds.example/media/");
        list.SetCell(r, 2, "Songs <of> larks");
        list.SetCell(r, 3, "birds.example/songs.html");
        list.SetCell(r, 4, "1.20 MB");
        list.SetCell(r, 5, "listen");
    }
    return list;
}

const char* kLines[] = {
    "ass=\"x\"><b>skylark</b> &amp; wood<i>lark</i> sing",
    "e lark's song</td><td>up high<scri",
    "\xE9t\xE9 du lark &eacute; <!-- x --> fin",
};

ListTable Hits() {
    ListTable list(4);
    int i = 0;
    for (const char* line : kLines) {
        const std::size_t r = list.AddRow("Larks <page> " + std::to_string(i));
        list.SetCell(r, 1, line);
        list.SetCell(r, 2, std::to_string(90 - i));
        list.SetCell(r, 3, "birds.example/" + std::to_string(i++) + ".html");
    }
    return list;
}

// The date tag of the shipped templates writes today's date.
std::string WithoutDate(std::string page) {
    char today[64];
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    std::strftime(today, sizeof today, "%d %B %Y", &tm);
    for (std::size_t at = page.find(today); at != std::string::npos; at = page.find(today))
        page.replace(at, std::string(today).size(), "DATE");
    return page;
}

// Renders every kind at every level into folder; the cache folder holds a
// copy of the first picture, which the classic pages never show.
void RenderClassic(const std::string& folder) {
    ASSERT_TRUE(EnsureFolder(JoinPath(folder, "Images")));
    ASSERT_TRUE(WriteBinaryFile(JoinPath(folder, "Images/lark.jpg"), "GIF89a-not-really"));
    struct Kind {
        ResultKind kind;
        ListTable list;
    };
    const Kind kinds[] = {{ResultKind::Images, Images()},
                          {ResultKind::Sounds, Media({"song.mp3", "call.mid", "tune.opus"})},
                          {ResultKind::Movies, Media({"flight.mp4", "nest.avi", "dance.webm"})},
                          {ResultKind::TextHits, Hits()}};
    for (int level = 1; level <= 3; ++level) {
        for (const Kind& k : kinds) {
            AdvSource adv(3);
            ResultPagesRequest req;
            req.kind = k.kind;
            req.projectFolder = folder;
            req.programFolder = std::string(FLK_SOURCE_DIR) + "/resources";
            req.subject = "lark";
            req.templateNumber = level;
            req.present = {true, true, true, true};
            ASSERT_FALSE(GenerateListPages(req, k.list, adv).empty());
            const std::string name = ListPageName(k.kind, 0);
            std::string page;
            ASSERT_TRUE(ReadWholeFile(JoinPath(folder, name), page));
            ASSERT_TRUE(WriteBinaryFile(JoinPath(folder, std::to_string(level) + "-" + name), WithoutDate(page)));
        }
        // The next level copies its own templates.
        for (const char* t : {"ImagesList0.htm", "AudioList0.htm", "VideoList0.htm", "TextList0.htm"})
            std::remove(JoinPath(folder, t).c_str());
    }
    HitList hits;
    hits.SetQuery("lark");
    for (const char* line : kLines) hits.AddHit("http://birds.example/", "Larks", 7, line);
    ASSERT_TRUE(WriteBinaryFile(JoinPath(folder, "SearchList.htm"), hits.HtmlListText()));
}

std::vector<std::string> GoldenNames() {
    std::vector<std::string> names = {"SearchList.htm"};
    for (int level = 1; level <= 3; ++level)
        for (const char* t : {"ImagesList0.htm", "AudioList0.htm", "VideoList0.htm", "TextList0.htm"})
            names.push_back(std::to_string(level) + "-" + t);
    return names;
}

TEST(ClassicPages, SwitchesOffGiveThePagesOfBefore) {
    test::TempDir temp;
    const char* write = std::getenv("FLK_WRITE_CLASSIC");
    const std::string folder = write && *write ? std::string(write) : temp.Path();
    ASSERT_TRUE(EnsureFolder(folder));
    RenderClassic(folder);
    if (write && *write) return;
    for (const std::string& name : GoldenNames()) {
        std::string golden, made;
        ASSERT_TRUE(ReadWholeFile(kGolden + name, golden)) << name;
        ASSERT_TRUE(ReadWholeFile(JoinPath(folder, name), made)) << name;
        EXPECT_EQ(made, golden) << name;
    }
}

}  // namespace
}  // namespace flk
