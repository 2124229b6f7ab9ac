// Reports and site maps of deep trees and damaged projects stay small: a
// 4,000-level chain and a 100 KB cell in 4,000 rows, loaded from a project
// file and written as the session writes them.
#include "settings/Settings.h"
#include "session/CrawlerSession.h"
#include "lists/ProjectFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace flk;

namespace {

// Peak resident memory of this process in KB since the last ResetPeakRss.
long PeakRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}
long RssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}
// "5" resets the peak to the current resident size.
bool ResetPeakRss() { return static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5"); }

std::string Cells(const std::vector<std::string>& cells) {
    std::string out;
    for (const std::string& c : cells) out += c + ";-;";
    return out;
}

}  // namespace

TEST(BoundedOutput, DeepChainAndHugeCellGiveSmallFilesAndLittleMemory) {
    constexpr int kDepth = 4000;
    std::string project = "\r\n\r\n{[(ImagesList)]}";
    project += Cells({"big.jpg", "h.example/", std::string(100 * 1024, 'w'), "1", "1", "t", "u"});
    for (int i = 0; i < kDepth; ++i)
        project += Cells({"i" + std::to_string(i) + ".jpg", "h.example/", "alt", "10", "10", "title", "h.example/p"});
    project += "\r\n\r\n{[(TreeView)]}";
    std::string parent = "top";
    for (int i = 0; i < kDepth; ++i) {
        const std::string page = "h.example/chain/" + std::to_string(i) + ".html";
        project += Cells({page, parent});
        parent = page;
    }

    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    settings.WriteDefaults();
    settings.Set(keys::ProjectPath, dir.Path());
    NullNotifier notifier;
    ASSERT_TRUE(WriteProjectFile(dir.File("deep.crl"), project));
    project.clear();
    project.shrink_to_fit();

    CrawlerSession session(SessionContext{settings, notifier, InternetOptions{}, Pacing::None()});
    ASSERT_TRUE(session.LoadProject(dir.File("deep.crl")));
    session.Lists().images.SelectAll();
    ASSERT_EQ(session.Lists().images.RowCount(), static_cast<std::size_t>(kDepth + 1));

    const bool measured = ResetPeakRss();
    const long before = RssKb();
    const std::vector<std::string> written = session.WriteListFiles();
    const long peakGrowthKb = PeakRssKb() - before;

    std::uintmax_t total = 0;
    for (const char* name : {"ImagesReport.txt", "SiteMap.txt", "SiteMap.html"}) {
        const std::string path = session.Project().folder + "/" + name;
        ASSERT_TRUE(std::filesystem::exists(path)) << name;
        const std::uintmax_t size = std::filesystem::file_size(path);
        EXPECT_LT(size, 2u << 20) << name;
        total += size;
    }
    EXPECT_LT(total, 4u << 20);
    if (measured) {
        EXPECT_LT(peakGrowthKb, 100 * 1024);
    }

    // The deepest lines carry their level instead of 4,000 steps.
    std::ifstream map(session.Project().folder + "/SiteMap.txt", std::ios::binary);
    std::stringstream text;
    text << map.rdbuf();
    EXPECT_NE(text.str().find("\r\r\n " + std::string(64 * 7, ' ') + "h.example/chain/65.html"), std::string::npos);
    EXPECT_NE(text.str().find("\r\r\n[65] h.example/chain/66.html"), std::string::npos);
    EXPECT_NE(text.str().find("\r\r\n[3998] h.example/chain/3999.html"), std::string::npos);
}
