#include "templates/BandTags.h"

#include "templates/TemplateText.h"
#include "templates/ValueTags.h"

#include <climits>

namespace flk {

int RowsPerPage(const VTag& tag) {
    int rows = ParseTemplateNumber(tag.GetAttribute("rowcount", "0"));
    return rows > 0 ? rows : 10;
}

BandTag::BandTag(std::string tagType, int cTyp) : VTag(std::move(tagType), cTyp, true) {}

bool BandTag::SetData(TemplateList* list) {
    list_ = list;
    return true;
}

void BandTag::BuildQuery(const RenderContext& ctx) {
    query_.clear();
    for (const auto& child : Children()) {
        if (child->Type() != tagtype::SqlTag && child->Type() != tagtype::SqlGen) continue;
        const auto* q = static_cast<const QueryTag*>(child.get());
        std::string text = q->QueryText(ctx);
        if (text.empty()) continue;
        if (!query_.empty()) query_ += ' ';
        query_ += text;
    }
    query_ += " set rowcount " + std::to_string(RowsPerPage(*this));
}

bool BandTag::Produce(RenderContext& ctx) {
    if (!Answer(&ctx)) return true;
    if (Type() == tagtype::Band) BuildQuery(ctx);
    if (!list_) return true;
    if (ctx.Variables()) list_->BeforeRender(*ctx.Variables());

    const long long rows = RowsPerPage(*this);
    list_->SetPageSize(static_cast<int>(rows));
    const long long page = HasAttribute("pc_name") ? ctx.VariableNumber(GetAttribute("pc_name", "")) : 0;
    const long long count = list_->RowCount();
    ctx.SetVariable("next_page_no", rows * (page + 1) < count ? page + 1 : page);
    ctx.SetVariable("priv_page_no", page >= 1 ? page - 1 : page);

    // Page 0 seeks to -1, before the first row, so the first step lands on row 0.
    const long long seek = rows * page - 1;
    if (seek < -1 || seek > INT_MAX || !list_->Seek(static_cast<int>(seek))) return false;

    RenderContext rowCtx(ctx, list_, this);
    if (Type() == tagtype::Band && GetAttribute("urlencode", "") == "true") rowCtx.SetUrlEncode(true);
    while (ctx.Spend() && list_->Next())
        if (!RenderChildren(rowCtx)) break;
    return true;
}

PageControlTag::PageControlTag(std::string tagType, int cTyp, int bandType)
    : VTag(std::move(tagType), cTyp, true), bandType_(bandType) {}

bool PageControlTag::Produce(RenderContext& ctx) {
    if (!Answer(&ctx)) return true;
    TemplateList* list = nullptr;
    if (HasAttribute("bandname")) {
        VTag* band = Root()->FindByName(GetAttribute("bandname", ""));
        if (band && band->Type() == bandType_) list = band->Data();
    }
    const long long count = list ? list->RowCount() : 0;
    const long long rows = RowsPerPage(*this);
    const long long pages = count / rows + (count % rows ? 1 : 0);

    const std::string var = HasAttribute("pc_name") ? GetAttribute("pc_name", "") : std::string();
    const bool had = !var.empty() && ctx.HasVariable(var);
    const std::string saved = had ? ctx.Variable(var) : std::string();
    for (long long i = 0; i < pages && ctx.Spend(); ++i) {
        if (!var.empty()) ctx.SetVariable(var, i);
        if (!RenderChildren(ctx)) break;
    }
    if (!var.empty()) {
        if (had)
            ctx.SetVariable(var, saved);
        else
            ctx.EraseVariable(var);
    }
    return true;
}

GroupTag::GroupTag(std::string tagType) : VTag(std::move(tagType), tagtype::Group, true) {}

void GroupTag::Reset() {
    VTag::Reset();
    hasLast_ = false;
    last_.clear();
}

bool GroupTag::Produce(RenderContext& ctx) {
    if (!Answer(&ctx)) return true;
    if (HasAttribute("fieldname")) {
        const RenderContext* src = ctx.NearestWithList();
        std::string value = src ? src->List()->Value(std::string_view(GetAttribute("fieldname", ""))) : std::string();
        if (hasLast_ && value == last_) return true;
        hasLast_ = true;
        last_ = std::move(value);
    } else if (ParseTemplateNumber(GetAttribute("rowcount", "0")) > 0) {
        if (ctx.CurrentRow() % RowsPerPage(*this) != 0) return true;
    }
    RenderChildren(ctx);
    return true;
}

AdvTag::AdvTag(std::string tagType) : VTag(std::move(tagType), tagtype::Adv, true) {}

bool AdvTag::SetData(TemplateList* list) {
    list_ = list;
    return true;
}

bool AdvTag::Produce(RenderContext& ctx) {
    if (!Answer(&ctx)) return true;
    if (!list_) {
        RenderChildren(ctx);
        return true;
    }
    if (ctx.Variables()) list_->BeforeRender(*ctx.Variables());
    list_->Seek(0);
    RenderContext inner(ctx, list_, this);
    RenderChildren(inner);
    return true;
}

}  // namespace flk
