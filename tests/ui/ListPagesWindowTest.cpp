// The Images, Sounds, Movies and Search pages of the crawler window, hosted
// in a frame over real lists, driven with synthesised events and real mouse
// clicks; launches go to recording scripts.
#include "lists/MediaLists.h"
#include "lists/ui/MediaListPage.h"
#include "search/HitList.h"
#include "search/ui/HitListPage.h"
#include "ui/Clipboard.h"
#include "ui/ListPagesFixture.h"
#include "ui/MessageBox.h"
#include "ui/Screenshot.h"
#include "ui/UiDriver.h"
#include "ui/XrcSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

using namespace flk;

namespace {

MediaItem Image(const std::string& url, const std::string& alt = "", const std::string& w = "",
                const std::string& h = "") {
    return MediaItem{url, alt + ";;;" + w + ";;;" + h, "Page title", "http://site.example/page.html", 1};
}

std::string Header(wxListCtrl& list, int column) {
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT);
    list.GetColumn(column, item);
    return item.GetText().utf8_string();
}

void ClickHeader(wxListCtrl& list, int column) {
    wxListEvent e(wxEVT_LIST_COL_CLICK, list.GetId());
    e.SetEventObject(&list);
    e.SetColumn(column);
    list.GetEventHandler()->ProcessEvent(e);
    test::ListPagesFixture::Settle();
}

void Activate(wxListCtrl& list, long row) {
    wxListEvent e(wxEVT_LIST_ITEM_ACTIVATED, list.GetId());
    e.SetEventObject(&list);
    e.SetIndex(row);
    list.GetEventHandler()->ProcessEvent(e);
}

// Runs events until `done` holds or two seconds passed: real input passes
// through the X server, which is slow on a loaded machine.
template <typename F>
bool SettleUntil(F done) {
    for (int i = 0; i < 100 && !done(); ++i) {
        test::ListPagesFixture::Settle();
        wxMilliSleep(20);
    }
    return done();
}

// A click of the mouse on a row, as the user makes it; returns once the
// list has seen it.
void ClickRow(wxListCtrl& list, long row, bool ctrl = false, bool twice = false) {
    list.EnsureVisible(row);
    ASSERT_TRUE(SettleUntil([&] { return list.IsShownOnScreen(); }));
    wxRect rect;
    ASSERT_TRUE(list.GetItemRect(row, rect));
    const wxPoint target = list.ClientToScreen(wxPoint(rect.x + 20, rect.y + rect.height / 2));
    wxUIActionSimulator sim;
    sim.MouseMove(target);
    SettleUntil([&] { return wxGetMousePosition() == target; });
    const bool wasSelected = list.GetItemState(row, wxLIST_STATE_SELECTED) != 0;
    struct Watcher {
        bool clicked = false;
        void On(wxListEvent& e) {
            clicked = true;
            e.Skip();
        }
    } watcher;
    const wxEventTypeTag<wxListEvent> kinds[] = {wxEVT_LIST_ITEM_SELECTED, wxEVT_LIST_ITEM_DESELECTED,
                                                 wxEVT_LIST_ITEM_FOCUSED};
    for (const auto& kind : kinds) list.Bind(kind, &Watcher::On, &watcher);
    if (ctrl) sim.KeyDown(WXK_CONTROL);
    if (twice)
        sim.MouseDblClick();
    else
        sim.MouseClick();
    if (ctrl) sim.KeyUp(WXK_CONTROL);
    SettleUntil([&] {
        return watcher.clicked || (list.GetItemState(row, wxLIST_STATE_SELECTED) != 0) != wasSelected;
    });
    test::ListPagesFixture::Settle();
    for (const auto& kind : kinds) list.Unbind(kind, &Watcher::On, &watcher);
}

std::vector<std::string> Column(wxListCtrl& list, int column) {
    std::vector<std::string> out;
    for (long i = 0; i < list.GetItemCount(); ++i) out.push_back(list.GetItemText(i, column).utf8_string());
    return out;
}

struct MessageRecorder {
    MessageRecorder() {
        ui::SetMessageBoxHook([this](const ui::MessageBoxCall& call) {
            texts.push_back(call.text);
            return wxOK;
        });
    }
    ~MessageRecorder() { ui::SetMessageBoxHook({}); }
    std::vector<std::string> texts;
};

}  // namespace

TEST(ListPagesWindow, ImagesPageShowsTheModelSortsByHeaderAndFollowsTheSelection) {
    MediaLists lists;  // outlives the frame that shows it
    test::ListPagesFixture f;
    lists.AddImage(Image("http://a.example/pics/b.png", "bee", "10", "30"));
    lists.AddImage(Image("http://a.example/c.jpg", "", "100", "100"));
    lists.AddImage(Image("http://a.example/pics/a.gif", "ant", "5", "5"));
    auto* page = new ui::MediaListPage(f.frame, lists.images, f.Services());
    f.Host(*page);
    wxListCtrl& list = page->View();
    EXPECT_EQ(page->Caption(), "Images");
    ASSERT_EQ(list.GetColumnCount(), 9);
    EXPECT_EQ(Header(list, 0), "Images (0 / 3)");
    EXPECT_EQ(Header(list, 1), "Location");
    EXPECT_EQ(Header(list, 7), "Size (KB)");
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"b.png", "c.jpg", "a.gif"}));
    EXPECT_EQ(list.GetItemText(1, 2), "http://a.example/c.jpg");  // no alt: the address

    // Rows found later and sizes from the checker show on the next tick.
    lists.AddImage(Image("http://a.example/d.bmp", "dog", "1", "1"));
    lists.images.SetItemSize("http://a.example/c.jpg", 2048);
    EXPECT_EQ(list.GetItemCount(), 3);
    page->RefreshFromModel();
    EXPECT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(list.GetItemText(1, 7), "2.00 KB");

    ClickHeader(list, 0);  // first click on the current column: A to Z
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"a.gif", "b.png", "c.jpg", "d.bmp"}));
    ClickHeader(list, 0);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"d.bmp", "c.jpg", "b.png", "a.gif"}));
    ClickHeader(list, 3);  // width, as numbers, largest first
    EXPECT_EQ(Column(list, 3), (std::vector<std::string>{"100", "10", "5", "1"}));

    ClickRow(list, 1);
    EXPECT_TRUE(lists.images.IsSelected(1));
    EXPECT_EQ(Header(list, 0), "Images (1 / 4)");
    list.SetItemState(3, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);  // as a Ctrl+click adds it
    list.SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    page->View().TakeSelection();
    page->RefreshFromModel();
    EXPECT_TRUE(lists.images.IsSelected(1));
    EXPECT_TRUE(lists.images.IsSelected(3));
    EXPECT_EQ(Header(list, 0), "Images (2 / 4)");
    // The selection travels with its rows through a sort.
    ClickHeader(list, 3);
    EXPECT_EQ(Column(list, 3), (std::vector<std::string>{"1", "5", "10", "100"}));
    EXPECT_TRUE(lists.images.IsSelected(0) && lists.images.IsSelected(2));
    EXPECT_NE(list.GetItemState(0, wxLIST_STATE_SELECTED), 0);
    EXPECT_NE(list.GetItemState(2, wxLIST_STATE_SELECTED), 0);
    EXPECT_EQ(list.GetItemState(1, wxLIST_STATE_SELECTED), 0);

    // A selection the model makes (the media-search window selects the
    // valid rows) reaches the view.
    lists.images.SelectAll();
    page->RefreshFromModel();
    EXPECT_EQ(list.GetSelectedItemCount(), 4);
    test::SaveScreenshot(*f.frame, "list_page_images");
}

TEST(ListPagesWindow, FiveThousandRowsScrollSortAndSelectAll) {
    MediaLists lists;  // outlives the frame that shows it
    test::ListPagesFixture f;
    for (int i = 0; i < 5000; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "http://big.example/d%d/img%05d.jpg", i % 7, (i * 7919) % 5000);
        lists.AddImage(Image(name, "", std::to_string(i % 300), "10"));
    }
    auto* page = new ui::MediaListPage(f.frame, lists.images, f.Services());
    f.Host(*page);
    wxListCtrl& list = page->View();
    ASSERT_EQ(list.GetItemCount(), 5000);
    list.EnsureVisible(4999);
    test::ListPagesFixture::Settle();
    EXPECT_GT(list.GetTopItem(), 4900);
    EXPECT_EQ(list.GetItemText(4999, 0).utf8_string(), lists.images.Cell(4999, 0));

    ClickHeader(list, 0);
    const std::vector<std::string> names = Column(list, 0);
    EXPECT_EQ(names.front(), "img00000.jpg");
    EXPECT_EQ(names.back(), "img04999.jpg");
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));

    page->SelectAll();
    EXPECT_EQ(list.GetSelectedItemCount(), 5000);
    EXPECT_EQ(Header(list, 0), "Images (5000 / 5000)");
    // One click leaves that row alone selected. On a loaded display a
    // synthesised click can be lost; clicking the same row again is the same
    // click, so it is repeated a few times before the test gives up.
    const long row = list.GetTopItem() + 2;
    for (int i = 0; i < 5 && Header(list, 0) != "Images (1 / 5000)"; ++i) {
        ClickRow(list, row);
        test::ListPagesFixture::Settle();
    }
    EXPECT_EQ(Header(list, 0), "Images (1 / 5000)");
    page->InvertSelection();
    EXPECT_EQ(list.GetSelectedItemCount(), 4999);
    test::SaveScreenshot(*f.frame, "list_page_images_5000");
}

TEST(ListPagesWindow, MediaCommandsWriteTheirFilesAndLaunch) {
    MediaLists lists;  // outlives the frame that shows it
    test::ListPagesFixture f;
    lists.AddMovie({"http://v.example/clips/one.mpg", "watch", "Clips", "http://v.example/", 1});
    lists.AddMovie({"http://v.example/two.avi", "", "Clips", "http://v.example/", 1});
    auto* page = new ui::MediaListPage(f.frame, lists.movies, f.Services());
    f.Host(*page);
    wxListCtrl& list = page->View();
    EXPECT_EQ(Header(list, 0), "Movies (0 / 2)");
    EXPECT_EQ(Header(list, 4), "Size (Bytes)");

    // Movies have no "Visual size"; the sort mode shows as a check.
    std::unique_ptr<wxMenu> menu = page->ContextMenu();
    EXPECT_EQ(menu->FindItem(XRCID("mi_sort_visual_size")), nullptr);
    EXPECT_TRUE(menu->IsChecked(XRCID("mi_sort_name")));
    page->RunMenuCommand(XRCID("mi_sort_extension"));
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"two.avi", "one.mpg"}));
    menu = page->ContextMenu();
    EXPECT_TRUE(menu->IsChecked(XRCID("mi_sort_extension")));
    EXPECT_FALSE(menu->IsChecked(XRCID("mi_sort_name")));

    page->RunMenuCommand(XRCID("mi_select_all"));
    page->RunMenuCommand(XRCID("mi_send_editor"));
    ASSERT_EQ(f.EditorLaunches(), std::vector<std::string>{f.dir.File("MovieLinks.txt")});
    EXPECT_EQ(f.dir.Read("MovieLinks.txt"), "Movies:\r\r\n=======\r\r\nv.example/two.avi\r\r\nv.example/clips/one.mpg\r\r\n");
    page->RunMenuCommand(XRCID("mi_send_spread_sheet"));
    ASSERT_EQ(f.EditorLaunches(2).size(), 2u);
    EXPECT_EQ(f.EditorLaunches(2)[1], f.dir.File("MoviesReport.txt"));

    f.resultPage = f.dir.File("VideoFrame2.htm");
    page->RunMenuCommand(XRCID("mi_send_browser"));
    EXPECT_EQ(f.resultPagesWritten, 1);
    ASSERT_EQ(f.BrowserLaunches(), std::vector<std::string>{f.resultPage});

    page->RunMenuCommand(XRCID("mi_download"));
    EXPECT_EQ(f.downloads, (std::vector<std::string>{"http://v.example/two.avi", "http://v.example/clips/one.mpg"}));

    // A double click opens that row's address.
    page->RunMenuCommand(XRCID("mi_invert_selection"));
    EXPECT_EQ(list.GetSelectedItemCount(), 0);
    Activate(list, 1);
    ASSERT_EQ(f.BrowserLaunches(2).size(), 2u);
    EXPECT_EQ(f.BrowserLaunches(2)[1], "http://v.example/clips/one.mpg");
    EXPECT_TRUE(lists.movies.IsSelected(1));

    // "Filter..." selects the rows whose name holds every piece.
    test::WhenModal filter([](wxDialog& d) {
        ui::Ctrl<wxTextCtrl>(&d, "txt_pattern")->SetValue("t*avi");
        d.EndModal(wxID_OK);
    });
    page->RunMenuCommand(XRCID("mi_filter"));
    EXPECT_TRUE(filter.Fired());
    EXPECT_TRUE(lists.movies.IsSelected(0));
    EXPECT_FALSE(lists.movies.IsSelected(1));
    EXPECT_EQ(Header(list, 0), "Movies (1 / 2)");

    page->RunMenuCommand(XRCID("mi_copy"));
    wxTextDataObject copied;
    ASSERT_TRUE(wxTheClipboard->Open());
    EXPECT_TRUE(wxTheClipboard->GetData(copied));
    wxTheClipboard->Close();
    EXPECT_EQ(copied.GetText(), "v.example/two.avi\r\n");

    page->ClearList();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(Header(list, 0), "Movies (0 / 0)");
    test::SaveScreenshot(*f.frame, "list_page_movies");
}

TEST(ListPagesWindow, SoundsPageCaptionsAndEditorFailure) {
    MediaLists lists;  // outlives the frame that shows it
    test::ListPagesFixture f;
    lists.AddSound({"ftp://s.example/a.mp3", "tune", "Songs", "http://s.example/", 1});
    auto* page = new ui::MediaListPage(f.frame, lists.sounds, f.Services());
    f.Host(*page);
    EXPECT_EQ(page->Caption(), "Sounds");
    EXPECT_EQ(Header(page->View(), 0), "Sounds (0 / 1)");
    EXPECT_EQ(Header(page->View(), 1), "Path");
    test::SaveScreenshot(*f.frame, "list_page_sounds");

    // A project folder that cannot be written is said so, nothing starts.
    MessageRecorder messages;
    ui::ListPageServices services = f.Services();
    services.projectFolder = [] { return std::string("/nonexistent/folder"); };
    auto* second = new ui::MediaListPage(f.frame, lists.sounds, services);
    second->SendToEditor();
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], "Could not write SoundLinks.txt");
    EXPECT_TRUE(f.EditorLaunches(0).empty());
}

namespace {
struct BrokenClipboard : wxClipboard {
    bool opens = true;
    bool Open() override { return opens && wxClipboard::Open(); }
    bool SetData(wxDataObject* data) override {
        delete data;
        return false;
    }
};
}  // namespace

TEST(ListPagesWindow, ClipboardFailuresAreReported) {
    MessageRecorder messages;
    BrokenClipboard clipboard;
    EXPECT_FALSE(ui::CopyToClipboard(nullptr, "", clipboard));  // nothing to copy: no message
    EXPECT_FALSE(ui::CopyToClipboard(nullptr, "x", clipboard));
    clipboard.opens = false;
    EXPECT_FALSE(ui::CopyToClipboard(nullptr, "x", clipboard));
    EXPECT_FALSE(clipboard.IsOpened());
    EXPECT_EQ(messages.texts, (std::vector<std::string>{"Unable to set Clipboard data", "Cannot open the Clipboard"}));
    EXPECT_TRUE(ui::CopyToClipboard(nullptr, "fine"));
    EXPECT_EQ(messages.texts.size(), 2u);
}

TEST(ListPagesWindow, SearchPageKeepsItsQueryRunsSearchNowAndWritesReports) {
    HitList hits;  // outlives the frame that shows it
    test::ListPagesFixture f;
    f.settings.Set(keys::SearchLine, "cats");
    f.settings.Set(keys::SearchCond, "or");
    f.stored = {
        std::make_shared<StoredPage>(StoredPage{"http://p.example/1", "One", 1, "<title>One</title>cats and dogs"}),
        std::make_shared<StoredPage>(StoredPage{"http://p.example/2", "Two", 1, "<title>Two</title>only birds"}),
        std::make_shared<StoredPage>(StoredPage{"HTTP://p.example/3", "Three", 1, "<title>Three</title>big cats"}),
    };
    {
        auto* page = new ui::HitListPage(f.frame, hits, f.Services());
        f.Host(*page);
        EXPECT_EQ(page->Caption(), "Search");
        auto* query = ui::Ctrl<wxTextCtrl>(page, "txt_query");
        EXPECT_EQ(query->GetValue(), "cats");
        EXPECT_EQ(hits.Condition(), "or");
        EXPECT_FALSE(ui::Ctrl<wxWindow>(page, "btn_reverse_text")->IsShown());
        EXPECT_FALSE(ui::Ctrl<wxWindow>(page, "cho_condition")->IsShown());
        EXPECT_FALSE(ui::Ctrl<wxWindow>(page, "chk_matched_pages_only")->IsShown());
        wxListCtrl& list = page->View();
        EXPECT_EQ(Header(list, 0), "Titles (0 / 0)");
        EXPECT_EQ(Header(list, 3), "Url");

        ui::Ctrl<wxCheckBox>(page, "chk_whole_words")->SetValue(true);
        ui::Ctrl<wxCheckBox>(page, "chk_offline_search")->SetValue(true);
        const SearchOptions options = page->Options();
        EXPECT_EQ(options.text, "cats");
        EXPECT_TRUE(options.wholeWords && options.offlineSearch);
        EXPECT_FALSE(options.matchCase || options.titlesOnly || options.textOnly);
        ui::Ctrl<wxCheckBox>(page, "chk_whole_words")->SetValue(false);

        // The dialog closes by itself when the stored pages are searched.
        test::Click(*page, "btn_search_now");
        EXPECT_EQ(list.GetItemCount(), 2);
        EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"One", "Three"}));
        EXPECT_EQ(Column(list, 3), (std::vector<std::string>{"p.example/1", "p.example/3"}));
        EXPECT_EQ(Header(list, 0), "Titles (0 / 2)");

        ClickHeader(list, 0);
        ClickHeader(list, 0);
        EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"Three", "One"}));

        page->SendToBrowser();
        ASSERT_EQ(f.BrowserLaunches(), std::vector<std::string>{f.dir.File("SearchList.htm")});
        EXPECT_NE(f.dir.Read("SearchList.htm").find("2 URL's matches the query: \"cats\""), std::string::npos);
        page->SendToEditor();
        ASSERT_EQ(f.EditorLaunches(), std::vector<std::string>{f.dir.File("SearchList.txt")});
        // A loaded display can lose a synthesised click; repeat it a few times.
        for (int i = 0; i < 5 && Header(list, 0) != "Titles (1 / 2)"; ++i) {
            ClickRow(list, 0);
            test::ListPagesFixture::Settle();
        }
        ASSERT_EQ(Header(list, 0), "Titles (1 / 2)");
        page->RunMenuCommand(XRCID("mi_hit_send_spread_sheet"));
        ASSERT_EQ(f.EditorLaunches(2).size(), 2u);
        EXPECT_EQ(f.dir.Read("SearchReport.txt").rfind("Three", 0), 0u);
        Activate(list, 1);
        ASSERT_EQ(f.BrowserLaunches(2).size(), 2u);
        EXPECT_EQ(f.BrowserLaunches(2)[1], "http://p.example/1");

        page->RunMenuCommand(XRCID("mi_hit_select_all"));
        EXPECT_EQ(Header(list, 0), "Titles (2 / 2)");
        test::SaveScreenshot(*f.frame, "list_page_search");

        query->SetValue("birds");
        EXPECT_EQ(hits.Query(), "birds");
        EXPECT_EQ(hits.Keywords(), std::vector<std::string>{"birds"});
        page->ClearList();
        EXPECT_EQ(list.GetItemCount(), 0);
        delete page;  // the page writes its query back as it goes
    }
    EXPECT_EQ(f.settings.Get(keys::SearchLine), "birds");
    EXPECT_EQ(f.settings.Get(keys::SearchCond), "or");
}
