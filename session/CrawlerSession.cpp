#include "session/CrawlerSession.h"

#include "settings/Settings.h"
#include "lists/SiteMaps.h"
#include "platform/Paths.h"
#include "platform/TextModeFile.h"
#include "platform/TextUtil.h"
#include "search/SafetyLevel.h"
#include "templates/ResultPages.h"
#include "update/UpdateData.h"

namespace flk {

namespace {

// A crawl limit kept as a decimal string: one that reads 0 gets its default,
// which is written back so the configuration shows what is used.
int ReadLimit(Settings& settings, const StrKey& key) {
    int value = settings.GetDecimal(key);
    if (value == 0) {
        value = DecimalFromText(key.def);
        settings.Set(key, std::string(key.def));
    }
    return value;
}

}  // namespace

CrawlerSession::CrawlerSession(SessionContext context)
    : ctx_(std::move(context)),
      project_(ChooseProjectAtStart(ctx_.settings)),
      updateFile_(project_.folder),
      checker_(internet_, lists_, MediaCheckerOptions{ctx_.network}) {
    lists_.ApplySettings(ctx_.settings);
    hits_.LoadSettings(ctx_.settings);
    PrepareImageCache(project_.ImageCacheFolder());
    checker_.SetImageCache(project_.ImageCacheFolder(), ctx_.settings.Get(keys::TreeDownload) == 1);
    lists_.Connect(&ctx_.notifier, &checker_, nullptr);
    limits_.maxDepth = ReadLimit(ctx_.settings, keys::CrawlerMaxDepth);
    limits_.maxPages = ReadLimit(ctx_.settings, keys::CrawlerMaxPages);
    limits_.maxThreads = 10;
    mainData_.lastSite = ctx_.settings.Get(keys::UrlsHistoryUrl);
}

CrawlerSession::~CrawlerSession() {
    // The crawl goes first: at its end it stops the backup timer.
    kernel_.reset();  // stops and joins the crawl and its workers
    backup_.reset();
    pages_.reset();
    checker_.Stop();
}

bool CrawlerSession::Start(const std::string& locations) {
    {
        std::lock_guard<std::mutex> lock(stateLock_);
        if (crawling_) return false;
    }
    EndPreviousCrawl();
    pages_ = std::make_unique<CrawlPages>(
        CrawlPagesContext{internet_, ctx_.network, ctx_.notifier, lists_, hits_, *this});
    // An entry counts when its ";" is met: the typed text gets a final one.
    auto crawl = std::make_unique<kernel>(locations + ";",
                                          KernelContext{ctx_.settings, *this, ctx_.notifier, *pages_, &checker_,
                                                        ctx_.pacing});
    if (crawl->StartLocations().empty()) return false;
    {
        std::lock_guard<std::mutex> lock(stateLock_);
        crawling_ = true;
        progress_ = CrawlProgress{};
        progress_.status = "starting...";
    }
    std::string typed = locations;
    while (!typed.empty() && (typed.back() == ';' || IsSpace(typed.back()))) typed.pop_back();
    {
        std::lock_guard<std::mutex> lock(projectLock_);
        mainData_.lastSite = typed;
    }
    kernel_ = std::move(crawl);
    if (ctx_.settings.Get(keys::CrawlerUseBackup) == 1) {
        const auto period = backupPeriodOverride_.count() > 0
                                ? backupPeriodOverride_
                                : BackupTimer::PeriodFromMinutes(ctx_.settings.Get(keys::CrawlerBackupMinutes));
        backup_ = std::make_unique<BackupTimer>(period, [this] { SaveProject(); });
        backup_->Start();
    }
    if (!kernel_->Start(WorkerThread::Priority::Normal)) {
        kernel_.reset();
        backup_.reset();  // no crawl to back up
        std::lock_guard<std::mutex> lock(stateLock_);
        crawling_ = false;
        return false;
    }
    return true;
}

void CrawlerSession::EndPreviousCrawl() {
    kernel_.reset();
    backup_.reset();
    pages_.reset();
}

void CrawlerSession::Stop() {
    if (kernel_) kernel_->Stop();
}

void CrawlerSession::Pause() {
    if (kernel_) kernel_->Pause();
}

void CrawlerSession::Resume() {
    if (kernel_) kernel_->Resume();
}

bool CrawlerSession::Crawling() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return crawling_;
}

bool CrawlerSession::WaitForEnd(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(stateLock_);
    return endedCv_.wait_for(lock, timeout, [this] { return !crawling_; });
}

CrawlProgress CrawlerSession::Progress() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return progress_;
}

int CrawlerSession::AcceptedPages() const { return kernel_ ? kernel_->AcceptedPages() : 0; }

void CrawlerSession::SetMaxThreads(int n) {
    std::lock_guard<std::mutex> lock(stateLock_);
    limits_.maxThreads = n < 1 ? 1 : n;
}

void CrawlerSession::SetSinglePage(bool on) {
    std::lock_guard<std::mutex> lock(stateLock_);
    singlePage_ = on;
}

void CrawlerSession::SetSearch(const SearchOptions& search) {
    std::lock_guard<std::mutex> lock(stateLock_);
    search_ = search;
}

void CrawlerSession::SetOneSiteMode(bool oneSite) {
    std::lock_guard<std::mutex> lock(projectLock_);
    mainData_.oneSite = oneSite;
}

void CrawlerSession::OnCrawlEnded(std::function<void()> callback) {
    std::lock_guard<std::mutex> lock(stateLock_);
    endedCallback_ = std::move(callback);
}

CrawlLimits CrawlerSession::Limits() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    CrawlLimits l = limits_;
    if (singlePage_) l.maxPages = 1;
    return l;
}

bool CrawlerSession::SinglePage() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return singlePage_;
}

SearchOptions CrawlerSession::Search() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return search_;
}

void CrawlerSession::AddTreeLine(const std::string& itemText, const std::string& parentText) {
    trees_.AddTreeItem(itemText, parentText);
}

void CrawlerSession::ShowProgress(const CrawlProgress& progress) {
    std::lock_guard<std::mutex> lock(stateLock_);
    const std::string status = progress_.status;
    progress_ = progress;
    if (progress.status.empty()) progress_.status = status;  // numbers only
}

void CrawlerSession::StorePage(const StoredPage& page) {
    if (Search().offlineSearch) storedPages_.Add(page);
}

void CrawlerSession::CrawlEnded() {
    // A backup save still running finishes first: once the crawl counts as
    // over a project may be loaded, and a late save would write into it.
    if (backup_) {
        backup_->Stop();
        backup_->Join();
    }
    std::function<void()> callback;
    {
        std::lock_guard<std::mutex> lock(stateLock_);
        crawling_ = false;
        progress_.status = "Ready.";
        callback = endedCallback_;
    }
    endedCv_.notify_all();
    if (callback) callback();
}

ProjectLocation CrawlerSession::Project() const {
    std::lock_guard<std::mutex> lock(projectLock_);
    return project_;
}

std::string CrawlerSession::ProjectText() const {
    ProjectMainData mainData;
    {
        std::lock_guard<std::mutex> lock(projectLock_);
        mainData = mainData_;
    }
    return lists_.images.SaveBlock() + lists_.movies.SaveBlock() + hits_.SaveBlock() + lists_.sounds.SaveBlock() +
           TreeBlock(trees_) + MainDataBlock(mainData);
}

bool CrawlerSession::SaveProject() { return WriteProjectFile(Project().FilePath(), ProjectText()); }

bool CrawlerSession::LoadProject(const std::string& path) {
    if (Crawling()) return false;
    const std::string text = ReadProjectFile(path);
    const ProjectLocation chosen = RememberProjectFile(ctx_.settings, path);
    {
        std::lock_guard<std::mutex> lock(projectLock_);
        project_ = chosen;
    }
    updateFile_.SetProjectFolder(chosen.folder);
    hits_.LoadBlock(text);
    LoadTreeBlock(trees_, text);
    lists_.images.LoadBlock(text);
    lists_.movies.LoadBlock(text);
    lists_.sounds.LoadBlock(text);
    const MainDataRead main = ReadMainData(text);
    std::lock_guard<std::mutex> lock(projectLock_);
    if (main.oneSite) mainData_.oneSite = *main.oneSite;
    if (main.lastSite) mainData_.lastSite = *main.lastSite;
    return true;
}

bool CrawlerSession::NewProject(const std::string& path) {
    if (!CreateEmptyProject(path)) return false;
    const ProjectLocation chosen = RememberProjectFile(ctx_.settings, path);
    {
        std::lock_guard<std::mutex> lock(projectLock_);
        project_ = chosen;
    }
    updateFile_.SetProjectFolder(chosen.folder);
    return true;
}

std::vector<std::string> CrawlerSession::WriteListFiles() {
    std::vector<std::string> written;
    auto keep = [&](const std::string& path) {
        if (!path.empty()) written.push_back(path);
    };
    const std::string folder = Project().folder;
    for (MediaList* list : {static_cast<MediaList*>(&lists_.images), static_cast<MediaList*>(&lists_.movies),
                            static_cast<MediaList*>(&lists_.sounds)}) {
        if (list->RowCount() == 0) continue;
        keep(list->WriteLinksFile(folder));
        keep(list->WriteReportFile(folder));
    }
    if (hits_.RowCount() > 0) {
        keep(hits_.WriteHtmlList(folder));
        keep(hits_.WriteTextList(folder));
        keep(hits_.WriteReport(folder));
    }
    if (!trees_.Empty()) {
        std::string text, html;
        const bool titles = trees_.TitlesMode();
        trees_.WithShownTree([&](TreeModel& tree) {
            tree.ExpandAll();
            text = SiteMapText(tree, titles);
            html = SiteMapHtml(tree, titles);
        });
        for (const auto& [name, content] : {std::pair{kSiteMapTextFile, &text}, std::pair{kSiteMapHtmlFile, &html}})
            if (WriteTextModeFile(JoinPath(folder, name), *content)) written.push_back(JoinPath(folder, name));
    }
    return written;
}

std::string CrawlerSession::WriteResultPages(const std::string& subject) {
    UpdateData data(updateFile_, ctx_.settings);
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
    request.projectFolder = Project().folder;
    request.programFolder = ctx_.settings.HomeDirectory();
    request.subject = subject;
    request.server = data.GetServer();
    request.templateNumber = ClampTemplateNumber(GetSafetyLevel(ctx_.settings));
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
