#include "app/Settings.h"
#include "lists/ProjectFile.h"
#include "search/HitList.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

using Cells = std::vector<std::string>;

Cells Column(const HitList& list, std::size_t column) {
    Cells out;
    for (std::size_t r = 0; r < list.RowCount(); ++r) out.push_back(list.Cell(r, column));
    return out;
}

TEST(HitList, AddHitFillsTheColumnsAndCaption) {
    struct {
        const char* address;
        const char* url;
    } rows[] = {
        {" \tHTTP://Host/A.html ", "Host/A.html "},  // trimmed at the start only
        {"hTtP://h/x", "h/x"},
        {"https://h/s", "https://h/s"},              // a secure address stays whole
        {"http://http://h/twice", "http://h/twice"},  // one prefix only
        {"C:\\site\\page.htm", "C:\\site\\page.htm"},
        {"/home/u/page.html", "/home/u/page.html"},
        {"ftp://f/readme", "ftp://f/readme"},
        {"http://", ""},
    };
    HitList list;
    EXPECT_EQ(list.Caption(), "Titles (0 / 0)");
    int score = 1;
    for (const auto& row : rows) list.AddHit(TextHit{"line", score++, "T", row.address});
    ASSERT_EQ(list.RowCount(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(list.Cell(i, HitList::kUrl), rows[i].url) << rows[i].address;
        EXPECT_EQ(list.Cell(i, HitList::kMatch), std::to_string(i + 1));
        EXPECT_EQ(list.Cell(i, HitList::kTitles), "T");
        EXPECT_EQ(list.Cell(i, HitList::kText), "line");
    }
    list.SetSelected(1, true);
    EXPECT_EQ(list.Caption(), "Titles (1 / 8)");
    const std::uint64_t before = list.Revision();
    list.Clear();
    EXPECT_GT(list.Revision(), before);
    EXPECT_EQ(list.Caption(), "Titles (0 / 0)");

    const auto columns = HitList::Columns();
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].header, "Titles");
    EXPECT_EQ(columns[3].header, "Url");
    EXPECT_EQ(columns[1].width, 270);
}

TEST(HitList, LinkTargets) {
    struct {
        const char* address;
        const char* target;
    } rows[] = {
        {"h/a.html", "http://h/a.html"},
        {"host:8080/p", "http://host:8080/p"},
        {"https://h/x", "https://h/x"},
        {"ftp://f/x", "ftp://f/x"},
        {"C:\\dir\\p.htm", "file:////C:\\dir\\p.htm"},
        {"\\\\srv\\share\\p.htm", "file:////srv\\share\\p.htm"},
        {"/home/u/p.html", "file:///home/u/p.html"},
        {"file:///tmp/x", "file:///tmp/x"},
    };
    for (const auto& row : rows) EXPECT_EQ(HitList::LinkTarget(row.address), row.target) << row.address;
}

TEST(HitList, SortAndSelect) {
    HitList list;
    list.AddHit("h/1", "beta", 9, "");
    list.AddHit("h/2", "Alpha", 100, "");
    list.AddHit("h/3", "gamma", 10, "");
    list.SortByHeader(2);  // scores as numbers, highest first
    EXPECT_EQ(Column(list, HitList::kMatch), (Cells{"100", "10", "9"}));
    list.SortByHeader(2);
    EXPECT_EQ(Column(list, HitList::kMatch), (Cells{"9", "10", "100"}));
    list.SortByHeader(0);  // the direction carries over to the new column
    EXPECT_EQ(Column(list, HitList::kTitles), (Cells{"Alpha", "beta", "gamma"}));
    list.SortByHeader(0);
    EXPECT_EQ(Column(list, HitList::kTitles), (Cells{"gamma", "beta", "Alpha"}));
    list.SortByHeader(7);  // no such column: nothing changes
    EXPECT_EQ(list.CurrentSort().column, 0);

    list.SelectByPattern("a * ph");
    EXPECT_EQ(list.Caption(), "Titles (1 / 3)");
    list.InvertSelection();
    EXPECT_TRUE(list.IsSelected(0));
    EXPECT_FALSE(list.IsSelected(2));
    list.SelectAll();
    EXPECT_EQ(list.Caption(), "Titles (3 / 3)");
}

TEST(HitListFiles, HtmlTextAndReportBytes) {
    HitList list;
    list.SetQuery("cat \"big <dog>\"");
    list.AddHit("HTTP://h/a.html", "Cats & \"dogs\"", 27, "a<b>c & d");
    list.AddHit("C:\\pages\\b.htm", "<script>x</script>", 8, "");
    list.AddHit("javascript://%0aalert(1)", "Bad", 1, "x");
    list.SetSelected(1, true);

    test::TempDir dir;
    EXPECT_EQ(list.WriteHtmlList(dir.Path()), dir.File("SearchList.htm"));
    const std::string font = "<FONT SIZE=\"1\" FACE=\"MS Sans Serif\">\r\r\n";
    const std::string cell = "</TD>\r\r\n<TD>" + font;
    EXPECT_EQ(dir.Read("SearchList.htm"),
              "<HTML>\r\r\n<BODY BGCOLOR=#77aaaa VLINK=\"Blue\" LINK=\"Blue\" ALINK=\"Silver\">\r\r\n"
              "<TITLE>Crawler's search list </TITLE><BR>\r<CENTER>\r"
              "<FONT SIZE=+2 COLOR=#883355>3 URL's matches the query: \"cat &quot;big &lt;dog&gt;&quot;\"</FONT> <HR> \r"
              "<TABLE BORDER=1 BGCOLOR=\"#D2D2D2\" CELLSPACING=2 CELLPADDING=3>\r\r\n"
              "<TR BGCOLOR=\"#AAAAAA\"><TH>\r\r\n" + font + "Title\r\r\n</TH><TH>\r\r\n" + font +
              "Url\r\r\n</TH><TH>\r\r\n" + font + "Text sample\r\r\n</TH></TR>\r\r\n"
              "<TR>\r\r\n<TD>" + font +
              "<A HREF=\"http://h/a.html\">Cats &amp; &quot;dogs&quot;</A>\r\r\n" + cell +
              "<A HREF=\"http://h/a.html\">h/a.html</A>\r\r\n" + cell + "a b c &amp; d</TR>\r\r\n"
              "<TR>\r\r\n<TD>" + font +
              "<A HREF=\"file:////C:\\pages\\b.htm\">&lt;script&gt;x&lt;/script&gt;</A>\r\r\n" + cell +
              "<A HREF=\"file:////C:\\pages\\b.htm\">C:\\pages\\b.htm</A>\r\r\n" + cell + "</TR>\r\r\n"
              "<TR>\r\r\n<TD>" + font + "Bad\r\r\n" + cell + "javascript://%0aalert(1)\r\r\n" + cell +
              "x</TR>\r\r\n"
              "</TABLE>\r\r\n</CENTER>\r\r\n</BODY>\r\r\n</HTML>\r\r\n");

    EXPECT_EQ(list.WriteTextList(dir.Path()), dir.File("SearchList.txt"));
    const std::string heading = "3 URLs matches the search query: \"cat \"big <dog>\"\"";
    EXPECT_EQ(dir.Read("SearchList.txt"),
              heading + "\r\r\n" + std::string(heading.size(), '-') +
                  "\r\r\nCats & \"dogs\" h/a.html\r\r\n<script>x</script> C:\\pages\\b.htm\r\r\n"
                  "Bad javascript://%0aalert(1)\r\r\n");

    // The report holds the selected rows, each column padded to its longest
    // selected cell.
    list.SetSelected(2, true);
    EXPECT_EQ(list.WriteReport(dir.Path()), dir.File("SearchReport.txt"));
    EXPECT_EQ(dir.Read("SearchReport.txt"),
              "<script>x</script>\t \t8\tC:\\pages\\b.htm          \t\r\n"
              "Bad               \tx\t1\tjavascript://%0aalert(1)\t\r\n");

    EXPECT_EQ(list.WriteHtmlList(dir.File("no/such/folder")), "");
}

TEST(HitListFiles, ProjectBlockRoundTripWithOddCells) {
    HitList list;
    list.AddHit("http://h/1", "semi ;-; colon", 5, "open {[( block");
    list.AddHit("h/2", "ends in ;-", 6, ";-;");
    list.AddHit("h/3", "  padded  ", 7, "two\nlines");
    EXPECT_TRUE(list.SaveBlock().starts_with("\r\n\r\n{[(SearchList)]}semi ; -; colon;-;open { [( block;-;5;-;h/1;-;"));

    test::TempDir dir;
    const std::string text = "New project" + list.SaveBlock() + "\r\n\r\n{[(SoundsList)]}s.wav;-;h/;-;;-;;-;";
    ASSERT_TRUE(WriteProjectFile(dir.File("p.crl"), text));
    const std::string joined = ReadProjectFile(dir.File("p.crl"));
    for (const std::string& form : {text, joined}) {
        HitList back;
        back.AddHit("old", "old", 1, "");
        ASSERT_TRUE(back.LoadBlock(form));
        ASSERT_EQ(back.RowCount(), 3u);
        EXPECT_EQ(back.Snapshot().Rows()[0].cells, (Cells{"semi ; -; colon", "open { [( block", "5", "h/1"}));
        EXPECT_EQ(back.Snapshot().Rows()[1].cells, (Cells{"ends in ; -", "; -;", "6", "h/2"}));
        EXPECT_EQ(back.Cell(2, 0), "padded");
        EXPECT_EQ(back.Cell(2, 3), "h/3");
        EXPECT_EQ(back.Caption(), "Titles (0 / 3)");
    }

    // No block: the rows stay. A short last row keeps the cells it has.
    HitList some;
    some.AddHit("h/x", "kept", 1, "");
    EXPECT_FALSE(some.LoadBlock("New project"));
    EXPECT_EQ(some.RowCount(), 1u);
    ASSERT_TRUE(some.LoadBlock("{[(SearchList)]}a;-;l;-;3;-;u;-;b;-;m;-;"));
    EXPECT_EQ(Column(some, 0), (Cells{"a", "b"}));
    EXPECT_EQ(Column(some, 1), (Cells{"l", "m"}));
    EXPECT_EQ(Column(some, 2), (Cells{"3", ""}));
}

TEST(HitList, QueryConditionAndKeywords) {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    HitList list;
    list.LoadSettings(settings);  // nothing stored yet
    EXPECT_EQ(list.Query(), "");
    EXPECT_EQ(list.Condition(), "and");

    struct {
        const char* stored;
        const char* condition;
    } conditions[] = {{"or", "or"}, {" OR ", "or"}, {"and", "and"}, {"either", "and"}, {"", "and"}};
    for (const auto& c : conditions) {
        settings.Set(keys::SearchCond, c.stored);
        list.LoadSettings(settings);
        EXPECT_EQ(list.Condition(), c.condition) << c.stored;
    }

    settings.Set(keys::SearchLine, "cat \"big dog\" -bird");
    list.LoadSettings(settings);
    list.BuildKeywordList();
    EXPECT_EQ(list.Keywords(), (Cells{"big dog", "cat", "bird"}));
    list.SetQuery("x NEAR y or z");
    list.SetCondition("or");
    EXPECT_EQ(list.Keywords(), (Cells{"big dog", "cat", "bird"}));  // until rebuilt
    list.BuildKeywordList();
    EXPECT_EQ(list.Keywords(), (Cells{"x", "y", "z"}));

    list.SaveSettings(settings);
    Settings reread(dir.File("flk.ini"), dir.Path());
    EXPECT_EQ(reread.Get(keys::SearchLine), "x NEAR y or z");
    EXPECT_EQ(reread.Get(keys::SearchCond), "or");
}

}  // namespace
}  // namespace flk
