// The "Crawl" page: both trees fed from the page trees as a crawl grows
// them, "Titles", the tree commands and the context menu.
#include "lists/PageTree.h"
#include "lists/ui/PageTreePage.h"
#include "ui/ListPagesFixture.h"
#include "ui/Screenshot.h"
#include "ui/TreeItems.h"
#include "ui/XrcSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/tglbtn.h>

using namespace flk;

namespace {

// The shown tree as indented lines, children only under expanded items
// unless `all`.
void Dump(wxTreeCtrl& tree, const wxTreeItemId& parent, int depth, bool all, std::vector<std::string>& out) {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId item = tree.GetFirstChild(parent, cookie); item.IsOk(); item = tree.GetNextChild(parent, cookie)) {
        out.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + tree.GetItemText(item).utf8_string());
        if (all || tree.IsExpanded(item)) Dump(tree, item, depth + 1, all, out);
    }
}

std::vector<std::string> Lines(wxTreeCtrl& tree, bool all = true) {
    std::vector<std::string> out;
    if (tree.GetRootItem().IsOk()) Dump(tree, tree.GetRootItem(), 0, all, out);
    return out;
}

wxTreeItemId Find(wxTreeCtrl& tree, const std::string& text) { return test::FindTreeItem(tree, text); }

void FillSite(PageTrees& trees) {
    trees.AddTreeItem("http://site.example/", "");
    trees.AddTreeItem("<<Home>>", "site.example/");
    trees.AddTreeItem("http://site.example/a.html", "site.example/");
    trees.AddTreeItem("http://site.example/b.html", "site.example/");
    trees.AddTreeItem("http://site.example/a/1.html", "site.example/a.html");
    // A page whose title arrives after its first child still shows it first.
    trees.AddTreeItem("<<Page A>>", "site.example/a.html");
}

}  // namespace

TEST(PageTreeWindow, TreeGrowsIncrementallyAndTitlesRewritesIt) {
    PageTrees trees;  // outlives the frame that shows it
    test::ListPagesFixture f;
    FillSite(trees);
    auto* page = new ui::PageTreePage(f.frame, trees, f.Services());
    f.Host(*page);
    EXPECT_EQ(page->Caption(), "Crawl");
    wxTreeCtrl& urls = page->UrlTree();
    EXPECT_TRUE(urls.IsShown());
    EXPECT_FALSE(page->TitlesTree().IsShown());
    EXPECT_EQ(Lines(urls), (std::vector<std::string>{"site.example/", "  <<Home>>", "  site.example/a.html",
                                                     "    <<Page A>>", "    site.example/a/1.html",
                                                     "  site.example/b.html"}));

    // New items go in beside the ones shown, which stay as they are.
    const wxTreeItemId a = Find(urls, "site.example/a.html");
    urls.SetItemBold(a);
    trees.AddTreeItem("http://site.example/c.html", "site.example/a.html");
    trees.AddTreeItem("http://other.example/", "nowhere.example/");  // unknown parent: a new root
    page->RefreshFromModel();
    EXPECT_TRUE(urls.IsBold(Find(urls, "site.example/a.html")));
    EXPECT_EQ(Find(urls, "site.example/c.html").IsOk(), true);
    EXPECT_EQ(urls.GetItemParent(Find(urls, "site.example/c.html")), a);
    EXPECT_EQ(urls.GetItemParent(Find(urls, "other.example/")), urls.GetRootItem());

    page->ExpandAll();
    EXPECT_TRUE(urls.IsExpanded(a));
    EXPECT_TRUE(urls.IsExpanded(Find(urls, "site.example/")));
    test::SaveScreenshot(*f.frame, "list_page_crawl_urls");
    page->CollapseAll();
    EXPECT_FALSE(urls.IsExpanded(a));
    EXPECT_EQ(Lines(urls, false), (std::vector<std::string>{"site.example/", "other.example/"}));

    // Titles: pages with children show their title or "<<No Title>>",
    // pages without children go.
    ui::Ctrl<wxToggleButton>(page, "btn_titles")->SetValue(true);
    wxCommandEvent toggle(wxEVT_TOGGLEBUTTON, XRCID("btn_titles"));
    toggle.SetInt(1);
    ui::Ctrl<wxToggleButton>(page, "btn_titles")->ProcessWindowEvent(toggle);
    test::ListPagesFixture::Settle();
    EXPECT_TRUE(page->TitlesMode());
    EXPECT_FALSE(urls.IsShown());
    wxTreeCtrl& titles = page->TitlesTree();
    EXPECT_TRUE(titles.IsShown());
    EXPECT_EQ(Lines(titles, false), (std::vector<std::string>{"<<Home>>", "  <<Page A>>"}));
    std::unique_ptr<wxMenu> menu = page->ContextMenu();
    EXPECT_FALSE(menu->IsEnabled(XRCID("mi_tree_send_location")));
    EXPECT_TRUE(menu->IsEnabled(XRCID("mi_tree_copy")));
    test::SaveScreenshot(*f.frame, "list_page_crawl_titles");

    titles.SelectItem(Find(titles, "<<Page A>>"));
    page->RunMenuCommand(XRCID("mi_tree_copy"));
    wxTextDataObject copied;
    ASSERT_TRUE(wxTheClipboard->Open());
    EXPECT_TRUE(wxTheClipboard->GetData(copied));
    wxTheClipboard->Close();
    EXPECT_EQ(copied.GetText(), "<<Page A>>");
    page->SendItemToRoot();  // a URL-tree command: nothing in titles mode
    EXPECT_EQ(f.startLocation, "");

    page->SetTitlesMode(false);
    EXPECT_TRUE(urls.IsShown());
    EXPECT_FALSE(ui::Ctrl<wxToggleButton>(page, "btn_titles")->GetValue());
    page->ClearList();
    EXPECT_TRUE(Lines(urls).empty());
    EXPECT_TRUE(trees.Empty());
    trees.AddTreeItem("http://again.example/", "");
    page->RefreshFromModel();
    EXPECT_EQ(Lines(urls), std::vector<std::string>{"again.example/"});
}

TEST(PageTreeWindow, PageCommandsUseThePageOfAnAnnotation) {
    PageTrees trees;
    test::ListPagesFixture f;
    FillSite(trees);
    auto* page = new ui::PageTreePage(f.frame, trees, f.Services());
    f.Host(*page);
    wxTreeCtrl& urls = page->UrlTree();

    // Nothing selected: the commands do nothing.
    page->SendToBrowser();
    page->SendItemToRoot();
    EXPECT_EQ(f.startLocation, "");

    urls.SelectItem(Find(urls, "<<Page A>>"));
    page->RunMenuCommand(XRCID("mi_tree_send_location"));
    EXPECT_EQ(f.startLocation, "site.example/a.html");
    page->RunMenuCommand(XRCID("mi_tree_send_browser"));
    ASSERT_EQ(f.BrowserLaunches(), std::vector<std::string>{"http://site.example/a.html"});
    page->SendToEditor();  // the Editor button: the text viewer
    page->RunMenuCommand(XRCID("mi_tree_text_viewer"));
    EXPECT_EQ(f.textViewer, (std::vector<std::string>{"http://site.example/a.html", "http://site.example/a.html"}));
    urls.SelectItem(Find(urls, "site.example/b.html"));
    page->SendItemToRoot();
    EXPECT_EQ(f.startLocation, "site.example/b.html");
}

TEST(PageTreeWindow, FiveThousandPagesArriveInTicksAndScroll) {
    PageTrees trees;
    test::ListPagesFixture f;
    auto* page = new ui::PageTreePage(f.frame, trees, f.Services());
    f.Host(*page);
    trees.AddTreeItem("http://big.example/", "");
    for (int tick = 0; tick < 10; ++tick) {
        for (int i = 0; i < 500; ++i) {
            const int n = tick * 500 + i;
            const std::string parent = n < 50 ? "big.example/" : "big.example/p" + std::to_string(n / 50 - 1);
            trees.AddTreeItem("http://big.example/p" + std::to_string(n), parent);
        }
        page->RefreshFromModel();
    }
    wxTreeCtrl& urls = page->UrlTree();
    EXPECT_EQ(urls.GetCount(), 5001u);
    page->ExpandAll();
    const wxTreeItemId last = Find(urls, "big.example/p4999");
    ASSERT_TRUE(last.IsOk());
    urls.EnsureVisible(last);
    urls.SelectItem(last);
    test::ListPagesFixture::Settle();
    EXPECT_TRUE(urls.IsVisible(last));
    test::SaveScreenshot(*f.frame, "list_page_crawl_5000");
}
