#pragma once
#include "lists/ListSort.h"
#include "lists/ListTable.h"
#include "lists/LockedTable.h"
#include "lists/MediaCheck.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace flk {

class Clipboard;
class Notifier;

// A column of a list window as created: header text and width in dialog
// units.
struct ListColumn {
    std::string_view header;
    int width;
};

// The fixed facts that tell the three media lists apart.
struct MediaListLayout {
    std::string_view title;        // "Images": caption title and first header
    const ListColumn* columns;
    std::size_t columnCount;
    std::size_t sizeColumn;        // where the size check writes
    std::size_t blockColumns;      // cells per row in the project file
    std::string_view reportColumns;  // "1,0,2,3,4,5,6"
    std::string_view linksFile;    // "ImageLinks.txt"
    std::string_view linksHeading;  // "Images:"
    std::string_view reportFile;   // "ImagesReport.txt"
    std::string_view blockMarker;  // "{[(ImagesList)]}" as searched when loading
    int countCode;                 // notify::ImagesCount...
};

// Told after every change of a list's rows (the crawler window adds a list's
// tab when it gets its first row). Called on the changing thread, with no
// list lock held.
class ListsChangedListener {
public:
    virtual ~ListsChangedListener() = default;
    virtual void ListsChanged() = 0;
};

// What the media checker learnt of a row beyond its size, and the other
// addresses the same content was found under.
struct MediaFacts {
    long long bytes = 0;  // the checked size; 0 unknown
    std::string contentType;
    long width = 0;  // from the file's header; 0 unknown
    long height = 0;
    std::string sha256;
    std::string fingerprint;
    std::vector<std::string> duplicates;  // in the form the list keeps addresses
};

// A medium as any of the three lists can hold it, to move a row between
// them when its content type names another kind than its extension did.
struct ListedMedium {
    std::string url;  // with its scheme
    std::string pageUrl;
    std::string pageTitle;
    std::string linkText;
    std::string alt;  // images only
    std::string width;
    std::string height;
};

// Column 0 ("Name") or the text after its last "." ("Extention").
enum class NameSortMode { Name, Extension };

// What the images, movies and sounds lists share: the locked table and its
// dedupe set, size feedback, the size rule, counts and their
// notifications, sorting, selection, the exports and the project block.
//
// Thread use: crawl workers add rows and checker threads set sizes while the
// UI thread reads and sorts; every public call takes the list's mutex for
// itself only. Notifications, the checker and the listener are called after
// the mutex is released, so a receiver may call back into the list.
class MediaList : public LockedTable {
public:
    const MediaListLayout& Layout() const { return layout_; }

    // Each may be null; set them before workers use the list.
    void SetNotifier(Notifier* notifier) { notifier_ = notifier; }
    void SetChecker(MediaCheckQueue* checker) { checker_ = checker; }
    void SetListener(ListsChangedListener* listener) { listener_ = listener; }

    // Writes FormatSize(size) into the size column of the first row whose
    // column 1 + column 0 equals the trimmed address, then sends the count
    // notification. False when no row has that address.
    bool SetItemSize(std::string_view url, long long size);

    // A finished check: the size as SetItemSize writes it, and what else the
    // checker found (ApplyFacts). With duplicates found, a row whose content
    // matches a row checked before is removed and its address kept with that
    // row. False when no row has the address.
    bool ApplyCheck(const MediaCheckResult& result);
    // Same content: both whole-body hashes equal, or, where either is
    // missing, both fingerprints.
    static bool SameContent(const MediaFacts& a, const MediaFacts& b);
    void SetFindDuplicates(bool on) { findDuplicates_.store(on); }

    // What the checker found of a row ({} before its check).
    MediaFacts Facts(std::size_t row) const;
    // The row as a medium ({} for a row out of range).
    ListedMedium Medium(std::size_t row) const;
    // Removes the row of the address and gives back what it held.
    std::optional<ListedMedium> TakeRow(std::string_view url);
    // Adds a medium whose check is done: no check is queued, and the
    // result applies at once (a medium found by its content type lands here).
    virtual bool AddChecked(const ListedMedium& medium, const MediaCheckResult& result) = 0;

    // The number of rows that pass the size rule.
    int CountValidItems() const;
    // Selects exactly the rows that pass the size rule.
    void SelectValidItems();

    // Deletes every row and forgets the addresses seen.
    void Clear();

    // Sorting. A header click (SortByHeader) sorts by that column; the
    // "Sort by" commands sort by column 0 by name or by extension (the mode
    // stays for later sorts on column 0).
    void SortByName();
    void SortByExtension();
    NameSortMode SortMode() const;

    // Text of "Copy": the address of every selected row, one per line.
    std::string ClipboardText() const;
    // "Copy": that text onto the clipboard; the message to show when it
    // failed, "" otherwise.
    std::string CopyToClipboard(Clipboard& clipboard) const;
    // Links file and spread sheet report of the selected rows, as text with
    // "\n" line ends; the Write functions store them in `folder` through a
    // text-mode stream and return the file's path ("" when not written).
    std::string LinksText() const;
    std::string ReportText() const;
    std::string WriteLinksFile(const std::string& folder) const;
    std::string WriteReportFile(const std::string& folder) const;

    // The list's project block: "\r\n\r\n" + marker + cells.
    std::string SaveBlock() const;
    // Replaces the rows with the list's block of a project text and rebuilds
    // the dedupe set. False (rows unchanged) when the text has no block.
    bool LoadBlock(std::string_view projectText);

    // The address to open or download for a row: the folder trimmed, with
    // "http://" in front when it has no scheme and is not a local path, then
    // the file name.
    std::string RowUrl(std::size_t row) const;
    std::vector<std::string> SelectedUrls() const;

protected:
    explicit MediaList(const MediaListLayout& layout);

    // Under the lock: appends a row unless `key` was seen; false for a
    // duplicate. cells[i] goes to column i.
    bool AppendRowLocked(const std::string& key, std::vector<std::string> cells);

    // After an add, without the lock: tells the listener, then queues a check
    // (when url is not empty and a checker exists).
    void AfterAdd(const std::string& checkUrl, MediaCheckKind kind);
    // Sends the count notification (code 51 + kind, count | 100 << 16).
    // Counts go out in the order they were read, one thread delivering at a
    // time: checks finishing on several threads at once would otherwise
    // deliver theirs in any order and leave an old count shown last. A call
    // made while another thread delivers leaves its count to that thread.
    void SendCount();

    // After the size of a checked row is written, under the lock: what the
    // list does with the rest of the result; false removes the row.
    virtual bool ApplyFacts(ListRow& row, const MediaCheckResult& result);
    // The row as a medium; under the lock.
    virtual ListedMedium RowMedium(const ListRow& row) const = 0;
    bool HasChecker() const { return checker_.load() != nullptr; }

    // The size rule for one row; called under the lock.
    virtual bool PassesSizeRule(const ListRow& row) const = 0;
    // The address form SetItemSize looks rows up by.
    virtual std::string SizeKey(std::string_view url) const;
    // Three-way order of two rows on a column, before the direction applies.
    // Column 0 follows the name mode; the size column orders by the size it
    // shows; everything else case-insensitively.
    int CompareColumn(const ListRow& a, const ListRow& b, int column) const override;

    // The size as the size rule reads a size cell: the leading number,
    // times 1024 for "KB" or 1048576 for "MB".
    static long long RuleSize(const std::string& cell);

    int CountLocked() const;
    // The count is kept for the revision it was made at: a change of one
    // row adjusts it (KeepCountLocked after its Touch), any other change
    // makes the next count walk the rows again. Every finished check sends
    // the count, so walking the rows for each made checks quadratic.
    bool CountKnownLocked() const { return countedAt_ == Revision(); }
    void KeepCountLocked(int count) const;

    NameSortMode mode_ = NameSortMode::Name;

private:
    const MediaListLayout& layout_;
    // A "Sort by" command: column 0 in that mode.
    void MenuSortBy(NameSortMode mode);
    // The duplicates block of the project file (absent when none).
    std::string DuplicatesBlockLocked() const;
    void LoadDuplicatesLocked(std::string_view projectText);
    std::string DuplicatesMarker() const;

    // The row of an address (column 1 + column 0), under the lock: every
    // finished check looks its row up, and a walk over all rows for each
    // made a crawl's checks quadratic in the list's length.
    std::size_t FindRowLocked(const std::string& key);
    void RebuildRowIndexLocked();

    std::unordered_set<std::string> seen_;
    std::unordered_map<std::string, MediaFacts> facts_;  // by row address (column 1 + column 0)
    // Kept rows by fingerprint, so a check finds its duplicates without
    // comparing with every row; entries whose facts went are skipped.
    std::unordered_map<std::string, std::vector<std::string>> byFingerprint_;
    // Where each address's row was last seen. An entry is trusted only when
    // that row still holds the address, and only while no two rows share
    // one (a hand-edited project may hold twins; the first row is the one).
    std::unordered_map<std::string, std::size_t> rowIndex_;
    bool rowIndexUnique_ = false;
    mutable int count_ = 0;
    mutable std::uint64_t countedAt_ = ~std::uint64_t{0};
    std::atomic<bool> findDuplicates_{false};
    std::atomic<Notifier*> notifier_{nullptr};
    std::mutex countLock_;        // the two below
    bool countSending_ = false;   // a thread is delivering counts
    std::deque<long> countsDue_;  // read, not yet delivered, oldest first
    std::atomic<MediaCheckQueue*> checker_{nullptr};
    std::atomic<ListsChangedListener*> listener_{nullptr};
};

// The folder (up to and including the last "\", else the last "/") and the
// file name of an address; the whole address is the name when it has
// neither. A "\" wins over "/" because local pages use it.
void SplitFolderAndName(std::string_view url, std::string& folder, std::string& name);

// The text without a leading "http://" (any case); "https://" stays.
std::string WithoutHttp(std::string_view text);

}  // namespace flk
