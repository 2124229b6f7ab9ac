#pragma once
#include "templates/VTag.h"

#include <string>

namespace flk {

// Rows per page of a band or page control: `rowcount`, and 10 when it is
// missing, 0 or negative (a zero would page forever).
int RowsPerPage(const VTag& tag);

// "xband" and "band": the body once per row of the current page of the
// attached list. The page number is the variable named by `pc_name`; the
// band sets "next_page_no" and "priv_page_no" for the navigation links.
// A "band" also gathers the text of its "sqltag"/"sqlgen" children into its
// query (ending " set rowcount N"), and with `urlencode` "true" its values
// are URL-encoded.
class BandTag : public VTag {
public:
    BandTag(std::string tagType, int cTyp);
    bool SetData(TemplateList* list) override;
    TemplateList* Data() const override { return list_; }
    bool Produce(RenderContext& ctx) override;
    const std::string& QueryText() const { return query_; }

private:
    void BuildQuery(const RenderContext& ctx);

    TemplateList* list_ = nullptr;
    std::string query_;
};

// "xpagecontrol" (over an "xband") and "pagecontrol" (over a "band"): the
// body once per page of the band named `bandname`, with the variable named
// by `pc_name` set to the page number; the variable is restored afterwards.
class PageControlTag : public VTag {
public:
    PageControlTag(std::string tagType, int cTyp, int bandType);
    bool Produce(RenderContext& ctx) override;

private:
    int bandType_;
};

// "group": with `fieldname`, the body only when that column of the current
// row differs from the row of its last rendering (a group heading); with a
// positive `rowcount` and no field, the body on every rowcount-th row (to
// open a table line every few cells); otherwise always.
class GroupTag : public VTag {
public:
    explicit GroupTag(std::string tagType);
    bool Produce(RenderContext& ctx) override;
    void Reset() override;

private:
    bool hasLast_ = false;
    std::string last_;
};

// "adv": the body once over the list the caller attaches (the banner
// source), which first publishes its values into the variables.
class AdvTag : public VTag {
public:
    explicit AdvTag(std::string tagType);
    bool SetData(TemplateList* list) override;
    TemplateList* Data() const override { return list_; }
    bool Produce(RenderContext& ctx) override;

private:
    TemplateList* list_ = nullptr;
};

}  // namespace flk
