#include "download/DownloadNames.h"
#include "download/DownloadSettings.h"
#include "download/FreeSpace.h"
#include "download/InterruptedDownloads.h"
#include "settings/Settings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>

namespace flk {
namespace {

TEST(DownloadRulesTest, FileNamesFromAddresses) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"http://h/a/b/pic.jpg", "pic.jpg"},
        {"http://h/a/b/ pic.jpg ", "pic.jpg"},
        {"http://h/a/", ""},
        {"http://h/a/..", ""},
        {"http://h/a/.", ""},
        {"http://h/x?f=..\\..\\evil.jpg", "evil.jpg"},
        {"http://h/x?f=..\\..", ""},
        {std::string("http://h/a\x01\x1f" "b\x7f.jpg"), "ab.jpg"},
        {"ftp://h/dir/song.mp3", "song.mp3"},
    };
    for (const auto& [url, name] : cases) EXPECT_EQ(DownloadFileName(url), name) << url;
    const std::string longName = DownloadFileName("http://h/" + std::string(400, 'x') + ".jpeg");
    EXPECT_EQ(longName.size(), 200u);
    EXPECT_EQ(longName.substr(195), ".jpeg");
}

TEST(DownloadRulesTest, InterruptedDownloadsAreTheNotedPartsNotYetComplete) {
    test::TempDir one, two;
    one.Write("a.jpg.part", "half");
    one.Write("a.jpg.part.url", "http://h/a.jpg\r\n");
    one.Write("b (1).png.part", "half");
    one.Write("b (1).png.part.url", "http://h/b.png\n");
    one.Write("done.gif", "whole");  // complete already: its part is stale
    one.Write("done.gif.part", "half");
    one.Write("done.gif.part.url", "http://h/done.gif\n");
    one.Write("lost.jpg.part.url", "http://h/lost.jpg\n");  // no part left
    one.Write("empty.jpg.part", "half");
    one.Write("empty.jpg.part.url", "");
    one.Write(".part.url", "http://h/\n");
    two.Write("c.avi.part", "x");
    two.Write("c.avi.part.url", "ftp://h/c.avi\n");
    // A folder named twice (with a trailing separator) and a missing one
    // are each handled once, quietly.
    const std::vector<InterruptedDownload> found =
        FindInterruptedDownloads({one.Path(), one.Path() + "/", "/no/such/folder", two.Path()});
    std::vector<std::string> seen;
    for (const InterruptedDownload& d : found) seen.push_back(d.url + " " + d.target);
    EXPECT_EQ(seen, (std::vector<std::string>{"http://h/a.jpg " + one.File("a.jpg"),
                                              "http://h/b.png " + one.File("b (1).png"),
                                              "ftp://h/c.avi " + two.File("c.avi")}));
}

TEST(DownloadRulesTest, RenameRule) {
    const std::set<std::string> existing = {"/d/a.jpg", "/d/a (1).jpg", "/d/v.1/noext", "/d/.hidden"};
    auto taken = [&](const std::string& p) { return existing.count(p) > 0; };
    EXPECT_EQ(RenamedPath("/d/a.jpg", taken), "/d/a (2).jpg");
    EXPECT_EQ(RenamedPath("/d/b.tar.gz", taken), "/d/b.tar (1).gz");
    // The "." is looked for in the file name only.
    EXPECT_EQ(RenamedPath("/d/v.1/noext", taken), "/d/v.1/noext (1)");
    EXPECT_EQ(RenamedPath("/d/.hidden", taken), "/d/.hidden (1)");
}

TEST(DownloadRulesTest, FreeSpaceLeavesTheMinimum) {
    const std::uint64_t mb = 1024 * 1024;
    auto source = [&](std::uint64_t free) {
        return [free](const std::string&) -> std::optional<std::uint64_t> { return free; };
    };
    EXPECT_TRUE(EnoughFreeSpace(source(20 * mb), "/d/f", 10 * mb, 10));
    EXPECT_FALSE(EnoughFreeSpace(source(20 * mb - 1), "/d/f", 10 * mb, 10));
    EXPECT_FALSE(EnoughFreeSpace(source(5 * mb), "/d/f", 6 * mb, 0));
    EXPECT_TRUE(EnoughFreeSpace([](const std::string&) { return std::optional<std::uint64_t>(); }, "/d/f",
                                1000 * mb, 10));
    test::TempDir dir;
    EXPECT_TRUE(FileSystemFreeBytes(dir.Path()).has_value());
    EXPECT_FALSE(FileSystemFreeBytes(dir.Path() + "/missing").has_value());
}

TEST(DownloadRulesTest, DialogValuesAndHistory) {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    DownloadSettings s = DownloadSettings::Load(settings);
    EXPECT_EQ(s.folder, settings.HomeDirectory());
    EXPECT_EQ(s.history, (std::vector<std::string>{settings.HomeDirectory()}));
    EXPECT_EQ(s.Policy(), ExistingFilePolicy::Rename);
    EXPECT_EQ(s.threads, 5);
    EXPECT_EQ(s.freeMb, 10);

    s.PickFolder("/media/a");
    s.PickFolder("");
    s.PickFolder(settings.HomeDirectory());  // already listed: not again
    EXPECT_EQ(s.folder, settings.HomeDirectory());
    EXPECT_EQ(s.history.size(), 2u);
    EXPECT_EQ(s.history[0], "/media/a");
    for (int i = 0; i < 60; ++i) s.PickFolder("/f" + std::to_string(i));
    s.askNames = true;
    s.radio = 3;
    s.Store(settings);
    EXPECT_EQ(SplitFolderHistory(settings.Get(keys::DownloadLastFolders)).size(), 51u);
    const DownloadSettings back = DownloadSettings::Load(settings);
    EXPECT_EQ(back.folder, "/f59");
    EXPECT_EQ(back.history[0], "/f59");
    EXPECT_EQ(back.Policy(), ExistingFilePolicy::Ask);
    EXPECT_FALSE(back.ChoicesEnabled());

    const std::vector<std::pair<int, ExistingFilePolicy>> radios = {
        {1, ExistingFilePolicy::Rename}, {2, ExistingFilePolicy::Overwrite}, {3, ExistingFilePolicy::Ask},
        {0, ExistingFilePolicy::Rename}, {7, ExistingFilePolicy::Rename}};
    for (const auto& [radio, policy] : radios) {
        DownloadSettings r;
        r.radio = radio;
        EXPECT_EQ(r.Policy(), policy) << radio;
    }
}

}  // namespace
}  // namespace flk
