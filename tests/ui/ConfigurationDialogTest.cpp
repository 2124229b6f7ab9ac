// The configuration dialog as a user drives it: a value changed on every
// tab, OK, and the profile checked byte for byte.
#include "config/AutostartEntry.h"
#include "config/ui/ConfigurationDialog.h"
#include "platform/Paths.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "ui/MessageBox.h"
#include "ui/Screenshot.h"
#include "ui/UiDriver.h"
#include "ui/XrcSupport.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <functional>

using namespace flk;

namespace {

// Runs script once on the configuration dialog when it is up and modal.
class OnDialog {
public:
    explicit OnDialog(std::function<void(ui::ConfigurationDialog&)> script) : script_(std::move(script)) {
        timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            for (wxWindow* w : wxTopLevelWindows) {
                auto* dlg = dynamic_cast<ui::ConfigurationDialog*>(w);
                if (dlg && dlg->IsModal() && dlg->IsShown()) {
                    timer_.Stop();
                    fired = true;
                    script_(*dlg);
                    return;
                }
            }
        });
        timer_.Start(20);
    }
    ~OnDialog() { timer_.Stop(); }
    bool fired = false;

private:
    std::function<void(ui::ConfigurationDialog&)> script_;
    wxTimer timer_;
};

// A click on a check box or radio button, as the user makes it.
void Tick(wxWindow& dlg, const char* name, bool value) {
    auto* box = ui::Ctrl<wxCheckBox>(&dlg, name);
    box->SetValue(value);
    wxCommandEvent e(wxEVT_CHECKBOX, box->GetId());
    e.SetEventObject(box);
    e.SetInt(value ? 1 : 0);
    box->ProcessWindowEvent(e);
}

void Choose(wxWindow& dlg, const char* name) {
    auto* radio = ui::Ctrl<wxRadioButton>(&dlg, name);
    radio->SetValue(true);
    wxCommandEvent e(wxEVT_RADIOBUTTON, radio->GetId());
    e.SetEventObject(radio);
    e.SetInt(1);
    radio->ProcessWindowEvent(e);
}

void Type(wxWindow& dlg, const char* name, const std::string& text) {
    ui::Ctrl<wxTextCtrl>(&dlg, name)->SetValue(wxString::FromUTF8(text));
}

struct Boxes {
    Boxes() {
        ui::SetMessageBoxHook([this](const ui::MessageBoxCall& c) {
            calls.push_back(c);
            return wxOK;
        });
    }
    ~Boxes() { ui::SetMessageBoxHook({}); }
    std::vector<ui::MessageBoxCall> calls;
};

// A profile as a user's machine has it: comments, sections in another
// order and case, keys the dialog does not own.
constexpr char kProfile[] =
    "; Findlark settings\r\n"
    "[Browser]\r\n"
    "default=1\r\n"
    "path=\r\n"
    "[view]\r\n"
    "tip=1\r\n"
    "askmedia=0\r\n"
    "PopUp=1\r\n"
    "[media]\r\n"
    "tab=0\r\n"
    "images=jpg;jpeg;gif;\r\n"
    "audio=wav;au;mod;mid;midi;snd;ram;aiff;mp2;mp3;\r\n"
    "video=avi;mov;qt;mpeg;mpg;\r\n"
    "[crawler]\r\n"
    "crl=2\r\n"
    "crt=0\r\n"
    "maxdepth=15\r\n"
    "[search]\r\n"
    "categories_amount=30\r\n"
    "[hosts]\r\n"
    "maker=www.findlark.example\r\n";

struct Window {
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Findlark");
    ui::ConfigurationOptions options;
    int applied = 0;

    Window() {
        dir.Write("flk.ini", kProfile);
        options.autostartFolder = dir.File("autostart");
        options.trayletProgram = "/opt/findlark/bin/traylet";
        options.applied = [this] { ++applied; };
        frame->Show();
    }
    ~Window() { frame->Destroy(); }
    std::string Entry() const { return JoinPath(options.autostartFolder, kAutostartEntryName); }
};

}  // namespace

TEST(ConfigurationWindow, ValueOnEveryTabThenOkWritesTheProfile) {
    Window w;
    Boxes boxes;
    OnDialog script([&](ui::ConfigurationDialog& dlg) {
        wxNotebook* pages = dlg.Pages();
        ASSERT_EQ(pages->GetPageCount(), 4u);
        const char* titles[] = {"Browsing", "Media", "Safety", "Advanced"};
        const char* shots[] = {"config_browsing", "config_media", "config_safety", "config_advanced"};
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(pages->GetPageText(i), titles[i]);
            pages->SetSelection(i);
            test::SaveScreenshot(dlg, shots[i]);
        }
        // Hidden controls are there but not shown.
        for (const char* hidden : {"chk_notify", "txt_media_start", "chk_auto_show", "chk_check_version"})
            EXPECT_FALSE(ui::Ctrl<wxWindow>(&dlg, hidden)->IsShown()) << hidden;
        EXPECT_FALSE(ui::Ctrl<wxWindow>(&dlg, "txt_browser_path")->IsEnabled());

        Tick(dlg, "chk_auto_view", true);                 // Browsing
        Tick(dlg, "chk_images_gif", false);               // Media
        Type(dlg, "txt_images_other", "png");
        Choose(dlg, "rad_level3");                        // Safety: raising needs no password
        Type(dlg, "txt_max_sites", "45");                 // Advanced
        Tick(dlg, "chk_ftp", true);
        Tick(dlg, "chk_modern_robots", false);            // Advanced, today's web
        Type(dlg, "txt_max_per_host", " 8");
        Type(dlg, "txt_user_agent", "Probe/2 (test) ");
        pages->SetSelection(1);
        test::Click(dlg, "wxID_OK");
    });
    EXPECT_TRUE(ui::ShowConfigurationDialog(w.frame, w.settings, w.options));
    EXPECT_TRUE(script.fired);
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(w.applied, 1);
    // Keys the file lacked join their sections, in its line ends.
    EXPECT_EQ(w.dir.Read("flk.ini"),
              "; Findlark settings\r\n"
              "[Browser]\r\n"
              "default=1\r\n"
              "path=\r\n"
              "[view]\r\n"
              "tip=1\r\n"
              "askmedia=1\r\n"
              "PopUp=1\r\n"
              "media_start=6\r\n"
              "CategoriesTree=0\r\n"
              "[media]\r\n"
              "tab=1\r\n"
              "images=png;jpg;jpeg;\r\n"
              "audio=wav;mid;midi;snd;ram;mod;au;aiff;mp2;mp3;\r\n"
              "video=avi;mov;qt;mpeg;mpg;\r\n"
              "images_min_size_limit=1\r\n"
              "images_min_size=3000\r\n"
              "images_max_size_limit=1\r\n"
              "images_max_size=1000000\r\n"
              "[crawler]\r\n"
              "crl=3\r\n"
              "crt=0\r\n"
              "maxdepth=15\r\n"
              "FtpValidation=1\r\n"
              "pages_per_domain_limit=1\r\n"
              "pagespersite=10\r\n"
              "[search]\r\n"
              "categories_amount=50\r\n"
              "[hosts]\r\n"
              "maker=www.findlark.example\r\n"
              "[tree]\r\n"
              "pure_images=1\r\n"
              "download=1\r\n"
              "[modern]\r\n"
              "markup=1\r\n"
              "formats=1\r\n"
              "content=1\r\n"
              "sizes=1\r\n"
              "duplicates=1\r\n"
              "robots=0\r\n"
              "retry_after=1\r\n"
              "compression=1\r\n"
              "offline=1\r\n"
              "hittext=1\r\n"
              "max_per_host=8\r\n"
              "user_agent=Probe/2 (test)\r\n"
              "cookies=\r\n");
    EXPECT_EQ(w.dir.Read("autostart/FLKPop.desktop"), AutostartEntryText("/opt/findlark/bin/traylet"));

    // Opened again, it shows what was saved, on the tab last shown; the
    // tray icon switched off removes the entry.
    OnDialog again([&](ui::ConfigurationDialog& dlg) {
        EXPECT_EQ(dlg.Pages()->GetSelection(), 1);
        EXPECT_TRUE(ui::Ctrl<wxCheckBox>(&dlg, "chk_auto_view")->GetValue());
        EXPECT_FALSE(ui::Ctrl<wxCheckBox>(&dlg, "chk_images_gif")->GetValue());
        EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&dlg, "txt_images_other")->GetValue(), "png;");
        EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&dlg, "txt_max_sites")->GetValue(), "50");
        EXPECT_TRUE(ui::Ctrl<wxRadioButton>(&dlg, "rad_level3")->GetValue());
        EXPECT_FALSE(ui::Ctrl<wxCheckBox>(&dlg, "chk_modern_robots")->GetValue());
        EXPECT_TRUE(ui::Ctrl<wxCheckBox>(&dlg, "chk_modern_retry_after")->GetValue());
        EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&dlg, "txt_max_per_host")->GetValue(), "8");
        EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&dlg, "txt_user_agent")->GetValue(), "Probe/2 (test)");
        Tick(dlg, "chk_tray_icon", false);
        test::Click(dlg, "wxID_OK");
    });
    EXPECT_TRUE(ui::ShowConfigurationDialog(w.frame, w.settings, w.options));
    EXPECT_FALSE(FileExists(w.Entry()));
    EXPECT_EQ(w.settings.Get(keys::ViewPopUp), 0);
}

TEST(ConfigurationWindow, CancelAndDefaultValuesWriteNothing) {
    Window w;
    OnDialog script([&](ui::ConfigurationDialog& dlg) {
        Tick(dlg, "chk_tray_icon", false);
        Type(dlg, "txt_min_size", "10");
        Tick(dlg, "chk_images_bmp", true);
        Tick(dlg, "chk_modern_duplicates", false);
        Type(dlg, "txt_max_per_host", "12");
        Type(dlg, "txt_cookies", "/no/such/cookies.txt");
        test::Click(dlg, "btn_defaults");
        EXPECT_TRUE(ui::Ctrl<wxCheckBox>(&dlg, "chk_modern_duplicates")->GetValue());
        EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&dlg, "txt_max_per_host")->GetValue(), "4");
        EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&dlg, "txt_cookies")->GetValue(), "");
        EXPECT_TRUE(ui::Ctrl<wxCheckBox>(&dlg, "chk_tray_icon")->GetValue());
        EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&dlg, "txt_min_size")->GetValue(), "3000");
        EXPECT_FALSE(ui::Ctrl<wxCheckBox>(&dlg, "chk_images_bmp")->GetValue());
        EXPECT_TRUE(ui::Ctrl<wxCheckBox>(&dlg, "chk_ftp")->GetValue());
        EXPECT_EQ(w.dir.Read("flk.ini"), kProfile);
        dlg.EndModal(wxID_CANCEL);
    });
    EXPECT_FALSE(ui::ShowConfigurationDialog(w.frame, w.settings, w.options));
    EXPECT_EQ(w.dir.Read("flk.ini"), kProfile);
    EXPECT_EQ(w.applied, 0);
    EXPECT_FALSE(FileExists(w.options.autostartFolder));
}

TEST(ConfigurationWindow, BadValueIsNamedOnItsTabAndOkWaits) {
    Window w;
    Boxes boxes;
    int oks = 0;
    OnDialog script([&](ui::ConfigurationDialog& dlg) {
        dlg.Pages()->SetSelection(0);
        Type(dlg, "txt_pages_per_site", "ten");
        test::Click(dlg, "wxID_OK");
        ++oks;
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(boxes.calls[0].caption, "Configuration");
        EXPECT_NE(boxes.calls[0].text.find("\"Maximum pages per site:\""), std::string::npos);
        EXPECT_EQ(dlg.Pages()->GetSelection(), 3) << "the Advanced tab comes to the front";
        EXPECT_TRUE(dlg.IsModal()) << "the dialog stays open";
        test::SaveScreenshot(dlg, "config_bad_value");
        EXPECT_EQ(w.dir.Read("flk.ini"), kProfile);

        // A limit outside 1..64 is refused and its field named, the
        // Advanced tab still in front.
        Type(dlg, "txt_pages_per_site", "12");
        dlg.Pages()->SetSelection(1);
        Type(dlg, "txt_max_per_host", "100");
        test::Click(dlg, "wxID_OK");
        ASSERT_EQ(boxes.calls.size(), 2u);
        EXPECT_EQ(boxes.calls[1].text, "\"Requests at once per host:\" needs a number from 1 to 64.");
        EXPECT_EQ(dlg.Pages()->GetSelection(), 3);
        EXPECT_EQ(w.dir.Read("flk.ini"), kProfile);
        Type(dlg, "txt_max_per_host", "2");

        // "Choose browser:" enables the path and "Browse..."; a path that
        // does not exist is refused on the Browsing tab.
        Type(dlg, "txt_pages_per_site", "12");
        Choose(dlg, "rad_choose_browser");
        EXPECT_TRUE(ui::Ctrl<wxWindow>(&dlg, "txt_browser_path")->IsEnabled());
        EXPECT_TRUE(ui::Ctrl<wxWindow>(&dlg, "btn_browse")->IsEnabled());
        Type(dlg, "txt_browser_path", "/no/such/browser");
        test::Click(dlg, "wxID_OK");
        ASSERT_EQ(boxes.calls.size(), 3u);
        EXPECT_NE(boxes.calls[2].text.find("does not exist"), std::string::npos);
        EXPECT_EQ(dlg.Pages()->GetSelection(), 0);
        EXPECT_EQ(w.dir.Read("flk.ini"), kProfile);

        test::Click(dlg, "btn_browse");  // the chooser below answers
        EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&dlg, "txt_browser_path")->GetValue(), "/bin/sh");
        test::Click(dlg, "wxID_OK");
    });
    std::string browsedFrom = "<never>";
    w.options.chooseBrowser = [&](wxWindow*, const std::string& folder) {
        browsedFrom = folder;
        return std::string("/bin/sh");
    };
    EXPECT_TRUE(ui::ShowConfigurationDialog(w.frame, w.settings, w.options));
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(browsedFrom, "");
    EXPECT_EQ(w.settings.Get(keys::BrowserDefault), 0);
    EXPECT_EQ(w.settings.Get(keys::BrowserPath), "/bin/sh");
    EXPECT_EQ(w.settings.Get(keys::PathLastBrowserPath), "/bin/");
    EXPECT_EQ(w.settings.Get(keys::CrawlerPagesPerSiteInConfig), 12);
    EXPECT_EQ(w.settings.Get(keys::ModernMaxPerHost), 2);
}
