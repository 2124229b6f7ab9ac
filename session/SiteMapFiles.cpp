#include "session/SiteMapFiles.h"

#include "lists/PageTree.h"
#include "lists/SiteMaps.h"
#include "platform/Paths.h"
#include "platform/TextModeFile.h"

namespace flk {

std::string WriteSiteMap(PageTrees& trees, const std::string& folder, SiteMapKind kind, const std::string& makerSite) {
    const bool titles = trees.TitlesMode();
    std::string text;
    const char* name = nullptr;
    switch (kind) {
    case SiteMapKind::Html:
        name = kSiteMapHtmlFile;
        trees.WithShownTree([&](TreeModel& tree) { text = SiteMapHtml(tree, titles); });
        break;
    case SiteMapKind::Text:
        name = kSiteMapTextFile;
        trees.WithShownTree([&](TreeModel& tree) { text = SiteMapText(tree, titles); });
        break;
    case SiteMapKind::JavaTree: {
        // One lock for both trees: the titles walk reads a copy of the URL tree.
        TreeModel urls;
        trees.WithUrlTree([&](TreeModel& tree) { urls = tree; });
        trees.WithShownTree([&](TreeModel& tree) { text = SiteTreeApplet(tree, titles, urls); });
        const std::string applet = JoinPath(folder, kSiteTreeFile);
        if (!WriteTextModeFile(applet, text)) return "";
        const std::string frame = JoinPath(folder, kMainFrameFile);
        return WriteTextModeFile(frame, MainFramePage(applet, makerSite)) ? frame : "";
    }
    }
    const std::string path = JoinPath(folder, name);
    return WriteTextModeFile(path, text) ? path : "";
}

}  // namespace flk
