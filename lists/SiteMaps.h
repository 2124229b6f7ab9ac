#pragma once
#include "lists/ListTable.h"
#include "lists/PageTree.h"

#include <string>
#include <vector>

namespace flk {

// The texts of the site maps and URL lists written into the project folder.
// Each builder returns the text as the file holds it before the text-mode
// byte form (WriteTextModeFile adds the CR before every LF).

// "SiteMap.txt": the shown items, indented by seven spaces per level. A line
// deeper than 64 levels is not indented but starts with its level ("[65] ").
std::string SiteMapText(const TreeModel& tree, bool titlesMode);
// "SiteMap.html": the same walk as links; indentation in the background
// colour, deep lines with their level as in the text map.
std::string SiteMapHtml(const TreeModel& tree, bool titlesMode);
// "SiteTree.htm": the applet page. The tree is expanded completely first.
// In titles mode each record carries the page address of its title, taken
// from the URL tree.
std::string SiteTreeApplet(TreeModel& tree, bool titlesMode, const TreeModel& urlTree);
// "MainFrame.html": the frameset around the applet page.
std::string MainFramePage(const std::string& siteTreePath, const std::string& makerSite);

// One row of the crawler's URL list.
struct UrlListRow {
    std::string url;
    std::string title;
    std::string match;
};
std::string UrlsListHtml(const std::vector<UrlListRow>& rows);  // "URLsList.htm"
std::string UrlsListText(const std::vector<UrlListRow>& rows);  // "URLsList.txt"
// The rows of a list whose columns are address, title and match (the sites
// list): all of them, or only the selected ones (what "Send to" writes).
enum class UrlRows { All, Selected };
std::vector<UrlListRow> UrlListRowsOf(const ListTable& table, UrlRows which = UrlRows::All);
// The start-locations page of the sites list.
std::string StartLocationsPage(const std::vector<std::string>& locations);

// The link target of a list address: a local file with "\" becomes a
// "file:////" address, one in "/" form a "file:///" address (FileAddress,
// list page form), anything without a scheme gets "http://".
std::string ListLinkTarget(const std::string& url);

inline constexpr char kSiteMapTextFile[] = "SiteMap.txt";
inline constexpr char kSiteMapHtmlFile[] = "SiteMap.html";
inline constexpr char kSiteTreeFile[] = "SiteTree.htm";
inline constexpr char kMainFrameFile[] = "MainFrame.html";
inline constexpr char kUrlsListHtmlFile[] = "URLsList.htm";
inline constexpr char kUrlsListTextFile[] = "URLsList.txt";

}  // namespace flk
