#pragma once
#include "templates/TemplateList.h"

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

class UpdateData;

// A guide category the "adv" slot may suggest: its name and the address of
// its directory page (may be empty).
struct AdvCategory {
    std::string name;
    std::string url;
};

// One banner of mode 0: picture address, link address, alternative text.
struct AdvBanner {
    std::string gif;
    std::string link;
    std::string alt;
};

// What the "adv" nodes of a result page show. Owned by the crawler window
// for the whole run; the page generator gives it the subject and draws a
// new counter for every page.
//
// Before an "adv" node renders, the source publishes its values into the
// page variables by mode:
//   0 (banner list): a random banner into ban_gif, ban_link, ban_alt;
//   1 (same on a page): lks_category (category at counter mod count),
//     lks_subject, lks_random;
//   2 (new at every use): a new counter first, then as mode 1.
// Besides the names above it publishes lks_link (the category's page) and
// lks_category2/3 with their links (the categories after it), so one slot
// can suggest a few related categories.
//
// As a list it has one row whose columns are those same names, so "xfield"
// inside an "adv" body reads them as well as "systag" type "map" does.
// Used on one thread (the one generating pages).
class AdvSource : public TemplateList {
public:
    enum Mode { kBanners = 0, kSamePerPage = 1, kNewEachUse = 2 };

    // Seeded from the system's random device.
    AdvSource();
    // A fixed seed, for reproducible pages.
    explicit AdvSource(std::uint32_t seed);

    // Modes outside 0..2 count as 2.
    void SetMode(int mode);
    int GetMode() const { return mode_; }
    void SetCategories(std::vector<AdvCategory> categories) { categories_ = std::move(categories); }
    const std::vector<AdvCategory>& Categories() const { return categories_; }
    void SetSubject(std::string subject) { subject_ = std::move(subject); }
    const std::string& Subject() const { return subject_; }
    void SetBanners(std::vector<AdvBanner> banners) { banners_ = std::move(banners); }
    const std::vector<AdvBanner>& Banners() const { return banners_; }

    // Draws a new random counter (once per page, and per use in mode 2).
    void NewCounter();
    std::uint32_t Counter() const { return counter_; }
    // True when the current mode has something to show; a slot without
    // categories (or banners in mode 0) stays empty.
    bool HasContent() const;

    // TemplateList: one row holding the published values.
    void SetPageSize(int rows) override { (void)rows; }
    int RowCount() const override { return 1; }
    bool Seek(int row) override;
    bool Next() override;
    int CurrentRow() const override { return row_; }
    std::string Value(int column) const override;
    std::string Value(std::string_view column) const override;
    void BeforeRender(VariableMap& variables) override;

    // The published value names, in column order.
    static const std::vector<std::string>& ColumnNames();

private:
    void Publish(VariableMap& variables);

    int mode_ = kNewEachUse;
    std::mt19937 random_;
    std::uint32_t counter_ = 0;
    std::vector<AdvCategory> categories_;
    std::vector<AdvBanner> banners_;
    std::string subject_;
    VariableMap values_;
    int row_ = -1;
};

// The mode the crawler window sets at start: 1 when the update data's banner
// option says the value stays the same on a page, else 2.
int AdvModeFromUpdateData(const UpdateData& data);
// The guide categories of the update data with their directory pages.
std::vector<AdvCategory> AdvCategoriesFromUpdateData(const UpdateData& data);

}  // namespace flk
