#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "query/HtmlToText.h"

using flk::HtmlToText;

TEST(HtmlToText, Table) {
    const struct {
        const char* html;
        const char* text;
    } rows[] = {
        {"<p>a &amp; b</p><script>x</script>", "a  b"},
        {"a & b", "a b"},
        {"a &amp", "a "},
        {"x&a&b;y", "xy"},
        {"<title>Top</title>\n<b>body</b>", "Top\nbody"},
        {"a<SCRIPT type=x>if (a<b) c();</ScRiPt>b", "ab"},
        {"a<script>1</script>b<script>2</script>c", "abc"},
        // A closing marker before the opening one is no closing marker.
        {"</script>a<script>b", "ab"},
        {"a<script>b", "ab"},
        // A removal that joins "<scr" and "ipt>" makes a new block.
        {"<scr<script>x</scriptipt>y</script>z", "z"},
        {"a <b", "a "},
        {"a > b", "a  b"},
        {"\xFE<i>\xFD</i>", "\xFE\xFD"},
        {"", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(HtmlToText(row.html), row.text) << row.html;
}

TEST(HtmlToText, HugePagesStayLinear) {
    const auto start = std::chrono::steady_clock::now();
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "<script>x</script>t";
    EXPECT_EQ(HtmlToText(many), std::string(100000, 't'));
    std::string unclosed;
    for (int i = 0; i < 100000; ++i) unclosed += "<script>&amp";
    EXPECT_EQ(HtmlToText("</script>" + unclosed), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}
