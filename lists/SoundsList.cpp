#include "lists/SoundsList.h"

#include "net/ParsedUrl.h"
#include "platform/Notifier.h"
#include "platform/TextUtil.h"

namespace flk {

namespace {

constexpr ListColumn kColumns[] = {
    {"Sounds", 120}, {"Path", 170},         {"Title", 150},
    {"Url", 200},    {"Size (Bytes)", 100}, {"Link string", 150},
};

constexpr MediaListLayout kLayout{
    "Sounds",         kColumns,  std::size(kColumns), 4, 4, "1,0,2,3",
    "SoundLinks.txt", "Sounds:", "SoundsReport.txt",  "{[(SoundsList)]}",
    notify::SoundsCount,
};

}  // namespace

SoundsList::SoundsList() : MediaList(kLayout) {}

// The scheme test ignores case both when queueing and when counting, so an
// "FTP://" sound that was never checked still counts.
void SoundsList::SetFtpValidation(bool on) {
    std::lock_guard<std::mutex> lock(mu_);
    ftpValidation_ = on;
    Touch();  // the kept count of valid rows no longer holds
}

bool SoundsList::Unchecked(std::string_view address) const {
    return !ftpValidation_ && StartsWithNoCase(address, "ftp://");
}

bool SoundsList::AddSound(std::string_view url, std::string_view sourceUrl, std::string_view sourceTitle,
                          std::string_view linkText, const MediaCheckResult* checked) {
    const std::string address = TrimCopy(url);
    std::string folder, name;
    SplitFolderAndName(address, folder, name);
    {
        std::lock_guard<std::mutex> lock(mu_);
        if (!AppendRowLocked(address, {std::move(name), std::move(folder), std::string(sourceTitle),
                                       WithoutHttp(Trim(sourceUrl)), std::string(), std::string(linkText)}))
            return false;
    }
    if (checked) {
        AfterAdd(std::string(), MediaCheckKind::Sound);
        MediaCheckResult result = *checked;
        result.url = address;
        ApplyCheck(result);  // sends the count
    } else if (Unchecked(address)) {
        AfterAdd(std::string(), MediaCheckKind::Sound);
        SendCount();
    } else {
        AfterAdd(address, MediaCheckKind::Sound);
    }
    return true;
}

bool SoundsList::AddChecked(const ListedMedium& m, const MediaCheckResult& result) {
    return AddSound(m.url, m.pageUrl, m.pageTitle, m.linkText, &result);
}

ListedMedium SoundsList::RowMedium(const ListRow& row) const {
    ListedMedium m;
    m.url = row.cells[1] + row.cells[0];
    m.pageTitle = row.cells[2];
    m.pageUrl = WithDefaultScheme(row.cells[3]);
    m.linkText = row.cells[5];
    return m;
}

bool SoundsList::PassesSizeRule(const ListRow& row) const {
    return Unchecked(row.cells[1]) || RuleSize(row.cells[4]) > 10;
}

}  // namespace flk
