#include "lists/PageTree.h"
#include "platform/TextModeFile.h"
#include "session/SiteMapFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace flk;

namespace {

std::string Read(const std::string& path) {
    std::vector<std::string> lines;
    if (!ReadTextLines(path, lines)) return "";
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return text;
}

void Fill(PageTrees& trees) {
    trees.AddTreeItem("http://site.example/", "top");
    trees.AddTreeItem("<<Home>>", "site.example/");
    trees.AddTreeItem("site.example/a.html", "site.example/");
    trees.AddTreeItem("<<Page A>>", "site.example/a.html");
}

}  // namespace

TEST(SiteMapFiles, EachKindWritesItsFileAndNamesTheOneToOpen) {
    struct Row {
        SiteMapKind kind;
        const char* opened;
        const char* holds;
    };
    const Row rows[] = {
        {SiteMapKind::Html, "SiteMap.html", "<A HREF=\"http://site.example/\">site.example/</A>"},
        {SiteMapKind::Text, "SiteMap.txt", "CRAWLER SITE MAP:"},
        {SiteMapKind::JavaTree, "MainFrame.html", "SiteTree.htm\">"},
    };
    for (const Row& row : rows) {
        test::TempDir dir;
        PageTrees trees;
        Fill(trees);
        const std::string path = WriteSiteMap(trees, dir.Path(), row.kind, "maker.example");
        EXPECT_EQ(path, dir.File(row.opened));
        EXPECT_NE(Read(path).find(row.holds), std::string::npos) << row.opened << ":\n" << Read(path);
    }
}

TEST(SiteMapFiles, TheAppletPageExpandsTheTreeAndTitlesCarryTheirPage) {
    test::TempDir dir;
    PageTrees trees;
    Fill(trees);
    // The text map follows what the tree shows: collapsed, only the root.
    const std::string collapsed = Read(WriteSiteMap(trees, dir.Path(), SiteMapKind::Text, "m.example"));
    EXPECT_EQ(collapsed.find("a.html"), std::string::npos) << collapsed;

    trees.SetTitlesMode(true);
    ASSERT_FALSE(WriteSiteMap(trees, dir.Path(), SiteMapKind::JavaTree, "m.example").empty());
    const std::string applet = Read(dir.File("SiteTree.htm"));
    EXPECT_NE(applet.find("TitlesTree.class"), std::string::npos);
    EXPECT_NE(applet.find("{{{&lt;&lt;Page A&gt;&gt;;@;"), std::string::npos) << applet;
    EXPECT_NE(applet.find("site.example/a.html}}}"), std::string::npos) << applet;
}

TEST(SiteMapFiles, AFolderThatCannotBeWrittenGivesNothingToOpen) {
    PageTrees trees;
    Fill(trees);
    for (SiteMapKind kind : {SiteMapKind::Html, SiteMapKind::Text, SiteMapKind::JavaTree})
        EXPECT_EQ(WriteSiteMap(trees, "/nonexistent/folder", kind, "m.example"), "");
}
