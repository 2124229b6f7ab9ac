#pragma once

// Every section and key of "flk.ini" with the default its readers pass.
// Code names a setting only through these constants.
namespace flk {

struct StrKey {
    const char* section;
    const char* key;
    const char* def;
};

struct IntKey {
    const char* section;
    const char* key;
    int def;
};

// Hosts of the maker and of the outside services. Configuration under the
// reserved .example domain; "flk.ini" section "hosts" overrides them.
namespace hosts {
inline constexpr StrKey Maker{"hosts", "maker", "www.findlark.example"};
inline constexpr StrKey UpdateBase{"hosts", "update", "http://www.findlark.example/update/"};
inline constexpr StrKey ServerBase{"hosts", "server", "http://server.findlark.example/trn/"};
inline constexpr StrKey Altavista{"hosts", "altavista", "altavista.search.example"};
inline constexpr StrKey WebCrawler{"hosts", "webcrawler", "webcrawler.search.example"};
inline constexpr StrKey HotBot{"hosts", "hotbot", "hotbot.search.example"};
inline constexpr StrKey Directory{"hosts", "directory", "directory.search.example"};
}  // namespace hosts

namespace keys {
// update, patch, upgrades
inline constexpr IntKey UpdateFirstTime{"update", "firsttime", 0};
inline constexpr IntKey UpdateYear{"update", "year", 1980};
inline constexpr IntKey UpdateMonth{"update", "month", 1};
inline constexpr IntKey UpdateDay{"update", "day", 1};
inline constexpr IntKey PatchYear{"patch", "year", 0};
inline constexpr IntKey PatchMonth{"patch", "month", 0};
inline constexpr IntKey PatchDay{"patch", "day", 0};
inline constexpr StrKey UpgradesBandlerCode{"upgrades", "bandler_code", ""};
inline constexpr StrKey UpgradesBandler{"upgrades", "bandler", ""};
inline constexpr StrKey UpgradesGui{"upgrades", "gui", ""};
inline constexpr StrKey UpgradesEngine{"upgrades", "engine", ""};
inline constexpr StrKey UpgradesTemplates{"upgrades", "templates", ""};
inline constexpr StrKey UpgradesUpgrade{"upgrades", "upgrade", ""};

// program and folders
// FLK_VERSION is the build's project version.
inline constexpr StrKey ProgramVersion{"Program", "Version", "Ver. " FLK_VERSION};
inline constexpr StrKey PathExe{"pathexe", "path", ""};  // empty: the installed resources folder
inline constexpr StrKey StartUpPath{"StartUp", "Path", ""};
inline constexpr StrKey PresentationUrl{"presentation", "url", ""};
inline constexpr IntKey ViewShowPresentationAgain{"view", "showpresentationagain", 1};
inline constexpr IntKey CrawlerEnodger{"crawler", "enodger", 0};

// search
inline constexpr IntKey SearchCategoriesAmount{"search", "categories_amount", 30};
inline constexpr StrKey SearchEngineLine{"search", "engineline", ""};
inline constexpr StrKey SearchLine{"search", "line", ""};
inline constexpr StrKey SearchCond{"search", "cond", ""};
inline constexpr IntKey SearchEngine{"search", "engine", 0};
inline constexpr IntKey SearchMaxCat{"search", "max_cat", 0};

// crawler limits and rules
inline constexpr StrKey CrawlerMaxThreads{"crawler", "maxthreads", "10"};
inline constexpr StrKey CrawlerMaxDepth{"crawler", "maxdepth", "15"};
inline constexpr StrKey CrawlerMaxPages{"crawler", "maxpages", "2000"};
inline constexpr IntKey CrawlerIsDepthLimit{"crawler", "is_depth_limit", 1};
inline constexpr IntKey CrawlerIsPagesLimit{"crawler", "is_pages_limit", 1};
inline constexpr IntKey CrawlerPagesPerSite{"crawler", "pagespersite", 15};
inline constexpr IntKey CrawlerPagesPerSiteInConfig{"crawler", "pagespersite", 10};
inline constexpr IntKey CrawlerPagesPerDomainLimit{"crawler", "pages_per_domain_limit", 1};
inline constexpr StrKey CrawlerThreadsPriority{"crawler", "threads_priority", "Slow"};
inline constexpr StrKey CrawlerFilter{"crawler", "filter", "*"};
inline constexpr StrKey CrawlerParseDlls{"crawler", "parse_dlls", "1"};          // unless-0
inline constexpr StrKey CrawlerStayInDomain{"crawler", "stay_in_domain", "1"};   // unless-0
inline constexpr StrKey CrawlerStayInDir{"crawler", "stay_in_dir", "1"};         // only-1
inline constexpr IntKey CrawlerStayInSearch{"crawler", "stay_in_search", 0};
inline constexpr IntKey CrawlerDomainLevel{"crawler", "domain_level", 0};
inline constexpr StrKey CrawlerDontVisitChk{"crawler", "dont_visit_chk", "0"};   // only-1
inline constexpr StrKey CrawlerDontVisit{"crawler", "dont_visit", "0"};
inline constexpr IntKey CrawlerUseMaxFileSize{"crawler", "use_max_file_size", 1};
inline constexpr IntKey CrawlerMaxFileSize{"crawler", "max_file_size", 100};
inline constexpr IntKey CrawlerUseCash{"crawler", "use_cash", 1};
inline constexpr StrKey CrawlerCheckPass{"crawler", "check_pass", "0"};          // unless-0
inline constexpr IntKey CrawlerUseBackup{"crawler", "use_backup", 0};
inline constexpr IntKey CrawlerBackupMinutes{"crawler", "backup_minutes", 10};
inline constexpr StrKey CrawlerLastPath{"crawler", "lastpath", ""};
inline constexpr IntKey CrawlerSafetyLevel{"crawler", "crl", 2};
inline constexpr IntKey CrawlerAskPassword{"crawler", "crt", 0};
inline constexpr IntKey CrawlerWarning{"crawler", "warning", 0};
inline constexpr StrKey CrawlerWord{"crawler", "word", ""};
inline constexpr IntKey CrawlerFtpValidation{"Crawler", "FtpValidation", 0};
// Seconds one request (a page, an engine or directory reply, the update data,
// a media check) may last in all; downloads have no such limit.
inline constexpr IntKey CrawlerPageTimeout{"crawler", "page_timeout", 120};

// tree
inline constexpr IntKey TreePureImages{"tree", "pure_images", 1};
inline constexpr IntKey TreeDownload{"tree", "download", 1};
inline constexpr StrKey TreeShowTree{"tree", "show_tree", "0"};          // unless-0
inline constexpr StrKey TreeShowTitles{"tree", "show_titles", "0"};      // unless-0
inline constexpr StrKey TreeShowExternal{"tree", "show_external", "0"};  // unless-0
inline constexpr StrKey TreeShowSearch{"tree", "show_search", "0"};      // unless-0
inline constexpr StrKey TreeForceEmails{"tree", "force_emails", "0"};    // only-1

// view
inline constexpr IntKey ViewTip{"view", "tip", 1};
inline constexpr IntKey ViewAskMedia{"view", "askmedia", 0};
inline constexpr IntKey ViewCategoriesTree{"view", "CategoriesTree", 0};
inline constexpr IntKey ViewPopUp{"view", "PopUp", 1};
inline constexpr IntKey ViewMediaStart{"view", "media_start", 6};
inline constexpr StrKey ViewToolbar{"view", "toolbar", "1"};
inline constexpr StrKey ViewProgressbar{"view", "progressbar", "1"};
inline constexpr StrKey ViewTree{"view", "tree", "0"};
inline constexpr StrKey ViewImages{"view", "images", "1"};
inline constexpr StrKey ViewEmails{"view", "emails", "0"};
inline constexpr StrKey ViewSounds{"view", "sounds", "0"};
inline constexpr StrKey ViewMovies{"view", "movies", "0"};
inline constexpr StrKey ViewForms{"view", "forms", "0"};
inline constexpr StrKey ViewExterns{"view", "externs", "0"};
inline constexpr StrKey ViewDownloads{"view", "downloads", "0"};
inline constexpr StrKey ViewApplets{"view", "applets", "0"};
inline constexpr StrKey ViewScripts{"view", "scripts", "0"};
inline constexpr StrKey ViewData{"view", "data", "0"};
inline constexpr StrKey ViewErrors{"view", "errors", "0"};

// media
inline constexpr IntKey MediaTab{"media", "tab", 0};
inline constexpr StrKey MediaImages{"media", "images", "jpg;jpeg;gif;"};
inline constexpr StrKey MediaAudio{"media", "audio", "wav;au;mod;mid;midi;snd;ram;aiff;mp2;mp3;"};
inline constexpr StrKey MediaVideo{"media", "video", "avi;mov;qt;mpeg;mpg;"};
inline constexpr IntKey MediaImagesMinSizeLimit{"media", "images_min_size_limit", 1};
inline constexpr IntKey MediaImagesMaxSizeLimit{"media", "images_max_size_limit", 1};
inline constexpr IntKey MediaImagesMinSize{"media", "images_min_size", 3000};
inline constexpr IntKey MediaImagesMaxSize{"media", "images_max_size", 1000000};

// modern, result pages: pictures from the project's image cache, previews
// of sounds and movies browsers play, and hit lines shown as reader text.
inline constexpr IntKey ModernOffline{"modern", "offline", 1};
inline constexpr IntKey ModernHitText{"modern", "hittext", 1};

// modern: what today's web needs beyond the classic rules; each switch on
// unless set to 0.
inline constexpr IntKey ModernMarkup{"modern", "markup", 1};
inline constexpr IntKey ModernFormats{"modern", "formats", 1};
// Media without a known extension placed by their Content-Type, which also
// corrects a wrong extension.
inline constexpr IntKey ModernContent{"modern", "content", 1};
// Pixel sizes read from the image files' headers.
inline constexpr IntKey ModernSizes{"modern", "sizes", 1};
// The same content under several addresses listed once.
inline constexpr IntKey ModernDuplicates{"modern", "duplicates", 1};
// robots.txt asked once per host and obeyed for pages (start locations
// excepted), its Crawl-delay spacing the page requests to that host.
inline constexpr IntKey ModernRobots{"modern", "robots", 1};
// 429 and 503 with Retry-After: the page is asked again after the wait.
inline constexpr IntKey ModernRetryAfter{"modern", "retry_after", 1};
// Pages asked for with "Accept-Encoding: gzip, br" and decoded.
inline constexpr IntKey ModernCompression{"modern", "compression", 1};
// Requests to one host at once, pages and media checks together; 0: no limit.
inline constexpr IntKey ModernMaxPerHost{"modern", "max_per_host", 4};
// A cookies.txt file (Netscape format) whose cookies go with every request
// to the hosts they match; empty: no cookies. Never written.
inline constexpr StrKey ModernCookies{"modern", "cookies", ""};
// The User-Agent of pages and media checks; empty: the classic agent name.
inline constexpr StrKey ModernUserAgent{"modern", "user_agent", ""};

// browser, editor, folders
inline constexpr IntKey BrowserDefault{"browser", "default", 1};
inline constexpr StrKey BrowserPath{"browser", "path", ""};
inline constexpr StrKey PathLastBrowserPath{"path", "lastbrowserpath", ""};
inline constexpr StrKey EditorPath{"editor", "path", ""};
inline constexpr StrKey ProjectName{"project", "name", ""};
inline constexpr StrKey ProjectPath{"project", "path", ""};

// history and window states
inline constexpr StrKey UrlsHistoryUrl{"urls history", "url", ""};  // empty: the maker's host
inline constexpr StrKey UrlsHistoryHistory{"urls history", "history", ""};
inline constexpr IntKey GuideShow{"guide", "show", 0};
inline constexpr IntKey DomainsShow{"domains", "show", 0};

// download manager
inline constexpr StrKey DownloadDir{"download", "dir", ""};
inline constexpr StrKey DownloadLastFolders{"download", "last_folders", ""};
inline constexpr IntKey DownloadAskNames{"download", "ask_names", 0};
inline constexpr IntKey DownloadRadio{"download", "radio", 1};
inline constexpr IntKey DownloadFree{"download", "free", 10};
inline constexpr IntKey DownloadThreads{"download", "threads", 5};

// banner links (empty: the maker's host)
inline constexpr StrKey BundlerTopUrl{"bundler", "TopUrl", ""};
inline constexpr StrKey BundlerUrl{"bundler", "url", ""};
inline constexpr StrKey BundlerBottUrl{"bundler", "BottUrl", ""};
inline constexpr StrKey BundlerFlkUrl{"bundler", "FlkUrl", ""};
}  // namespace keys

// The bookseller whose engine-result pages ("/av-search/") are not start
// locations.
namespace hosts {
inline constexpr StrKey Bookseller{"hosts", "bookseller", "books.shop.example"};
}  // namespace hosts

}  // namespace flk
