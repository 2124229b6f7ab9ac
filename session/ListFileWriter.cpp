#include "session/ListFileWriter.h"

#include "lists/MediaLists.h"
#include "lists/PageTree.h"
#include "lists/SiteMaps.h"
#include "lists/SitesList.h"
#include "platform/Paths.h"
#include "platform/TextModeFile.h"
#include "search/HitList.h"

#include <utility>

namespace flk {

std::vector<std::string> ListFileWriter::Write(const std::string& folder) {
    std::vector<std::string> written;
    auto keep = [&](const std::string& path) {
        if (!path.empty()) written.push_back(path);
    };
    for (MediaList* list : {static_cast<MediaList*>(&lists_.images), static_cast<MediaList*>(&lists_.movies),
                            static_cast<MediaList*>(&lists_.sounds)}) {
        if (list->RowCount() == 0) continue;
        keep(list->WriteLinksFile(folder));
        keep(list->WriteReportFile(folder));
    }
    if (hits_.RowCount() > 0) {
        keep(hits_.WriteHtmlList(folder));
        keep(hits_.WriteTextList(folder));
        keep(hits_.WriteReport(folder));
    }
    if (!trees_.Empty()) {
        std::string text, html;
        const bool titles = trees_.TitlesMode();
        trees_.WithShownTree([&](TreeModel& tree) {
            tree.ExpandAll();
            text = SiteMapText(tree, titles);
            html = SiteMapHtml(tree, titles);
        });
        for (const auto& [name, content] : {std::pair{kSiteMapTextFile, &text}, std::pair{kSiteMapHtmlFile, &html}})
            if (WriteTextModeFile(JoinPath(folder, name), *content)) written.push_back(JoinPath(folder, name));
        const std::string frame = WriteSiteTree(folder);
        if (!frame.empty()) {
            written.push_back(JoinPath(folder, kSiteTreeFile));
            written.push_back(frame);
        }
    }
    if (sites_.Count() > 0) {
        keep(WriteUrlsList(folder, true));
        keep(WriteUrlsList(folder, false));
    }
    return written;
}

std::string ListFileWriter::WriteSiteTree(const std::string& folder) {
    std::string applet;
    const bool titles = trees_.TitlesMode();
    trees_.WithShownAndUrlTree(
        [&](TreeModel& shown, const TreeModel& urls) { applet = SiteTreeApplet(shown, titles, urls); });
    const std::string treePath = JoinPath(folder, kSiteTreeFile);
    if (!WriteTextModeFile(treePath, applet)) return {};
    const std::string framePath = JoinPath(folder, kMainFrameFile);
    if (!WriteTextModeFile(framePath, MainFramePage(treePath, makerSite_))) return {};
    return framePath;
}

std::string ListFileWriter::WriteUrlsList(const std::string& folder, bool html) {
    const std::vector<UrlListRow> rows = UrlListRowsOf(sites_.Snapshot());
    const std::string path = JoinPath(folder, html ? kUrlsListHtmlFile : kUrlsListTextFile);
    return WriteTextModeFile(path, html ? UrlsListHtml(rows) : UrlsListText(rows)) ? path : std::string();
}

}  // namespace flk
