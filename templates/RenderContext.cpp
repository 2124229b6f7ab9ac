#include "templates/RenderContext.h"

#include "platform/Paths.h"
#include "platform/TextUtil.h"
#include "templates/TemplateText.h"
#include "templates/VTag.h"

namespace flk {

RenderContext::RenderContext(VariableMap* variables) : variables_(variables), root_(this) {}

RenderContext::RenderContext(const RenderContext& parent, TemplateList* list, const VTag* owner)
    : variables_(parent.variables_),
      parent_(&parent),
      root_(parent.root_),
      list_(list),
      owner_(owner),
      row_(parent.CurrentRow()),
      urlEncode_(parent.urlEncode_) {}

int RenderContext::CurrentRow() const { return list_ ? list_->CurrentRow() : row_; }

bool RenderContext::HasVariable(const std::string& name) const {
    return variables_ && variables_->count(name) > 0;
}

std::string RenderContext::Variable(const std::string& name) const {
    if (!variables_) return {};
    auto it = variables_->find(name);
    return it == variables_->end() ? std::string() : it->second;
}

int RenderContext::VariableNumber(const std::string& name) const { return ParseTemplateNumber(Variable(name)); }

void RenderContext::SetVariable(const std::string& name, const std::string& value) {
    if (variables_) (*variables_)[name] = value;
}

void RenderContext::SetVariable(const std::string& name, long long value) { SetVariable(name, std::to_string(value)); }

void RenderContext::EraseVariable(const std::string& name) {
    if (variables_) variables_->erase(name);
}

const RenderContext* RenderContext::NearestWithList() const {
    for (const RenderContext* c = this; c; c = c->parent_)
        if (c->list_) return c;
    return nullptr;
}

const RenderContext* RenderContext::NearestOwnedBy(std::string_view bandName) const {
    for (const RenderContext* c = this; c; c = c->parent_)
        if (c->owner_ && c->owner_->HasAttribute("name") && EqualsNoCase(c->owner_->GetAttribute("name", ""), bandName))
            return c;
    return nullptr;
}

const RenderContext* RenderContext::NearestOwnedByType(int cTyp) const {
    for (const RenderContext* c = this; c; c = c->parent_)
        if (c->owner_ && c->owner_->Type() == cTyp) return c;
    return nullptr;
}

RenderBudget& RenderContext::Budget() const { return root_->budget_; }

std::time_t RenderContext::Now() const { return root_->now_ ? *root_->now_ : std::time(nullptr); }

const std::string& RenderContext::RegistryFile() const { return root_->registryFile_; }

bool RenderContext::Spend() const {
    RenderBudget& b = Budget();
    if (b.Exhausted()) return false;
    ++b.steps;
    return true;
}

void RenderContext::SpendBytes(std::size_t n) const { Budget().bytes += n; }

}  // namespace flk
