#include "templates/ResultPages.h"

#include "lists/ProjectFolder.h"
#include "platform/Paths.h"
#include "platform/TextModeFile.h"
#include "platform/TextUtil.h"
#include "templates/BandTags.h"
#include "templates/VTemplate.h"

#include <algorithm>

namespace flk {
namespace {

struct KindNames {
    const char* templatePrefix;
    const char* listPrefix;
    const char* framePrefix;
    const char* linkPrefix;  // of its link nodes: "<prefix>_link_up"
};

KindNames NamesOf(ResultKind kind) {
    switch (kind) {
        case ResultKind::Images: return {"ImagesTemplate", "ImagesList", "ImagesFrame", "img"};
        case ResultKind::Movies: return {"VideoTemplate", "VideoList", "VideoFrame", "video"};
        case ResultKind::Sounds: return {"AudioTemplate", "AudioList", "AudioFrame", "audio"};
        case ResultKind::TextHits: break;
    }
    return {"TextTemplate", "TextList", "TextFrame", "text"};
}

void EnableLinks(VTemplate& tpl, ResultKind kind) {
    const std::string prefix = NamesOf(kind).linkPrefix;
    tpl.Enable(prefix + "_link_up");
    tpl.Enable(prefix + "_link_bottom");
}

void CopyIfMissing(const std::string& projectFolder, const std::string& programFolder, const std::string& name) {
    const std::string target = JoinPath(projectFolder, name);
    if (FileExists(target)) return;
    std::string bytes;
    if (!ReadWholeFile(JoinPath(programFolder, name), bytes)) return;
    WriteBinaryFile(target, bytes);  // a failed copy shows as the missing-template page
}

// A plain tag named "page_number" inside an "xpagecontrol" sets "disp_" +
// the control's page variable to that page's number counted from 1, so the
// link of each page can show it.
void AttachPageNumberHooks(VTemplate& tpl) {
    std::vector<VTag*> tags;
    tpl.Root().FindAllOfType(tagtype::Tag, tags);
    for (VTag* tag : tags) {
        if (!EqualsNoCase(tag->GetAttribute("name", ""), "page_number")) continue;
        const VTag* control = tag->Parent();
        while (control && control->Type() != tagtype::XPageControl) control = control->Parent();
        if (!control || !control->HasAttribute("pc_name")) continue;
        const std::string var = control->GetAttribute("pc_name", "");
        tag->SetCallback([var](RenderContext& ctx) {
            ctx.SetVariable("disp_" + var, static_cast<long long>(ctx.VariableNumber(var)) + 1);
            return true;
        });
    }
}

// A container named "preview" holds a player: it renders only on rows whose
// format browsers play, so the others stay plain links.
void AttachPreviewHooks(VTemplate& tpl) {
    std::vector<VTag*> containers;
    tpl.Root().FindAllOfType(tagtype::Container, containers);
    for (VTag* node : containers) {
        if (!EqualsNoCase(node->GetAttribute("name", ""), "preview")) continue;
        const bool allowed = node->DefaultAnswer();
        node->SetCallback([allowed](RenderContext& ctx) {
            const RenderContext* rows = ctx.NearestWithList();
            return allowed && rows && rows->List()->Value(std::string_view("playable")) == "yes";
        });
    }
}

ResultTableOptions TableOptions(const ResultPagesRequest& request) {
    ResultTableOptions o;
    if (request.offline) o.imageCacheFolder = JoinPath(request.projectFolder, kImageCacheFolderName);
    o.readerHitLines = request.readerHitLines;
    o.hitKeywords = request.hitKeywords;
    return o;
}

}  // namespace

int ClampTemplateNumber(int level) { return std::clamp(level, 1, 3); }

std::string TemplateFileName(ResultKind kind, int n) {
    return std::string(NamesOf(kind).templatePrefix) + std::to_string(ClampTemplateNumber(n)) + ".htm";
}

std::string ListPageName(ResultKind kind, long long k) {
    return std::string(NamesOf(kind).listPrefix) + std::to_string(k) + ".htm";
}

std::string FramePageName(ResultKind kind, int n) {
    return std::string(NamesOf(kind).framePrefix) + std::to_string(ClampTemplateNumber(n)) + ".htm";
}

void InstallTemplateFiles(const std::string& projectFolder, const std::string& programFolder, ResultKind kind,
                          int n) {
    if (projectFolder.empty() || programFolder.empty()) return;
    CopyIfMissing(projectFolder, programFolder, TemplateFileName(kind, n));
    CopyIfMissing(projectFolder, programFolder, FramePageName(kind, n));
}

std::string GenerateListPages(const ResultPagesRequest& request, const ListTable& list, AdvSource& adv,
                              std::string* problem) {
    const int n = ClampTemplateNumber(request.templateNumber);
    InstallTemplateFiles(request.projectFolder, request.programFolder, request.kind, n);

    TemplateTable table = BuildResultTable(request.kind, list, TableOptions(request));
    VariableMap vars;
    vars["subject"] = DisplayUtf8(request.subject);

    VTemplate tpl;
    const std::string templatePath = JoinPath(request.projectFolder, TemplateFileName(request.kind, n));
    if (!tpl.LoadTemplate(templatePath)) {
        // The list pages carry the template's error line instead: one page,
        // since without the template there is no page length.
        if (problem) *problem = "the template " + templatePath + " could not be read";
        RenderContext ctx(&vars);
        ctx.SetRegistryFile(request.registryFile);
        const std::string path = JoinPath(request.projectFolder, ListPageName(request.kind, 0));
        return WriteBinaryFile(path, tpl.Render(ctx)) ? path : std::string();
    }

    auto pageNumber = [](RenderContext& ctx) {
        ctx.SetVariable("disp_page_no", static_cast<long long>(ctx.VariableNumber("page_no")) + 1);
        return true;
    };
    tpl.SetCallback("pc_up", pageNumber);
    tpl.SetCallback("pc_bottom", pageNumber);
    AttachPageNumberHooks(tpl);
    if (request.offline) AttachPreviewHooks(tpl);

    adv.SetSubject(DisplayUtf8(request.subject));
    std::vector<VTag*> advNodes;
    tpl.Root().FindAllOfType(tagtype::Adv, advNodes);
    for (VTag* node : advNodes) {
        node->SetData(&adv);
        // A slot with nothing to suggest stays out of the page, and one the
        // template disabled stays disabled.
        const bool allowed = node->DefaultAnswer();
        node->SetCallback([&adv, allowed](RenderContext&) { return allowed && adv.HasContent(); });
    }

    if (request.present.images) EnableLinks(tpl, ResultKind::Images);
    if (request.present.movies) EnableLinks(tpl, ResultKind::Movies);
    if (request.present.sounds) EnableLinks(tpl, ResultKind::Sounds);
    if (request.present.text) EnableLinks(tpl, ResultKind::TextHits);

    VTag* demo = tpl.FindByName("demo");
    if (!demo || !demo->SetData(&table)) {
        if (problem) *problem = "the template " + templatePath + " has no list area (\"demo\")";
        return {};
    }
    const long long rows = RowsPerPage(*demo);
    vars["trn_server"] = request.server;

    const long long total = table.RowCount();
    const long long pages = (total + rows - 1) / rows;
    vars["row_count"] = std::to_string(total);
    vars["page_count"] = std::to_string(pages);

    std::string first;
    for (long long k = 0; k < pages; ++k) {
        vars["page_no"] = std::to_string(k);
        vars["disp_page_no"] = std::to_string(k + 1);
        vars["next_page_no"] = std::to_string(k + 1 < pages ? k + 1 : k);
        vars["priv_page_no"] = std::to_string(k >= 1 ? k - 1 : k);
        vars["first_row"] = std::to_string(k * rows + 1);
        vars["last_row"] = std::to_string(std::min(total, (k + 1) * rows));
        adv.NewCounter();

        RenderContext ctx(&vars);
        ctx.SetRegistryFile(request.registryFile);
        const std::string& page = tpl.Render(ctx);
        const std::string path = JoinPath(request.projectFolder, ListPageName(request.kind, k));
        // A page that cannot be written is skipped; the others still are.
        if (WriteBinaryFile(path, page) && first.empty()) first = path;
        tpl.Reset();
    }
    return first;
}

}  // namespace flk
