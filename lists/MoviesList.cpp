#include "lists/MoviesList.h"

#include "crawl/FoundItems.h"
#include "net/ParsedUrl.h"
#include "platform/Notifier.h"
#include "platform/TextUtil.h"

namespace flk {

namespace {

constexpr ListColumn kColumns[] = {
    {"Movies", 120}, {"Path", 170},         {"Title", 150},
    {"Url", 200},    {"Size (Bytes)", 100}, {"Link string", 150},
};

constexpr MediaListLayout kLayout{
    "Movies",         kColumns,  std::size(kColumns), 4, 4, "1,0,2,3",
    "MovieLinks.txt", "Movies:", "MoviesReport.txt",  "{[(MoviesList)]}",
    notify::MoviesCount,
};

}  // namespace

MoviesList::MoviesList() : MediaList(kLayout) {}

std::string MoviesList::SizeKey(std::string_view url) const { return WithoutHttp(Trim(url)); }

bool MoviesList::AddMovie(std::string_view url, std::string_view titleAndSource, std::string_view linkText,
                          const MediaCheckResult* checked) {
    const std::string address = WithoutHttp(Trim(url));
    std::string title(titleAndSource), source;
    if (std::size_t sep = titleAndSource.find(kDescriptionSeparator); sep != std::string_view::npos) {
        title.assign(titleAndSource.substr(0, sep));
        source = WithoutHttp(Trim(titleAndSource.substr(sep + kDescriptionSeparator.size())));
    }
    std::string folder, name;
    SplitFolderAndName(address, folder, name);
    {
        std::lock_guard<std::mutex> lock(mu_);
        if (!AppendRowLocked(address, {std::move(name), std::move(folder), std::move(title), std::move(source),
                                       std::string(), std::string(linkText)}))
            return false;
    }
    if (checked) {
        AfterAdd(std::string(), MediaCheckKind::Movie);
        ApplyCheck(*checked);  // sends the count
        return true;
    }
    AfterAdd(WithDefaultScheme(address), MediaCheckKind::Movie);
    SendCount();
    return true;
}

bool MoviesList::AddChecked(const ListedMedium& m, const MediaCheckResult& result) {
    std::string titleAndSource = m.pageTitle;
    titleAndSource += kDescriptionSeparator;
    titleAndSource += m.pageUrl;
    return AddMovie(m.url, titleAndSource, m.linkText, &result);
}

ListedMedium MoviesList::RowMedium(const ListRow& row) const {
    ListedMedium m;
    m.url = WithDefaultScheme(row.cells[1]) + row.cells[0];
    m.pageTitle = row.cells[2];
    m.pageUrl = WithDefaultScheme(row.cells[3]);
    m.linkText = row.cells[5];
    return m;
}

bool MoviesList::PassesSizeRule(const ListRow& row) const { return RuleSize(row.cells[4]) > 10; }

}  // namespace flk
