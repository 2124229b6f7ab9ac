#include "session/ResultPageWriter.h"

#include "lists/MediaLists.h"
#include "platform/Paths.h"
#include "search/HitList.h"
#include "search/SafetyLevel.h"
#include "settings/Settings.h"
#include "templates/ResultPages.h"
#include "update/UpdateData.h"

namespace flk {

std::string ResultPageWriter::Write(const std::string& projectFolder, const std::string& subject) {
    UpdateData data(update_, settings_);
    data.Load();
    AdvSource adv;
    adv.SetMode(AdvModeFromUpdateData(data));
    adv.SetCategories(AdvCategoriesFromUpdateData(data));
    adv.SetSubject(subject);

    ResultPresence present;
    present.images = lists_.images.RowCount() > 0;
    present.movies = lists_.movies.RowCount() > 0;
    present.sounds = lists_.sounds.RowCount() > 0;
    present.text = hits_.RowCount() > 0;

    ResultPagesRequest request;
    request.projectFolder = projectFolder;
    request.programFolder = settings_.HomeDirectory();
    request.subject = subject;
    request.server = data.GetServer();
    request.templateNumber = ClampTemplateNumber(GetSafetyLevel(settings_));
    request.present = present;

    std::string first;
    auto generate = [&](ResultKind kind, bool has, const ListTable& table) {
        if (!has) return;
        request.kind = kind;
        if (!GenerateListPages(request, table, adv).empty() && first.empty())
            first = JoinPath(request.projectFolder, FramePageName(kind, request.templateNumber));
    };
    generate(ResultKind::Images, present.images, lists_.images.Snapshot());
    generate(ResultKind::Sounds, present.sounds, lists_.sounds.Snapshot());
    generate(ResultKind::Movies, present.movies, lists_.movies.Snapshot());
    generate(ResultKind::TextHits, present.text, hits_.Snapshot());
    return first;
}

}  // namespace flk
