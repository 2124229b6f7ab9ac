#include "flkcrawl/CrawlCommand.h"

#include "settings/Settings.h"
#include "crawl/CrawlOptions.h"
#include "crawl/PageFetcher.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace flk {

const char kCrawlCommandHelp[] =
    "Usage: flkcrawl [OPTIONS] LOCATION...\n"
    "       flkcrawl [OPTIONS] --search WORDS\n"
    "       flkcrawl [OPTIONS] --guide CATEGORY\n"
    "\n"
    "Crawls web sites (or local HTML files) for images, sounds and movies with the\n"
    "settings of flk.ini, then saves the project and writes the links files,\n"
    "reports and result pages into the project folder. Options override the\n"
    "settings for this run only; flk.ini is not changed.\n"
    "\n"
    "Where to start:\n"
    "  LOCATION               a site or page address (\"http://\" is added when it\n"
    "                         has no scheme) or a local file; several may be given\n"
    "  --search WORDS         ask the search engines for WORDS and crawl what they find\n"
    "  --engine NAME          the engine for --search (default: all selected engines)\n"
    "  --guide CATEGORY       crawl the start pages of a guide category\n"
    "\n"
    "Limits:\n"
    "  --depth N              follow links at most N levels deep\n"
    "  --pages N              fetch at most N pages\n"
    "  --per-site N           fetch at most N pages of each site (0: no limit)\n"
    "  --threads N            fetch up to N pages at once (1-100)\n"
    "  --single-page          fetch only the start page\n"
    "\n"
    "What to follow and collect:\n"
    "  --media KINDS          comma list of images, sounds, movies, or all\n"
    "  --stay-in-domain on|off   keep to the start sites\n"
    "  --stay-in-dir on|off      keep to the start folders\n"
    "  --domain-level N       how many site hops away from a start site are taken\n"
    "  --filter PATTERN       follow only addresses matching PATTERN (\"*\" wildcards)\n"
    "  --query TEXT           text search: list the pages whose text matches TEXT\n"
    "\n"
    "Manners:\n"
    "  --robots on|off        obey each site's robots.txt (Disallow, Allow and\n"
    "                         Crawl-delay); the start locations are fetched anyway\n"
    "  --max-per-host N       at most N requests to one host at once (0: no limit)\n"
    "  --user-agent TEXT      the User-Agent sent with pages and media checks\n"
    "  --cookies FILE         send the cookies of FILE (cookies.txt format, as a\n"
    "                         browser exports it) to the sites they belong to;\n"
    "                         the file is only read, never written\n"
    "\n"
    "Output:\n"
    "  --project DIR          project folder for the project file and reports\n"
    "  --no-pages             do not write the HTML result pages\n"
    "  --quiet                no progress line\n"
    "  --download DIR         after the crawl, download the valid media found into DIR\n"
    "                         (settings of section download: threads, free, radio;\n"
    "                         an interrupted file is continued by the next run)\n"
    "  --download-kinds KINDS comma list of images, sounds, movies, or all\n"
    "  --json FILE            write every medium found into FILE, one JSON object a\n"
    "                         line: url, kind, bytes, width, height, content_type,\n"
    "                         page, alt, sha256, duplicates (written whole or not at all)\n"
    "  --resolve HOST:PORT:ADDRESS[,...]\n"
    "                         connect to ADDRESS for HOST:PORT (for test sites)\n"
    "  --help                 show this text\n"
    "  --version              show the version\n"
    "\n"
    "Ctrl-C stops the crawl; what was found so far is saved.\n"
    "Exit status: 0 done, 1 failed (a download too), 2 bad command line.\n";

const char kCrawlCommandVersion[] = "flkcrawl " FLK_VERSION "\n";

namespace {

bool ParseInt(const std::string& text, int low, int high, int& out) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    auto [ptr, ec] = std::from_chars(begin, end, out);
    return ec == std::errc() && ptr == end && out >= low && out <= high;
}

bool ParseOnOff(const std::string& text, bool& out) {
    const std::string t = ToLowerAscii(text);
    if (t == "on" || t == "yes" || t == "1") return out = true, true;
    if (t == "off" || t == "no" || t == "0") return out = false, true;
    return false;
}

struct MediaKinds {
    bool images = false, sounds = false, movies = false;
    std::string error;
};

// "images,sounds" and the like; "all" names every kind.
bool ParseKinds(const std::string& text, MediaKinds& kinds) {
    for (const std::string& raw : Split(text, ",")) {
        const std::string kind = ToLowerAscii(Trim(raw));
        if (kind == "images") kinds.images = true;
        else if (kind == "sounds") kinds.sounds = true;
        else if (kind == "movies") kinds.movies = true;
        else if (kind == "all") kinds.images = kinds.sounds = kinds.movies = true;
        else {
            kinds.error = "unknown kind \"" + kind + "\" (images, sounds, movies, all)";
            return false;
        }
    }
    return true;
}

}  // namespace

std::string CrawlSettingsHelp(Settings& s) {
    using namespace keys;
    const CrawlOptions o = ReadCrawlOptions(s);
    auto onOff = [](bool on) { return std::string(on ? "on" : "off"); };
    std::string kinds;
    for (const auto& [on, name] : {std::pair{o.collectImages, "images"}, {o.collectSounds, "sounds"},
                                   {o.collectMovies, "movies"}})
        if (on) kinds += (kinds.empty() ? "" : ",") + std::string(name);
    auto row = [](const std::string& what, const std::string& value, const std::string& where) {
        std::string line = "  " + what;
        line.resize(std::max<std::size_t>(line.size() + 1, 22), ' ');
        line += value;
        line.resize(std::max<std::size_t>(line.size() + 1, 44), ' ');
        return line + where + "\n";
    };
    std::string t = "\nSettings in force (" + s.ProfilePath() + "):\n";
    t += row("media kinds", kinds.empty() ? "none" : kinds, "[view] images, sounds, movies = 1 or 0");
    t += row("pages per site", o.pagesPerSiteOn ? std::to_string(o.pagesPerSite) : "no limit",
             "[crawler] pagespersite, pages_per_domain_limit");
    t += row("depth", s.Get(CrawlerMaxDepth) + (o.depthLimitOn ? "" : " (off)"), "[crawler] maxdepth, is_depth_limit");
    t += row("pages", s.Get(CrawlerMaxPages) + (o.pagesLimitOn ? "" : " (off)"), "[crawler] maxpages, is_pages_limit");
    t += row("threads", s.Get(CrawlerMaxThreads), "[crawler] maxthreads");
    t += row("page size limit", std::to_string(o.maxFileSizeKb) + " KB, " + onOff(o.useMaxFileSize),
             "[crawler] max_file_size, use_max_file_size");
    t += row("request time limit", std::to_string(o.requestTimeLimitMs / 1000) + " s", "[crawler] page_timeout");
    t += row("image extensions", s.Get(MediaImages), "[media] images");
    t += row("sound extensions", s.Get(MediaAudio), "[media] audio");
    t += row("movie extensions", s.Get(MediaVideo), "[media] video");
    t += row("image size",
             std::to_string(s.Get(MediaImagesMinSize)) + " to " + std::to_string(s.Get(MediaImagesMaxSize)) +
                 " bytes",
             "[media] images_min_size, images_max_size (and *_limit 1 or 0)");
    const int perHost = std::max(0, s.Get(ModernMaxPerHost));
    const std::string agent = TrimCopy(s.Get(ModernUserAgent));
    const std::string cookies = TrimCopy(s.Get(ModernCookies));
    t += row("robots.txt", onOff(o.robots), "[modern] robots");
    t += row("requests per host", perHost > 0 ? std::to_string(perHost) : "no limit", "[modern] max_per_host");
    t += row("Retry-After", onOff(o.retryAfter), "[modern] retry_after");
    t += row("gzip and brotli", onOff(o.compression), "[modern] compression");
    t += row("user agent", agent.empty() ? std::string(kCrawlAgent) : agent, "[modern] user_agent");
    t += row("cookies file", cookies.empty() ? "none" : cookies, "[modern] cookies");
    t += row("safety level", std::to_string(s.Get(CrawlerSafetyLevel)), "[crawler] crl (1 safest, 3 lowest)");
    t += "Change a setting in that file: under its [section], key=value (for example\n"
         "\"maxpages=500\" under [crawler]); the options above change it for one run.\n";
    return t;
}

CrawlCommandParse ParseCrawlCommand(const std::vector<std::string>& args) {
    CrawlCommandParse r;
    CrawlCommand& c = r.command;
    auto fail = [&](const std::string& message) {
        r.ok = false;
        r.error = message;
        return r;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        auto number = [&](std::optional<int>& field, int low, int high) -> bool {
            std::string v;
            int n = 0;
            if (!value(v) || !ParseInt(v, low, high, n)) return false;
            field = n;
            return true;
        };
        auto onOff = [&](std::optional<bool>& field) -> bool {
            std::string v;
            bool b = false;
            if (!value(v) || !ParseOnOff(v, b)) return false;
            field = b;
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            c.help = true;
        } else if (a == "--version") {
            c.version = true;
        } else if (a == "--depth") {
            if (!number(c.depth, 0, 1000000)) return fail("--depth needs a number of 0 or more");
        } else if (a == "--pages") {
            if (!number(c.pages, 1, 100000000)) return fail("--pages needs a number of 1 or more");
        } else if (a == "--per-site") {
            if (!number(c.pagesPerSite, 0, 100000000)) return fail("--per-site needs a number of 0 or more");
        } else if (a == "--threads") {
            if (!number(c.threads, 1, 100)) return fail("--threads needs a number from 1 to 100");
        } else if (a == "--domain-level") {
            if (!number(c.domainLevel, 0, 1000)) return fail("--domain-level needs a number of 0 or more");
        } else if (a == "--stay-in-domain") {
            if (!onOff(c.stayInDomain)) return fail("--stay-in-domain needs on or off");
        } else if (a == "--stay-in-dir") {
            if (!onOff(c.stayInDir)) return fail("--stay-in-dir needs on or off");
        } else if (a == "--media") {
            if (!value(v)) return fail("--media needs a list such as images,sounds");
            MediaKinds kinds;
            if (!ParseKinds(v, kinds)) return fail("--media: " + kinds.error);
            c.images = kinds.images;
            c.sounds = kinds.sounds;
            c.movies = kinds.movies;
        } else if (a == "--download") {
            if (!value(v) || v.empty()) return fail("--download needs a folder");
            c.downloadFolder = v;
        } else if (a == "--json") {
            if (!value(v) || v.empty()) return fail("--json needs a file name");
            c.jsonFile = v;
        } else if (a == "--download-kinds") {
            if (!value(v)) return fail("--download-kinds needs a list such as images,sounds");
            c.downloadKindsGiven = true;
            MediaKinds kinds;
            if (!ParseKinds(v, kinds)) return fail("--download-kinds: " + kinds.error);
            c.downloadImages = kinds.images;
            c.downloadSounds = kinds.sounds;
            c.downloadMovies = kinds.movies;
        } else if (a == "--filter") {
            if (!value(v) || v.empty()) return fail("--filter needs a pattern");
            c.filter = v;
        } else if (a == "--query") {
            if (!value(v)) return fail("--query needs a text");
            c.query = v;
        } else if (a == "--project") {
            if (!value(v) || v.empty()) return fail("--project needs a folder");
            c.projectFolder = v;
        } else if (a == "--resolve") {
            if (!value(v) || v.find(':') == std::string::npos) return fail("--resolve needs HOST:PORT:ADDRESS");
            c.hostMap = v;
        } else if (a == "--robots") {
            if (!onOff(c.robots)) return fail("--robots needs on or off");
        } else if (a == "--max-per-host") {
            if (!number(c.maxPerHost, 0, 1000)) return fail("--max-per-host needs a number from 0 to 1000");
        } else if (a == "--user-agent") {
            if (!value(v) || TrimCopy(v).empty()) return fail("--user-agent needs a text");
            c.userAgent = v;
        } else if (a == "--cookies") {
            if (!value(v) || v.empty()) return fail("--cookies needs a file");
            c.cookies = v;
        } else if (a == "--search") {
            if (!value(v) || TrimCopy(v).empty()) return fail("--search needs the words to search for");
            c.searchWords = v;
        } else if (a == "--guide") {
            if (!value(v) || TrimCopy(v).empty()) return fail("--guide needs a category");
            c.guideCategory = v;
        } else if (a == "--engine") {
            if (!value(v) || v.empty()) return fail("--engine needs an engine name");
            c.engine = v;
        } else if (a == "--single-page") {
            c.singlePage = true;
        } else if (a == "--no-pages") {
            c.resultPages = false;
        } else if (a == "--quiet" || a == "-q") {
            c.quiet = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return fail("unknown option " + a + " (see --help)");
        } else {
            c.locations.push_back(a);
        }
    }
    if (c.help || c.version) {
        r.ok = true;
        return r;
    }
    const int starts = (!c.locations.empty()) + (!c.searchWords.empty()) + (!c.guideCategory.empty());
    if (starts == 0) return fail("nothing to crawl: give a LOCATION, --search WORDS or --guide CATEGORY");
    if (starts > 1) return fail("give either locations, --search or --guide, not several");
    if (!c.engine.empty() && c.searchWords.empty()) return fail("--engine goes with --search");
    if (c.downloadKindsGiven && c.downloadFolder.empty()) return fail("--download-kinds goes with --download");
    r.ok = true;
    return r;
}

void ApplyCrawlCommand(const CrawlCommand& c, Settings& s) {
    using namespace keys;
    if (c.depth) {
        s.Override(CrawlerMaxDepth, *c.depth);
        s.Override(CrawlerIsDepthLimit, 1);
    }
    if (c.pages) {
        s.Override(CrawlerMaxPages, *c.pages);
        s.Override(CrawlerIsPagesLimit, 1);
    }
    if (c.pagesPerSite) {
        s.Override(CrawlerPagesPerDomainLimit, *c.pagesPerSite > 0 ? 1 : 0);
        if (*c.pagesPerSite > 0) s.Override(CrawlerPagesPerSite, *c.pagesPerSite);
    }
    if (c.images) s.Override(ViewImages, *c.images ? "1" : "0");
    if (c.sounds) s.Override(ViewSounds, *c.sounds ? "1" : "0");
    if (c.movies) s.Override(ViewMovies, *c.movies ? "1" : "0");
    if (c.stayInDomain) s.Override(CrawlerStayInDomain, *c.stayInDomain ? "1" : "0");
    if (c.stayInDir) s.Override(CrawlerStayInDir, *c.stayInDir ? "1" : "0");
    if (c.domainLevel) s.Override(CrawlerDomainLevel, *c.domainLevel);
    if (c.filter) s.Override(CrawlerFilter, *c.filter);
    if (c.projectFolder) s.Override(ProjectPath, *c.projectFolder);
    if (c.robots) s.Override(ModernRobots, *c.robots ? 1 : 0);
    if (c.maxPerHost) s.Override(ModernMaxPerHost, *c.maxPerHost);
    if (c.userAgent) s.Override(ModernUserAgent, *c.userAgent);
    if (c.cookies) s.Override(ModernCookies, *c.cookies);
}

}  // namespace flk
