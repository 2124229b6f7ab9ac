#include "settings/Settings.h"
#include "settings/ChosenPrograms.h"
#include "lists/ProjectFolder.h"
#include "lists/ProjectTextFile.h"
#include "support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace flk;
namespace fs = std::filesystem;

TEST(ProjectFolder, FirstStartCreatesTheDefaultProjectThenReusesIt) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.File("program"));
    fs::create_directory(dir.File("program"));
    ProjectLocation p = ChooseProjectAtStart(s);
    EXPECT_EQ(p.folder, dir.File("program/FLKProjects/Default"));
    EXPECT_EQ(p.name, "Default.crl");
    EXPECT_EQ(dir.Read("program/FLKProjects/Default/Default.crl"), "New project");
    EXPECT_EQ(s.Get(keys::ProjectPath), p.folder);
    EXPECT_EQ(s.Get(keys::ProjectName), "Default.crl");

    // A recorded folder that was deleted falls back to Default of FLKProjects.
    s.Set(keys::ProjectPath, dir.File("gone"));
    s.Set(keys::ProjectName, std::string("mine.crl"));
    p = ChooseProjectAtStart(s);
    EXPECT_EQ(p.folder, dir.File("program/FLKProjects/Default"));
    EXPECT_EQ(p.name, "mine.crl");
}

TEST(ProjectFolder, ImageCacheIsEmptiedOnlyWhenWeMadeIt) {
    test::TempDir dir;
    fs::create_directory(dir.File("Images"));
    dir.Write("Images/user.jpg", "mine");
    EXPECT_TRUE(PrepareImageCache(dir.File("Images")));
    EXPECT_EQ(dir.Read("Images/user.jpg"), "mine");  // not ours: kept

    EXPECT_TRUE(PrepareImageCache(dir.File("cache")));
    dir.Write("cache/old.jpg", "x");
    fs::create_directory(dir.File("cache/sub"));
    EXPECT_TRUE(PrepareImageCache(dir.File("cache")));
    EXPECT_FALSE(fs::exists(dir.File("cache/old.jpg")));
    EXPECT_TRUE(fs::exists(dir.File("cache/sub")));
}

TEST(ProjectFolder, TextFileAndRememberedProject) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    ProjectLocation p = RememberProjectFile(s, dir.File("proj/x.crl"));
    EXPECT_EQ(p.folder, dir.File("proj/"));
    EXPECT_EQ(p.name, "x.crl");
    fs::create_directory(dir.File("proj"));
    CProjectTextFile history(s, "DomainsHistory.txt");
    EXPECT_EQ(history.ReadAll(), "");
    EXPECT_TRUE(history.WriteAll("a.example;\r\nb.example;"));
    EXPECT_EQ(dir.Read("proj/DomainsHistory.txt"), "a.example;\r\r\nb.example;");
    EXPECT_EQ(history.ReadAll(), "a.example;b.example;");
    EXPECT_FALSE(history.WriteAll("x", dir.File("missing-folder")));
}

namespace {
struct Picker : ProgramPicker {
    std::string answer;
    std::string askedTitle;
    std::string FindProgram(const std::string& title) override {
        askedTitle = title;
        return answer;
    }
};
}  // namespace

TEST(Launchers, ConfiguredProgramElseAskOnceAndRemember) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    dir.Write("edit.sh", "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/edited\"\n");
    ::chmod(dir.File("edit.sh").c_str(), 0755);
    Picker picker;
    picker.answer = dir.File("edit.sh");
    s.Set(keys::EditorPath, dir.File("no-such-editor"));
    EXPECT_TRUE(OpenInEditor(s, "/tmp/SiteMap.txt", &picker));
    EXPECT_EQ(picker.askedTitle, "Find a Editor");
    EXPECT_EQ(s.Get(keys::EditorPath), dir.File("edit.sh"));
    std::string edited;
    for (int i = 0; i < 200 && edited.empty(); ++i) {
        edited = dir.Read("edited");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(edited, "/tmp/SiteMap.txt");

    Picker cancel;
    s.Set(keys::BrowserDefault, 0);
    EXPECT_FALSE(OpenInBrowser(s, "http://x.example/", &cancel));
    EXPECT_EQ(cancel.askedTitle, "Find a browser");
    EXPECT_EQ(s.Get(keys::BrowserPath), "");
}
