#include "update/UpdateData.h"

#include "settings/Settings.h"
#include "platform/SplitBySeparator.h"
#include "platform/TextModeFile.h"
#include "platform/TextUtil.h"
#include "update/UpdateFile.h"
#include "update/WordCoding.h"

#include <algorithm>

namespace flk {

namespace {

using namespace update_markers;

// 28 entries: 8 phrases and 7 with a leading space, the shapes the server's
// lists come in. Keywords that begin like common short words ("as", "in",
// "le") are left out, because a query word matches every keyword it begins.
constexpr const char* kDefaultAdultWords =
    "porn,porno,pornography,xxx,nude,nudes,nudity,naked,erotic,erotica,sexy,sex,"
    "adults only,adult video, escort, fetish, lingerie, nsfw, voyeur, raunchy, obscene,"
    "smut,adult site,adult content,adult movies,strip club,over 18 only,for adults only";

// The stored file's lines joined without separators; CR LF, CR CR LF and LF
// line ends are all removed.
std::string JoinLines(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const std::string& line : SplitTextLines(bytes)) out += line;
    return out;
}

// The quoted value from the first double quote at or after pos.
std::string QuotedFrom(std::string_view text, std::size_t pos) {
    std::size_t open = text.find('"', pos);
    if (open == std::string_view::npos) return {};
    std::size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(text.substr(open + 1, close - open - 1));
}

// One pass over the template, so text put in is never searched again.
std::string ExpandTemplate(std::string_view tmpl, std::string_view search, int from) {
    static constexpr std::string_view kSearch = "%search%";
    static constexpr std::string_view kFrom = "%from%";
    const std::string fromText = std::to_string(from);
    std::string out;
    std::size_t pos = 0;
    while (pos < tmpl.size()) {
        std::size_t pct = tmpl.find('%', pos);
        if (pct == std::string_view::npos) {
            out.append(tmpl.substr(pos));
            break;
        }
        out.append(tmpl.substr(pos, pct - pos));
        std::string_view rest = tmpl.substr(pct);
        if (rest.starts_with(kSearch)) {
            out.append(search);
            pos = pct + kSearch.size();
        } else if (rest.starts_with(kFrom)) {
            out.append(fromText);
            pos = pct + kFrom.size();
        } else {
            out += '%';
            pos = pct + 1;
        }
    }
    return out;
}

std::string BuildDefaultText(const Settings& settings) {
    const std::string engineBase = "http://" + settings.Get(hosts::Directory) + "/r_search?";
    std::string text;
    text += kEnginesOpen;
    text += "[Looksmart]";
    text += "url1=\"" + engineBase + "look=x&izm1&key=%search%&skip=%from%\"";
    text += "url2=\"" + engineBase + "look=x&izm2&key=%search%&external=av&skip=%from%\"";
    text += "url3=\"" + engineBase + "look=x&izm3&key=%search%&external=av&skip=%from%\"";
    text += kEnginesClose;
    text += kCategoriesOpen;
    text += "url=\"http://" + settings.MakerHost() + "/eng/\"";
    text += "AnimalsNatureScienceCulture";
    text += kCategoriesClose;
    text += kAdultOpen;
    text += EncodeWords(kDefaultAdultWords);
    text += kAdultClose;
    text += kServerOpen;
    text += "server=\"" + settings.Get(hosts::ServerBase) + "\"";
    text += kServerClose;
    return text;
}

}  // namespace

bool FindUpdateBlock(std::string_view text, std::string_view open, std::string_view close,
                     std::string_view& block) {
    std::size_t start = text.find(open);
    if (start == std::string_view::npos) return false;
    start += open.size();
    // Only a closing marker after the opening one ends the block.
    std::size_t end = text.find(close, start);
    if (end == std::string_view::npos) return false;
    block = text.substr(start, end - start);
    return true;
}

bool HasEveryUpdateBlock(std::string_view text) {
    // The file's line ends do not count, as for the readers.
    const std::string joined = JoinLines(std::string(text));
    const std::pair<const char*, const char*> needed[] = {
        {kEnginesOpen, kEnginesClose},
        {kCategoriesOpen, kCategoriesClose},
        {kAdultOpen, kAdultClose},
        {kServerOpen, kServerClose},
    };
    std::string_view block;
    for (const auto& [open, close] : needed)
        if (!FindUpdateBlock(joined, open, close, block)) return false;
    return true;
}

std::string QuotedValue(std::string_view text, std::string_view key) {
    std::size_t at = text.find(key);
    if (at == std::string_view::npos) return {};
    return QuotedFrom(text, at + key.size());
}

UpdateData::UpdateData(UpdateFile& file, const Settings& settings)
    : file_(file), default_(BuildDefaultText(settings)) {}

const char* UpdateData::DefaultAdultWords() { return kDefaultAdultWords; }

bool UpdateData::Load() {
    std::string bytes;
    // The lock is held inside Read only while the file is read.
    if (file_.Read(bytes) != UpdateFile::ReadResult::Ok) {
        text_ = default_;
        return false;
    }
    text_ = JoinLines(bytes);
    text_.resize(TrimRight(text_).size());
    if (text_.empty() || text_.find("404 Not Found") != std::string::npos) {
        text_ = default_;
        return false;
    }
    return true;
}

int UpdateData::GetEngineNames(std::vector<std::string>& names) const {
    std::string_view block;
    if (FindUpdateBlock(text_, kEnginesOpen, kEnginesClose, block)) {
        std::size_t pos = 0;
        for (;;) {
            std::size_t open = block.find('[', pos);
            if (open == std::string_view::npos) break;
            std::size_t close = block.find(']', open + 1);
            if (close == std::string_view::npos) break;
            names.emplace_back(block.substr(open + 1, close - open - 1));
            pos = close + 1;
        }
    }
    return static_cast<int>(names.size());
}

std::string UpdateData::GetEngineTemplate(std::string_view name, int n) const {
    const std::string header = "[" + std::string(name) + "]";
    std::size_t at = text_.find(header);
    if (at == std::string::npos) return {};
    const std::string key = "url" + std::to_string(n) + "=";
    std::size_t keyAt = text_.find(key, at + header.size());
    if (keyAt == std::string::npos) return {};
    return QuotedFrom(text_, keyAt + key.size());
}

int UpdateData::BuildEngineUrls(std::vector<std::string>& urls, std::string_view name, int n,
                                std::string_view search, int count) const {
    urls.clear();
    if (count < 10) return 0;
    // A huge count keeps its last digit, so the pages still end at the same
    // offset, but asks for no more than kMaxEnginePages pages.
    if (count / 10 > kMaxEnginePages) count = kMaxEnginePages * 10 + count % 10;
    const int pages = count / 10;
    const std::string tmpl = GetEngineTemplate(name, n);
    for (int from = count - 10; from >= 0; from -= 10) {
        std::string url = ExpandTemplate(tmpl, search, from);
        if (!url.empty()) urls.push_back(std::move(url));
    }
    return pages;
}

int UpdateData::GetCategories(std::vector<std::string>& names) const {
    names.clear();
    std::string_view block;
    if (!FindUpdateBlock(text_, kCategoriesOpen, kCategoriesClose, block)) return 0;
    const std::string value = QuotedValue(block, "categories=");
    if (value.empty()) return 0;
    return SplitBySeparator(value, ",", names);
}

std::string UpdateData::GetCategoryPageUrl(std::string_view name) const {
    std::string_view block;
    if (!FindUpdateBlock(text_, kCategoriesOpen, kCategoriesClose, block)) return {};
    std::string base = QuotedValue(block, "url=");
    if (base.empty()) return {};
    return base + std::string(name) + ".htm";
}

int UpdateData::GetAdultWords(std::vector<std::string>& words) const {
    std::string_view block;
    if (!FindUpdateBlock(text_, kAdultOpen, kAdultClose, block))
        return static_cast<int>(words.size());
    return SplitBySeparator(DecodeWords(block), ",", words);
}

std::string UpdateData::GetServer() const {
    std::string_view block;
    if (!FindUpdateBlock(text_, kServerOpen, kServerClose, block)) return {};
    return QuotedValue(block, "server=");
}

bool UpdateData::IsBannerSame() const {
    std::string_view block;
    if (!FindUpdateBlock(text_, kBannersOpen, kBannersClose, block)) return false;
    const std::string value = QuotedValue(block, "same=");
    return EqualsNoCase(value, "yes") || EqualsNoCase(value, "y");
}

}  // namespace flk
