// The search-engine dialog and the category dialog as a user drives them,
// against loopback engine and directory servers.
#include "search/ui/CategoryDialog.h"
#include "search/ui/EngineSearchDialog.h"
#include "settings/Settings.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "ui/Screenshot.h"
#include "ui/UiDriver.h"
#include "ui/XrcSupport.h"
#include "update/UpdateFile.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/treectrl.h>

#include <chrono>
#include <functional>
#include <set>

using namespace flk;
using Clock = std::chrono::steady_clock;

namespace {

struct Receiver : FoundAddressReceiver {
    std::string addresses;
    HandOverMode mode = HandOverMode::StartCrawling;
    int calls = 0;
    void TakeFoundAddresses(const std::string&, const std::string& a, HandOverMode m) override {
        addresses = a;
        mode = m;
        ++calls;
    }
};

struct Ended : Notifier {
    std::vector<long> values;
    long Send(Notification& n) override {
        if (n.code == notify::SearchEnded) values.push_back(n.value);
        return 0;
    }
};

std::string Links(const std::vector<std::string>& hrefs) {
    std::string body = "<html><body>\n";
    for (const auto& h : hrefs) body += "<a href=\"" + h + "\">link</a>\n";
    return body + "</body></html>";
}

std::set<std::string> Split(const std::string& joined) {
    std::set<std::string> out;
    std::size_t pos = 0;
    for (std::size_t semi; (semi = joined.find(';', pos)) != std::string::npos; pos = semi + 1)
        out.insert(joined.substr(pos, semi - pos));
    return out;
}

// Runs `step` every 20 ms on the UI thread while a modal dialog runs, until
// it returns true.
class Steps {
public:
    explicit Steps(std::function<bool()> step) : step_(std::move(step)) {
        timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            if (step_()) timer_.Stop();
        });
        timer_.Start(20);
    }
    ~Steps() { timer_.Stop(); }

private:
    std::function<bool()> step_;
    wxTimer timer_;
};

class SearchWindows : public ::testing::Test {
protected:
    SearchWindows() {
        settings.Set(hosts::Directory, "directory.search.example:" + std::to_string(server.Port()));
        settings.Set(keys::SearchCategoriesAmount, 10);
        network.access = InternetAccess::Direct;
        network.connectTimeoutMs = 2000;
        network.lowSpeedTimeS = 2;
        for (const std::string& e : server.ResolveEntries("directory.search.example")) network.resolve.push_back(e);
    }
    std::string Engine() const { return "http://127.0.0.1:" + std::to_string(server.Port()); }
    std::string Dir(const std::string& path) const {
        return "http://directory.search.example:" + std::to_string(server.Port()) + path;
    }
    ui::SearchServices Services() { return {settings, updateFile, share, network, ended, receiver}; }

    test::LoopbackServer server;
    InternetShare share;
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    UpdateFile updateFile{dir.Path()};
    InternetOptions network;
    Receiver receiver;
    Ended ended;
};

}  // namespace

TEST_F(SearchWindows, EngineDialogRunsAUserEngineAndHandsTheSitesOver) {
    settings.WriteProfileString("engines", "Home", Engine() + "/s?q={query}&p={page} max_pages=2");
    server.Add({.path = "/s?q=red+cats&p=1", .body = Links({"http://a.example/", Engine() + "/s?q=x", "http://b.example/"})});
    server.Add({.path = "/s?q=red+cats&p=2", .body = Links({"http://b.example/", "http://c.example/"})});
    ui::EngineSearchDialog dialog(nullptr, Services(), "red cats");
    auto* engine = ui::Ctrl<wxChoice>(&dialog, "cho_engine");
    ASSERT_EQ(engine->GetString(engine->GetCount() - 1), "Home");
    bool pressed = false;
    Steps steps([&] {
        if (!pressed) {
            engine->SetSelection(static_cast<int>(engine->GetCount()) - 1);
            ui::Ctrl<wxCheckBox>(&dialog, "chk_view_list")->SetValue(true);
            wxCommandEvent tick(wxEVT_CHECKBOX, XRCID("chk_view_list"));
            tick.SetInt(1);
            ui::Ctrl<wxCheckBox>(&dialog, "chk_view_list")->ProcessWindowEvent(tick);
            EXPECT_TRUE(ui::Ctrl<wxCheckBox>(&dialog, "chk_check_sites")->IsEnabled());
            EXPECT_FALSE(ui::Ctrl<wxCheckBox>(&dialog, "chk_start_crawling")->GetValue());
            test::SaveScreenshot(dialog, "engine_dialog");
            test::Click(dialog, "btn_go");
            pressed = true;
        }
        return true;
    });
    EXPECT_EQ(dialog.ShowModal(), EngineSearch::kHandedOver);
    EXPECT_EQ(receiver.calls, 1);
    EXPECT_EQ(Split(receiver.addresses), (std::set<std::string>{"http://a.example/", "http://b.example/", "http://c.example/"}));
    EXPECT_EQ(receiver.mode, HandOverMode::ViewList);
    EXPECT_NE(dir.Read("flk.ini").find("engineline=\"red cats\""), std::string::npos);
}

TEST_F(SearchWindows, StopNowHandsOverWhatWasFoundAtOnce) {
    settings.WriteProfileString("engines", "Home", Engine() + "/s?q={query}&p={page} max_pages=2");
    server.Add({.path = "/s?q=x&p=1", .body = Links({"http://a.example/"})});
    server.Add({.path = "/s?q=x&p=2", .mode = test::ReplyMode::Stalled});
    ui::EngineSearchDialog dialog(nullptr, Services(), "x");
    auto* engine = ui::Ctrl<wxChoice>(&dialog, "cho_engine");
    engine->SetSelection(static_cast<int>(engine->GetCount()) - 1);
    bool pressed = false;
    Clock::time_point stopAt;
    Steps steps([&] {
        if (!pressed) {
            test::Click(dialog, "btn_go");
            pressed = true;
            return false;
        }
        if (!ui::Ctrl<wxButton>(&dialog, "btn_stop_now")->IsEnabled()) return false;
        stopAt = Clock::now();
        test::Click(dialog, "btn_stop_now");
        return true;
    });
    EXPECT_EQ(dialog.ShowModal(), EngineSearch::kEndedWithout);
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - stopAt).count(), 1.0);
    EXPECT_EQ(receiver.addresses, "http://a.example/;");
    EXPECT_EQ(dialog.Search().Running(), 0);
}

TEST_F(SearchWindows, CategoryTreeShownForTheUserToChoose) {
    settings.Set(keys::ViewCategoriesTree, 1);
    server.Add({.path = "/r_search",
                .body = "U=" + Dir("/arts.html") + "\nF=... - Arts - Music &amp; Dance\nU=" + Dir("/sci.html") +
                        "\nF=... - Science\nU=" + Dir("/bio.html") + "\nF=... - Science - Biology\n"});
    ui::CategoryDialog dialog(nullptr, Services(), SafetyScopeFor(2), CategoryRequest{"music", "music", 20});
    auto* tree = ui::Ctrl<wxTreeCtrl>(&dialog, "tre_categories");
    auto* selected = ui::Ctrl<wxListCtrl>(&dialog, "lst_selected");
    Steps steps([&] {
        if (dialog.Search().GetState() != CategorySearch::State::Choosing || tree->GetCount() == 0) return false;
        EXPECT_FALSE(ui::Ctrl<wxButton>(&dialog, "wxID_OK")->IsEnabled());
        wxTreeItemIdValue cookie;
        const wxTreeItemId arts = tree->GetFirstChild(tree->GetRootItem(), cookie);
        EXPECT_EQ(tree->GetItemText(arts), "Arts");
        tree->SelectItem(arts);
        test::Click(dialog, "btn_add");
        test::Click(dialog, "btn_add");  // a path already chosen is not added twice
        EXPECT_EQ(selected->GetItemCount(), 1);
        EXPECT_EQ(selected->GetItemText(0, 0), "Music & Dance");
        EXPECT_EQ(selected->GetItemText(0, 1), "Arts/");
        tree->ExpandAll();
        test::SaveScreenshot(dialog, "category_dialog");
        test::Click(dialog, "wxID_OK");
        return true;
    });
    EXPECT_EQ(dialog.ShowModal(), kCategoryOk);
    EXPECT_EQ(dialog.Search().Addresses(), (std::vector<std::string>{Dir("/arts.html")}));
}

TEST_F(SearchWindows, CategoryDialogChoosesByItselfWhenTheTreeIsOff) {
    server.Add({.path = "/r_search", .body = "U=" + Dir("/a.html") + "\nF=... - Arts\nU=" + Dir("/s.html") + "\nF=... - Science\n"});
    ui::CategoryDialog dialog(nullptr, Services(), SafetyScopeFor(2), CategoryRequest{"x", "x", 20});
    EXPECT_EQ(dialog.ShowModal(), kCategoryOk);
    EXPECT_EQ(dialog.Search().Addresses().size(), 2u);
}
