// A setting of section `modern` changed while the crawler window is open (as
// the configuration dialog changes it) applies to the next crawl: each row
// crawls one loopback site, changes a key, clears the lists, crawls again,
// and sees the difference.
#include "session/CrawlerSession.h"
#include "settings/Settings.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>

using namespace flk;
using namespace std::chrono_literals;

namespace {

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// A PNG of `bytes` bytes whose header states w x h; fill tells files apart.
std::string Png(std::uint32_t w, std::uint32_t h, std::size_t bytes, char fill) {
    std::string s = std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(w) + Be32(h) + std::string(5, '\0');
    s.resize(bytes, fill);
    return s;
}

// One page with a picture whose tag understates it, a picture known only by
// its content type, and one picture under two addresses.
void AddSite(test::LoopbackServer& server) {
    server.Add({.path = "/index.html",
                .headers = {{"Content-Type", "text/html"}},
                .body = "<title>Home</title><img src=\"/a.png\" width=10 height=10 alt=\"a\">"
                        "<img src=\"/img?id=7\" alt=\"typed\"><img src=\"/twin1.png\"><img src=\"/twin2.png\">"});
    for (const char* twin : {"/twin1.png", "/twin2.png"})
        server.Add({.path = twin, .headers = {{"Content-Type", "image/png"}}, .body = Png(50, 50, 4000, 'w')});
    server.Add({.path = "/a.png", .headers = {{"Content-Type", "image/png"}}, .body = Png(300, 200, 6000, 'a'),
                .ranges = true});
    server.Add({.path = "/img?id=7", .headers = {{"Content-Type", "image/png"}}, .body = Png(640, 480, 9000, 't'),
                .ranges = true});
}

struct Crawl {
    const test::LoopbackServer& server;
    CrawlerSession& session;

    // The header a request of the target carried: every request's value,
    // "|"-separated, so a page request and a check of the same target would
    // both show.
    std::string Seen(const std::string& target, std::string test::RequestRecord::*header) const {
        std::string seen;
        for (const test::RequestRecord& r : server.Requests())
            if (r.target == target) seen += (seen.empty() ? "" : "|") + r.*header;
        return seen;
    }
    // The images list's rows whose file names begin with `prefix`.
    std::string ImageRows(const std::string& prefix) const {
        const ImagesList& images = session.Lists().images;
        int n = 0;
        for (std::size_t row = 0; row < images.RowCount(); ++row) n += images.Cell(row, 0).starts_with(prefix);
        return std::to_string(n);
    }
    // The images list's cell of the row whose file name is `name`; "<none>"
    // without such a row.
    std::string ImageCell(const std::string& name, std::size_t column) const {
        const ImagesList& images = session.Lists().images;
        for (std::size_t row = 0; row < images.RowCount(); ++row)
            if (images.Cell(row, 0) == name) return images.Cell(row, column);
        return "<none>";
    }
};

constexpr std::size_t kWidthColumn = 3;

struct Row {
    const char* name;
    std::function<void(Settings&, test::TempDir&)> before, after;
    std::function<std::string(const Crawl&)> look;
    const char* seenBefore;
    const char* seenAfter;
};

}  // namespace

TEST(SettingsBetweenCrawls, AChangedModernKeyAppliesToTheNextCrawl) {
    const std::vector<Row> rows = {
        {"user agent of pages and checks",
         [](Settings& s, test::TempDir&) { s.Set(keys::ModernUserAgent, std::string("Probe/1")); },
         [](Settings& s, test::TempDir&) { s.Set(keys::ModernUserAgent, std::string("Probe/2")); },
         [](const Crawl& c) {
             return c.Seen("/index.html", &test::RequestRecord::agent) + " " +
                    c.Seen("/a.png", &test::RequestRecord::agent);
         },
         "Probe/1 Probe/1", "Probe/2 Probe/2"},
        {"cookies of pages and checks", [](Settings&, test::TempDir&) {},
         [](Settings& s, test::TempDir& dir) {
             dir.Write("cookies.txt", "127.0.0.1\tFALSE\t/\tFALSE\t0\tsid\tabc\n");
             s.Set(keys::ModernCookies, dir.File("cookies.txt"));
         },
         [](const Crawl& c) {
             return c.Seen("/index.html", &test::RequestRecord::cookie) + " " +
                    c.Seen("/a.png", &test::RequestRecord::cookie);
         },
         " ", "sid=abc sid=abc"},
        {"pixel sizes from the file", [](Settings& s, test::TempDir&) { s.Set(keys::ModernSizes, 0); },
         [](Settings& s, test::TempDir&) { s.Set(keys::ModernSizes, 1); },
         [](const Crawl& c) { return c.ImageCell("a.png", kWidthColumn); }, "10", "300"},
        {"media placed by their type", [](Settings&, test::TempDir&) {},
         [](Settings& s, test::TempDir&) { s.Set(keys::ModernContent, 0); },
         [](const Crawl& c) { return c.ImageCell("img?id=7", kWidthColumn); }, "640", "<none>"},
        {"one picture under two addresses", [](Settings&, test::TempDir&) {},
         [](Settings& s, test::TempDir&) { s.Set(keys::ModernDuplicates, 0); },
         [](const Crawl& c) { return c.ImageRows("twin"); }, "1", "2"},
    };
    for (const Row& row : rows) {
        test::TempDir dir;
        Settings settings{dir.File("flk.ini"), dir.Path()};
        settings.WriteDefaults();
        settings.Set(keys::ProjectPath, dir.Path());
        settings.Set(keys::MediaImagesMinSizeLimit, 0);
        settings.Set(keys::TreePureImages, 0);  // a small tag is still listed
        NullNotifier notifier;
        test::LoopbackServer server;
        AddSite(server);
        row.before(settings, dir);
        InternetOptions network;
        network.connectTimeoutMs = 2000;
        CrawlerSession session(SessionContext{settings, notifier, network, Pacing::None()});
        const Crawl crawl{server, session};

        ASSERT_TRUE(session.Start(server.Url("/index.html"))) << row.name;
        ASSERT_TRUE(session.WaitForEnd(30s)) << row.name;
        EXPECT_EQ(row.look(crawl), row.seenBefore) << row.name << ", first crawl";

        row.after(settings, dir);
        session.ClearAll();
        server.ClearLog();
        ASSERT_TRUE(session.Start(server.Url("/index.html"))) << row.name;
        ASSERT_TRUE(session.WaitForEnd(30s)) << row.name;
        EXPECT_EQ(row.look(crawl), row.seenAfter) << row.name << ", second crawl";
    }
}

namespace {

bool SamePauses(const Pacing& a, const Pacing& b) {
    return a.perIncomingItem == b.perIncomingItem && a.betweenTreeLines == b.betweenTreeLines &&
           a.betweenPasses == b.betweenPasses && a.betweenScans == b.betweenScans &&
           a.perFoundTag == b.perFoundTag && a.workerEnd == b.workerEnd;
}

}  // namespace

// "Crawling speed:" decides the pauses of the next crawl in the program;
// batch runs and tests that fix their pauses keep them.
TEST(SettingsBetweenCrawls, TheSpeedSettingDecidesThePausesOfTheNextCrawl) {
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    NullNotifier notifier;
    CrawlerSession program(SessionContext{settings, notifier, {}, std::nullopt});
    CrawlerSession batch(SessionContext{settings, notifier, {}, Pacing::None()});
    EXPECT_TRUE(SamePauses(program.PacingNow(), Pacing{}));  // "Slow" at first
    const struct {
        const char* speed;
        Pacing pauses;
    } speeds[] = {{"Fast", Pacing::None()}, {"Slow", Pacing{}}, {"fast", Pacing{}}, {"", Pacing{}}};
    for (const auto& s : speeds) {
        settings.Set(keys::CrawlerThreadsPriority, std::string(s.speed));
        EXPECT_TRUE(SamePauses(program.PacingNow(), s.pauses)) << s.speed;
        EXPECT_TRUE(SamePauses(batch.PacingNow(), Pacing::None())) << s.speed;
    }
    settings.Set(keys::CrawlerThreadsPriority, std::string("Normal"));
    const Pacing normal = program.PacingNow();
    EXPECT_EQ(normal.perFoundTag.count(), 0);  // the pause that costs most on a big page
    EXPECT_EQ(normal.perIncomingItem.count(), 0);
    EXPECT_GT(normal.betweenPasses.count(), 0);
    EXPECT_LT(normal.betweenPasses, Pacing{}.betweenPasses);
}
