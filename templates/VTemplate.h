#pragma once
#include "templates/VTag.h"

#include <memory>
#include <string>
#include <string_view>

namespace flk {

// A template read into a tree under a root container of type "HTML". The
// caller attaches callbacks and lists to named nodes, renders the tree into
// a page, and resets it before rendering the next page.
class VTemplate {
public:
    VTemplate();

    // Reads and parses the file. When it cannot be read, the tree holds the
    // error line "ERROR:Cant Open file error no- <errno> <br> File Name=<path>"
    // so the rendered page shows it, and the answer is false.
    bool LoadTemplate(const std::string& path);
    void ParseText(std::string_view text);

    VTag& Root() { return *root_; }
    const VTag& Root() const { return *root_; }
    VTag* FindByName(std::string_view name) { return root_->FindByName(name); }
    // Attaches to the node of that name; false when there is none.
    bool SetCallback(std::string_view name, TagCallback callback);
    // Sets the default answer of the named node to true; false when absent.
    bool Enable(std::string_view name);

    void Reset() { root_->Reset(); }
    const std::string& Render(RenderContext& ctx);
    const std::string& GetOutput() const { return root_->GetOutput(); }
    void Dump(std::string& out) const { root_->Dump(out); }

private:
    std::unique_ptr<VTag> root_;
};

}  // namespace flk
