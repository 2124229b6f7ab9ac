#include "templates/RenderHelper.h"
#include "templates/TemplateParser.h"

#include <gtest/gtest.h>

#include <chrono>

namespace flk {
namespace {

std::string Repeat(std::string_view piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

// Each template is a megabyte or more of the shapes that make naive parsers
// loop, recurse or rescan; every one must parse and render in moments, and
// the text that is not a tag must survive.
TEST(HostileTemplates, ParseAndRenderInBoundedTime) {
    struct Case {
        const char* what;
        std::string text;
        std::string mustContain;
    };
    const std::string deep = Repeat("[container]", 50000) + "core" + Repeat("[/container]", 50000);
    const Case cases[] = {
        {"unterminated tag", "before [field name='" + std::string(4 << 20, 'a'), "before [field name='aaaa"},
        {"brackets only", std::string(1 << 20, '['), "[[[["},
        {"closers only", "x" + std::string(4 << 20, ']') + "y", "x]]]]"},
        {"deep nesting", deep, "core"},
        {"unclosed containers", "head" + Repeat("[container]x", 100000), "head"},
        {"many closers in an open body", "head[xband]" + std::string(4 << 20, ']'), "head"},
        {"many small tags", Repeat("a[tag][foo x=1][/container]", 50000), "a[foo x=1]a"},
        {"huge attribute list", "[tag " + Repeat("a='b c' ", 100000) + "]end", "end"},
    };
    for (const auto& c : cases) {
        auto start = std::chrono::steady_clock::now();
        VTemplate tpl;
        tpl.ParseText(c.text);
        VariableMap vars;
        RenderContext ctx(&vars);
        const std::string& page = tpl.Render(ctx);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 10.0) << c.what;
        EXPECT_NE(page.find(c.mustContain), std::string::npos) << c.what;
    }
}

TEST(HostileTemplates, NestingBeyondTheLimitStaysText) {
    const int levels = kMaxTemplateNesting + 5;
    const std::string text = Repeat("[container]", levels) + "core" + Repeat("[/container]", levels);
    VTemplate tpl;
    tpl.ParseText(text);
    int depth = 0;
    for (const VTag* node = &tpl.Root(); node->IsContainer() && node->Children().size() > 1; ++depth)
        node = node->Children()[1].get();
    EXPECT_EQ(depth, kMaxTemplateNesting);
    VariableMap vars;
    RenderContext ctx(&vars);
    EXPECT_EQ(tpl.Render(ctx), Repeat("[container]", 5) + "core" + Repeat("[/container]", 5));
}

TEST(HostileTemplates, NestedPageLoopsStopAtTheBudget) {
    TemplateTable rows = test::NumberedRows(2000);
    VTemplate tpl;
    tpl.ParseText("[xpagecontrol bandname=d rowcount=1 pc_name=a][xpagecontrol bandname=d rowcount=1 pc_name=b]"
                  "[xpagecontrol bandname=d rowcount=1 pc_name=c]0123456789[/xpagecontrol][/xpagecontrol]"
                  "[/xpagecontrol][xband name=d disable][/xband]");
    tpl.FindByName("d")->SetData(&rows);
    VariableMap vars;
    RenderContext ctx(&vars);
    ctx.Budget().maxSteps = 200000;
    auto start = std::chrono::steady_clock::now();
    const std::string& page = tpl.Render(ctx);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10.0);
    EXPECT_GT(page.size(), 0u);
    EXPECT_LT(page.size(), 200000u * 10);
    EXPECT_TRUE(ctx.Budget().Exhausted());
}

TEST(HostileTemplates, HugeFieldSizeIsCapped) {
    VariableMap vars{{"v", "x"}};
    EXPECT_EQ(test::Render("[systag type=map name=v size=2000000000]", vars).size(), 65536u);
}

}  // namespace
}  // namespace flk
