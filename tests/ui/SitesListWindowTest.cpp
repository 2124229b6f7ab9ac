// The "Domains list" dialog driven as a user does, with site checks
// against loopback pages.
#include "lists/ui/SitesListDialog.h"
#include "settings/Settings.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "ui/Screenshot.h"
#include "ui/UiDriver.h"
#include "ui/XrcSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/listctrl.h>

#include <chrono>
#include <thread>

using namespace flk;

namespace {

struct Owner : ui::SitesListOwner {
    std::string sites, query, oneSite;
    int started = 0, engines = 0;
    void UseSitesList(const std::string& s, const std::string& q) override {
        sites = s;
        query = q;
    }
    void UseOneSite(const std::string& location) override { oneSite = location; }
    void OpenEngineSearch() override { ++engines; }
    void StartCrawl() override { ++started; }
};

struct Fixture {
    Fixture() { settings.Set(keys::UrlsHistoryHistory, "first.example;second.example;"); }
    ui::SitesListContext Context() { return {settings, dir.Path(), share, InternetOptions{}, owner}; }
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    InternetShare share;
    Owner owner;
};

void Type(ui::SitesListDialog& d, const char* text) {
    ui::Ctrl<wxComboBox>(&d, "cmb_address")->SetValue(text);
    test::Click(d, "btn_add_site");
}

}  // namespace

TEST(SitesListWindow, AddRemoveAndOkMakeTheStartStringAndTheHistoryFile) {
    Fixture f;
    f.dir.Write("DomainsHistory.txt", "old.example;");
    ui::SitesListDialog d(nullptr, f.Context());
    auto* list = ui::Ctrl<wxListCtrl>(&d, "lst_sites");
    EXPECT_EQ(ui::Ctrl<wxComboBox>(&d, "cmb_address")->GetCount(), 2u);
    EXPECT_EQ(list->GetItemCount(), 1);  // the last list comes back
    Type(d, "HTTP://Cats.example/");
    Type(d, "http://Cats.example/");  // already listed
    Type(d, "dogs.example");
    EXPECT_EQ(list->GetItemCount(), 3);
    wxListItem header;
    header.SetMask(wxLIST_MASK_TEXT);
    list->GetColumn(0, header);
    EXPECT_EQ(header.GetText(), "Url's (0 / 3)");
    list->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxTheApp->Yield(true);
    test::Click(d, "btn_remove");
    EXPECT_EQ(list->GetItemCount(), 2);
    d.Show();
    test::SaveScreenshot(d, "sites_list");
    d.Accept();
    EXPECT_EQ(f.owner.sites, "Cats.example/;dogs.example;");
    EXPECT_EQ(f.dir.Read("DomainsHistory.txt"), "Cats.example/;dogs.example;");
    d.Hide();
}

TEST(SitesListWindow, CheckedHandOverShowsTitlesAndCountsAndCancelStopsTheChecks) {
    test::LoopbackServer server;
    server.Add({.path = "/a", .body = "<title>Red cats</title>cats and more cats"});
    server.Add({.path = "/slow", .mode = test::ReplyMode::Stalled});
    const std::string base = "127.0.0.1:" + std::to_string(server.Port());
    Fixture f;
    f.settings.Set(keys::UrlsHistoryUrl, "home.example");
    ui::SitesListDialog d(nullptr, f.Context());
    d.HandOver("cats", "http://" + base + "/a;" + base + "/slow;", false, true);
    auto* list = ui::Ctrl<wxListCtrl>(&d, "lst_sites");
    for (int i = 0; i < 300 && list->GetItemText(0, 1).empty(); ++i) {
        wxTheApp->Yield(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(list->GetItemText(0, 0), base + "/a");
    EXPECT_EQ(list->GetItemText(0, 1), "Red cats");
    EXPECT_EQ(list->GetItemText(0, 2), "3");
    const auto start = std::chrono::steady_clock::now();
    d.Reject();  // the slow site is still being checked
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0);
    EXPECT_EQ(d.Checks().Pending(), 0);
    EXPECT_EQ(f.owner.oneSite, "home.example");
}

TEST(SitesListWindow, HandOverToStartCrawling) {
    Fixture f;
    ui::SitesListDialog d(nullptr, f.Context());
    d.HandOver("  red cats ", "a.example;http://b.example;", true, false);
    EXPECT_EQ(f.owner.sites, "a.example;b.example;");
    EXPECT_EQ(f.owner.query, "red cats");
    EXPECT_EQ(f.owner.started, 1);
}

// "Send to" writes the rows the user selected, not the whole list.
TEST(SitesListWindow, SendToWritesOnlyTheSelectedRows) {
    Fixture f;
    f.settings.Set(keys::BrowserDefault, 0);
    f.settings.Set(keys::BrowserPath, std::string("/bin/true"));
    f.settings.Set(keys::EditorPath, std::string("/bin/true"));
    ui::SitesListDialog d(nullptr, f.Context());
    d.HandOver("", "a.example;b.example;c.example;", false, false);
    auto* list = ui::Ctrl<wxListCtrl>(&d, "lst_sites");
    ASSERT_EQ(list->GetItemCount(), 3);
    for (int row = 0; row < 3; ++row) {
        if (list->GetItemText(row) != "b.example")
            list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    }
    wxTheApp->Yield(true);
    ASSERT_EQ(d.List().SelectedRows().size(), 2u);

    d.RunMenuCommand(XRCID("mi_send_editor"));
    const std::string text = f.dir.Read("URLsList.txt");
    EXPECT_NE(text.find("a.example\r\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("c.example\r\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("b.example"), std::string::npos) << text;

    d.RunMenuCommand(XRCID("mi_send_browser"));
    const std::string html = f.dir.Read("URLsList.htm");
    EXPECT_NE(html.find(">a.example</A>"), std::string::npos) << html;
    EXPECT_NE(html.find(">c.example</A>"), std::string::npos) << html;
    EXPECT_EQ(html.find("b.example"), std::string::npos) << html;
}
