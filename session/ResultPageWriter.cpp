#include "session/ResultPageWriter.h"

#include "lists/MediaLists.h"
#include "query/HitLine.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "search/HitList.h"
#include "search/SafetyLevel.h"
#include "settings/Settings.h"
#include "templates/ResultPages.h"
#include "update/UpdateData.h"

namespace flk {

std::string ResultPageWriter::Write(const std::string& projectFolder, const std::string& subject,
                                   std::vector<std::string>& problems) {
    ResultCounts rows;
    rows.images = static_cast<int>(lists_.images.RowCount());
    rows.sounds = static_cast<int>(lists_.sounds.RowCount());
    rows.movies = static_cast<int>(lists_.movies.RowCount());
    rows.textHits = static_cast<int>(hits_.RowCount());
    return Generate(projectFolder, subject, rows, problems);
}

std::string ResultPageWriter::WriteValid(const std::string& projectFolder, const std::string& subject,
                                         ResultCounts& counts, std::vector<std::string>& problems) {
    counts.images = lists_.images.CountValidItems();
    counts.sounds = lists_.sounds.CountValidItems();
    counts.movies = lists_.movies.CountValidItems();
    counts.textHits = static_cast<int>(hits_.RowCount());
    if (!counts.Any()) return "";
    // The pages show the selected rows: exactly the valid ones.
    if (counts.images > 0) lists_.images.SelectValidItems();
    if (counts.sounds > 0) lists_.sounds.SelectValidItems();
    if (counts.movies > 0) lists_.movies.SelectValidItems();
    return Generate(projectFolder, subject, counts, problems);
}

std::string ResultPageWriter::Generate(const std::string& projectFolder, const std::string& subject,
                                       const ResultCounts& present, std::vector<std::string>& problems) {
    UpdateData data(update_, settings_);
    data.Load();
    AdvSource adv;
    adv.SetMode(AdvModeFromUpdateData(data));
    adv.SetCategories(AdvCategoriesFromUpdateData(data));
    adv.SetSubject(subject);

    ResultPagesRequest request;
    request.projectFolder = projectFolder;
    request.programFolder = settings_.HomeDirectory();
    request.registryFile = RegistryStore::InFolder(settings_.Folders().windows).Path();
    request.subject = subject;
    request.server = data.GetServer();
    request.templateNumber = ClampTemplateNumber(GetSafetyLevel(settings_));
    request.present.images = present.images > 0;
    request.present.movies = present.movies > 0;
    request.present.sounds = present.sounds > 0;
    request.present.text = present.textHits > 0;
    request.offline = settings_.Get(keys::ModernOffline) != 0;
    request.readerHitLines = settings_.Get(keys::ModernHitText) != 0;
    request.hitKeywords = BuildKeywordList(crawlQuery_);
    for (std::string& word : BuildKeywordList(hits_.Query())) request.hitKeywords.push_back(std::move(word));

    // Written in the order the first page is chosen in.
    std::string first;
    auto generate = [&](ResultKind kind, bool has, const auto& list) {
        if (!has) return;
        request.kind = kind;
        std::string problem;
        const std::string firstList = GenerateListPages(request, list.Snapshot(), adv, &problem);
        if (!problem.empty()) problems.push_back(problem);
        if (firstList.empty() || !first.empty()) return;
        const std::string frame = JoinPath(request.projectFolder, FramePageName(kind, request.templateNumber));
        first = FileExists(frame) ? frame : firstList;
    };
    generate(ResultKind::Images, request.present.images, lists_.images);
    generate(ResultKind::Sounds, request.present.sounds, lists_.sounds);
    generate(ResultKind::Movies, request.present.movies, lists_.movies);
    generate(ResultKind::TextHits, request.present.text, hits_);
    return first;
}

}  // namespace flk
