#pragma once
#include "templates/TemplateList.h"

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace flk {

class VTag;

// Work one rendering may do. A template can nest page loops inside row
// loops; these caps keep a hostile or careless one from running for hours
// or filling memory. When either runs out, rendering stops where it is.
struct RenderBudget {
    std::size_t maxSteps = 20'000'000;          // child renderings
    std::size_t maxBytes = std::size_t{64} << 20;  // text made by leaf nodes
    std::size_t steps = 0;
    std::size_t bytes = 0;

    bool Exhausted() const { return steps >= maxSteps || bytes >= maxBytes; }
};

// What the tags see while rendering: the caller's variables, the list and
// row being shown, and the enclosing context. Nested contexts share the
// variable map, the budget and the settings of the outermost one.
class RenderContext {
public:
    // The outermost context; the map may be absent.
    explicit RenderContext(VariableMap* variables);
    // A context for the rows of a list shown by `owner` (a band).
    RenderContext(const RenderContext& parent, TemplateList* list, const VTag* owner);
    RenderContext(const RenderContext&) = delete;
    RenderContext& operator=(const RenderContext&) = delete;

    VariableMap* Variables() const { return variables_; }
    const RenderContext* Parent() const { return parent_; }
    TemplateList* List() const { return list_; }
    const VTag* Owner() const { return owner_; }

    // The list's current row, or the row set on a context without a list.
    int CurrentRow() const;
    void SetRow(int row) { row_ = row; }

    bool UrlEncode() const { return urlEncode_; }
    void SetUrlEncode(bool on) { urlEncode_ = on; }

    bool HasVariable(const std::string& name) const;
    std::string Variable(const std::string& name) const;  // "" when absent
    int VariableNumber(const std::string& name) const;    // 0 when absent
    void SetVariable(const std::string& name, const std::string& value);
    void SetVariable(const std::string& name, long long value);
    void EraseVariable(const std::string& name);

    // The nearest context (this or an enclosing one) showing a list, or one
    // whose band has the given name (ignoring case). Null when none.
    const RenderContext* NearestWithList() const;
    const RenderContext* NearestOwnedBy(std::string_view bandName) const;
    const RenderContext* NearestOwnedByType(int cTyp) const;

    // Settings kept by the outermost context.
    RenderBudget& Budget() const;
    // The "now" of date tags; the clock unless fixed (tests, reproducible pages).
    std::time_t Now() const;
    void SetNow(std::time_t when) { root_->now_ = when; }
    // The registry store read by "systag" type "registry"; "" (the default)
    // reads none.
    const std::string& RegistryFile() const;
    void SetRegistryFile(std::string path) { root_->registryFile_ = std::move(path); }

    // Counts one child rendering; false once the budget is spent.
    bool Spend() const;
    // Counts text made by a leaf node.
    void SpendBytes(std::size_t n) const;

private:
    VariableMap* variables_ = nullptr;
    const RenderContext* parent_ = nullptr;
    RenderContext* root_ = nullptr;
    TemplateList* list_ = nullptr;
    const VTag* owner_ = nullptr;
    int row_ = 0;
    bool urlEncode_ = false;

    // Used only in the outermost context.
    mutable RenderBudget budget_;
    std::optional<std::time_t> now_;
    std::string registryFile_;
};

}  // namespace flk
