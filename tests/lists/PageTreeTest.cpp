#include "lists/PageTree.h"
#include "lists/SiteMaps.h"

#include <gtest/gtest.h>

using namespace flk;

namespace {

std::vector<std::string> Texts(const TreeModel& t, const std::vector<TreeModel::Id>& ids) {
    std::vector<std::string> out;
    for (auto id : ids) out.push_back(t.Text(id));
    return out;
}

// A small crawl: a start page with a title, two child pages (one titled,
// one with a child of its own), the title of one arriving after its page.
void Fill(PageTrees& trees) {
    trees.AddTreeItem("http://s.example/", "");
    trees.AddTreeItem("<<Home>>", "http://s.example/");
    trees.AddTreeItem("http://s.example/a.html", "http://s.example/");
    trees.AddTreeItem("http://s.example/b.html", "http://s.example/");
    trees.AddTreeItem("http://s.example/b/c.html", "http://s.example/b.html");
    trees.AddTreeItem("<<Page A>>", "http://s.example/a.html");
}

}  // namespace

TEST(PageTree, AnnotationsFirstPagesLastParentsByText) {
    PageTrees trees;
    Fill(trees);
    trees.AddTreeItem("https://other.example/x", "nowhere");  // unknown parent: a new root, scheme kept
    trees.WithUrlTree([](TreeModel& t) {
        t.ExpandAll();
        EXPECT_EQ(Texts(t, t.VisibleOrder()),
                  (std::vector<std::string>{"s.example/", "<<Home>>", "s.example/a.html", "<<Page A>>",
                                            "s.example/b.html", "s.example/b/c.html", "https://other.example/x"}));
        t.CollapseAll();
        EXPECT_EQ(Texts(t, t.VisibleOrder()), (std::vector<std::string>{"s.example/", "https://other.example/x"}));
    });
}

TEST(PageTree, TitlesRewrite) {
    PageTrees trees;
    Fill(trees);
    trees.AddTreeItem("http://s.example/leaf.html", "http://s.example/");  // no title, no children: goes
    trees.SetTitlesMode(true);
    trees.WithShownTree([](TreeModel& t) {
        EXPECT_EQ(Texts(t, t.VisibleOrder()),
                  (std::vector<std::string>{"<<Home>>", "<<Page A>>", "<<No Title>>"}));
    });
    // The URL tree is untouched, and "Send to Location" on an annotation
    // gives its page.
    trees.WithUrlTree([](TreeModel& t) {
        EXPECT_EQ(t.Count(), 7u);
        const auto home = t.Children(t.Roots().front()).front();
        EXPECT_EQ(PageTrees::PageTextFor(t, home), "s.example/");
        EXPECT_EQ(PageTrees::BrowserTargetFor(t, home), "http://s.example/");
    });
}

// Pages keep arriving after "Titles" is ticked: they still find their
// parent by its address, whether the view renamed it to its title or
// dropped it for having no children yet.
TEST(PageTree, PagesAddedInTitlesModeKeepTheirPlace) {
    PageTrees trees;
    Fill(trees);
    trees.AddTreeItem("http://s.example/leaf.html", "http://s.example/");
    trees.SetTitlesMode(true);
    trees.AddTreeItem("http://s.example/d.html", "http://s.example/");          // under "<<Home>>"
    trees.AddTreeItem("http://s.example/b/e.html", "http://s.example/b.html");  // under "<<No Title>>"
    trees.AddTreeItem("http://s.example/leaf/x.html", "http://s.example/leaf.html");
    trees.WithShownTree([](TreeModel& t) {
        t.ExpandAll();
        EXPECT_EQ(t.Roots().size(), 1u);
        EXPECT_EQ(Texts(t, t.VisibleOrder()),
                  (std::vector<std::string>{"<<Home>>", "<<Page A>>", "<<No Title>>", "s.example/b/e.html",
                                            "s.example/d.html", "s.example/leaf.html", "s.example/leaf/x.html"}));
        EXPECT_EQ(t.Count(), 7u);
    });
}

TEST(PageTree, BlockRoundTripAddsToWhatIsThere) {
    PageTrees trees;
    Fill(trees);
    const std::string block = trees.SaveBlock();
    EXPECT_EQ(block.substr(0, 40), "s.example/;-;top;-;<<Home>>;-;s.example/");
    PageTrees loaded;
    loaded.LoadBlock(block);
    EXPECT_EQ(loaded.SaveBlock(), block);
    // A title holding the cell separator cannot split the block.
    PageTrees odd;
    odd.AddTreeItem("s.example/", "");
    odd.AddTreeItem("<<a;-;b {[(c>>", "s.example/");
    PageTrees oddLoaded;
    oddLoaded.LoadBlock(odd.SaveBlock());
    oddLoaded.WithUrlTree([](TreeModel& t) {
        t.ExpandAll();
        EXPECT_EQ(Texts(t, t.VisibleOrder()), (std::vector<std::string>{"s.example/", "<<a; -;b { [(c>>"}));
    });
    // A last pair without its parent reuses the previous parent.
    PageTrees partial;
    partial.LoadBlock("r;-;top;-;x;-;r;-;y");
    partial.WithUrlTree([](TreeModel& t) {
        t.ExpandAll();
        EXPECT_EQ(Texts(t, t.VisibleOrder()), (std::vector<std::string>{"r", "x", "y"}));
    });
}

TEST(SiteMaps, TextMapIndentsAndAppendsAnnotations) {
    PageTrees trees;
    Fill(trees);
    // The first root starts the indentation with one space, so its children
    // are indented by one and deeper levels by seven more.
    trees.WithUrlTree([](TreeModel& t) {
        t.ExpandAll();
        EXPECT_EQ(SiteMapText(t, false),
                  "CRAWLER SITE MAP:\r\n-----------------"
                  "\r\ns.example/  <<Home>>"
                  "\r\n s.example/a.html  <<Page A>>"
                  "\r\n s.example/b.html"
                  "\r\n        s.example/b/c.html");
    });
    PageTrees single;
    single.AddTreeItem("only.example/", "");
    single.WithUrlTree([](TreeModel& t) {
        EXPECT_EQ(SiteMapText(t, false), "CRAWLER SITE MAP:\r\n-----------------\r\nonly.example/");
    });
}

TEST(SiteMaps, LinesDeeperThanSixtyFourLevelsShowTheirLevel) {
    // A chain under a second root: item k is indented by k steps.
    PageTrees trees;
    trees.AddTreeItem("first.example/", "");
    std::string parent = "chain.example/";
    trees.AddTreeItem(parent, "");
    for (int k = 1; k <= 66; ++k) {
        const std::string page = "chain.example/p" + std::to_string(k) + ".html";
        trees.AddTreeItem(page, parent);
        parent = page;
    }
    trees.WithUrlTree([](TreeModel& t) {
        t.ExpandAll();
        const std::string text = SiteMapText(t, false);
        const std::string html = SiteMapHtml(t, false);
        struct Row {
            int k;
            std::string textLine, htmlLine;
        };
        for (const Row& row : std::vector<Row>{
                 {1, std::string(7, ' '), "*******</FONT><A"},
                 {64, std::string(64 * 7, ' '), std::string(64 * 7, '*') + "</FONT><A"},
                 {65, "[65] ", "<FONT COLOR=#99bbcc></FONT>[65] <A"},
                 {66, "[66] ", "<FONT COLOR=#99bbcc></FONT>[66] <A"},
             }) {
            const std::string page = "chain.example/p" + std::to_string(row.k) + ".html";
            EXPECT_NE(text.find("\r\n" + row.textLine + page), std::string::npos) << row.k;
            EXPECT_NE(html.find(row.htmlLine + " HREF=\"http://" + page + "\">"), std::string::npos) << row.k;
        }
        EXPECT_EQ(text.find("\r\n" + std::string(65 * 7, ' ')), std::string::npos);
    });
}

TEST(SiteMaps, HtmlMapLinksAndEscapes) {
    PageTrees trees;
    trees.AddTreeItem("s.example/", "");
    trees.AddTreeItem("<<No Title>>", "s.example/");
    trees.AddTreeItem("C:\\site\\p.htm", "s.example/");
    trees.AddTreeItem("s.example/q?a=\"<b>\"", "s.example/");
    trees.AddTreeItem("javascript://alert(1)", "s.example/");
    trees.WithUrlTree([](TreeModel& t) {
        t.ExpandAll();
        const std::string html = SiteMapHtml(t, false);
        EXPECT_EQ(html.substr(0, 46), "<HTML>\r\n<BODY BGCOLOR=#99bbcc>\r\n<TITLE> Site M");
        EXPECT_NE(html.find("<BR><FONT COLOR=#99bbcc></FONT><A HREF=\"http://s.example/\">s.example/</A>\r\n"
                            "&lt;&lt;No Title&gt;&gt;\r\n"),
                  std::string::npos)
            << html;
        EXPECT_NE(html.find("<FONT COLOR=#99bbcc> </FONT><A HREF=\"C:\\site\\p.htm\">"), std::string::npos);
        EXPECT_NE(html.find("<A HREF=\"http://s.example/q?a=&quot;&lt;b&gt;&quot;\">"), std::string::npos);
        EXPECT_EQ(html.find("<A HREF=\"javascript"), std::string::npos);
        EXPECT_EQ(html.substr(html.size() - 18), "</BODY>\r\n</HTML>\r\n");
    });
}

TEST(SiteMaps, AppletRecordsAndUrlLists) {
    PageTrees trees;
    Fill(trees);
    trees.WithUrlTree([](TreeModel& t) {
        const std::string page = SiteTreeApplet(t, false, t);
        EXPECT_NE(page.find("VALUE=\"{{{s.example/;@;top}}}{{{&lt;&lt;Home&gt;&gt;;@;s.example/}}}"),
                  std::string::npos);
    });
    std::vector<UrlListRow> rows = {{" s.example/x ", "A <b> title", "3"}, {"\\\\server\\share\\f.htm", "", "0"}};
    const std::string html = UrlsListHtml(rows);
    EXPECT_NE(html.find("<A HREF=\"http://s.example/x\">s.example/x</A></TD>\r\n"
                        "<TD><FONT SIZE=\"1\" FACE=\"MS Sans Serif\">A  b  title</TD>\r\n"),
              std::string::npos);
    EXPECT_NE(html.find("HREF=\"file:////server\\share\\f.htm\""), std::string::npos);
    EXPECT_EQ(UrlsListText(rows), "URLs List:\r\n=========\r\ns.example/x\r\n\\\\server\\share\\f.htm\r\n");
    EXPECT_NE(StartLocationsPage({"a.example"}).find("<A HREF=\"http://a.example\">a.example</A><BR>\r\n"),
              std::string::npos);
}

// Paths of this system begin with "/": they are files, and a file address
// is "file://" + path.
TEST(SiteMaps, SlashPathsAreFileAddresses) {
    const std::string frame = MainFramePage("/home/me/FLKProjects/Default/SiteTree.htm", "www.maker.example");
    EXPECT_NE(frame.find("<FRAME NAME=\"tree\" SCROLLING=yes SRC=\"file:///home/me/FLKProjects/Default/SiteTree.htm\">"),
              std::string::npos)
        << frame;
    EXPECT_EQ(frame.find("file:////"), std::string::npos);
    EXPECT_NE(frame.find("SRC=\"http://www.maker.example\""), std::string::npos);
    struct Row {
        const char* url;
        const char* target;
    } rows[] = {
        {"/home/me/site/a b#2.html", "file:///home/me/site/a b%232.html"},
        {"file:///tmp/x.html", "file:///tmp/x.html"},
        {"C:\\site\\a.htm", "file:////C:\\site\\a.htm"},
        {"s.example/x", "http://s.example/x"},
    };
    for (const Row& r : rows) EXPECT_EQ(ListLinkTarget(r.url), r.target) << r.url;
}
