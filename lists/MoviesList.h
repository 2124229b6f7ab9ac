#pragma once
#include "lists/MediaList.h"

#include <string>
#include <string_view>

namespace flk {

// The movies list. Columns: 0 "Movies" (file name), 1 "Path" (folder),
// 2 "Title", 3 "Url" (source page), 4 "Size (Bytes)", 5 "Link string".
// Movie addresses are kept and compared without a leading "http://", so the
// same movie found with and without it is one row.
class MoviesList : public MediaList {
public:
    MoviesList();

    // titleAndSource: page title + ";;;" + source page address. Queues a
    // movie check and sends the movies count. False for a duplicate.
    // With `checked`, no check is queued and the result applies at once.
    bool AddMovie(std::string_view url, std::string_view titleAndSource, std::string_view linkText,
                  const MediaCheckResult* checked = nullptr);
    bool AddChecked(const ListedMedium& medium, const MediaCheckResult& result) override;

protected:
    ListedMedium RowMedium(const ListRow& row) const override;
    bool PassesSizeRule(const ListRow& row) const override;
    std::string SizeKey(std::string_view url) const override;
};

}  // namespace flk
