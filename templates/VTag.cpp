#include "templates/VTag.h"

#include "platform/TextUtil.h"
#include "templates/TemplateText.h"

#include <algorithm>

namespace flk {
namespace {
// A template cannot ask for more padding than this; a typo such as
// size=99999999 must not allocate gigabytes.
constexpr int kMaxFieldSize = 65536;
}  // namespace

bool VTag::NoCaseLess::operator()(std::string_view a, std::string_view b) const {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        char x = ToLowerAscii(a[i]);
        char y = ToLowerAscii(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

VTag::VTag(std::string tagType, int cTyp, bool container)
    : tagType_(std::move(tagType)), cTyp_(cTyp), isContainer_(container) {}

VTag::~VTag() = default;

VTag* VTag::Root() {
    VTag* node = this;
    while (node->parent_) node = node->parent_;
    return node;
}

VTag* VTag::AddChild(std::unique_ptr<VTag> child) {
    child->parent_ = this;
    children_.push_back(std::move(child));
    return children_.back().get();
}

void VTag::SetAttribute(const std::string& name, std::string value) {
    attributes_[name] = std::move(value);
    order_.push_back(name);
}

bool VTag::HasAttribute(std::string_view name) const { return attributes_.find(name) != attributes_.end(); }

std::string VTag::GetAttribute(std::string_view name, std::string_view def) const {
    auto it = attributes_.find(name);
    return it == attributes_.end() ? std::string(def) : it->second;
}

void VTag::SetDefaults() {
    if (GetAttribute("disable", "") == "true") defaultAnswer_ = false;
    int size = ParseTemplateNumber(GetAttribute("size", "0"));
    size_ = size > 0 ? static_cast<std::size_t>(std::min(size, kMaxFieldSize)) : 0;
    std::string filler = GetAttribute("filler", " ");
    filler_ = filler.empty() ? ' ' : filler[0];
    alignLeft_ = EqualsNoCase(GetAttribute("align", "right"), "left");
}

bool VTag::Answer(RenderContext* ctx) const {
    if (!ctx) return false;
    if (callback_) return callback_(*ctx);
    return defaultAnswer_;
}

bool VTag::SetData(TemplateList* list) {
    (void)list;
    return false;
}

VTag* VTag::FindByName(std::string_view name) {
    auto it = attributes_.find(std::string_view("name"));
    if (it != attributes_.end() && EqualsNoCase(it->second, name)) return this;
    for (auto& child : children_)
        if (VTag* hit = child->FindByName(name)) return hit;
    return nullptr;
}

void VTag::FindAllOfType(int cTyp, std::vector<VTag*>& out) {
    if (cTyp_ == cTyp) out.push_back(this);
    for (auto& child : children_) child->FindAllOfType(cTyp, out);
}

void VTag::Reset() {
    output_.clear();
    for (auto& child : children_) child->Reset();
}

void VTag::Prepare(RenderContext& ctx) { (void)ctx; }

bool VTag::Produce(RenderContext& ctx) {
    // A node with no output of its own: plain tags and containers. A
    // container that may not render yields nothing but lets its enclosing
    // container go on; a plain tag's answer decides that.
    if (!isContainer_) return Answer(&ctx);
    if (!Answer(&ctx)) return true;
    RenderChildren(ctx);
    return true;
}

void VTag::Finish() {
    if (size_ == 0 || output_.size() >= size_) return;
    std::string fill(size_ - output_.size(), filler_);
    if (alignLeft_)
        output_ += fill;
    else
        output_.insert(0, fill);
}

bool VTag::Render(RenderContext& ctx) {
    output_.clear();
    Prepare(ctx);
    bool more = Produce(ctx);
    Finish();
    return more;
}

bool VTag::RenderChildren(RenderContext& ctx) {
    for (auto& child : children_) {
        if (!ctx.Spend()) return false;
        child->output_.clear();
        child->Prepare(ctx);
        if (!child->Produce(ctx)) break;
        child->Finish();
        // Only text made by leaves counts; a container's text is the same
        // bytes moving up. What was made is always kept, so a page cut by
        // the budget still shows everything before the cut.
        if (!child->isContainer_) ctx.SpendBytes(child->output_.size());
        output_ += child->output_;
    }
    return !ctx.Budget().Exhausted();
}

void VTag::Dump(std::string& out) const {
    out += "VTag Data: TagType=" + tagType_ + " , cTyp=" + std::to_string(cTyp_) + " ,\r\n m_case=" +
           std::to_string(case_) + " , m_IsContainer=" + (isContainer_ ? "1" : "0") + " \r\n Attribute : \r\n";
    for (const auto& name : order_) {
        out += name;
        out += '=';
        out += GetAttribute(name, "");
        out += "\r\n";
    }
    if (!isContainer_) return;
    out += "\r\n Tag List Data: \r\n";
    for (const auto& child : children_) {
        child->Dump(out);
        out += "\r\n";
        out += "Build Data=:\r\n";
        out += child->output_;
    }
}

}  // namespace flk
