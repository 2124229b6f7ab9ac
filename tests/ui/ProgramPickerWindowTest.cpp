// What the "Find a browser" / "Find a Editor" chooser accepts, and the
// small dialogs and menus of the list pages.
#include "support/TempDir.h"
#include "ui/WxProgramPicker.h"
#include "ui/XrcSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace flk;

TEST(ProgramPickerWindow, OnlyExecutableFilesCount) {
    test::TempDir dir;
    dir.Write("run.sh", "#!/bin/sh\n");
    dir.Write("text.txt", "x");
    ::chmod(dir.File("run.sh").c_str(), 0755);
    ::chmod(dir.File("text.txt").c_str(), 0644);
    const struct {
        std::string path;
        bool executable;
    } cases[] = {
        {dir.File("run.sh"), true},
        {dir.File("text.txt"), false},
        {dir.Path(), false},  // a folder has the execute bit but is no program
        {dir.File("missing"), false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(ui::IsExecutableFile(c.path), c.executable) << c.path;
}

TEST(ProgramPickerWindow, ListPageDialogsLoadWithTheirControls) {
    for (const char* name : {"dlg_filter", "dlg_searching"}) {
        wxDialog d;
        ui::LoadDialog(d, nullptr, name);
        if (std::string(name) == "dlg_filter") {
            EXPECT_EQ(d.GetTitle(), "Filter");
            ui::Ctrl<wxWindow>(&d, "txt_pattern");
        } else {
            EXPECT_EQ(d.GetTitle(), "Searching...");
            ui::Ctrl<wxWindow>(&d, "gau_search");
            ui::Ctrl<wxWindow>(&d, "txt_pages_searched");
            ui::Ctrl<wxWindow>(&d, "txt_pages_matched");
        }
    }
    for (const char* menu : {"mnu_media_list", "mnu_hit_list", "mnu_tree"}) EXPECT_NE(ui::LoadPopupMenu(menu), nullptr);
}
