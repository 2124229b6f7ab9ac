// The tab pages of the crawler window and what they get of it.
#include "lists/ui/MediaListPage.h"
#include "platform/TextUtil.h"
#include "lists/ui/PageTreePage.h"
#include "search/ui/HitListPage.h"
#include "session/ui/CrawlerWindow.h"

namespace flk::ui {

ListPage* CCrawlerDlg::CreatePage(CrawlerTab tab, wxWindow* parent) {
    ListPageServices services(ctx_.settings);
    services.picker = picker_.get();
    services.setStartLocation = [this](const std::string& location) { UseOneSite(location); };
    services.projectFolder = [this] { return session_->Project().folder; };
    services.writeResultPages = [this] { return session_->WriteResultPages(TrimCopy(Location())); };
    services.download = [this](const std::vector<std::string>& urls) {
        if (onDownload) onDownload(urls);
    };
    services.showTextViewer = [this](const std::string& address) {
        if (onTextViewer) onTextViewer(address);
    };
    services.storedPages = [this] { return session_->StoredPages().Snapshot(); };
    MediaLists& lists = session_->Lists();
    switch (tab) {
    case CrawlerTab::Search:
        return new HitListPage(parent, session_->Hits(), services);
    case CrawlerTab::Crawl:
        return new PageTreePage(parent, session_->Trees(), services);
    case CrawlerTab::Images:
        return new MediaListPage(parent, lists.images, services);
    case CrawlerTab::Sounds:
        return new MediaListPage(parent, lists.sounds, services);
    case CrawlerTab::Movies:
        return new MediaListPage(parent, lists.movies, services);
    }
    return nullptr;
}

}  // namespace flk::ui
