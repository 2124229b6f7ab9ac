#include "lists/MediaLists.h"
#include "lists/PageTree.h"
#include "lists/ProjectFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace flk;

namespace {

std::string SaveAll(const MediaLists& lists, const PageTrees& trees, const ProjectMainData& data) {
    return lists.images.SaveBlock() + lists.movies.SaveBlock() + lists.sounds.SaveBlock() + TreeBlock(trees) +
           MainDataBlock(data);
}

void Fill(MediaLists& lists, PageTrees& trees) {
    lists.AddImage({"http://s.example/p/a.jpg", "Alt;;;200;;;150", "Title", "http://s.example/p/", 1});
    lists.AddImage({"http://s.example/p/b;-;c.gif", "odd {[( alt;;;;;;", "T", "http://s.example/p/", 1});
    lists.AddMovie({"http://s.example/m.avi", "film", "Films", "http://s.example/f.html", 2});
    lists.AddSound({"http://s.example/s.wav", "song", "Songs", "http://s.example/s.html", 2});
    trees.AddTreeItem("http://s.example/", "");
    trees.AddTreeItem("<<Home>>", "http://s.example/");
    trees.AddTreeItem("http://s.example/p/", "http://s.example/");
}

}  // namespace

TEST(ProjectFile, SavedAndLoadedInBothByteForms) {
    MediaLists lists;
    PageTrees trees;
    Fill(lists, trees);
    const ProjectMainData data{false, "s.example/p/"};
    const std::string text = SaveAll(lists, trees, data);

    test::TempDir dir;
    ASSERT_TRUE(WriteProjectFile(dir.File("p.crl"), text));
    const std::string bytes = dir.Read("p.crl");
    EXPECT_EQ(bytes.substr(0, 22), "\r\r\n\r\r\n{[(ImagesList)]}");
    EXPECT_NE(bytes.find("\r\r\n\r\r\n{[(MainData)]}\r\r\n{IsOneSite}0{LastSite}s.example/p/"), std::string::npos);

    // The file as written, and the same text with plain CR LF line ends.
    for (const std::string& form : {ReadProjectFile(dir.File("p.crl")), JoinProjectLines(text)}) {
        MediaLists loaded;
        PageTrees loadedTrees;
        ASSERT_TRUE(loaded.images.LoadBlock(form));
        ASSERT_TRUE(loaded.movies.LoadBlock(form));
        ASSERT_TRUE(loaded.sounds.LoadBlock(form));
        ASSERT_TRUE(LoadTreeBlock(loadedTrees, form));
        ASSERT_EQ(loaded.images.RowCount(), 2u);
        EXPECT_EQ(loaded.images.RowUrl(0), "http://s.example/p/a.jpg");
        EXPECT_EQ(loaded.movies.RowCount(), 1u);
        EXPECT_EQ(loaded.sounds.RowCount(), 1u);
        EXPECT_EQ(loadedTrees.SaveBlock(), trees.SaveBlock());
        const MainDataRead main = ReadMainData(form);
        ASSERT_TRUE(main.found);
        EXPECT_EQ(main.oneSite, false);
        EXPECT_EQ(main.lastSite, "s.example/p/");
    }
}

TEST(ProjectFile, BlocksInAnyOrderAndMissingBlocks) {
    MediaLists lists;
    PageTrees trees;
    Fill(lists, trees);
    const std::string reordered =
        MainDataBlock({true, "x.example"}) + TreeBlock(trees) + lists.sounds.SaveBlock() + lists.images.SaveBlock();
    MediaLists loaded;
    EXPECT_TRUE(loaded.images.LoadBlock(JoinProjectLines(reordered)));
    EXPECT_EQ(loaded.images.RowCount(), 2u);
    EXPECT_FALSE(loaded.movies.LoadBlock(JoinProjectLines(reordered)));

    // "New project" holds no blocks: nothing changes.
    EXPECT_FALSE(lists.images.LoadBlock("New project"));
    EXPECT_EQ(lists.images.RowCount(), 2u);
    EXPECT_FALSE(ReadMainData("New project").found);
    PageTrees untouched;
    EXPECT_FALSE(LoadTreeBlock(untouched, "New project"));

    // A main data block with only one field.
    const MainDataRead partial = ReadMainData("{[(MainData)]}{LastSite} a.example ");
    EXPECT_FALSE(partial.oneSite.has_value());
    EXPECT_EQ(partial.lastSite, "a.example");
    test::TempDir dir;
    EXPECT_EQ(ReadProjectFile(dir.File("missing.crl")), "");
}
