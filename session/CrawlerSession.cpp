#include "session/CrawlerSession.h"

#include "net/PoliteRequests.h"
#include "net/RequestTimeLimit.h"
#include "platform/TextUtil.h"
#include "settings/ChosenPrograms.h"
#include "settings/Settings.h"

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

// A size check is a request like a page's: a server that drips must not
// hold a checker worker, and with it the end of the crawl, for longer.
MediaCheckerOptions CheckerOptions(const InternetOptions& network, const Settings& settings) {
    MediaCheckerOptions options{network};
    options.requestTimeoutMs = RequestTimeLimitMs(settings);
    // The lists use what the first bytes tell only when these are on.
    options.pixelSizes = settings.Get(keys::ModernSizes) != 0;
    options.fingerprints = settings.Get(keys::ModernDuplicates) != 0;
    return options;
}

}  // namespace

CrawlerSession::CrawlerSession(SessionContext context)
    : ctx_(std::move(context)),
      politeNetwork_(WithPoliteRequests(ctx_.network, ctx_.settings)),
      store_(ctx_.settings, ProjectContents{lists_, hits_, trees_, updateFile_, sites_}),
      updateFile_(store_.Location().folder),
      checker_(internet_, lists_, CheckerOptions(politeNetwork_, ctx_.settings)),
      listWriter_(lists_, hits_, trees_, sites_, ctx_.settings.MakerHost()),
      pageWriter_(ctx_.settings, updateFile_, lists_, hits_) {
    const ProjectLocation project = store_.Location();
    lists_.ApplySettings(ctx_.settings);
    hits_.LoadSettings(ctx_.settings);
    PrepareImageCache(project.ImageCacheFolder());
    checker_.SetImageCache(project.ImageCacheFolder(), ctx_.settings.Get(keys::TreeDownload) == 1);
    lists_.Connect(&ctx_.notifier, &checker_, nullptr);
    limits_.maxDepth = ReadLimit(ctx_.settings, keys::CrawlerMaxDepth);
    limits_.maxPages = ReadLimit(ctx_.settings, keys::CrawlerMaxPages);
    limits_.maxThreads = 10;
    store_.SetLastSite(ctx_.settings.Get(keys::UrlsHistoryUrl));
}

CrawlerSession::~CrawlerSession() {
    // The crawl goes first: at its end it stops the backup timer.
    kernel_.reset();  // stops and joins the crawl and its workers
    backup_.reset();
    pages_.reset();
    checker_.Stop();
}

FetchFailures::Summary CrawlerSession::Failures() const {
    return pages_ ? pages_->Failures().Get() : FetchFailures::Summary{};
}

Pacing CrawlerSession::PacingNow() const {
    return ctx_.pacing ? *ctx_.pacing : Pacing::ForSpeed(ctx_.settings.Get(keys::CrawlerThreadsPriority));
}

bool CrawlerSession::Start(const std::string& locations) {
    {
        std::lock_guard<std::mutex> lock(stateLock_);
        if (crawling_) return false;
    }
    EndPreviousCrawl();
    FollowSettings();
    pages_ = std::make_unique<CrawlPages>(
        CrawlPagesContext{internet_, politeNetwork_, ctx_.notifier, lists_, hits_, *this});
    // An entry counts when its ";" is met: the typed text gets a final one.
    auto crawl = std::make_unique<kernel>(locations + ";",
                                          KernelContext{ctx_.settings, *this, ctx_.notifier, *pages_, &checker_,
                                                        PacingNow()});
    const std::vector<std::string> starts = crawl->StartLocations();
    if (starts.empty()) return false;
    bool oneSiteMode;
    {
        std::lock_guard<std::mutex> lock(stateLock_);
        crawling_ = true;
        progress_ = CrawlProgress{};
        progress_.status = "starting...";
        oneSiteMode = oneSiteMode_;
    }
    if (starts.size() > 1 || !oneSiteMode) {
        std::string sites;
        for (const std::string& start : starts) sites += start + ";";
        store_.UseSites(sites);
    } else {
        std::string typed = locations;
        while (!typed.empty() && (typed.back() == ';' || IsSpace(typed.back()))) typed.pop_back();
        store_.SetOneSite(true);
        store_.SetLastSite(typed);
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

void CrawlerSession::FollowSettings() {
    politeNetwork_ = WithPoliteRequests(ctx_.network, ctx_.settings);
    checker_.SetOptions(CheckerOptions(politeNetwork_, ctx_.settings));
    checker_.SetImageCache(Project().ImageCacheFolder(), ctx_.settings.Get(keys::TreeDownload) == 1);
    lists_.ApplySettings(ctx_.settings);
    hits_.SetReaderLines(ctx_.settings.Get(keys::ModernHitText) != 0);
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
    limits_.maxPages = on ? 1 : ReadLimit(ctx_.settings, keys::CrawlerMaxPages);
}

void CrawlerSession::SetSearch(const SearchOptions& search) {
    std::lock_guard<std::mutex> lock(stateLock_);
    search_ = search;
}

void CrawlerSession::SetOneSiteMode(bool oneSite) {
    {
        std::lock_guard<std::mutex> lock(stateLock_);
        oneSiteMode_ = oneSite;
    }
    store_.SetOneSite(oneSite);
}

void CrawlerSession::OnCrawlEnded(std::function<void()> callback) {
    std::lock_guard<std::mutex> lock(stateLock_);
    endedCallback_ = std::move(callback);
}

CrawlLimits CrawlerSession::Limits() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return limits_;
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
    // The page limit may have been one page for this crawl, or changed in
    // the profile meanwhile: the next crawl uses the profile's.
    const int maxPages = ReadLimit(ctx_.settings, keys::CrawlerMaxPages);
    {
        std::lock_guard<std::mutex> lock(stateLock_);
        crawling_ = false;
        singlePage_ = false;
        limits_.maxPages = maxPages;
        progress_.status = "Ready.";
        callback = endedCallback_;
    }
    endedCv_.notify_all();
    if (callback) callback();
}

ProjectLocation CrawlerSession::Project() const { return store_.Location(); }

std::string CrawlerSession::ProjectText() const { return store_.Text(); }

bool CrawlerSession::SaveProject() { return store_.Save(); }

ProjectMainData CrawlerSession::MainData() const { return store_.MainData(); }

void CrawlerSession::ClearAll() {
    lists_.ClearAll();
    hits_.Clear();
    trees_.Clear();
    storedPages_.Clear();
}

bool CrawlerSession::LoadProject(const std::string& path) {
    if (Crawling()) return false;
    ClearAll();
    store_.Load(path);
    FollowProjectFolder();
    // The window takes the mode the project was saved in.
    const bool oneSite = store_.MainData().oneSite;
    std::lock_guard<std::mutex> lock(stateLock_);
    oneSiteMode_ = oneSite;
    return true;
}

bool CrawlerSession::NewProject(const std::string& path) {
    if (!store_.New(path)) return false;
    ClearAll();
    FollowProjectFolder();
    return true;
}

void CrawlerSession::FollowProjectFolder() {
    const std::string cache = Project().ImageCacheFolder();
    EnsureImageCache(cache);
    checker_.SetImageCache(cache, ctx_.settings.Get(keys::TreeDownload) == 1);
}

std::vector<std::string> CrawlerSession::WriteListFiles() { return listWriter_.Write(Project().folder); }

std::string CrawlerSession::WriteResultPages(const std::string& subject) {
    std::vector<std::string> problems;
    return WriteResultPages(subject, problems);
}

std::string CrawlerSession::WriteResultPages(const std::string& subject, std::vector<std::string>& problems) {
    pageWriter_.SetCrawlQuery(Search().text);
    return pageWriter_.Write(Project().folder, subject, problems);
}

ResultsShown CrawlerSession::ShowResults(const std::string& subject, ProgramPicker* picker, std::string* page) {
    std::lock_guard<std::mutex> lock(resultsLock_);
    ResultCounts counts;
    std::vector<std::string> problems;
    pageWriter_.SetCrawlQuery(Search().text);
    const std::string first = pageWriter_.WriteValid(Project().folder, subject, counts, problems);
    if (page) *page = first;
    if (!counts.Any()) return ResultsShown::Nothing;
    if (first.empty()) return ResultsShown::NoMedia;
    return OpenInBrowser(ctx_.settings, first, picker) ? ResultsShown::Opened : ResultsShown::OpenFailed;
}

}  // namespace flk
