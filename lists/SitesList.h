#pragma once
#include "lists/ListTable.h"

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// The start locations of a crawl of several sites ("Domains list"): the
// rows "Url's", "Title" and "Words found", one per address, stored without
// a leading "http://". Site checks write into it from their threads, so
// every member takes the list's lock.
class SitesList {
public:
    static constexpr const char* kHistoryFile = "DomainsHistory.txt";
    static constexpr const char* kTitle = "Url's";
    enum Column { kUrl = 0, kPageTitle = 1, kWordsFound = 2 };

    SitesList() : table_(3) {}

    // Replaces the rows with the ";"-terminated entries of a sites string;
    // text after the last ";" is not an entry. Leading white space and a
    // leading "http://" (any case) go; an entry already listed is skipped.
    void Fill(std::string_view sites);
    // "Add site": the typed text trimmed, without "http://" unless it is a
    // local path; false when empty or already listed.
    bool Add(std::string_view typed);
    void Remove(const std::vector<std::size_t>& rows);
    void RemoveAll();
    // A site check's answer, for the first row whose address equals it
    // (letter case ignored); an address without a row is ignored.
    void SetCheckResult(std::string_view address, const std::string& title, int wordsFound);

    // Every address followed by ";": the crawl's start string.
    std::string Joined() const;
    std::vector<std::string> Addresses() const;
    ListTable Snapshot() const;
    std::size_t Count() const;
    // Header of column 0: "Url's (selected / rows)".
    std::string Caption() const;
    void SetSelected(std::size_t row, bool selected);
    void SelectAll();
    void InvertSelection();
    // Selects the rows whose address holds a piece of the pattern.
    void SelectByPattern(std::string_view pattern);
    std::vector<std::size_t> SelectedRows() const;
    // Grows on every change, so a window knows when to repaint.
    std::uint64_t Revision() const;

private:
    void AppendLocked(std::string address);
    mutable std::mutex lock_;
    ListTable table_;
    std::set<std::string> listed_;  // compared with letter case, as typed
    std::uint64_t revision_ = 0;
};

// Without leading white space and a leading "http://" (any case).
std::string SiteAddressForList(std::string_view entry);
// The address a site check fetches: "http://" in front unless it has a
// scheme or is a local path.
std::string SiteAddressToFetch(std::string_view entry);
// "Load...": a page (".htm", ".html") gives the addresses it links to, any
// other file its text; the result is a sites string for Fill.
std::string SitesFromFile(const std::string& fileName, const std::string& content);

}  // namespace flk
