#include "platform/Paths.h"
#include "platform/TextUtil.h"
#include "support/TempDir.h"
#include "templates/ResultPages.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The templates and frame pages that ship in resources/, rendered over lists
// like a real crawl leaves them.

namespace flk {
namespace {

const std::string kDemo = std::string(FLK_SOURCE_DIR) + "/resources/demo/";
const char* kHostile = "<script>alert(1)</script>";

ListTable Images(int count) {
    const char* names[] = {"skylark.jpg", "woodlark.jpg", "crested-lark.jpg", "horned-lark.jpg",
                           "shorelark.gif", "calandra-lark.gif"};
    ListTable list(9);
    for (int i = 0; i < count; ++i) {
        std::size_t r = list.AddRow(names[i % 6]);
        list.SetCell(r, 1, kDemo + "birds/");
        list.SetCell(r, 2, i == 0 ? kHostile : "A lark on a post");
        list.SetCell(r, 3, i % 3 ? "320" : "");
        list.SetCell(r, 4, i % 3 ? "240" : "");
        list.SetCell(r, 5, i == 1 ? kHostile : (i % 4 ? "Larks of the open fields" : ""));
        list.SetCell(r, 6, "http://birds.example/larks/page" + std::to_string(i) + ".html");
        list.SetCell(r, 7, std::to_string(10 + i) + ".25 KB");
    }
    return list;
}

ListTable Media(const char* folder, std::vector<const char*> names) {
    ListTable list(6);
    int i = 0;
    for (const char* name : names) {
        std::size_t r = list.AddRow(name);
        list.SetCell(r, 1, kDemo + folder + "/");
        list.SetCell(r, 2, i == 0 ? kHostile : "Songs of the skylark");
        list.SetCell(r, 3, i == 1 ? "javascript:alert(1)" : "birds.example/songs.html");
        list.SetCell(r, 4, std::to_string(12 + i) + ".07 KB");
        list.SetCell(r, 5, "listen to the song");
        ++i;
    }
    return list;
}

ListTable Hits(int count) {
    ListTable list(4);
    for (int i = 0; i < count; ++i) {
        std::size_t r = list.AddRow(i == 0 ? kHostile : "The skylark, bird of the open sky");
        list.SetCell(r, 1, "...the skylark sings while it climbs high over the fields, and...");
        list.SetCell(r, 2, std::to_string(100 - i));
        list.SetCell(r, 3, "birds.example/larks/" + std::to_string(i) + ".html");
    }
    return list;
}

struct KindCase {
    ResultKind kind;
    ListTable list;
    int pages;
};

std::vector<KindCase> Realistic() {
    std::vector<KindCase> out;
    out.push_back({ResultKind::Images, Images(26), 2});
    out.push_back({ResultKind::Sounds, Media("sounds", {"skylark-song.wav", "woodlark-call.wav", "lark-tune.mid"}), 1});
    out.push_back({ResultKind::Movies, Media("movies", {"lark-flight.avi", "nest.avi", "dance.mp4"}), 1});
    out.push_back({ResultKind::TextHits, Hits(14), 2});
    return out;
}

// Pages are kept where FLK_RENDER_DIR points, for the screenshot check.
std::string OutputFolder(const test::TempDir& temp, int level) {
    const char* keep = std::getenv("FLK_RENDER_DIR");
    if (!keep || !*keep) return temp.Path() + "/" + std::to_string(level);
    return std::string(keep) + "/" + std::to_string(level);
}

TEST(ShippedTemplates, RenderRealisticListsForEveryLevel) {
    test::TempDir temp;
    const ResultPresence present{true, true, true, true};
    for (int level = 1; level <= 3; ++level) {
        const std::string folder = OutputFolder(temp, level);
        ASSERT_TRUE(EnsureFolder(folder));
        for (KindCase& c : Realistic()) {
            AdvSource adv(5);
            adv.SetMode(1);
            adv.SetCategories({{"Songbirds", "http://guide.example/eng/Songbirds.htm"},
                               {"Grassland birds", "http://guide.example/eng/Grassland birds.htm"},
                               {"Migration", "http://guide.example/eng/Migration.htm"}});
            ResultPagesRequest req;
            req.kind = c.kind;
            req.projectFolder = folder;
            req.programFolder = std::string(FLK_SOURCE_DIR) + "/resources";
            req.subject = "lark song";
            req.templateNumber = level;
            req.present = present;
            const std::string first = GenerateListPages(req, c.list, adv);
            ASSERT_EQ(first, JoinPath(folder, ListPageName(c.kind, 0))) << level;
            EXPECT_TRUE(FileExists(JoinPath(folder, FramePageName(c.kind, level))));

            for (int k = 0; k < c.pages; ++k) {
                std::string page;
                ASSERT_TRUE(ReadWholeFile(JoinPath(folder, ListPageName(c.kind, k)), page));
                const std::string where = ListPageName(c.kind, k) + " level " + std::to_string(level);
                // Nothing of the tag language is left, and nothing unescaped.
                EXPECT_EQ(page.find('['), std::string::npos) << where;
                EXPECT_EQ(page.find("<script"), std::string::npos) << where;
                if (k == 0) {
                    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos) << where;
                }
                EXPECT_EQ(page.find("href=\"javascript"), std::string::npos) << where;
                EXPECT_NE(page.find("lark song"), std::string::npos) << where;
                EXPECT_NE(page.find("Songbirds"), std::string::npos) << where;
                EXPECT_NE(page.find("page " + std::to_string(k + 1) + " of " + std::to_string(c.pages)),
                          std::string::npos)
                    << where;
                for (const char* other : {"ImagesList0.htm", "VideoList0.htm", "AudioList0.htm", "TextList0.htm"})
                    EXPECT_NE(page.find(other), std::string::npos) << where << " links to " << other;
            }
            EXPECT_FALSE(FileExists(JoinPath(folder, ListPageName(c.kind, c.pages))));
        }
    }
}

TEST(ShippedTemplates, KindsWithoutResultsAreNotLinked) {
    test::TempDir temp;
    AdvSource adv(1);  // no categories: the slot stays out
    ResultPagesRequest req;
    req.kind = ResultKind::Sounds;
    req.projectFolder = temp.Path();
    req.programFolder = std::string(FLK_SOURCE_DIR) + "/resources";
    req.present.sounds = true;
    req.present.images = true;
    GenerateListPages(req, Media("sounds", {"a.mp3"}), adv);
    const std::string page = temp.Read("AudioList0.htm");
    EXPECT_NE(page.find("ImagesList0.htm"), std::string::npos);
    EXPECT_EQ(page.find("VideoList0.htm"), std::string::npos);
    EXPECT_EQ(page.find("TextList0.htm"), std::string::npos);
    EXPECT_EQ(page.find("<aside"), std::string::npos);
}

}  // namespace
}  // namespace flk
