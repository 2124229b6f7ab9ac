#include "app/Startup.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/AgreementDialog.h"
#include "app/ui/PresentationDialog.h"
#include "app/ui/WxStartupUi.h"
#include "ui/XrcSupport.h"
#include "support/TempDir.h"
#include "ui/UiDriver.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

using namespace flk;

namespace {

struct Fixture {
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
};

std::string WaitForFile(const test::TempDir& dir, const std::string& name) {
    for (int i = 0; i < 200; ++i) {
        std::string s = dir.Read(name);
        if (!s.empty()) return s;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return "";
}

}  // namespace

TEST(StartupWindows, EveryDialogLoadsWithItsControls) {
    Fixture f;
    {
        ui::AgreementDialog d(nullptr, "t", "x");
        ui::Ctrl<wxTextCtrl>(&d, "txt_license");
        ui::Ctrl<wxButton>(&d, "wxID_OK");
        ui::Ctrl<wxButton>(&d, "wxID_CANCEL");
    }
    {
        ui::PresentationDialog d(nullptr, f.settings);
        ui::Ctrl<wxButton>(&d, "btn_now");
        ui::Ctrl<wxButton>(&d, "btn_later");
        ui::Ctrl<wxCheckBox>(&d, "chk_dont_show_again");
        EXPECT_EQ(d.GetTitle(), "Presentation");
    }
    auto* about = new ui::AboutDialog(nullptr, f.settings);
    ui::Ctrl<wxButton>(about, "btn_view_presentation");
    about->Destroy();
}

TEST(StartupWindows, IAgreeIsRememberedAndBuiltInTextShownWithoutLicense) {
    Fixture f;  // the home directory holds no license.txt
    ui::WxStartupUi ui;
    wxString shownText, shownTitle;
    test::WhenModal agree([&](wxDialog& d) {
        shownTitle = d.GetTitle();
        shownText = ui::Ctrl<wxTextCtrl>(&d, "txt_license")->GetValue();
        test::Click(d, "wxID_OK");
    });
    const StartupResult r = RunStartupSteps(f.settings, ui, true);
    EXPECT_TRUE(agree.Fired());
    EXPECT_EQ(r.outcome, StartupOutcome::Proceed);
    EXPECT_TRUE(r.firstRun);
    EXPECT_EQ(f.settings.Get(keys::CrawlerEnodger), 1);
    EXPECT_EQ(shownTitle, "Findlark   Ver. " FLK_VERSION);
    // The text box shows the built-in agreement (line ends as the control keeps them).
    EXPECT_TRUE(shownText.Contains("End User License Agreement"));
    EXPECT_TRUE(shownText.Contains("Redistribution or Rental Not Permitted"));

    // Accepted once: the next start asks nothing.
    test::WhenModal unexpected([](wxDialog& d) { d.EndModal(wxID_CANCEL); });
    EXPECT_EQ(RunStartupSteps(f.settings, ui, true).outcome, StartupOutcome::Proceed);
    EXPECT_FALSE(unexpected.Fired());
}

TEST(StartupWindows, IDisagreeEndsTheProgramAndShowsTheLicenseFile) {
    Fixture f;
    f.dir.Write("license.txt", "Our own terms.\n");
    ui::WxStartupUi ui;
    wxString shownText;
    test::WhenModal disagree([&](wxDialog& d) {
        shownText = ui::Ctrl<wxTextCtrl>(&d, "txt_license")->GetValue();
        test::Click(d, "wxID_CANCEL");
    });
    EXPECT_EQ(RunStartupSteps(f.settings, ui, true).outcome, StartupOutcome::AgreementDeclined);
    EXPECT_EQ(f.settings.Get(keys::CrawlerEnodger), 0);
    EXPECT_EQ(shownText, "Our own terms.\n");
}

TEST(StartupWindows, PresentationOfferButtons) {
    Fixture f;
    // "Later" with the box ticked stops later offers.
    {
        ui::PresentationDialog d(nullptr, f.settings);
        test::WhenModal later([](wxDialog& dlg) {
            ui::Ctrl<wxCheckBox>(&dlg, "chk_dont_show_again")->SetValue(true);
            test::Click(dlg, "btn_later");
        });
        EXPECT_EQ(d.ShowModal(), wxID_CANCEL);
        EXPECT_EQ(f.settings.Get(keys::ViewShowPresentationAgain), 0);
    }
    // "Now" opens the presentation page of the home directory.
    f.dir.Write("opener.sh", "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened.txt\"\n");
    ::chmod(f.dir.File("opener.sh").c_str(), 0755);
    test::ScopedEnv opener("FLK_OPENER", f.dir.File("opener.sh"));
    f.settings.Set(keys::ViewShowPresentationAgain, 1);
    ui::PresentationDialog d(nullptr, f.settings);
    test::WhenModal now([](wxDialog& dlg) { test::Click(dlg, "btn_now"); });
    EXPECT_EQ(d.ShowModal(), wxID_OK);
    EXPECT_EQ(WaitForFile(f.dir, "opened.txt"), f.dir.Path() + "/presentation/start.html");
    EXPECT_EQ(f.settings.Get(keys::ViewShowPresentationAgain), 1);
}
