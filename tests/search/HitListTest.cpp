#include "settings/Settings.h"
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

TEST(HitList, AddressesAndLinkTargets) {
    struct {
        const char* address;
        const char* url;     // the "Url" cell
        const char* target;  // the link made from it
    } rows[] = {
        {" \tHTTP://Host/A.html", "Host/A.html", "http://Host/A.html"},
        {"http://http://h/twice", "http://h/twice", "http://h/twice"},
        {"http://host:8080/p", "host:8080/p", "http://host:8080/p"},
        {"https://h/s", "https://h/s", "https://h/s"},
        {"ftp://f/readme", "ftp://f/readme", "ftp://f/readme"},
        {"C:\\dir\\p.htm", "C:\\dir\\p.htm", "file:////C:\\dir\\p.htm"},
        {"\\\\srv\\share\\p.htm", "\\\\srv\\share\\p.htm", "file:////srv\\share\\p.htm"},
        {"/home/u/p.html", "/home/u/p.html", "file:///home/u/p.html"},
        {"file:///tmp/x", "file:///tmp/x", "file:///tmp/x"},
    };
    HitList list;
    for (const auto& row : rows) list.AddHit(TextHit{"line", 7, "T", row.address});
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(list.Cell(i, HitList::kUrl), rows[i].url) << rows[i].address;
        EXPECT_EQ(list.RowLinkTarget(i), rows[i].target) << rows[i].address;
    }
    EXPECT_EQ(list.Snapshot().Rows()[0].cells, (Cells{"T", "line", "7", "Host/A.html"}));
    list.SetSelected(1, true);
    EXPECT_EQ(list.Caption(), "Titles (1 / 9)");
    list.Clear();
    EXPECT_EQ(list.Caption(), "Titles (0 / 0)");
}

TEST(HitList, MatchSortsByNumber) {
    HitList list;
    for (int score : {9, 100, 10}) list.AddHit("h/", "t", score, "");
    list.SortByHeader(HitList::kMatch);  // highest first
    EXPECT_EQ(Column(list, HitList::kMatch), (Cells{"100", "10", "9"}));
    list.SortByHeader(HitList::kMatch);
    EXPECT_EQ(Column(list, HitList::kMatch), (Cells{"9", "10", "100"}));
}

TEST(HitListFiles, HtmlTextAndReportBytes) {
    HitList list;
    list.SetQuery("cat \"big <dog>\"");
    list.AddHit("HTTP://h/a.html", "Cats & \"dogs\"", 27, "a<b>c & d");
    list.AddHit("C:\\pages\\b.htm", "<script>x</script>", 8, "");
    list.AddHit("javascript://%0aalert(1)", "Bad", 1, "x");  // not a link
    list.SetSelected(1, true);
    list.SetSelected(2, true);

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

    // The report holds the selected rows, columns padded to their longest.
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
    list.AddHit("h/3", "  padded  ", 7, "");
    EXPECT_TRUE(list.SaveBlock().starts_with("\r\n\r\n{[(SearchList)]}semi ; -; colon;-;open { [( block;-;5;-;h/1;-;"));

    test::TempDir dir;
    const std::string text = "New project" + list.SaveBlock() + "\r\n\r\n{[(SoundsList)]}s.wav;-;h/;-;;-;;-;";
    ASSERT_TRUE(WriteProjectFile(dir.File("p.crl"), text));
    for (const std::string& form : {text, ReadProjectFile(dir.File("p.crl"))}) {
        HitList back;
        back.AddHit("old", "old", 1, "");
        ASSERT_TRUE(back.LoadBlock(form));
        const ListTable t = back.Snapshot();
        ASSERT_EQ(t.RowCount(), 3u);
        EXPECT_EQ(t.Rows()[0].cells, (Cells{"semi ; -; colon", "open { [( block", "5", "h/1"}));
        EXPECT_EQ(t.Rows()[1].cells, (Cells{"ends in ; -", "; -;", "6", "h/2"}));
        EXPECT_EQ(t.Rows()[2].cells, (Cells{"padded", "", "7", "h/3"}));
    }
    // No block: the rows stay. A short last row keeps the cells it has.
    EXPECT_FALSE(list.LoadBlock("New project"));
    ASSERT_TRUE(list.LoadBlock("{[(SearchList)]}a;-;l;-;3;-;u;-;b;-;m;-;"));
    EXPECT_EQ(Column(list, 1), (Cells{"l", "m"}));
}

TEST(HitList, QueryConditionAndKeywords) {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    HitList list;
    for (const auto& [stored, condition] :
         {std::pair{"or", "or"}, {" OR ", "or"}, {"and", "and"}, {"either", "and"}, {"", "and"}}) {
        settings.Set(keys::SearchCond, stored);
        list.LoadSettings(settings);
        EXPECT_EQ(list.Condition(), condition) << stored;
    }
    settings.Set(keys::SearchLine, "x NEAR y or z");
    list.LoadSettings(settings);
    list.BuildKeywordList();
    EXPECT_EQ(list.Keywords(), (Cells{"x", "y", "z"}));
    list.SetQuery("cat");
    list.SetCondition("or");
    list.SaveSettings(settings);
    EXPECT_EQ(Settings(dir.File("flk.ini"), dir.Path()).Get(keys::SearchLine), "cat");
    EXPECT_EQ(Settings(dir.File("flk.ini"), dir.Path()).Get(keys::SearchCond), "or");
}

}  // namespace
}  // namespace flk
