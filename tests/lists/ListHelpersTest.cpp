#include "lists/ListHelpers.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

ListTable Names(std::initializer_list<const char*> names, std::size_t columns = 2) {
    ListTable t(columns);
    for (const char* n : names) t.AddRow(n);
    return t;
}

std::vector<bool> Selection(const ListTable& t) {
    std::vector<bool> out;
    for (std::size_t r = 0; r < t.RowCount(); ++r) out.push_back(t.IsSelected(r));
    return out;
}

TEST(FormatSize, UnitsAndRounding) {
    struct Row {
        long long bytes;
        bool two;
        const char* text;
    } rows[] = {
        {0, true, "0"},
        {-7, true, "0"},
        {1, true, "1 Bytes"},
        {1023, true, "1023 Bytes"},
        {1023, false, "1023 Bytes"},
        {1024, true, "1.00 KB"},
        {1536, true, "1.50 KB"},
        {1536, false, "2 KB"},
        {1034, true, "1.01 KB"},
        {1048575, true, "1024.00 KB"},
        {1048576, true, "1.00 MB"},
        {1048576, false, "1 MB"},
        {1572864, true, "1.50 MB"},
        {9223372036854775807LL, true, "953674316.41 MB"},  // capped, no overflow
    };
    for (const Row& r : rows) EXPECT_EQ(FormatSize(r.bytes, r.two), r.text) << r.bytes;
}

TEST(UpdateCountCaption, SelectedOverRows) {
    ListTable t = Names({"a", "b", "c", "d", "e"});
    t.SetSelected(1, true);
    t.SetSelected(3, true);
    EXPECT_EQ(UpdateCountCaption(t, "Images"), "Images (2 / 5)");
    EXPECT_EQ(UpdateCountCaption(t, ""), "2 / 5");
    EXPECT_EQ(UpdateCountCaption(ListTable(2), "Url's"), "Url's (0 / 0)");
}

TEST(SelectByPattern, EveryPieceAnywhereCaseSensitive) {
    struct Row {
        const char* pattern;
        std::vector<bool> selected;
    } rows[] = {
        {"cat", {true, false, true}},
        {"*cat*dog*", {false, false, true}},
        {"dog * cat", {false, false, true}},
        {" jpg ", {true, false, false}},
        {"CAT", {false, false, false}},
        {"*", {false, true, false}},  // no piece: the selection stays
        {"", {false, true, false}},
        {" * * ", {false, true, false}},
    };
    for (const Row& r : rows) {
        ListTable t = Names({"cat.jpg", "dog.gif", "catdog.png"});
        t.SetSelected(1, true);
        SelectByPattern(t, r.pattern, 0);
        EXPECT_EQ(Selection(t), r.selected) << r.pattern;
    }
    ListTable t = Names({"a", "b"});
    t.SetSelected(0, true);
    InvertSelection(t);
    EXPECT_EQ(Selection(t), (std::vector<bool>{false, true}));
}

TEST(SplitBySeparator, KeepsInnerPiecesTrimsTheRest) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitBySeparator("a;-; b ;-;;-;", ";-;"), (V{"a", " b ", ""}));
    EXPECT_EQ(SplitBySeparator("a;-;  tail \r\n", ";-;"), (V{"a", "tail"}));
    EXPECT_EQ(SplitBySeparator(" \r\r ", ";-;"), V{});
    EXPECT_EQ(SplitBySeparator("jpg;gif;", ";"), (V{"jpg", "gif"}));
    EXPECT_EQ(SplitBySeparator("x", ""), V{"x"});
}

TEST(ListToText, ColumnsAndSeparators) {
    ListTable t(3);
    t.AddRow("a.jpg");
    t.SetCell(0, 1, "http://h/");
    t.AddRow("b.jpg");
    t.SetCell(1, 1, "http://g/");
    t.SetSelected(1, true);
    EXPECT_EQ(ListToText(t, "1,0", "", "\r\n", true), "http://g/b.jpg\r\n");
    EXPECT_EQ(ListToText(t, "0, 1,x,9", "|", ";", false), "a.jpg|http://h/||;b.jpg|http://g/||;");
}

TEST(ListToReport, PadsToTheLongestSelectedCell) {
    ListTable t(3);
    for (auto [a, b] : {std::pair{"ab", "x"}, {"abcdef-unselected", "y"}, {"a", "long"}}) {
        std::size_t r = t.AddRow(a);
        t.SetCell(r, 1, b);
        t.SetSelected(r, std::string(a).find("unselected") == std::string::npos);
    }
    EXPECT_EQ(ListToReport(t, "1,0"), "x   \tab\t\nlong\ta \t\n");
    EXPECT_EQ(ListToReport(ListTable(3), "1,0"), "");
}

TEST(ListToReport, CellsBeyondThePaddingCapStayUnpaddedAndDoNotWidenTheColumn) {
    const std::string capped(kMaxReportPadding, 'c');
    const std::string huge(kMaxReportPadding + 1, 'h');
    ListTable t(2);
    for (const std::string& a : {std::string("ab"), capped, huge, std::string("x")}) t.SetSelected(t.AddRow(a), true);
    EXPECT_EQ(ListToReport(t, "0"), "ab" + std::string(kMaxReportPadding - 2, ' ') + "\t\n" + capped + "\t\n" + huge +
                                        "\t\nx" + std::string(kMaxReportPadding - 1, ' ') + "\t\n");
}

TEST(ListBlock, ProtectedCellsSurviveARoundTrip) {
    ListTable t(3);
    const char* cells[][3] = {
        {"a;-;b", "{[(MoviesList)]}", "ends;-"},
        {" spaced ", ";-;-;", "plain"},
    };
    for (auto& row : cells) {
        std::size_t r = t.AddRow(row[0]);
        t.SetCell(r, 1, row[1]);
        t.SetCell(r, 2, row[2]);
    }
    const std::string block = SaveListBlock(t, 3);
    EXPECT_EQ(block, "a; -;b;-;{ [(MoviesList)]};-;ends; -;-; spaced ;-;; -; -;;-;plain;-;");

    const std::string project = "{[(X)]}" + block + "\r\n\r\n{[(Y)]}z;-;";
    std::string_view body;
    ASSERT_TRUE(FindBlock(project, "{[(X)]}", body));
    ListTable back(3);
    LoadListBlock(back, body, 3);
    ASSERT_EQ(back.RowCount(), 2u);
    EXPECT_EQ(back.Cell(0, 0), "a; -;b");
    EXPECT_EQ(back.Cell(0, 1), "{ [(MoviesList)]}");
    EXPECT_EQ(back.Cell(0, 2), "ends; -");
    EXPECT_EQ(back.Cell(1, 0), "spaced");  // cells are trimmed on the way back
    EXPECT_EQ(back.Cell(1, 1), "; -; -;");
    EXPECT_EQ(back.Cell(1, 2), "plain");
    EXPECT_FALSE(FindBlock(block, "{[(Z)]}", body));

    // A cell made of nothing but separators saves in linear time and stays
    // one cell.
    ListTable hostile(1);
    std::string seps;
    for (int i = 0; i < 300000; ++i) seps += ";-;";
    hostile.AddRow(seps);
    LoadListBlock(hostile, SaveListBlock(hostile, 1), 1);
    EXPECT_EQ(hostile.RowCount(), 1u);
}

TEST(ListBlock, PartialLastRowAndZeroWidth) {
    ListTable t(9);
    std::string block;
    for (int i = 0; i < 7 * 2 + 2; ++i) block += "c" + std::to_string(i) + ";-;";
    LoadListBlock(t, block, 7);
    ASSERT_EQ(t.RowCount(), 3u);
    EXPECT_EQ(t.Cell(1, 6), "c13");
    EXPECT_EQ(t.Cell(2, 0), "c14");
    EXPECT_EQ(t.Cell(2, 1), "c15");
    EXPECT_EQ(t.Cell(2, 2), "");
    LoadListBlock(t, block, 0);
    EXPECT_EQ(t.RowCount(), 0u);
}

}  // namespace
}  // namespace flk
