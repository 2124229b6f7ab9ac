#pragma once
#include "templates/RenderContext.h"
#include "templates/TemplateList.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// Tag type numbers (cTyp).
namespace tagtype {
inline constexpr int Text = 0;
inline constexpr int Tag = 1;
inline constexpr int Container = 2;
inline constexpr int Field = 3;
inline constexpr int SysTag = 4;
inline constexpr int Band = 5;
inline constexpr int Htmv = 6;
inline constexpr int SqlGen = 7;
inline constexpr int SqlTag = 8;
inline constexpr int SelectTag = 9;
inline constexpr int Secure = 10;
inline constexpr int Filter = 11;
inline constexpr int PageControl = 12;
inline constexpr int XBand = 13;
inline constexpr int XField = 14;
inline constexpr int Group = 15;
inline constexpr int XNext = 16;
inline constexpr int XPageControl = 17;
inline constexpr int Adv = 18;
inline constexpr int NTag = 19;
}  // namespace tagtype

// The default callers pass to GetAttribute to recognise a missing attribute.
inline constexpr const char* kNoTagFound = "NO TAG FOUNDS";

// Decides whether a node renders; it may also set variables in the context.
using TagCallback = std::function<bool(RenderContext&)>;

// One node of a template tree: literal text, a tag, or a container that
// owns the nodes of its body.
class VTag {
public:
    VTag(std::string tagType, int cTyp, bool container);
    virtual ~VTag();
    VTag(const VTag&) = delete;
    VTag& operator=(const VTag&) = delete;

    const std::string& TagType() const { return tagType_; }
    int Type() const { return cTyp_; }
    int Case() const { return case_; }
    void SetCase(int value) { case_ = value; }
    bool IsContainer() const { return isContainer_; }
    bool IsClosing() const { return closing_; }
    VTag* Parent() const { return parent_; }
    VTag* Root();
    const std::vector<std::unique_ptr<VTag>>& Children() const { return children_; }
    VTag* AddChild(std::unique_ptr<VTag> child);

    // Names compare ignoring case (the parser stores them in lower case);
    // a repeated name keeps the last value but stands twice in the order.
    void SetAttribute(const std::string& name, std::string value);
    bool HasAttribute(std::string_view name) const;
    std::string GetAttribute(std::string_view name, std::string_view def) const;
    const std::vector<std::string>& AttributeOrder() const { return order_; }

    // Reads the attributes every kind honours; called once they are set.
    virtual void SetDefaults();
    void Enable() { defaultAnswer_ = true; }
    bool DefaultAnswer() const { return defaultAnswer_; }
    void SetCallback(TagCallback callback) { callback_ = std::move(callback); }
    // The callback's answer, else the default answer; false without context.
    bool Answer(RenderContext* ctx) const;

    // Kinds that show a list take it here (not owned); false for the others.
    virtual bool SetData(TemplateList* list);
    virtual TemplateList* Data() const { return nullptr; }

    // Depth-first in template order, a container before its children.
    VTag* FindByName(std::string_view name);
    // Every node of the given type, in template order.
    void FindAllOfType(int cTyp, std::vector<VTag*>& out);

    // Clears the output of this node and all below it.
    virtual void Reset();
    virtual void Prepare(RenderContext& ctx);
    // Produces the output; false ends the rendering of the enclosing container.
    virtual bool Produce(RenderContext& ctx);
    // Field formatting by `size`, `filler` and `align`.
    void Finish();
    // Prepare, produce and finish this node as the top of a rendering.
    bool Render(RenderContext& ctx);

    const std::string& GetOutput() const { return output_; }
    void ClearOutput() { output_.clear(); }
    void Dump(std::string& out) const;

protected:
    // One pass over the children by the container protocol, appending to
    // the output. False once the rendering budget is spent.
    bool RenderChildren(RenderContext& ctx);

    std::string output_;

private:
    struct NoCaseLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    std::string tagType_;
    int cTyp_ = 0;
    int case_ = 0;
    bool isContainer_ = false;
    bool closing_ = false;
    bool defaultAnswer_ = true;
    VTag* parent_ = nullptr;
    TagCallback callback_;
    std::map<std::string, std::string, NoCaseLess> attributes_;
    std::vector<std::string> order_;
    std::vector<std::unique_ptr<VTag>> children_;
    std::size_t size_ = 0;
    char filler_ = ' ';
    bool alignLeft_ = false;
};

}  // namespace flk
