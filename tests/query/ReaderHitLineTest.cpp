#include "query/ReaderHitLine.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

const std::vector<std::string> kLark = {"lark"};

TEST(ReaderHitLine, TextAsAReaderSeesIt) {
    struct Case {
        const char* line;
        const char* text;
    };
    const Case cases[] = {
        // Tags dropped; the ones that break lines or cells leave a space.
        {"<p><b>sky</b>lark sings</p>", "skylark sings"},
        {"<td>lark</td><td>pipit</td>", "lark pipit"},
        {"<p>one<br>lark<p>two</p>", "one lark two"},
        // A window that starts inside a tag, a comment or a script.
        {"ass=\"x\"><b>skylark</b> sings<", "skylark sings"},
        {"/div>lark here<", "lark here"},
        {"ing --> the lark ", "the lark"},
        {"var a = 1;</script> the lark ", "the lark"},
        {"x { color: red }</style>lark ", "lark"},
        // ...or ends inside one: the rest is dropped, not shown as text.
        {"<p>the lark <a href=\"x", "the lark"},
        {"<p>the lark <", "the lark"},
        {"<p>the lark <script>var x = '<b>';", "the lark"},
        {"<p>the lark <!-- hidden", "the lark"},
        {"<p>the lark <script>x</script> sings</p>", "the lark sings"},
        // Entities decoded; one the window cut is dropped.
        {"<p>larks &amp; pipits &lt;3 &#233;t&#xE9; &nbsp;x ", "larks & pipits <3 \xC3\xA9t\xC3\xA9 x"},
        {"mp; the lark ", "the lark"},
        {"<p>the lark &am", "the lark"},
        {"<p>AT&T and a lark ", "AT&T and a lark"},
        {"<p>&unknown; lark ", "&unknown; lark"},
        {"<p>&#99999999999; lark ", "&#99999999999; lark"},
        // Text that only looks like markup stays.
        {"<p>a < b and c > d lark ", "a < b and c > d lark"},
        // White space of every kind collapsed.
        {"<p>  the\t\r\n lark \xC2\xA0 sings  </p>", "the lark sings"},
        // Words the window cut into are dropped and the cut marked...
        {"ytit is a lark of the fie", "\xE2\x80\xA6 is a lark of the \xE2\x80\xA6"},
        // ...unless they hold the word sought, or are all there is.
        {"skylarks sing", "\xE2\x80\xA6 skylarks \xE2\x80\xA6"},
        {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx",
         "\xE2\x80\xA6 xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx \xE2\x80\xA6"},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaalarkbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
         "\xE2\x80\xA6 aaaaaaaaaaaaaaaaaaaaaaaaaaaaaalarkbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb \xE2\x80\xA6"},
        // A UTF-8 character the window cut in two, and Latin-1 text.
        {"\xA9t\xC3\xA9 lark <p>", "\xE2\x80\xA6 lark"},
        {"<p>\xE9t\xE9 lark ", "\xC3\xA9t\xC3\xA9 lark"},
        // Nothing visible at all.
        {"", ""},
        {"<img src=\"lark.jpg\">", ""},
        {"<script>lark()</script>", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(HitLineText(c.line, kLark), c.text) << c.line;
}

TEST(ReaderHitLine, WordsMarkedInEscapedHtml) {
    struct Case {
        const char* line;
        std::vector<std::string> words;
        const char* html;
    };
    const Case cases[] = {
        {"<p>the lark sings ", {"lark"}, "the <mark>lark</mark> sings"},
        // Any letter case, every occurrence.
        {"<p>Lark, LARK and lark ", {"lark"}, "<mark>Lark</mark>, <mark>LARK</mark> and <mark>lark</mark>"},
        // Overlapping and touching words make one mark.
        {"<p>skylark day ", {"sky", "kyla", "lark"}, "<mark>skylark</mark> day"},
        {"<p>aaaa ", {"aa"}, "<mark>aaaa</mark>"},
        // A phrase across collapsed white space.
        {"<p>big\n\n  dog here ", {"big   dog"}, "<mark>big dog</mark> here"},
        // Entities are escaped whole, never cut by a mark.
        {"<p>larks &amp; pipits ", {"s & p"}, "lark<mark>s &amp; p</mark>ipits"},
        {"<p>a &lt;b&gt; lark ", {"b"}, "a &lt;<mark>b</mark>&gt; lark"},
        {"<p>&quot;lark&quot; ", {"lark"}, "&quot;<mark>lark</mark>&quot;"},
        // Markup in the page never comes through as markup.
        {"<p>&lt;script&gt;alert(1)&lt;/script&gt; lark ", {"lark"},
         "&lt;script&gt;alert(1)&lt;/script&gt; <mark>lark</mark>"},
        // Past ASCII as numeric references.
        {"<p>\xC3\xA9t\xC3\xA9 lark ", {"\xC3\xA9t\xC3\xA9"}, "<mark>&#233;t&#233;</mark> lark"},
        // The word at the cut keeps its mark and its ellipsis.
        {"rklark and more", {"lark"}, "&#8230; rk<mark>lark</mark> and &#8230;"},
        // Words the query has that the line lacks, and empty words.
        {"<p>pipit ", {"lark", ""}, "pipit"},
        {"<p>pipit ", {}, "pipit"},
    };
    for (const Case& c : cases) EXPECT_EQ(HitLineHtml(c.line, c.words), c.html) << c.line;
}

}  // namespace
}  // namespace flk
