#include "templates/VTemplate.h"

#include "platform/HtmlEscape.h"
#include "platform/TextUtil.h"
#include "templates/TemplateParser.h"
#include "templates/TemplateText.h"
#include "templates/ValueTags.h"

#include <cerrno>
#include <sys/stat.h>

namespace flk {
namespace {
// Templates are small pages; anything larger is refused rather than read.
constexpr off_t kMaxTemplateBytes = off_t{64} << 20;

std::unique_ptr<VTag> NewRoot() {
    auto root = std::make_unique<VTag>("HTML", tagtype::Container, true);
    return root;
}
}  // namespace

VTemplate::VTemplate() : root_(NewRoot()) {}

void VTemplate::ParseText(std::string_view text) {
    root_ = NewRoot();
    BuildTagTree(*root_, text);
}

bool VTemplate::LoadTemplate(const std::string& path) {
    std::string text;
    int error = 0;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > kMaxTemplateBytes) {
        error = EFBIG;
    } else if (!ReadWholeFile(path, text)) {
        error = errno != 0 ? errno : EIO;
    }
    if (error == 0) {
        ParseText(text);
        return true;
    }
    // The path goes into the page as text, not as template source, so a
    // "[" in a folder name cannot turn into a tag.
    root_ = NewRoot();
    root_->AddChild(std::make_unique<TextTag>("ERROR:Cant Open file error no- " + std::to_string(error) +
                                              " <br> File Name=" + EscapeHtml(path)));
    return false;
}

bool VTemplate::SetCallback(std::string_view name, TagCallback callback) {
    VTag* node = root_->FindByName(name);
    if (!node) return false;
    node->SetCallback(std::move(callback));
    return true;
}

bool VTemplate::Enable(std::string_view name) {
    VTag* node = root_->FindByName(name);
    if (!node) return false;
    node->Enable();
    return true;
}

const std::string& VTemplate::Render(RenderContext& ctx) {
    root_->Render(ctx);
    return root_->GetOutput();
}

}  // namespace flk
