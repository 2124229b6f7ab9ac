#pragma once
#include "lists/MediaList.h"

#include <string>
#include <string_view>

namespace flk {

// The sounds list. Columns: 0 "Sounds" (file name), 1 "Path" (folder),
// 2 "Title", 3 "Url" (source page), 4 "Size (Bytes)", 5 "Link string".
// Sound addresses keep their scheme. FTP sounds are not size-checked unless
// FTP validation is on; they then count as valid without a size.
class SoundsList : public MediaList {
public:
    SoundsList();

    void SetFtpValidation(bool on);
    bool FtpValidation() const { return ftpValidation_; }

    // Queues a sound check, or, for an unchecked FTP sound, sends the sounds
    // count at once. False for a duplicate.
    // With `checked`, no check is queued and the result applies at once.
    bool AddSound(std::string_view url, std::string_view sourceUrl, std::string_view sourceTitle,
                  std::string_view linkText, const MediaCheckResult* checked = nullptr);
    bool AddChecked(const ListedMedium& medium, const MediaCheckResult& result) override;

protected:
    ListedMedium RowMedium(const ListRow& row) const override;
    bool PassesSizeRule(const ListRow& row) const override;

private:
    bool Unchecked(std::string_view address) const;

    std::atomic<bool> ftpValidation_{false};
};

}  // namespace flk
