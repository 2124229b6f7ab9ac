#include "templates/AdvSource.h"

#include "platform/TextUtil.h"
#include "templates/ResultTable.h"
#include "update/UpdateData.h"

namespace flk {
namespace {

// How many categories one slot offers: the drawn one and the next two.
constexpr std::size_t kSuggestions = 3;

std::string SuggestionName(std::size_t i, const char* what) {
    std::string name = std::string("lks_") + what;
    if (i > 0) name += std::to_string(i + 1);
    return name;
}

}  // namespace

AdvSource::AdvSource() : random_(std::random_device{}()) { NewCounter(); }

AdvSource::AdvSource(std::uint32_t seed) : random_(seed) { NewCounter(); }

void AdvSource::SetMode(int mode) { mode_ = (mode >= kBanners && mode <= kNewEachUse) ? mode : kNewEachUse; }

void AdvSource::NewCounter() {
    // Kept below 2^31 so lks_random reads back as a positive int.
    counter_ = static_cast<std::uint32_t>(random_() & 0x7fffffffU);
}

bool AdvSource::HasContent() const { return mode_ == kBanners ? !banners_.empty() : !categories_.empty(); }

const std::vector<std::string>& AdvSource::ColumnNames() {
    static const std::vector<std::string> names = {
        "lks_category", "lks_link",  "lks_category2", "lks_link2", "lks_category3",
        "lks_link3",    "lks_subject", "lks_random",  "ban_gif",   "ban_link",
        "ban_alt",
    };
    return names;
}

bool AdvSource::Seek(int row) {
    if (row < -1 || row > 0) return false;
    row_ = row;
    return true;
}

bool AdvSource::Next() {
    if (row_ >= 0) return false;
    row_ = 0;
    return true;
}

std::string AdvSource::Value(int column) const {
    const auto& names = ColumnNames();
    if (column < 0 || static_cast<std::size_t>(column) >= names.size()) return {};
    return Value(std::string_view(names[static_cast<std::size_t>(column)]));
}

std::string AdvSource::Value(std::string_view column) const {
    if (row_ != 0) return {};
    for (const auto& [name, value] : values_)
        if (EqualsNoCase(name, column)) return value;
    return {};
}

void AdvSource::BeforeRender(VariableMap& variables) {
    if (mode_ == kNewEachUse) NewCounter();
    Publish(variables);
}

void AdvSource::Publish(VariableMap& variables) {
    values_.clear();
    if (mode_ == kBanners) {
        if (banners_.empty()) return;
        const AdvBanner& b = banners_[random_() % banners_.size()];
        values_["ban_gif"] = b.gif;
        values_["ban_link"] = b.link;
        values_["ban_alt"] = b.alt;
    } else {
        const std::size_t n = categories_.size();
        if (n > 0) {
            const std::size_t first = counter_ % n;
            for (std::size_t i = 0; i < kSuggestions; ++i) {
                // Fewer categories than suggestions: the extra names stay
                // empty rather than repeating one.
                const bool shown = i < n;
                const AdvCategory& c = categories_[(first + i) % n];
                values_[SuggestionName(i, "category")] = shown ? c.name : std::string();
                values_[SuggestionName(i, "link")] = shown ? c.url : std::string();
            }
        }
        values_["lks_subject"] = subject_;
        values_["lks_random"] = std::to_string(counter_);
    }
    for (const auto& [name, value] : values_) variables[name] = value;
}

int AdvModeFromUpdateData(const UpdateData& data) {
    return data.IsBannerSame() ? AdvSource::kSamePerPage : AdvSource::kNewEachUse;
}

std::vector<AdvCategory> AdvCategoriesFromUpdateData(const UpdateData& data) {
    std::vector<std::string> names;
    data.GetCategories(names);
    std::vector<AdvCategory> out;
    out.reserve(names.size());
    for (const auto& raw : names) {
        // The list is split at "," only, so names carry the spaces that
        // followed the commas.
        std::string name = TrimCopy(raw);
        if (name.empty()) continue;
        // The page goes into an href; a server's "javascript:" must not.
        std::string url = BrowserAddress(data.GetCategoryPageUrl(name));
        if (url.empty()) url = "#";
        out.push_back({DisplayUtf8(name), std::move(url)});
    }
    return out;
}

}  // namespace flk
