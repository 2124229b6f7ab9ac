#include "support/TempDir.h"
#include "templates/RenderHelper.h"
#include "templates/TemplateParser.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

using Attrs = std::vector<std::pair<std::string, std::string>>;

TEST(TagText, ReadsNamesAndAttributes) {
    struct Case {
        const char* text;
        bool closing;
        const char* name;
        Attrs attrs;
    };
    const Case cases[] = {
        {"field name=\"two words\" size=5", false, "field", {{"name", "two words"}, {"size", "5"}}},
        {"field name='two words'", false, "field", {{"name", "two words"}}},
        {"  tag  NAME = Hook  Align =left", false, "tag", {{"name", "Hook"}, {"align", "left"}}},
        {"container disable", false, "container", {{"disable", "true"}}},
        {"Band a b=\"x\"c", false, "Band", {{"a", "true"}, {"b", "x"}, {"c", "true"}}},
        {"tag name=a name=b", false, "tag", {{"name", "a"}, {"name", "b"}}},
        {"tag v=\"unterminated", false, "tag", {{"v", "unterminated"}}},
        {"tag = x", false, "tag", {}},
        {"/xband", true, "xband", {}},
        {"", false, "", {}},
    };
    for (const auto& c : cases) {
        TagText tag = ParseTagText(c.text);
        EXPECT_EQ(tag.closing, c.closing) << c.text;
        EXPECT_EQ(tag.name, c.name) << c.text;
        EXPECT_EQ(tag.attributes, c.attrs) << c.text;
    }
}

TEST(TemplateTree, RendersTextAndTags) {
    struct Case {
        const char* text;
        const char* page;
    };
    const Case cases[] = {
        {"plain text", "plain text"},
        {"a[foo bar='x y']b", "a[foo bar='x y']b"},  // unknown names pass through
        {"a[ntag x=1]b", "a[ntag x=1]b"},
        {"a[/foo]b", "ab"},  // closing tags never produce output
        {"a[text]b", "ab"},
        {"a[tag]b", "ab"},
        {"[container name=o]a[container]b[/container]c[/container]d", "abcd"},
        {"[container disable]a[container]b[/container]c[/container]d", "d"},
        {"x[container]abc", "x"},  // no closing tag: swallows the rest
        {"[CONTAINER]a[/container]b", "ab"},
        {"[container]a[containerx]b[/container]c", "a[containerx]bc"},
        {"[container disable=TRUE]a[/container]b", "ab"},  // only exact "true" disables
        {"[secure]s[/secure][filter]f[/filter][htmv]h[/htmv]", "sfh"},
        {"a[tag disable]b", "a"},  // a disabled plain tag ends its container
        {"a[container]b[tag disable]c[/container]d", "abd"},
        {"tail [field name=", "tail [field name="},
    };
    for (const auto& c : cases) EXPECT_EQ(test::Render(c.text), c.page) << c.text;
}

TEST(TemplateTree, NestedSameNameContainersCloseOnTheirOwnTag) {
    VTemplate tpl;
    tpl.ParseText("[container name=outer]a[container name=inner]b[/container]c[/container]d");
    VTag* outer = tpl.FindByName("OUTER");
    ASSERT_NE(outer, nullptr);
    VTag* inner = tpl.FindByName("inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->Parent(), outer);
    EXPECT_EQ(outer->Parent(), &tpl.Root());
    // Texts: "a", inner, "c" and the empty tail; the tail "d" is the root's.
    ASSERT_EQ(outer->Children().size(), 4u);
    EXPECT_EQ(tpl.Root().Children().back()->GetAttribute("TEXT", ""), "d");
}

TEST(TemplateTree, UnclosedContainerHasNoChildren) {
    VTemplate tpl;
    tpl.ParseText("x[container name=c]a[tag name=t]b");
    VTag* c = tpl.FindByName("c");
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->Children().empty());
    EXPECT_EQ(tpl.FindByName("t"), nullptr);
}

TEST(TemplateTree, FindByNameIsDepthFirstAndIgnoresCase) {
    VTemplate tpl;
    tpl.ParseText("[container name=Same][tag name=same][/container][tag NAME=Hook]");
    VTag* first = tpl.FindByName("SAME");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Type(), tagtype::Container);
    VTag* hook = tpl.FindByName("hook");
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(hook->GetAttribute("name", kNoTagFound), "Hook");
    EXPECT_EQ(hook->GetAttribute("missing", kNoTagFound), "NO TAG FOUNDS");
    EXPECT_EQ(tpl.FindByName("absent"), nullptr);
    EXPECT_FALSE(tpl.SetCallback("absent", [](RenderContext&) { return true; }));
}

TEST(TemplateTree, EnableAndCallbacksDecideWhatRenders) {
    VTemplate tpl;
    tpl.ParseText("[container name=link disable]L[/container]|[container name=pc]P[systag type=map name=disp][/container]");
    VariableMap vars{{"page_no", "4"}};
    RenderContext ctx(&vars);
    EXPECT_EQ(tpl.Render(ctx), "|P");

    tpl.Reset();
    EXPECT_TRUE(tpl.Enable("link"));
    EXPECT_TRUE(tpl.SetCallback("pc", [](RenderContext& c) {
        c.SetVariable("disp", static_cast<long long>(c.VariableNumber("page_no") + 1));
        return true;
    }));
    EXPECT_EQ(tpl.Render(ctx), "L|P5");

    tpl.Reset();
    tpl.SetCallback("link", [](RenderContext&) { return false; });
    EXPECT_EQ(tpl.Render(ctx), "|P5");
    EXPECT_FALSE(tpl.Root().Answer(nullptr));
}

TEST(TemplateTree, FieldFormatting) {
    struct Case {
        const char* attrs;
        const char* page;
    };
    const Case cases[] = {
        {"size=5 filler=. align=left", "abc.."}, {"size=5 filler=.", "..abc"},
        {"size=5 filler=.- align=right", "..abc"}, {"size=5", "  abc"},
        {"size=' 5 ' filler=0", "00abc"},        {"size=2 filler=.", "abc"},
        {"size=0 filler=.", "abc"},              {"size=x filler=.", "abc"},
        {"size=-4 filler=.", "abc"},             {"SIZE=4 FILLER=* ALIGN=LEFT", "abc*"},
    };
    for (const auto& c : cases) {
        VariableMap vars{{"v", "abc"}};
        EXPECT_EQ(test::Render(std::string("[systag type=map name=v ") + c.attrs + "]", vars), c.page) << c.attrs;
    }
}

TEST(TemplateTree, DumpDescribesEveryNode) {
    VTemplate tpl;
    tpl.ParseText("[container x=1 x=2]t[/container]");
    VariableMap vars;
    RenderContext ctx(&vars);
    tpl.Render(ctx);
    std::string dump;
    tpl.Dump(dump);
    EXPECT_EQ(dump.rfind("VTag Data: TagType=HTML , cTyp=2 ,\r\n m_case=0 , m_IsContainer=1 \r\n Attribute : \r\n"
                         "\r\n Tag List Data: \r\n",
                         0),
              0u);
    EXPECT_NE(dump.find("VTag Data: TagType=container , cTyp=2 ,\r\n m_case=1 , m_IsContainer=1 \r\n Attribute : \r\n"
                        "x=2\r\nx=2\r\n\r\n Tag List Data: \r\n"),
              std::string::npos);
    EXPECT_NE(dump.find("TagType=TEXT , cTyp=0 ,\r\n m_case=0 , m_IsContainer=0 \r\n Attribute : \r\nTEXT=t\r\n"
                        "\r\nBuild Data=:\r\nt"),
              std::string::npos);
}

TEST(TemplateFile, LoadsOrShowsTheErrorLine) {
    test::TempDir dir;
    dir.Write("t.htm", "<p>[systag type=map name=subject]</p>");
    VariableMap vars{{"subject", "cats & dogs"}};
    RenderContext ctx(&vars);

    VTemplate tpl;
    EXPECT_TRUE(tpl.LoadTemplate(dir.File("t.htm")));
    EXPECT_EQ(tpl.Render(ctx), "<p>cats &amp; dogs</p>");

    const std::string missing = dir.File("[container]<x>.htm");
    EXPECT_FALSE(tpl.LoadTemplate(missing));
    EXPECT_EQ(tpl.Render(ctx), "ERROR:Cant Open file error no- 2 <br> File Name=" + dir.Path() + "/[container]&lt;x&gt;.htm");
}

}  // namespace
}  // namespace flk
