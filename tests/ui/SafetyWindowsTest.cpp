// The safety check through the real password, set-password and warning
// dialogs, answered the way a user answers them.
#include "search/SafetyCheck.h"
#include "search/ui/SafetyDialogs.h"
#include "search/ui/SafetyPanel.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "ui/MessageBox.h"
#include "ui/Screenshot.h"
#include "ui/UiDriver.h"
#include "ui/XrcSupport.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/toplevel.h>

#include <deque>

using namespace flk;

namespace {

// Answers the modal dialogs that appear, one step per dialog shown: a step
// names the dialog's title and what to do with it.
struct Step {
    std::string title{};   // "Password", "Set password" or "Warning!"
    std::string typed{};   // into the first field (and the repeat field)
    bool ok = true;        // OK/Continue, else Cancel
    bool tick = false;     // "Don't show this dialog again"
    std::string shot{};    // screenshot name, when one is wanted
};

class DialogScript {
public:
    explicit DialogScript(std::vector<Step> steps) : steps_(steps.begin(), steps.end()) {
        timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Tick(); });
        timer_.Start(20);
    }
    ~DialogScript() { timer_.Stop(); }
    std::vector<std::string> seen;  // titles, in order

private:
    void Tick() {
        for (wxWindow* w : wxTopLevelWindows) {
            auto* dlg = dynamic_cast<wxDialog*>(w);
            if (!dlg || !dlg->IsModal() || !dlg->IsShown()) continue;
            seen.push_back(dlg->GetTitle().ToStdString());
            if (steps_.empty()) {
                dlg->EndModal(wxID_CANCEL);
                return;
            }
            const Step step = steps_.front();
            steps_.pop_front();
            EXPECT_EQ(dlg->GetTitle(), step.title);
            if (!step.shot.empty()) test::SaveScreenshot(*dlg, step.shot);
            for (const char* field : {"txt_password", "txt_repeat"})
                if (dlg->FindWindow(XRCID(field))) ui::Ctrl<wxTextCtrl>(dlg, field)->SetValue(step.typed);
            if (dlg->FindWindow(XRCID("chk_dont_show"))) ui::Ctrl<wxCheckBox>(dlg, "chk_dont_show")->SetValue(step.tick);
            if (step.ok)
                test::Click(*dlg, "wxID_OK");
            else
                dlg->EndModal(wxID_CANCEL);
            return;
        }
    }
    std::deque<Step> steps_;
    wxTimer timer_;
};

struct Boxes {
    Boxes() {
        ui::SetMessageBoxHook([this](const ui::MessageBoxCall& c) {
            captions.push_back(c.caption);
            return wxOK;
        });
    }
    ~Boxes() { ui::SetMessageBoxHook({}); }
    std::vector<std::string> captions;
};

struct Row {
    int level;
    bool usePassword;
    const char* query;
    std::vector<Step> steps;
    int expected;
    std::vector<std::string> captions;
    int warningAfter;
};

}  // namespace

TEST(SafetyWindows, EveryLevelAndKindOfQueryThroughTheRealDialogs) {
    const std::string wrong = "Wrong password", site = "Safety level",
                      adult = "Warning! potential adult-related content";
    const std::vector<Row> rows = {
        {1, false, "cats", {}, 0, {}, 0},
        {1, false, "red wine", {}, 0, {}, 0},
        {1, false, "http://x.example/", {}, -1, {site}, 0},
        {1, false, "/home/me/pics", {}, 0, {}, 0},
        {2, false, "cats", {{"Warning!", "", true, false, "safety_warning"}}, 0, {}, 0},
        {2, false, "cats", {{"Warning!", "", false}}, -1, {}, 0},
        {2, false, "red wine", {}, -1, {adult}, 0},
        {2, false, "HTTPS://x.example/", {}, -1, {site}, 0},
        {2, false, "/home/me/pics", {}, 0, {}, 0},
        {3, true, "cats", {{"Warning!", "", true, true}}, 0, {}, 1},
        {3, true, "red wine",
         {{"Password", "nope", true, false, "safety_password"}, {"Password", "secret"}, {"Warning!", ""}}, 0, {wrong}, 0},
        {3, true, "red wine", {{"Password", "nope"}, {"Password", "", false}}, -1, {wrong}, 0},
        {3, true, "http://x.example/", {{"Password", "Lost mine..."}}, 0, {}, 0},
        {3, false, "http://x.example/", {}, 0, {}, 0},
        {3, true, "/home/me/pics", {}, 0, {}, 0},
    };
    for (const Row& row : rows) {
        test::TempDir dir;
        Settings settings(dir.File("flk.ini"), dir.Path());
        settings.Set(keys::CrawlerSafetyLevel, row.level);
        settings.Set(keys::CrawlerAskPassword, row.usePassword ? 1 : 0);
        settings.Set(keys::CrawlerWord, "secret");
        Boxes boxes;
        ui::WxSafetyUi ui(nullptr);
        DialogScript script(row.steps);
        const int result = CheckSearchAllowed(settings, ui, [] { return std::vector<std::string>{"wine"}; }, row.query);
        const std::string what = std::to_string(row.level) + " " + row.query;
        EXPECT_EQ(result, row.expected) << what;
        EXPECT_EQ(boxes.captions, row.captions) << what;
        EXPECT_EQ(script.seen.size(), row.steps.size()) << what;
        EXPECT_EQ(settings.Get(keys::CrawlerWarning), row.warningAfter) << what;
    }
}

TEST(SafetyWindows, SetPasswordFromTheSafetyPage) {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    settings.Set(keys::CrawlerSafetyLevel, 3);
    Boxes boxes;
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Safety");
    auto* panel = new ui::SafetyPanel(frame, settings);
    frame->SetClientSize(panel->GetBestSize());
    frame->Show();
    EXPECT_TRUE(ui::Ctrl<wxRadioButton>(panel, "rad_level3")->GetValue());
    test::SaveScreenshot(*frame, "safety_page");
    {
        // Ticking "Use password" asks for a new one; empty and differing
        // fields are refused before the right pair is taken.
        DialogScript script({{"Set password", "", true, false, "safety_set_password"},
                             {"Set password", "abc"},
                             {"Set password", "abc"}});
        auto* box = ui::Ctrl<wxCheckBox>(panel, "chk_use_password");
        box->SetValue(true);
        wxCommandEvent tick(wxEVT_CHECKBOX, box->GetId());
        tick.SetInt(1);
        tick.SetEventObject(box);
        box->ProcessWindowEvent(tick);
        EXPECT_TRUE(box->GetValue());
    }
    EXPECT_EQ(boxes.captions, (std::vector<std::string>{"No password written"}));
    EXPECT_EQ(settings.Get(keys::CrawlerWord), "abc");
    {
        // Lowering the level behind the password: a wrong one keeps level 1.
        auto* level1 = ui::Ctrl<wxRadioButton>(panel, "rad_level1");
        level1->SetValue(true);
        wxCommandEvent click1(wxEVT_RADIOBUTTON, level1->GetId());
        click1.SetEventObject(level1);
        level1->ProcessWindowEvent(click1);
        DialogScript script({{"Password", "wrong", false}});
        auto* level3 = ui::Ctrl<wxRadioButton>(panel, "rad_level3");
        level3->SetValue(true);
        wxCommandEvent click3(wxEVT_RADIOBUTTON, level3->GetId());
        click3.SetEventObject(level3);
        level3->ProcessWindowEvent(click3);
        EXPECT_TRUE(level1->GetValue());
        EXPECT_EQ(panel->Page().ChosenLevel(), 1);
    }
    panel->Save();
    EXPECT_EQ(settings.Get(keys::CrawlerSafetyLevel), 1);
    EXPECT_EQ(settings.Get(keys::CrawlerAskPassword), 1);
    frame->Destroy();
}
