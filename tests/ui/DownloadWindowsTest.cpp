// The Download dialog and the Download Manager window as the user drives
// them, over the real download manager fetching from a loopback server into
// a temporary folder.
#include "app/ui/AppShell.h"
#include "app/ui/MediaSearchWindow.h"
#include "download/DownloadNames.h"
#include "download/ui/DownloadCenter.h"
#include "download/ui/DownloadDialog.h"
#include "download/ui/DownloadManagerWindow.h"
#include "session/ui/CrawlerWindow.h"
#include "settings/Settings.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "support/TestFolders.h"
#include "ui/MessageBox.h"
#include "ui/LoopbackHosts.h"
#include "ui/Screenshot.h"
#include "ui/UiDriver.h"
#include "ui/VirtualListView.h"
#include "ui/WxNotifier.h"
#include "ui/XrcSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

using namespace flk;
using namespace std::chrono_literals;

namespace {

bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit = 60s) {
    return test::PumpUntil(cond, limit);
}

std::string Body(std::size_t n, char c) { return std::string(n, c); }

std::string Text(wxWindow& parent, const char* name) {
    return ui::Ctrl<wxStaticText>(&parent, name)->GetLabel().utf8_string();
}

std::vector<std::string> Column(wxListCtrl& list, int column) {
    std::vector<std::string> cells;
    for (long i = 0; i < list.GetItemCount(); ++i) cells.push_back(list.GetItemText(i, column).utf8_string());
    return cells;
}

void Select(ui::VirtualListView& list, long row) {
    list.SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    list.TakeSelection();
}

struct Downloads : ::testing::Test {
    test::TempDir home;
    test::TempDir target;
    Settings settings{home.File("flk.ini"), home.Path()};
    test::LoopbackServer server;
    ui::WxNotifier notifier{[](Notification&) { return 0L; }};
    std::unique_ptr<ui::DownloadCenter> center;
    std::mutex askedLock;
    std::vector<ui::FileQuestion> asked;
    std::function<std::string(const ui::FileQuestion&)> answer;
    FreeSpaceSource freeSpace = FileSystemFreeBytes;

    Downloads() {
        settings.Set(keys::DownloadDir, target.Path());
        settings.Set(keys::DownloadLastFolders, target.Path());
    }
    ~Downloads() override {
        center.reset();
        notifier.Close();
        PumpUntil([] { return false; }, 50ms);
    }
    ui::DownloadCenter& Center() {
        if (!center) {
            InternetOptions network;
            network.access = InternetAccess::Direct;
            network.connectTimeoutMs = 3000;
            center = std::make_unique<ui::DownloadCenter>(
                ui::DownloadCenterContext{settings, notifier, network, freeSpace, 20});
            center->askFile = [this](wxWindow*, const ui::FileQuestion& q) {
                std::lock_guard<std::mutex> g(askedLock);
                asked.push_back(q);
                return answer ? answer(q) : std::string();
            };
        }
        return *center;
    }
    // Queues through the dialog as the user does: the dialog comes up, the
    // test sets what `edit` sets and presses OK.
    void DownloadThroughDialog(const std::vector<std::string>& urls, const std::function<void(wxDialog&)>& edit) {
        test::WhenModal ok([&](wxDialog& d) {
            EXPECT_EQ(d.GetName(), "dlg_download");
            if (edit) edit(d);
            test::Click(d, "wxID_OK");
        });
        ASSERT_TRUE(Center().OpenDownloadDialog(nullptr, urls));
        EXPECT_TRUE(ok.Fired());
    }
    bool WaitIdle() {
        return PumpUntil([this] { return Center().Manager().Idle(); });
    }
    std::string Url(const std::string& path) const { return server.Url(path); }
    std::string Read(const std::string& name) const { return target.Read(name); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(target.File(name)); }
};

TEST_F(Downloads, DialogShowsTheStoredChoicesAndTheirEnabling) {
    settings.Set(keys::DownloadLastFolders, "/srv/one;/srv/two");
    settings.Set(keys::DownloadDir, "/srv/two");
    settings.Set(keys::DownloadRadio, 3);
    settings.Set(keys::DownloadThreads, 7);
    settings.Set(keys::DownloadFree, 20);
    ui::DownloadDialog dialog(nullptr, DownloadSettings::Load(settings),
                              [](const std::string&) -> std::optional<std::uint64_t> { return 5ull << 30; });
    auto* folder = ui::Ctrl<wxComboBox>(&dialog, "cmb_folder");
    auto* ask = ui::Ctrl<wxCheckBox>(&dialog, "chk_ask_names");
    EXPECT_EQ(dialog.GetTitle(), "Download");
    EXPECT_EQ(folder->GetCount(), 2u);
    EXPECT_EQ(folder->GetValue(), "/srv/two");
    EXPECT_EQ(ui::Ctrl<wxSpinCtrl>(&dialog, "spin_threads")->GetValue(), 7);
    EXPECT_EQ(ui::Ctrl<wxSpinCtrl>(&dialog, "spin_free")->GetValue(), 20);
    EXPECT_TRUE(ui::Ctrl<wxRadioButton>(&dialog, "rb_ask")->GetValue());
    EXPECT_EQ(Text(dialog, "st_free_now"), "Free on disk now: 5120 MB");
    const std::vector<std::pair<const char*, const char*>> texts = {
        {"st_threads_before", "Download"},        {"st_threads_after", "files simultaneously."},
        {"st_free_before", "Leave a minimum of "}, {"st_free_after", "MB free on disk."}};
    for (const auto& [name, label] : texts) EXPECT_EQ(Text(dialog, name), label) << name;
    EXPECT_EQ(ask->GetLabel(), "Ask me for file name in each download.");

    // Ticking the box disables the three choices; clearing it enables them.
    for (const bool ticked : {true, false, true}) {
        ask->SetValue(ticked);
        wxCommandEvent tick(wxEVT_CHECKBOX, ask->GetId());
        tick.SetInt(ticked);
        tick.SetEventObject(ask);
        ask->ProcessWindowEvent(tick);
        for (const char* choice : {"rb_rename", "rb_overwrite", "rb_ask"})
            EXPECT_EQ(ui::Ctrl<wxRadioButton>(&dialog, choice)->IsEnabled(), !ticked) << choice << ticked;
    }

    // "Browse...": a new folder goes on top of the history, a known one is
    // not listed twice, a cancelled picker changes nothing.
    const std::vector<std::pair<std::string, std::vector<std::string>>> picks = {
        {"/srv/three", {"/srv/three", "/srv/one", "/srv/two"}},
        {"/srv/one", {"/srv/three", "/srv/one", "/srv/two"}},
        {"", {"/srv/three", "/srv/one", "/srv/two"}}};
    std::string expectedFolder;
    for (const auto& [picked, history] : picks) {
        dialog.askFolder = [&, picked = picked](wxWindow*, const std::string&) { return picked; };
        test::Click(dialog, "btn_browse");
        if (!picked.empty()) expectedFolder = picked;
        EXPECT_EQ(dialog.Values().history, history) << picked;
        EXPECT_EQ(folder->GetValue().utf8_string(), expectedFolder) << picked;
    }
    const DownloadSettings chosen = dialog.Values();
    EXPECT_TRUE(chosen.askNames);
    EXPECT_EQ(chosen.radio, 3);
    EXPECT_EQ(chosen.threads, 7);

    ask->SetValue(false);
    dialog.UpdateChoices();
    ui::Ctrl<wxRadioButton>(&dialog, "rb_overwrite")->SetValue(true);
    dialog.Show();
    PumpUntil([] { return false; }, 300ms);
    test::SaveScreenshot(dialog, "download_dialog");
    dialog.Hide();
}

TEST_F(Downloads, OkStoresTheValuesAndQueuesEveryFileWithinTheThreadLimitWhileTheWindowCloses) {
    constexpr int kFiles = 200;
    std::vector<std::string> urls;
    for (int i = 0; i < kFiles; ++i) {
        const std::string path = "/f/file" + std::to_string(i) + ".jpg";
        test::PageRow row{path, 200, {{"Content-Type", "image/jpeg"}}, Body(1000 + i * 37, 'a' + i % 26)};
        row.delayMs = 20;
        server.Add(row);
        urls.push_back(Url(path));
    }
    DownloadThroughDialog(urls, [](wxDialog& d) {
        ui::Ctrl<wxSpinCtrl>(&d, "spin_threads")->SetValue(5);
        ui::Ctrl<wxRadioButton>(&d, "rb_overwrite")->SetValue(true);
    });
    EXPECT_EQ(settings.Get(keys::DownloadThreads), 5);
    EXPECT_EQ(settings.Get(keys::DownloadRadio), 2);
    EXPECT_EQ(settings.Get(keys::DownloadDir), target.Path());
    ui::DownloadManagerWindow* window = Center().Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->IsShown());
    EXPECT_EQ(window->GetTitle(), "Download Manager");

    // Closed while files arrive, and opened again: the downloads go on.
    ASSERT_TRUE(PumpUntil([&] { return Center().Manager().View().finished.size() >= 20; }));
    window->Close();
    ASSERT_TRUE(PumpUntil([&] { return Center().Window() == nullptr; }));
    EXPECT_FALSE(Center().Manager().Idle());
    PumpUntil([] { return false; }, 200ms);
    window = &Center().ShowWindow();
    ASSERT_TRUE(WaitIdle());
    window->RefreshNow();

    EXPECT_LE(Center().Manager().PeakRunning(), 5);
    EXPECT_LE(server.PeakConcurrent(), 5);
    EXPECT_EQ(window->WaitingList().GetItemCount(), 0);
    ASSERT_EQ(window->FinishedList().GetItemCount(), kFiles);
    for (const std::string& result : Column(window->FinishedList(), 2)) EXPECT_EQ(result, "Finished successfully");
    for (int i = 0; i < kFiles; ++i)
        EXPECT_EQ(Read("file" + std::to_string(i) + ".jpg"), Body(1000 + i * 37, 'a' + i % 26)) << i;
}

// The free space the dialog shows and the one the user asks to keep decide
// together: a file that would leave less is stopped with the manager's
// text and leaves nothing behind; a smaller one still arrives.
TEST_F(Downloads, NotEnoughFreeSpaceLeavesNoFileAndTheNextOneStillArrives) {
    freeSpace = [](const std::string&) { return std::optional<std::uint64_t>(3u << 20); };  // 3 MB
    server.Add({"/big.avi", 200, {{"Content-Type", "video/avi"}}, Body(1536 * 1024, 'b')});
    server.Add({"/small.jpg", 200, {{"Content-Type", "image/jpeg"}}, Body(500 * 1024, 's')});
    std::string shownFree;
    DownloadThroughDialog({Url("/big.avi"), Url("/small.jpg")}, [&](wxDialog& d) {
        shownFree = Text(d, "st_free_now");
        ui::Ctrl<wxSpinCtrl>(&d, "spin_free")->SetValue(2);
        ui::Ctrl<wxSpinCtrl>(&d, "spin_threads")->SetValue(1);
    });
    EXPECT_EQ(shownFree, "Free on disk now: 3 MB");
    ASSERT_TRUE(WaitIdle());
    ui::DownloadManagerWindow& window = *Center().Window();
    window.RefreshNow();
    ASSERT_EQ(window.FinishedList().GetItemCount(), 2);
    std::vector<std::string> results = Column(window.FinishedList(), 2);
    std::sort(results.begin(), results.end());
    EXPECT_EQ(results, (std::vector<std::string>{"Finished successfully", "Not enough free disk space"}));
    EXPECT_FALSE(Exists("big.avi"));
    EXPECT_FALSE(Exists("big.avi.part"));
    EXPECT_FALSE(Exists("big.avi.part.url"));
    EXPECT_EQ(Read("small.jpg"), Body(500 * 1024, 's'));
    EXPECT_TRUE(test::SaveScreenshot(window, "download_manager_disk_full"));
}

TEST_F(Downloads, StopOneStopAllAndOpenFromTheMenus) {
    for (const char* name : {"/one.jpg", "/two.jpg"})
        server.Add({name, 200, {{"Content-Type", "image/jpeg"}}, Body(3000, 'x')});
    for (const char* name : {"/slow1.avi", "/slow2.avi", "/slow3.avi", "/slow4.avi"}) {
        test::PageRow slow{name, 200, {{"Content-Type", "video/avi"}}, Body(400000, 's')};
        slow.mode = test::ReplyMode::Dripping;
        slow.dripChunk = 2048;
        slow.dripDelayMs = 40;
        server.Add(slow);
    }
    DownloadThroughDialog({Url("/one.jpg"), Url("/two.jpg")}, nullptr);
    ASSERT_TRUE(WaitIdle());
    DownloadThroughDialog({Url("/slow1.avi"), Url("/slow2.avi"), Url("/slow3.avi"), Url("/slow4.avi")},
                          [](wxDialog& d) { ui::Ctrl<wxSpinCtrl>(&d, "spin_threads")->SetValue(2); });
    ui::DownloadManagerWindow& window = *Center().Window();
    ASSERT_TRUE(PumpUntil([&] {
        window.RefreshNow();
        const std::vector<std::string> kb = Column(window.WaitingList(), 2);
        return kb.size() == 4 && !kb[0].empty() && kb[0] != "0" && !kb[1].empty() && kb[1] != "0";
    }));
    EXPECT_EQ(Column(window.WaitingList(), 5)[2], "Waiting...");
    // The slow files come chunked, without a length.
    EXPECT_EQ(Column(window.WaitingList(), 3)[0], "Unknown");
    EXPECT_EQ(Column(window.WaitingList(), 4)[0], "");
    EXPECT_EQ(Column(window.WaitingList(), 0)[0], Url("/slow1.avi"));
    window.SetSize(900, 520);
    PumpUntil([] { return false; }, 300ms);
    test::SaveScreenshot(window, "download_manager");

    // Nothing selected: only "Stop all downloads" is on.
    std::unique_ptr<wxMenu> menu = window.WaitingMenu();
    EXPECT_EQ(menu->GetLabelText(XRCID("mi_stop_download")), "Stop download");
    EXPECT_FALSE(menu->IsEnabled(XRCID("mi_stop_download")));
    EXPECT_TRUE(menu->IsEnabled(XRCID("mi_stop_all_downloads")));

    // "Stop download" on the first running row.
    Select(window.WaitingList(), 0);
    EXPECT_TRUE(window.WaitingMenu()->IsEnabled(XRCID("mi_stop_download")));
    window.RunMenuCommand(XRCID("mi_stop_download"));
    ASSERT_TRUE(PumpUntil([&] {
        window.RefreshNow();
        return window.Shown().finished.size() == 3;
    }));
    EXPECT_EQ(window.Shown().finished.front().url, Url("/slow1.avi"));
    EXPECT_EQ(window.Shown().finished.front().result, "Interrupted by user");
    // The next queued one took its place.
    ASSERT_TRUE(PumpUntil([&] {
        window.RefreshNow();
        return window.Shown().running == 2;
    }));

    // "Stop all downloads": the queued row at once, the running ones when
    // their workers stop.
    window.RunMenuCommand(XRCID("mi_stop_all_downloads"));
    ASSERT_TRUE(WaitIdle());
    window.RefreshNow();
    EXPECT_EQ(window.WaitingList().GetItemCount(), 0);
    EXPECT_FALSE(window.WaitingMenu()->IsEnabled(XRCID("mi_stop_all_downloads")));
    const std::vector<std::string> results = Column(window.FinishedList(), 2);
    ASSERT_EQ(results.size(), 6u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(results[i], "Interrupted by user") << i;
    EXPECT_EQ(results[4], "Finished successfully");
    EXPECT_EQ(results[5], "Finished successfully");

    // "Open file" and "Go to folder" take the finished files and skip the
    // interrupted ones.
    std::vector<std::string> opened;
    window.open = [&](const std::string& path) {
        opened.push_back(path);
        return true;
    };
    EXPECT_FALSE(window.FinishedMenu()->IsEnabled(XRCID("mi_open_file")));
    const std::vector<std::string> shownUrls = Column(window.FinishedList(), 0);
    const long one = std::find(shownUrls.begin(), shownUrls.end(), Url("/one.jpg")) - shownUrls.begin();
    Select(window.FinishedList(), 0);
    Select(window.FinishedList(), one);
    std::unique_ptr<wxMenu> finishedMenu = window.FinishedMenu();
    EXPECT_TRUE(finishedMenu->IsEnabled(XRCID("mi_open_file")));
    EXPECT_TRUE(finishedMenu->IsEnabled(XRCID("mi_go_to_folder")));
    window.RunMenuCommand(XRCID("mi_open_file"));
    window.RunMenuCommand(XRCID("mi_go_to_folder"));
    EXPECT_EQ(opened, (std::vector<std::string>{target.File("one.jpg"), target.Path()}));
}

TEST_F(Downloads, FileExistsAndAskedNamesAreAnsweredOrCancelled) {
    server.Add({"/a.jpg", 200, {{"Content-Type", "image/jpeg"}}, "new a"});
    server.Add({"/b.jpg", 200, {{"Content-Type", "image/jpeg"}}, "new b"});
    server.Add({"/c.jpg", 200, {{"Content-Type", "image/jpeg"}}, "new c"});
    server.Add({"/dir/", 200, {{"Content-Type", "image/jpeg"}}, "no name"});
    target.Write("a.jpg", "old a");
    target.Write("b.jpg", "old b");
    answer = [this](const ui::FileQuestion& q) -> std::string {
        if (q.file == "a.jpg") return target.File("a-new.jpg");
        if (q.file == "") return target.File("named.jpg");
        return "";  // b.jpg: cancelled
    };
    DownloadThroughDialog({Url("/a.jpg"), Url("/b.jpg"), Url("/c.jpg"), Url("/dir/")},
                          [](wxDialog& d) { ui::Ctrl<wxRadioButton>(&d, "rb_ask")->SetValue(true); });
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Read("a-new.jpg"), "new a");
    EXPECT_EQ(Read("a.jpg"), "old a");
    EXPECT_EQ(Read("b.jpg"), "old b");
    EXPECT_EQ(Read("c.jpg"), "new c");
    EXPECT_EQ(Read("named.jpg"), "no name");
    std::vector<std::string> questions;
    for (const ui::FileQuestion& q : asked) {
        EXPECT_TRUE(q.save);
        EXPECT_EQ(q.folder, target.Path());
        questions.push_back(q.title + "|" + q.file);
    }
    std::sort(questions.begin(), questions.end());
    EXPECT_EQ(questions, (std::vector<std::string>{"File Exists!|a.jpg", "File Exists!|b.jpg", "Save As|"}));
    // The cancelled one moved on with its last status and fetched nothing.
    const DownloadView view = Center().Manager().View();
    ASSERT_EQ(view.finished.size(), 4u);
    for (const FinishedRow& row : view.finished)
        if (row.url == Url("/b.jpg")) {
            EXPECT_EQ(row.code, 0);
        }
    EXPECT_EQ(server.Count("/b.jpg"), 0);

    // With names asked for every file, a cancelled name adds nothing.
    asked.clear();
    answer = [this](const ui::FileQuestion& q) -> std::string {
        return q.file == "c.jpg" ? target.File("c-chosen.jpg") : "";
    };
    DownloadThroughDialog({Url("/c.jpg"), Url("/a.jpg")},
                          [](wxDialog& d) { ui::Ctrl<wxCheckBox>(&d, "chk_ask_names")->SetValue(true); });
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(Read("c-chosen.jpg"), "new c");
    EXPECT_EQ(Center().Manager().View().finished.size(), 5u);
    EXPECT_EQ(settings.Get(keys::DownloadAskNames), 1);
}

// The whole program's shell: the list pages' "Download..." reaches the
// dialog, a 401 is answered in the media-search window's password dialog,
// and a download the last run left is offered and continued at start.
struct ShellDownloads : ::testing::Test {
    test::TempDir home;
    test::TempDir target;
    test::LoopbackServer services;  // the maker's server: nothing to say
    test::LoopbackServer files;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<ui::AppShell> shell;
    std::vector<ui::MessageBoxCall> boxes;

    ShellDownloads() {
        settings = std::make_unique<Settings>(test::FoldersIn(home.Path()));
        settings->WriteDefaults();
        settings->Set(keys::UpdateFirstTime, 0);
        settings->Set(keys::ProjectPath, home.Path());
        test::PointHostsAt(*settings, services);
        settings->Set(keys::DownloadDir, target.Path());
        settings->Set(keys::DownloadLastFolders, target.Path());
        ui::SetMessageBoxHook([this](const ui::MessageBoxCall& call) {
            boxes.push_back(call);
            return call.caption == "Download Manager" ? wxYES : wxOK;
        });
    }
    ~ShellDownloads() override {
        shell.reset();
        PumpUntil([] { return false; }, 50ms);
        ui::SetMessageBoxHook({});
    }
    void Open() {
        InternetOptions network;
        network.connectTimeoutMs = 5000;
        shell = std::make_unique<ui::AppShell>(*settings, network, Pacing::None());
        shell->Start({});
    }
    bool WaitIdle() {
        return PumpUntil([this] { return shell->Downloads().Manager().Idle(); });
    }
};

TEST_F(ShellDownloads, DownloadCommandAsksForCredentialsThroughTheProgramsNotifier) {
    test::PageRow locked{"/locked.jpg", 200, {{"Content-Type", "image/jpeg"}}, "behind a password"};
    locked.user = "lark";
    locked.password = "song";
    files.Add(locked);
    Open();
    ASSERT_TRUE(shell->CrawlerWindow().onDownload);
    test::WhenModal ok([](wxDialog& d) { test::Click(d, "wxID_OK"); });
    shell->CrawlerWindow().onDownload({files.Url("/locked.jpg")});
    EXPECT_TRUE(ok.Fired());
    std::string prompt;
    test::WhenModal password([&](wxDialog& d) {
        EXPECT_EQ(d.GetName(), "dlg_url_password");
        prompt = ui::Ctrl<wxStaticText>(&d, "st_prompt")->GetLabel().utf8_string();
        ui::Ctrl<wxTextCtrl>(&d, "txt_user")->SetValue("lark");
        ui::Ctrl<wxTextCtrl>(&d, "txt_password")->SetValue("song");
        d.EndModal(wxID_OK);
    });
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(password.Fired());
    EXPECT_EQ(prompt, "The url " + files.Url("/locked.jpg") + " requires a password");
    EXPECT_EQ(target.Read("locked.jpg"), "behind a password");
    ASSERT_NE(shell->Downloads().Window(), nullptr);
    shell->Downloads().Window()->RefreshNow();
    EXPECT_EQ(Column(shell->Downloads().Window()->FinishedList(), 2),
              (std::vector<std::string>{"Finished successfully"}));

    // Closed, the manager comes back from the crawler window's View menu
    // and from Ctrl+D in the media-search window, with its rows.
    for (int way = 0; way < 2; ++way) {
        shell->Downloads().Window()->Close();
        ASSERT_TRUE(PumpUntil([&] { return shell->Downloads().Window() == nullptr; }));
        if (way == 0) {
            wxCommandEvent menu(wxEVT_MENU, XRCID("mi_download_manager"));
            shell->CrawlerWindow().ProcessWindowEvent(menu);
        } else {
            wxCommandEvent keys(wxEVT_MENU, shell->SearchWindow()->DownloadsCommand());
            shell->SearchWindow()->ProcessWindowEvent(keys);
        }
        ui::DownloadManagerWindow* again = shell->Downloads().Window();
        ASSERT_NE(again, nullptr) << way;
        EXPECT_TRUE(again->IsShown());
        again->RefreshNow();
        EXPECT_EQ(again->FinishedList().GetItemCount(), 1);
    }
}

TEST_F(ShellDownloads, AnInterruptedDownloadIsOfferedAtStartAndContinuedWithARange) {
    std::string body(50000, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + (i * 7) % 26);
    test::PageRow clip{"/clip.avi", 200, {{"Content-Type", "video/avi"}}, body};
    clip.ranges = true;
    files.Add(clip);
    // What the last run left: the first 20000 bytes and the address.
    const std::string file = target.File("clip.avi");
    target.Write("clip.avi.part", body.substr(0, 20000));
    target.Write("clip.avi.part.url", files.Url("/clip.avi") + "\n");
    Open();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "1 download was interrupted when Findlark last ran. Continue now?");
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(target.Read("clip.avi"), body);
    EXPECT_FALSE(std::filesystem::exists(PartPath(file)));
    EXPECT_FALSE(std::filesystem::exists(PartNotePath(file)));
    const std::vector<test::RequestRecord> requests = files.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].range, "bytes=20000-");
}

}  // namespace
