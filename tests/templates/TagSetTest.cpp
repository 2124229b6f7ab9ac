#include "support/TempDir.h"
#include "templates/BandTags.h"
#include "templates/RenderHelper.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

using test::Render;

std::function<void(VTemplate&)> Attach(const char* name, TemplateList& list) {
    return [name, &list](VTemplate& tpl) { ASSERT_TRUE(tpl.FindByName(name)->SetData(&list)); };
}

TEST(XBand, PagesAndNavigationVariables) {
    struct Case {
        const char* page;  // value of page_no; null: variable absent
        const char* rows;
        const char* next;
        const char* priv;
    };
    const Case cases[] = {
        {nullptr, "r0,r1,r2,r3,r4,r5,r6,r7,r8,r9,", "1", "0"},
        {"0", "r0,r1,r2,r3,r4,r5,r6,r7,r8,r9,", "1", "0"},
        {"1", "r10,r11,r12,r13,r14,r15,r16,r17,r18,r19,", "2", "0"},
        {" 2 ", "r20,r21,r22,r23,r24,", "2", "1"},
    };
    for (const auto& c : cases) {
        TemplateTable rows = test::NumberedRows(25);
        VariableMap vars;
        if (c.page) vars["page_no"] = c.page;
        std::string page = Render("[xband name=demo rowcount=10 pc_name=page_no][xfield name=Name],[/xband]", vars,
                                  Attach("demo", rows));
        EXPECT_EQ(page, c.rows) << (c.page ? c.page : "none");
        EXPECT_EQ(vars["next_page_no"], c.next);
        EXPECT_EQ(vars["priv_page_no"], c.priv);
    }
}

TEST(XBand, PageBeyondTheListStopsTheEnclosingContainer) {
    TemplateTable rows = test::NumberedRows(25);
    VariableMap vars{{"page_no", "3"}};
    EXPECT_EQ(Render("[container]a[xband name=demo rowcount=10 pc_name=page_no]x[/xband]b[/container]c", vars,
                     Attach("demo", rows)),
              "ac");
}

TEST(XBand, RowcountOfZeroOrLessCountsAsTen) {
    for (const char* rc : {"0", "-3", "none"}) {
        TemplateTable rows = test::NumberedRows(12);
        VariableMap vars;
        std::string page = Render(std::string("[xband name=d rowcount=") + rc + "].[/xband]", vars, Attach("d", rows));
        EXPECT_EQ(page, "..........") << rc;
    }
}

TEST(XBand, XNextStepsTheNamedBand) {
    TemplateTable rows = test::NumberedRows(5);
    VariableMap vars;
    EXPECT_EQ(Render("[xband name=d rowcount=10][xfield name=Name][xnext bandname=d][xfield colix=0]|[/xband]", vars,
                     Attach("d", rows)),
              "r0r1|r2r3|r4");
}

TEST(XPageControl, RendersOncePerPageAndRestoresItsVariable) {
    for (const char* before : {"7", ""}) {
        TemplateTable rows = test::NumberedRows(25);
        VariableMap vars;
        if (*before) vars["page_no"] = before;
        std::string page =
            Render("[xpagecontrol bandname=demo rowcount=10 pc_name=page_no]<[systag type=map name=page_no]>"
                   "[/xpagecontrol][xband name=demo rowcount=10 disable][/xband]",
                   vars, Attach("demo", rows));
        EXPECT_EQ(page, "<0><1><2>");
        EXPECT_EQ(vars.count("page_no"), *before ? 1u : 0u);
        EXPECT_EQ(vars["page_no"], before);  // absent reads back as ""
    }
}

TEST(XPageControl, WithoutItsBandRendersNothing) {
    EXPECT_EQ(Render("a[xpagecontrol bandname=nowhere pc_name=p]x[/xpagecontrol]b"), "ab");
}

TEST(SelectTag, MarksTheMatchingControl) {
    struct Case {
        const char* tag;
        const char* page;
    };
    const Case cases[] = {
        {"[selecttag type=radio mapfield=v value='ABC']", " checked"},  // trailing spaces, case ignored
        {"[selecttag type=radio mapfield=v value=abd]", ""},
        {"[selecttag type=option mapfield=v value=abc]", " selected"},
        {"[selecttag mapfield=v key=k]", " selected"},
        {"[selecttag type=radio mapfield=missing value=abc]", ""},
        {"[selecttag type=radio value=abc]", ""},
        {"[xband name=d][selecttag type=radio listfield=Kind value=video][/xband]", " checked"},
        {"[xband name=d][selecttag listfield=Kind value=audio][/xband]", ""},
    };
    for (const auto& c : cases) {
        TemplateTable table = test::MakeTable({"Kind"}, {{"Video "}});
        VariableMap vars{{"v", "abc  "}, {"k", "ABC"}};
        auto setup = [&](VTemplate& tpl) {
            if (VTag* d = tpl.FindByName("d")) d->SetData(&table);
        };
        EXPECT_EQ(Render(c.tag, vars, setup), c.page) << c.tag;
    }
}

TEST(SysTag, ValuesByType) {
    std::tm when{};
    when.tm_year = 2024 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 14;
    when.tm_isdst = -1;
    const std::time_t now = std::mktime(&when);

    test::TempDir dir;
    dir.Write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Tesk\\FLKPop]\r\nSite=http://x/?a=1&b=2\r\nCount= 42\r\n");

    struct Case {
        const char* tag;
        const char* page;
    };
    const Case cases[] = {
        {"[systag type=date]", "05/03/24"},
        {"[systag type=date format='%Y-%m-%d %H']", "2024-03-05 14"},
        {"[systag type=map name=subject]", "&lt;b&gt;&quot;x&quot;"},
        {"[systag type=map name=absent]", ""},
        {"[systag type=db name=recno]", "0"},
        {"[systag type=DATE]", ""},
        {"[systag type=servervar name=HTTP_HOST]", ""},
        {"[systag type=registry name='HKEY_CURRENT_USER\\Software\\Tesk\\FLKPop\\Site']", "http://x/?a=1&amp;b=2"},
        {"[systag type=registry name='Software\\Tesk\\FLKPop\\Count' reg_type=dword]", "42"},
        {"[systag type=registry name='Software\\Tesk\\FLKPop\\Nothing']", ""},
    };
    for (const auto& c : cases) {
        VariableMap vars{{"subject", "<b>\"x\""}};
        VTemplate tpl;
        tpl.ParseText(c.tag);
        RenderContext ctx(&vars);
        ctx.SetNow(now);
        ctx.SetRegistryFile(dir.File("registry.ini"));
        EXPECT_EQ(tpl.Render(ctx), c.page) << c.tag;
    }
}

// The registry store is the one the caller names; a template rendered
// without one reads nothing, whatever the working folder holds.
TEST(SysTag, RegistryStoreIsOnlyTheOneNamed) {
    test::TempDir dir;
    dir.Write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Tesk\\FLKPop]\nSite=here\n");
    const std::string tag = "[systag type=registry name='Software\\Tesk\\FLKPop\\Site']";
    EXPECT_EQ(Render(tag), "");
    VariableMap vars;
    VTemplate tpl;
    tpl.ParseText(tag);
    RenderContext ctx(&vars);
    ctx.SetRegistryFile(dir.File("registry.ini"));
    EXPECT_EQ(tpl.Render(ctx), "here");
}

TEST(XField, ValuesAreEscapedAndNeedAListOrVariables) {
    TemplateTable table = test::MakeTable({"Title", "Url"}, {{"<script>", "a.jpg?x=1&y=\"2\""}});
    VariableMap vars{{"v", "V&"}};
    EXPECT_EQ(Render("[xband name=d][xfield name=title]|[xfield colix=1]|[xfield name=Nope]|[xfield colix=9][/xband]"
                     "[xfield name=v]",
                     vars, Attach("d", table)),
              "&lt;script&gt;|a.jpg?x=1&amp;y=&quot;2&quot;||V&amp;");

    VTemplate tpl;
    tpl.ParseText("a[xfield name=v]b");
    RenderContext bare(nullptr);
    EXPECT_EQ(tpl.Render(bare), "a");
}

class BannerList : public TemplateTable {
public:
    BannerList() : TemplateTable({"Gif"}) { AddRow({"b.gif"}); }
    void BeforeRender(VariableMap& vars) override { vars["ban_alt"] = "use " + std::to_string(++uses); }
    int uses = 0;
};

TEST(Adv, PublishesItsValuesBeforeEachRendering) {
    BannerList banners;
    VariableMap vars;
    auto setup = [&](VTemplate& tpl) {
        std::vector<VTag*> advs;
        tpl.Root().FindAllOfType(tagtype::Adv, advs);
        for (VTag* a : advs) a->SetData(&banners);
    };
    EXPECT_EQ(Render("[adv][systag type=map name=ban_alt]:[xfield name=Gif][/adv]/[adv name=x]"
                     "[systag type=map name=ban_alt][/adv]",
                     vars, setup),
              "use 1:b.gif/use 2");
}

TEST(Group, HeadingWhenTheFieldChanges) {
    TemplateTable table = test::MakeTable({"Cat", "N"}, {{"a", "1"}, {"a", "2"}, {"b", "3"}});
    VariableMap vars;
    VTemplate tpl;
    tpl.ParseText("[xband name=d][group fieldname=Cat]<[xfield name=Cat]>[/group][xfield name=N][/xband]"
                  "[xband name=e rowcount=10][group rowcount=2]|[/group][xfield name=N][/xband]");
    tpl.FindByName("d")->SetData(&table);
    tpl.FindByName("e")->SetData(&table);
    RenderContext ctx(&vars);
    EXPECT_EQ(tpl.Render(ctx), "<a>12<b>3|12|3");
    tpl.Reset();
    EXPECT_EQ(tpl.Render(ctx), "<a>12<b>3|12|3");
}

TEST(Band, GathersItsQueryAndEncodesValues) {
    TemplateTable table = test::MakeTable({"Url"}, {{"a b"}, {"c&d"}, {"e"}});
    VariableMap vars{{"p", "0"}};
    VTemplate tpl;
    tpl.ParseText("[band name=b rowcount=2 pc_name=p urlencode=true][sqltag tablename=media fieldname=kind "
                  "value=\"it's\"][field name=Url];[field table=b colix=0 size=7 filler=_][/band]"
                  "[pagecontrol bandname=b rowcount=2 pc_name=p]#[/pagecontrol]");
    auto* band = static_cast<BandTag*>(tpl.FindByName("b"));
    band->SetData(&table);
    RenderContext ctx(&vars);
    EXPECT_EQ(tpl.Render(ctx), "a%20b;__a%20bc%26d;__c%26d##");
    EXPECT_EQ(band->QueryText(), "Select * from media where kind = 'it''s' set rowcount 2");
}

TEST(QueryTags, ConditionText) {
    struct Case {
        const char* tag;
        const char* page;
    };
    const Case cases[] = {
        {"[sqlgen tablename=t fieldname=n fieldtype=int filtertype=great value='5; drop']",
         "Select no=count(*) from t where n &gt; 5"},
        {"[sqlgen fieldname=n filtertype=diff value=x cond='a=1' where='b=2']", "b=2 and n &lt;&gt; 'x' and a=1"},
        {"[sqltag tablename=t fieldname=n fieldtype=number filtertype=between value='1;9']",
         "Select * from t where n between 1 and 9"},
        {"[sqltag tablename=t fieldname=word replace=* replacewith=% replacecond=like]",
         "Select * from t where word like 'ca%'"},
        {"[sqltag tablename=t fieldname=empty nulluse=true]", "Select * from t where empty is null"},
        {"[sqlgen tablename=t fieldname=absent filtertype=less]", "Select no=count(*) from t"},
    };
    for (const auto& c : cases) {
        VariableMap vars{{"word", "ca*"}, {"empty", ""}};
        EXPECT_EQ(Render(c.tag, vars), c.page) << c.tag;
    }
}

TEST(Field, DateCells) {
    TemplateTable table = test::MakeTable({"When"}, {{"2024-03-05 14:07:09"}});
    VariableMap vars;
    EXPECT_EQ(Render("[band name=b][field name=When format=date]|[field name=When format=date dateformat='%d.%m']|"
                     "[field name=When][/band]",
                     vars, Attach("b", table)),
              "03/05/2024 14:07:09|05.03|2024-03-05 14:07:09");
}

}  // namespace
}  // namespace flk
