#include "lists/ListHelpers.h"
#include "lists/MediaLists.h"
#include "platform/TextModeFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>

namespace flk {
namespace {

using Names = std::vector<std::string>;

Names Column(const MediaList& list, std::size_t column) {
    Names out;
    for (std::size_t r = 0; r < list.RowCount(); ++r) out.push_back(list.Cell(r, column));
    return out;
}

std::string ImageUrl(int n) { return "http://h/i" + std::to_string(n) + ".jpg"; }

// A size finds its own row however the rows moved: appended, sorted,
// removed, loaded from a project (where twins may stand; the first is the
// one), and an address without a row finds none.
TEST(MediaList, SizesFindTheirRowAfterSortsRemovalsAndLoads) {
    ImagesList images;
    for (int n = 0; n < 40; ++n) images.AddImage(ImageUrl(n), "", "", "", "");
    images.SetItemSize(ImageUrl(3), 3);  // looked up before the sort
    images.SortByHeader(0);
    images.SortByHeader(0);
    ASSERT_TRUE(images.TakeRow(ImageUrl(10)).has_value());
    for (int n = 0; n < 40; ++n) EXPECT_EQ(images.SetItemSize(ImageUrl(n), 1000 + n), n != 10) << n;
    images.AddImage(ImageUrl(99), "", "", "", "");
    EXPECT_TRUE(images.SetItemSize(ImageUrl(99), 2099));
    ASSERT_EQ(images.RowCount(), 40u);
    for (std::size_t r = 0; r < images.RowCount(); ++r) {
        const std::string name = images.Cell(r, 0);
        const int n = std::stoi(name.substr(1));
        EXPECT_EQ(images.Cell(r, 7), FormatSize(n == 99 ? 2099 : 1000 + n, true)) << name;
    }

    ImagesList one;
    one.AddImage(ImageUrl(1), "", "", "", "");
    const std::string block = one.SaveBlock();
    const std::string marker = "{[(ImagesList)]}";
    const std::size_t cells = block.find(marker) + marker.size();
    ImagesList twins;
    ASSERT_TRUE(twins.LoadBlock(block + block.substr(cells)));
    ASSERT_EQ(twins.RowCount(), 2u);
    EXPECT_TRUE(twins.SetItemSize(ImageUrl(1), 2048));
    EXPECT_EQ(twins.Cell(0, 7), FormatSize(2048, true));
    EXPECT_NE(twins.Cell(1, 7), FormatSize(2048, true));
    EXPECT_FALSE(twins.SetItemSize(ImageUrl(2), 5));
}

// The count of valid rows is kept from change to change: after every step
// it equals a count made afresh (setting the same limits again makes the
// list walk its rows).
TEST(MediaList, KeptCountOfValidRowsFollowsEveryChange) {
    ImagesList images;
    images.SetSizeLimits({3000, 1000000, true, true});
    auto fresh = [&] {
        images.SetSizeLimits(images.SizeLimits());
        return images.CountValidItems();
    };
    const std::function<void()> steps[] = {
        [&] { for (int n = 0; n < 6; ++n) images.AddImage(ImageUrl(n), "", "", "", ""); },
        [&] { images.SetItemSize(ImageUrl(0), 5000); },
        [&] { images.SetItemSize(ImageUrl(1), 100); },
        [&] { images.ApplyCheck({ImageUrl(2), MediaCheckKind::Image, 4000, "image/jpeg"}); },
        [&] { images.ApplyCheck({ImageUrl(0), MediaCheckKind::Image, 10, "image/jpeg"}); },
        [&] { images.SetItemSize(ImageUrl(3), 7000); },
        [&] { images.TakeRow(ImageUrl(3)); },
        [&] { images.TakeRow(ImageUrl(1)); },
        [&] { images.SetSizeLimits({0, 1000000, false, true}); },
        [&] { images.SortByHeader(7); },
        [&] { images.SetItemSize(ImageUrl(4), 2000000); },
        [&] { images.AddImage(ImageUrl(9), "", "", "", ""); },
        [&] { images.SelectValidItems(); },
        [&] { images.Clear(); },
    };
    int step = 0;
    for (const auto& s : steps) {
        s();
        const int kept = images.CountValidItems();
        EXPECT_EQ(kept, fresh()) << "after step " << step++;
    }
}

TEST(MediaSort, ImagesEveryColumnKindBothWays) {
    ImagesList images;
    images.AddImage("http://h/b.JPG", "", "beta", ";;;100;;;10", "");
    images.AddImage("http://h/a.gif", "", "Alpha", ";;;20;;;30", "");
    images.AddImage("http://h/C.bmp", "", "gamma", ";;;9;;;500", "");
    images.SetItemSize("http://h/b.JPG", 2097152);  // 2.00 MB
    images.SetItemSize("http://h/a.gif", 921600);   // 900.00 KB
    images.SetItemSize("http://h/C.bmp", 5);        // 5 Bytes

    struct Step {
        std::function<void()> action;
        Names order;
    } steps[] = {
        {[&] { images.SortByHeader(0); }, {"a.gif", "b.JPG", "C.bmp"}},  // the first click flips: A to Z
        {[&] { images.SortByHeader(0); }, {"C.bmp", "b.JPG", "a.gif"}},
        {[&] { images.SortByHeader(3); }, {"b.JPG", "a.gif", "C.bmp"}},  // widths as numbers
        {[&] { images.SortByHeader(3); }, {"C.bmp", "a.gif", "b.JPG"}},
        {[&] { images.SortByHeader(7); }, {"C.bmp", "a.gif", "b.JPG"}},  // sizes by what they show
        {[&] { images.SortByHeader(7); }, {"b.JPG", "a.gif", "C.bmp"}},
        {[&] { images.SortByHeader(5); }, {"C.bmp", "b.JPG", "a.gif"}},  // titles ignoring case
        {[&] { images.SortByName(); }, {"C.bmp", "b.JPG", "a.gif"}},
        {[&] { images.SortByName(); }, {"a.gif", "b.JPG", "C.bmp"}},
        {[&] { images.SortByExtension(); }, {"b.JPG", "a.gif", "C.bmp"}},
        {[&] { images.SortByHeader(0); }, {"C.bmp", "a.gif", "b.JPG"}},  // extension mode stays
        {[&] { images.SortByVisualSize(); }, {"C.bmp", "b.JPG", "a.gif"}},  // areas 4500, 1000, 600
        {[&] { images.SortByVisualSize(); }, {"a.gif", "b.JPG", "C.bmp"}},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].action();
        EXPECT_EQ(Column(images, 0), steps[i].order) << "step " << i;
    }
    EXPECT_EQ(images.SortMode(), NameSortMode::Extension);
}

TEST(MediaSort, MoviesAndEqualKeys) {
    MoviesList movies;
    movies.AddMovie("h/b.avi", "beta", "");
    movies.AddMovie("h/A.mpg", "Alpha", "");
    movies.SetItemSize("h/b.avi", 2048);
    movies.SetItemSize("h/A.mpg", 900);
    movies.SortByHeader(4);
    EXPECT_EQ(Column(movies, 0), (Names{"b.avi", "A.mpg"}));
    movies.SortByHeader(4);
    EXPECT_EQ(Column(movies, 0), (Names{"A.mpg", "b.avi"}));
    movies.SortByHeader(2);
    EXPECT_EQ(Column(movies, 2), (Names{"Alpha", "beta"}));

    // Equal keys compare equal, so the order among them stays in both
    // directions.
    SoundsList sounds;
    for (const char* folder : {"a/", "b/", "c/", "d/"}) sounds.AddSound(std::string(folder) + "same.wav", "", "", "");
    sounds.SortByName();
    EXPECT_EQ(Column(sounds, 1), (Names{"a/", "b/", "c/", "d/"}));
    sounds.SortByName();
    EXPECT_EQ(Column(sounds, 1), (Names{"a/", "b/", "c/", "d/"}));
}

TEST(MediaFiles, LinksAndReportBytes) {
    test::TempDir dir;
    MediaLists lists;
    lists.images.AddImage("http://h/a.jpg", "http://h/", "Home", "cat;;;10;;;200", "");
    lists.images.AddImage("http://h/x/b.gif", "http://h/", "Home", "", "");
    lists.images.AddImage("http://h/x/c.jpg", "http://h/p.html", "Page", "dog;;;;;;7", "");
    lists.images.SetSelected(0, true);
    lists.images.SetSelected(2, true);
    lists.movies.AddMovie("http://h/m.mpg", "T;;;http://h/", "");
    lists.movies.SelectAll();

    EXPECT_EQ(lists.images.WriteLinksFile(dir.Path()), dir.File("ImageLinks.txt"));
    EXPECT_EQ(dir.Read("ImageLinks.txt"), "Images:\r\r\n=======\r\r\nhttp://h/a.jpg\r\r\nhttp://h/x/c.jpg\r\r\n");
    lists.movies.WriteLinksFile(dir.Path() + "/");
    EXPECT_EQ(dir.Read("MovieLinks.txt"), "Movies:\r\r\n=======\r\r\nh/m.mpg\r\r\n");

    EXPECT_EQ(lists.images.WriteReportFile(dir.Path()), dir.File("ImagesReport.txt"));
    EXPECT_EQ(dir.Read("ImagesReport.txt"),
              "http://h/  \ta.jpg\tcat\t10\t200\tHome\thttp://h/      \t\r\n"
              "http://h/x/\tc.jpg\tdog\t  \t7  \tPage\thttp://h/p.html\t\r\n");
    lists.movies.WriteReportFile(dir.Path());
    EXPECT_EQ(dir.Read("MoviesReport.txt"), "h/\tm.mpg\tT\th/\t\r\n");
    EXPECT_EQ(lists.images.WriteLinksFile(dir.File("missing/folder")), "");
}

TEST(MediaFiles, ProjectBlocksInBothByteForms) {
    MediaLists lists;
    lists.images.AddImage("http://h/a.jpg", "http://h/", "Odd ;-; title", "cat;;;10;;;20", "link");
    lists.movies.AddMovie("http://h/m.mpg", "T;;;http://h/", "");
    lists.images.SetItemSize("http://h/a.jpg", 5000);
    const std::string text = lists.images.SaveBlock() + lists.movies.SaveBlock() + "\r\n\r\n{[(MainData)]}\r\n";
    EXPECT_EQ(lists.images.SaveBlock(),
              "\r\n\r\n{[(ImagesList)]}a.jpg;-;http://h/;-;cat;-;10;-;20;-;Odd ; -; title;-;http://h/;-;");
    EXPECT_EQ(lists.movies.SaveBlock(), "\r\n\r\n{[(MoviesList)]}m.mpg;-;h/;-;T;-;h/;-;");

    test::TempDir dir;
    ASSERT_TRUE(WriteTextModeFile(dir.File("p.crl"), text));
    const std::string onDisk = dir.Read("p.crl");
    EXPECT_EQ(onDisk.substr(0, 23), "\r\r\n\r\r\n{[(ImagesList)]}a");
    std::string joined;
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(dir.File("p.crl"), lines));
    for (const std::string& l : lines) joined += l;
    std::string crlf = text;  // the plain CR LF form

    for (const std::string& form : {onDisk, joined, crlf}) {
        MediaLists back;
        ASSERT_TRUE(back.images.LoadBlock(form));
        ASSERT_TRUE(back.movies.LoadBlock(form));
        EXPECT_FALSE(back.sounds.LoadBlock(form));
        using V = std::vector<std::string>;
        EXPECT_EQ(back.images.Snapshot().Rows().at(0).cells,
                  (V{"a.jpg", "http://h/", "cat", "10", "20", "Odd ; -; title", "http://h/", "", ""}));
        EXPECT_EQ(back.movies.Snapshot().Rows().at(0).cells, (V{"m.mpg", "h/", "T", "h/", "", ""}));
        // The dedupe set is rebuilt from the rows.
        EXPECT_FALSE(back.images.AddImage("http://h/a.jpg", "", "", "", ""));
        EXPECT_FALSE(back.movies.AddMovie("HTTP://h/m.mpg", "", ""));
        EXPECT_EQ(back.images.Caption(), "Images (0 / 1)");
    }

    // A missing block leaves the rows; a partial last row keeps its cells.
    MediaLists some;
    some.sounds.AddSound("http://h/s.wav", "", "", "");
    EXPECT_FALSE(some.sounds.LoadBlock("New project"));
    EXPECT_EQ(some.sounds.RowCount(), 1u);
    ASSERT_TRUE(some.sounds.LoadBlock("{[(SoundsList)]}a.wav;-;http://h/;-;t;-;h/;-;b.wav;-;ftp://f/;-;"));
    EXPECT_EQ(Column(some.sounds, 1), (Names{"http://h/", "ftp://f/"}));
    EXPECT_EQ(some.sounds.Cell(1, 2), "");
}

TEST(MediaFiles, DownloadAndClipboardAddresses) {
    MoviesList movies;
    for (const char* url : {"h/a.mpg", "https://s/b.mpg", "C:\\d\\c.mpg", "ftp://f/d.mpg", "/home/u/e.mpg"})
        movies.AddMovie(url, "", "");
    movies.SelectAll();
    movies.SetSelected(4, false);
    EXPECT_EQ(movies.SelectedUrls(), (Names{"http://h/a.mpg", "https://s/b.mpg", "C:\\d\\c.mpg", "ftp://f/d.mpg"}));
    EXPECT_EQ(movies.RowUrl(4), "/home/u/e.mpg");
    EXPECT_EQ(movies.RowUrl(9), "");
    EXPECT_EQ(movies.ClipboardText(), "h/a.mpg\r\nhttps://s/b.mpg\r\nC:\\d\\c.mpg\r\nftp://f/d.mpg\r\n");
    EXPECT_EQ(movies.Caption(), "Movies (4 / 5)");
    movies.InvertSelection();
    movies.SelectByPattern("*mpg");
    EXPECT_EQ(movies.Caption(), "Movies (5 / 5)");
}

}  // namespace
}  // namespace flk
