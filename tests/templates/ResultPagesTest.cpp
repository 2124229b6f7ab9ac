#include "settings/Settings.h"
#include "lists/ImagesList.h"
#include "search/HitList.h"
#include "support/TempDir.h"
#include "platform/Paths.h"
#include "templates/ResultPages.h"
#include "templates/VTemplate.h"
#include "update/UpdateData.h"
#include "update/UpdateFile.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

// Image rows "p0.jpg", "p1.jpg", ... in a list shaped like the images list.
ListTable ImageRows(int count) {
    ListTable list(9);
    for (int i = 0; i < count; ++i) {
        std::size_t r = list.AddRow("p" + std::to_string(i) + ".jpg");
        list.SetCell(r, 1, "http://a.example/img/");
    }
    return list;
}

// A template that lists the file names, one per row, between markers.
const char* kNamesTemplate = "<[xband name=demo rowcount=%s pc_name=page_no][xfield name=Images];[/xband]>";

std::string NamesTemplate(const std::string& rowcount) {
    std::string text = kNamesTemplate;
    text.replace(text.find("%s"), 2, rowcount);
    return text;
}

class ResultPages : public ::testing::Test {
protected:
    test::TempDir dir;
    AdvSource adv{7};

    ResultPagesRequest Request(ResultKind kind = ResultKind::Images) {
        ResultPagesRequest r;
        r.kind = kind;
        r.projectFolder = dir.Path();
        r.subject = "larks";
        return r;
    }

    int PagesWritten(ResultKind kind = ResultKind::Images) {
        int k = 0;
        while (FileExists(dir.File(ListPageName(kind, k)))) ++k;
        return k;
    }
};

TEST_F(ResultPages, EveryRowLandsOnSomePage) {
    struct Case {
        int rows;
        const char* rowcount;
        int pages;
        const char* lastPage;
    };
    const Case cases[] = {
        {25, "10", 3, "<p20.jpg;p21.jpg;p22.jpg;p23.jpg;p24.jpg;>"},
        {21, "10", 3, "<p20.jpg;>"},
        {20, "10", 2, "<p10.jpg;p11.jpg;p12.jpg;p13.jpg;p14.jpg;p15.jpg;p16.jpg;p17.jpg;p18.jpg;p19.jpg;>"},
        {1, "10", 1, "<p0.jpg;>"},
        {12, "0", 2, "<p10.jpg;p11.jpg;>"},  // 0 or less counts as 10
        {12, "-4", 2, "<p10.jpg;p11.jpg;>"},
        {3, "1", 3, "<p2.jpg;>"},
        {0, "10", 0, nullptr},
    };
    for (const Case& c : cases) {
        test::TempDir folder;
        folder.Write("ImagesTemplate2.htm", NamesTemplate(c.rowcount));
        ResultPagesRequest req = Request();
        req.projectFolder = folder.Path();
        std::string first = GenerateListPages(req, ImageRows(c.rows), adv);

        int k = 0;
        while (FileExists(folder.File(ListPageName(ResultKind::Images, k)))) ++k;
        EXPECT_EQ(k, c.pages) << c.rows << " rows, rowcount " << c.rowcount;
        if (c.pages == 0) {
            EXPECT_EQ(first, "");
            continue;
        }
        EXPECT_EQ(first, folder.File("ImagesList0.htm"));
        EXPECT_EQ(folder.Read("ImagesList" + std::to_string(c.pages - 1) + ".htm"), c.lastPage);
    }
}

TEST_F(ResultPages, OnlySelectedRowsArePaged) {
    dir.Write("ImagesTemplate2.htm", NamesTemplate("10"));
    ListTable list = ImageRows(40);
    for (std::size_t r : {3u, 17u, 39u}) list.SetSelected(r, true);
    GenerateListPages(Request(), list, adv);
    EXPECT_EQ(PagesWritten(), 1);
    EXPECT_EQ(dir.Read("ImagesList0.htm"), "<p3.jpg;p17.jpg;p39.jpg;>");
}

TEST_F(ResultPages, TemplateWithoutDemoWritesNothing) {
    dir.Write("ImagesTemplate2.htm", "[xband name=other rowcount=10][xfield name=Images][/xband]");
    std::string problem;
    EXPECT_EQ(GenerateListPages(Request(), ImageRows(5), adv, &problem), "");
    EXPECT_EQ(PagesWritten(), 0);
    EXPECT_NE(problem.find("has no list area"), std::string::npos) << problem;
}

// Without its template a kind still gets a page, one that shows why it has
// no list, and the caller hears of it.
TEST_F(ResultPages, AMissingTemplateGivesAPageWithItsErrorLine) {
    std::string problem;
    const std::string first = GenerateListPages(Request(), ImageRows(25), adv, &problem);
    EXPECT_EQ(first, dir.File("ImagesList0.htm"));
    EXPECT_EQ(PagesWritten(), 1);
    EXPECT_EQ(dir.Read("ImagesList0.htm"),
              "ERROR:Cant Open file error no- 2 <br> File Name=" + dir.File("ImagesTemplate2.htm"));
    EXPECT_EQ(problem, "the template " + dir.File("ImagesTemplate2.htm") + " could not be read");
}

TEST_F(ResultPages, VariablesLinksAndPageNumbers) {
    dir.Write("AudioTemplate2.htm",
              "[container name=pc_up]P[systag type=map name=disp_page_no]/[systag type=map name=page_count] "
              "<[systag type=map name=priv_page_no],[systag type=map name=next_page_no]>[/container]"
              "[container name=img_link_up disable]I[/container][container name=video_link_up disable]V[/container]"
              "[container name=audio_link_up disable]A[/container][container name=text_link_bottom disable]T[/container]"
              "[xpagecontrol bandname=demo rowcount=2 pc_name=pg]([tag name=page_number][systag type=map "
              "name=disp_pg])[/xpagecontrol]"
              "{[systag type=map name=subject]|[systag type=map name=trn_server]}"
              "[xband name=demo rowcount=2 pc_name=page_no][xfield name=Sounds][xfield name=playable],[/xband]");
    ListTable list(6);
    for (const char* name : {"a.mp3", "b.mid", "c.wav"}) list.AddRow(name);
    ResultPagesRequest req = Request(ResultKind::Sounds);
    req.subject = "sky & <lark>";
    req.server = "http://s.example/trn/";
    req.present.images = true;
    req.present.sounds = true;
    req.present.text = true;
    GenerateListPages(req, list, adv);
    EXPECT_EQ(dir.Read("AudioList0.htm"),
              "P1/2 <0,1>IAT(1)(2){sky &amp; &lt;lark&gt;|http://s.example/trn/}a.mp3yes,b.midno,");
    EXPECT_EQ(dir.Read("AudioList1.htm"), "P2/2 <0,1>IAT(1)(2){sky &amp; &lt;lark&gt;|http://s.example/trn/}c.wavyes,");
}

TEST_F(ResultPages, PagesFromTheListModels) {
    dir.Write("TextTemplate2.htm",
              "[xband name=demo rowcount=10 pc_name=page_no][xfield name=title]|[xfield name=category]|"
              "[xfield name=description]|[xfield name=url]|[xfield name=fullcat]|[xfield name=address];[/xband]");
    dir.Write("ImagesTemplate2.htm", "[xband name=demo][xfield name=address] [xfield name=dimensions];[/xband]");
    HitList hits;
    hits.AddHit("HTTP://a.example/p.html", "<b>Larks</b>", 42, "a lark sings");
    ImagesList images;
    images.AddImage(" http://a.example/i/lark.jpg", "http://a.example/", "Larks", "alt;;;320;;;240", "");
    images.AddImage("http://a.example/i/owl.jpg", "http://a.example/", "Owls", "", "");

    GenerateListPages(Request(ResultKind::TextHits), hits.Snapshot(), adv);
    GenerateListPages(Request(ResultKind::Images), images.Snapshot(), adv);
    EXPECT_EQ(dir.Read("TextList0.htm"), "&lt;b&gt;Larks&lt;/b&gt;|a lark sings|42|a.example/p.html||http://a.example/p.html;");
    EXPECT_EQ(dir.Read("ImagesList0.htm"), "http://a.example/i/lark.jpg 320 \xC3\x97 240;http://a.example/i/owl.jpg ;");
}

TEST_F(ResultPages, TemplatesComeFromTheProgramFolderWhenMissing) {
    test::TempDir program;
    for (int n : {1, 3}) {
        program.Write(TemplateFileName(ResultKind::TextHits, n), NamesTemplate("10") + "shipped" + std::to_string(n));
        program.Write(FramePageName(ResultKind::TextHits, n), "frame");
    }
    dir.Write("TextTemplate3.htm", "[xband name=demo]mine[/xband]");  // the user's own stays
    ListTable hits(4);
    hits.AddRow("t");
    ResultPagesRequest req = Request(ResultKind::TextHits);
    req.programFolder = program.Path();

    req.templateNumber = 0;  // below 1: template 1
    GenerateListPages(req, hits, adv);
    EXPECT_EQ(dir.Read("TextList0.htm"), "<;>shipped1");
    EXPECT_EQ(dir.Read("TextFrame1.htm"), "frame");

    req.templateNumber = 9;  // above 3: template 3
    GenerateListPages(req, hits, adv);
    EXPECT_EQ(dir.Read("TextList0.htm"), "mine");
    EXPECT_EQ(dir.Read("TextFrame3.htm"), "frame");
}

TEST(ResultTable, ColumnsOfEachKind) {
    ListTable hits(4);
    std::size_t r = hits.AddRow("Title");
    hits.SetCell(r, 1, "hit line");
    hits.SetCell(r, 2, "12");
    hits.SetCell(r, 3, "a.example/page.html");
    TemplateTable t = BuildResultTable(ResultKind::TextHits, hits);
    ASSERT_TRUE(t.Seek(0));
    EXPECT_EQ(t.Value("title"), "Title");
    EXPECT_EQ(t.Value("category"), "hit line");
    EXPECT_EQ(t.Value("description"), "12");
    EXPECT_EQ(t.Value("url"), "a.example/page.html");
    EXPECT_EQ(t.Value("fullcat"), "");
    EXPECT_EQ(t.Value("address"), "http://a.example/page.html");

    ListTable movies(6);
    r = movies.AddRow("Fly.MP4");
    movies.SetCell(r, 1, "m.example/v/");
    movies.SetCell(r, 2, "Caf\xe9");  // Latin-1
    TemplateTable m = BuildResultTable(ResultKind::Movies, movies);
    ASSERT_TRUE(m.Seek(0));
    EXPECT_EQ(m.Value(0), "Fly.MP4");
    EXPECT_EQ(m.Value("address"), "http://m.example/v/Fly.MP4");
    EXPECT_EQ(m.Value("type"), "video/mp4");
    EXPECT_EQ(m.Value("extension"), "MP4");
    EXPECT_EQ(m.Value("Title"), "Caf\xc3\xa9");
}

TEST(ResultTable, BrowserAddresses) {
    const std::pair<const char*, const char*> cases[] = {
        {" a.example/x.jpg ", "http://a.example/x.jpg"},
        {"HTTPS://a.example/x", "HTTPS://a.example/x"},
        {"ftp://f.example/s.mp3", "ftp://f.example/s.mp3"},
        {"a.example:8080/x", "http://a.example:8080/x"},
        {"/home/u/a b#1.jpg", "file:///home/u/a%20b%231.jpg"},
        {"C:\\pics\\x.jpg", "file:///C:/pics/x.jpg"},
        {"a.example/caf\xe9 1.html", "http://a.example/caf%E9%201.html"},
        {"file:///tmp/x.jpg", "file:///tmp/x.jpg"},
        {"javascript:alert(1)", ""},
        {"JavaScript://%0aalert(1)", ""},
        {"data:text/html,x", ""},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(BrowserAddress(in), out) << in;
}

TEST(AdvSourceTest, ModesFillTheSlot) {
    const char* page = "[adv][xfield name=lks_category]|[/adv][adv][systag type=map name=lks_category]|[/adv]";
    std::vector<AdvCategory> cats;
    for (int i = 0; i < 50; ++i) cats.push_back({"c" + std::to_string(i), "http://g.example/c.htm"});

    for (int mode : {1, 2}) {
        AdvSource adv(11);
        adv.SetMode(mode);
        adv.SetCategories(cats);
        VTemplate tpl;
        tpl.ParseText(page);
        std::vector<VTag*> nodes;
        tpl.Root().FindAllOfType(tagtype::Adv, nodes);
        for (VTag* n : nodes) n->SetData(&adv);
        VariableMap vars;
        RenderContext ctx(&vars);
        std::string out = tpl.Render(ctx);
        std::string a = out.substr(0, out.find('|'));
        std::string b = out.substr(out.find('|') + 1, out.size() - out.find('|') - 2);
        EXPECT_EQ("c" + std::to_string(adv.Counter() % 50), b) << mode;
        if (mode == 1)
            EXPECT_EQ(a, b);  // same on the page
        else
            EXPECT_NE(a, b);  // a new draw at each use (fixed seed)
    }

    AdvSource banners(3);
    banners.SetMode(0);
    EXPECT_FALSE(banners.HasContent());
    banners.SetBanners({{"b.gif", "http://b.example/", "Banner"}});
    VariableMap vars;
    banners.BeforeRender(vars);
    EXPECT_EQ(vars["ban_gif"], "b.gif");
    EXPECT_EQ(vars["ban_link"], "http://b.example/");
    EXPECT_EQ(vars["ban_alt"], "Banner");
    EXPECT_EQ(vars.count("lks_category"), 0u);
}

TEST(AdvSourceTest, SettingsFromTheUpdateData) {
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    UpdateFile file{dir.Path()};
    dir.Write("data.txt",
              "<categories>url=\"http://g.example/eng/\" categories=\"Birds, Song ,\"</categories>"
              "<banners>same=\"yes\"</banners>");
    UpdateData data(file, settings);
    ASSERT_TRUE(data.Load());
    EXPECT_EQ(AdvModeFromUpdateData(data), 1);
    auto cats = AdvCategoriesFromUpdateData(data);
    ASSERT_EQ(cats.size(), 2u);
    EXPECT_EQ(cats[1].name, "Song");
    EXPECT_EQ(cats[1].url, "http://g.example/eng/Song.htm");

    dir.Write("data.txt", "<categories>url=\"javascript:x//\" categories=\"A\"</categories>");
    UpdateData other(file, settings);
    ASSERT_TRUE(other.Load());
    EXPECT_EQ(AdvModeFromUpdateData(other), 2);
    EXPECT_EQ(AdvCategoriesFromUpdateData(other).at(0).url, "#");
}

}  // namespace
}  // namespace flk
