#pragma once
#include "crawl/CrawlView.h"
#include "lists/ListSort.h"
#include "lists/ListTable.h"
#include "lists/LockedTable.h"
#include "lists/MediaList.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

class Settings;
class SearchNowThread;

// Marker of the hit list's project block, as searched when loading.
inline constexpr std::string_view kSearchListMarker = "{[(SearchList)]}";

// What the "Searching..." dialog shows of an off-line search.
struct SearchNowProgress {
    bool running = false;
    int pagesDone = 0;
    int pageCount = 0;
    int hits = 0;
};

// The text-search hit list of the crawler window's "Search" page: one row
// per page whose text matched the query. Columns: 0 "Titles" (page title),
// 1 "Text" (the hit line), 2 "Match" (the score in decimal), 3 "Url" (the
// page address without a leading "http://").
//
// It also holds the page's query text and condition combo (profile keys
// `search`/`line` and `search`/`cond`), the keyword list made from the query,
// and the off-line search it runs over stored pages.
//
// Thread use: crawl workers and the off-line search add hits while the UI
// thread reads, sorts and exports; every public call takes the list's mutex
// for itself only. The off-line search thread is owned here and is stopped
// and joined before the list goes away, so it never outlives the list it
// fills.
class HitList : public LockedTable, public HitSink {
public:
    static constexpr std::size_t kTitles = 0, kText = 1, kMatch = 2, kUrl = 3;
    static constexpr std::size_t kColumnCount = 4;

    HitList();
    ~HitList() override;
    HitList(const HitList&) = delete;
    HitList& operator=(const HitList&) = delete;

    // Headers and widths of the list window's columns, in order.
    static std::span<const ListColumn> Columns();

    // Appends a row: title, hit line, score, and the address trimmed at its
    // start without a leading "http://" (any letter case).
    void AddHit(const TextHit& hit) override;
    void AddHit(std::string_view address, std::string_view title, int score, std::string_view line);
    void Clear();

    // The query field and the hidden condition combo ("or" or "and").
    void SetQuery(std::string query);
    std::string Query() const;
    void SetCondition(std::string_view text);  // "or" selects "or", anything else "and"
    std::string Condition() const;
    // Reads `search`/`line` and `search`/`cond` (the page opens), and writes
    // them back (the page closes).
    // Also reads `modern`/`hittext` for the HTML list.
    void LoadSettings(const Settings& settings);
    // The HTML list shows each hit line as a reader sees the page, with the
    // query's words marked; off, the stored line with "<" and ">" blanked.
    void SetReaderLines(bool on);
    void SaveSettings(Settings& settings) const;

    // Rebuilds the keyword list from the query; the hit lines of a crawl use
    // the same words (search/PageTest.h builds them from the same query).
    void BuildKeywordList();
    std::vector<std::string> Keywords() const;

    // Off-line search over `pages` with `options` (its text is the query),
    // adding every match here. False when one is still running or the
    // thread cannot start.
    bool StartSearchNow(std::vector<std::shared_ptr<const StoredPage>> pages, const SearchOptions& options);
    SearchNowProgress SearchNow() const;
    // Stops the off-line search after the page in hand and waits for it.
    void StopSearchNow();

    // Sorting (SortByHeader): "Match" by its number, the others ignoring
    // letter case. The caption reads "Titles (2 / 5)".

    // The three exports as text with "\n" line ends (the files store them
    // through a text-mode stream). The HTML and text lists hold every row,
    // the report the selected rows.
    std::string HtmlListText() const;
    std::string TextListText() const;
    std::string ReportText() const;
    // "SearchList.htm", "SearchList.txt", "SearchReport.txt" in `folder`,
    // created anew; the path, or "" when the file was not written.
    std::string WriteHtmlList(const std::string& folder) const;
    std::string WriteTextList(const std::string& folder) const;
    std::string WriteReport(const std::string& folder) const;

    // "\r\n\r\n{[(SearchList)]}" + four cells per row.
    std::string SaveBlock() const;
    // Replaces the rows with the block of a project text; false (rows
    // unchanged) when the text has none.
    bool LoadBlock(std::string_view projectText);

    // The address to open for a Url cell: a local path becomes a "file:"
    // address, a text without a scheme gets "http://".
    static std::string LinkTarget(std::string_view address);
    std::string RowLinkTarget(std::size_t row) const;

protected:
    int CompareColumn(const ListRow& a, const ListRow& b, int column) const override;

private:
    std::string query_;
    std::string condition_ = "and";
    std::vector<std::string> keywords_;
    bool readerLines_ = false;

    // Never held while the list's mutex is: the search thread takes that one
    // in AddHit, and StopSearchNow joins the thread under this one.
    mutable std::mutex searchMu_;
    std::unique_ptr<SearchNowThread> search_;
};

}  // namespace flk
