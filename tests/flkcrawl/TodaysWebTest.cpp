// flkcrawl on a site written the way sites are written today: responsive
// and lazy pictures, a video page, a podcast page, CSS galleries, media known
// only by their type, robots.txt, a busy page, compressed pages, a bomb and a
// gallery behind a login cookie. The run must list exactly the site's media,
// with their kinds and true pixel sizes.
#include "support/Compressed.h"
#include "support/LoopbackServer.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

using namespace flk;
using namespace std::chrono_literals;

namespace {

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// A PNG of the given size; `seed` keeps every body different, so no two
// addresses look like one picture unless a test means them to.
std::string Png(std::uint32_t w, std::uint32_t h, char seed) {
    return std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(w) + Be32(h) + std::string(3000, seed);
}

std::string Gif(unsigned w, unsigned h, char seed, std::size_t filler = 4000) {
    std::string g = "GIF89a";
    g += {static_cast<char>(w & 0xff), static_cast<char>(w >> 8), static_cast<char>(h & 0xff),
          static_cast<char>(h >> 8)};
    return g + std::string(filler, seed);
}

std::string Svg(int w, int h) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(w) + "\" height=\"" +
           std::to_string(h) + "\"><!--" + std::string(4000, ' ') + "--><rect width=\"1\" height=\"1\"/></svg>";
}

std::string Html(const std::string& body) { return "<!doctype html><html><head>" + body + "</html>"; }

// What a line of --json says about a medium.
struct Found {
    std::string kind;
    std::string width, height;  // "null" when unknown
    bool operator==(const Found&) const = default;
};

std::string Field(const std::string& line, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    std::size_t at = line.find(key);
    if (at == std::string::npos) return "?";
    at += key.size();
    if (line[at] == '"') return line.substr(at + 1, line.find('"', at + 1) - at - 1);
    return line.substr(at, line.find_first_of(",}", at) - at);
}

struct TodaysSite {
    test::LoopbackServer server;
    std::map<std::string, std::string> bodies;  // medium path -> body

    void Medium(const std::string& path, const std::string& type, const std::string& body) {
        test::PageRow row{path, 200, {{"Content-Type", type}}, body};
        row.ranges = true;
        server.Add(row);
        bodies[path] = body;
    }
    void Page(const std::string& path, const std::string& html) {
        server.Add({path, 200, {{"Content-Type", "text/html; charset=utf-8"}}, html});
    }

    TodaysSite() {
        server.Add({"/robots.txt", 200, {{"Content-Type", "text/plain"}},
                    "User-agent: *\nDisallow: /private/\nCrawl-delay: 0.05\n"});
        // The home page comes gzip-compressed.
        server.Add({"/index.html", 200, {{"Content-Type", "text/html"}, {"Content-Encoding", "gzip"}},
                    test::Gzip(Html("<title>Today</title></head><body>"
                                    "<a href=\"/responsive.html\">r</a><a href=\"/lazy.html\">l</a>"
                                    "<a href=\"/video.html\">v</a><a href=\"/podcast.html\">p</a>"
                                    "<a href=\"/gallery.html\">g</a><a href=\"/typed.html\">t</a>"
                                    "<a href=\"/busy.html\">b</a><a href=\"/private/secret.html\">s</a>"
                                    "<a href=\"/bomb.html\">x</a><a href=\"/members.html\">m</a>"
                                    "<a href=\"/br.html\">br</a><a href=\"/icons.html\">i</a></body>"))});
        Page("/responsive.html",
             Html("</head><body><img src=\"/r/small.png\" srcset=\"/r/small.png 320w, /r/large.png 1280w\">"
                  "<picture><source srcset=\"/r/pic.webp\" type=\"image/webp\"><img src=\"/r/pic.gif\"></picture>"
                  "</body>"));
        Medium("/r/small.png", "image/png", Png(320, 200, 'a'));
        Medium("/r/large.png", "image/png", Png(1280, 800, 'b'));
        Medium("/r/pic.webp", "image/webp", std::string("RIFF") + std::string(6000, 'c'));
        Medium("/r/pic.gif", "image/gif", Gif(400, 300, 'd'));
        Page("/lazy.html", Html("</head><body><img data-src=\"/l/a.gif\" src=\"/l/blank.gif\">"
                                "<img data-srcset=\"/l/b.png 2x\"><img data-original=\"/l/c.png\">"
                                "<img data-lazy-src=\"/l/d.svg\"></body>"));
        Medium("/l/a.gif", "image/gif", Gif(150, 100, 'e'));
        // The lazy page's placeholder: the data- address is the picture.
        Medium("/l/blank.gif", "image/gif", Gif(1, 1, 'f', 30));
        Medium("/l/b.png", "image/png", Png(800, 600, 'g'));
        Medium("/l/c.png", "image/png", Png(500, 500, 'h'));
        Medium("/l/d.svg", "image/svg+xml", Svg(640, 360));
        Page("/video.html",
             Html("<meta property=\"og:video\" content=\"/v/trailer.mp4\"></head><body>"
                  "<video src=\"/v/clip.mp4\" poster=\"/v/poster.png\"><track src=\"/v/subs.vtt\"></video>"
                  "<video><source src=\"/v/film.webm\" type=\"video/webm\"><source src=\"/v/film.ogv\"></video>"
                  "</body>"));
        Medium("/v/trailer.mp4", "video/mp4", std::string(7000, 'i'));
        Medium("/v/clip.mp4", "video/mp4", std::string(7100, 'j'));
        Medium("/v/poster.png", "image/png", Png(1920, 1080, 'k'));
        Medium("/v/film.webm", "video/webm", std::string(7200, 'l'));
        Medium("/v/film.ogv", "video/ogg", std::string(7300, 'm'));
        Page("/podcast.html",
             Html("<meta property=\"og:audio\" content=\"/a/latest.mp3\"></head><body>"
                  "<audio src=\"/a/ep1.mp3\"></audio>"
                  "<audio><source src=\"/a/ep2.opus\"><source src=\"/a/ep2.m4a\"></audio>"
                  "<a href=\"/a/ep3.flac\">lossless</a></body>"));
        Medium("/a/latest.mp3", "audio/mpeg", std::string(6000, 'n'));
        Medium("/a/ep1.mp3", "audio/mpeg", std::string(6100, 'o'));
        Medium("/a/ep2.opus", "audio/ogg", std::string(6200, 'p'));
        Medium("/a/ep2.m4a", "audio/mp4", std::string(6300, 'q'));
        Medium("/a/ep3.flac", "audio/flac", std::string(6400, 'r'));
        Page("/gallery.html",
             Html("<meta property=\"og:image\" content=\"/g/og.png\">"
                  "<link rel=\"preload\" as=\"image\" href=\"/g/hero.gif\">"
                  "<style>.t{background:url(/g/tile.svg)} @font-face{src:url(/g/face.woff2)}</style></head>"
                  "<body><div style=\"background-image: url('/g/bg.png')\">gallery</div></body>"));
        Medium("/g/og.png", "image/png", Png(1200, 630, 's'));
        Medium("/g/hero.gif", "image/gif", Gif(960, 540, 't'));
        Medium("/g/tile.svg", "image/svg+xml", Svg(128, 128));
        Medium("/g/bg.png", "image/png", Png(1024, 768, 'u'));
        // An icon: its file says 48 x 48, too small for a picture of its own.
        Page("/icons.html", Html("</head><body><img src=\"/g/icon.png\"></body>"));
        Medium("/g/icon.png", "image/png", Png(48, 48, 'D'));
        server.Add({"/g/face.woff2", 200, {{"Content-Type", "font/woff2"}}, "wOF2"});
        // Media known only by their type, and one picture under two names.
        Page("/typed.html", Html("</head><body><img src=\"/media/12345\"><img src=\"/img?id=7\">"
                                 "<img src=\"/d/one.png\"><img src=\"/d/two.png\"></body>"));
        Medium("/media/12345", "image/png", Png(256, 128, 'v'));
        Medium("/img?id=7", "image/gif", Gif(164, 148, 'w'));
        Medium("/d/one.png", "image/png", Png(300, 300, 'x'));
        Medium("/d/two.png", "image/png", Png(300, 300, 'x'));
        // Busy at first: a 429 asking for a second's wait.
        test::PageRow busy{"/busy.html", 200, {{"Content-Type", "text/html"}},
                           Html("</head><body><img src=\"/b/late.png\"></body>")};
        busy.firstReplies = {{429, {{"Retry-After", "1"}}}};
        server.Add(busy);
        Medium("/b/late.png", "image/png", Png(200, 100, 'y'));
        Page("/private/secret.html", Html("</head><body><img src=\"/private/s.png\"></body>"));
        Medium("/private/s.png", "image/png", Png(10, 10, 'z'));
        server.Add({"/bomb.html", 200, {{"Content-Type", "text/html"}, {"Content-Encoding", "gzip"}},
                    test::GzipBomb(Html("</head><body><img src=\"/x/before.png\">"), std::size_t{256} << 20)});
        Medium("/x/before.png", "image/png", Png(190, 160, 'A'));
        test::PageRow members{"/members.html", 200, {{"Content-Type", "text/html"}},
                              Html("</head><body><img src=\"/m/inside.png\"></body>")};
        members.cookie = "session=letmein";
        server.Add(members);
        Medium("/m/inside.png", "image/png", Png(720, 480, 'B'));
        server.Add({"/br.html", 200, {{"Content-Type", "text/html"}, {"Content-Encoding", "br"}},
                    test::Brotli(Html("</head><body><img src=\"/z/br.png\"></body>"))});
        Medium("/z/br.png", "image/png", Png(111, 222, 'C'));
    }
};

}  // namespace

TEST(TodaysWeb, EveryMediumOfAModernSiteWithItsKindAndTrueSize) {
    TodaysSite site;
    test::TempDir dir;
    std::ofstream(dir.File("cookies.txt"), std::ios::binary)
        << "# Netscape HTTP Cookie File\n127.0.0.1\tFALSE\t/\tFALSE\t0\tsession\tletmein\n";
    const std::string json = dir.File("media.jsonl");
    test::Subprocess crawl({FLK_CRAWL_PROGRAM, "--project", dir.File("project"), "--media", "all", "--per-site", "0",
                            "--depth", "10", "--no-pages", "--json", json, "--cookies", dir.File("cookies.txt"),
                            site.server.Url("/index.html")},
                           {"FLK_WINDIR=" + dir.File("win")}, dir.File("out.txt"));
    ASSERT_EQ(crawl.Wait(120s), 0) << dir.Read("out.txt");
    SCOPED_TRACE(dir.Read("out.txt"));

    std::map<std::string, Found> found;
    std::map<std::string, std::string> duplicates;  // url -> its "duplicates" array
    std::string lines = dir.Read("media.jsonl");
    for (std::size_t pos = 0; pos < lines.size();) {
        const std::size_t nl = lines.find('\n', pos);
        const std::string line = lines.substr(pos, nl - pos);
        pos = nl == std::string::npos ? lines.size() : nl + 1;
        if (line.empty()) continue;
        const std::string url = Field(line, "url");
        const std::size_t dup = line.find("\"duplicates\":");
        if (dup != std::string::npos) duplicates[url] = line.substr(dup + 13, line.find(']', dup) - dup - 12);
        EXPECT_TRUE(found.emplace(url, Found{Field(line, "kind"), Field(line, "width"), Field(line, "height")}).second)
            << "listed twice: " << url;
    }
    const std::map<std::string, Found> expected = {
        // srcset: the largest candidate is the row.
        {"/r/large.png", {"image", "1280", "800"}},
        {"/r/pic.webp", {"image", "null", "null"}},
        {"/r/pic.gif", {"image", "400", "300"}},
        {"/l/a.gif", {"image", "150", "100"}},
        {"/l/b.png", {"image", "800", "600"}},
        {"/l/c.png", {"image", "500", "500"}},
        {"/l/d.svg", {"image", "640", "360"}},
        {"/v/trailer.mp4", {"movie", "null", "null"}},
        {"/v/clip.mp4", {"movie", "null", "null"}},
        {"/v/poster.png", {"image", "1920", "1080"}},
        {"/v/film.webm", {"movie", "null", "null"}},
        {"/v/film.ogv", {"movie", "null", "null"}},
        {"/a/latest.mp3", {"sound", "null", "null"}},
        {"/a/ep1.mp3", {"sound", "null", "null"}},
        {"/a/ep2.opus", {"sound", "null", "null"}},
        {"/a/ep2.m4a", {"sound", "null", "null"}},
        {"/a/ep3.flac", {"sound", "null", "null"}},
        {"/g/og.png", {"image", "1200", "630"}},
        {"/g/hero.gif", {"image", "960", "540"}},
        {"/g/tile.svg", {"image", "128", "128"}},
        {"/g/bg.png", {"image", "1024", "768"}},
        {"/media/12345", {"image", "256", "128"}},
        {"/img?id=7", {"image", "164", "148"}},
        {"/b/late.png", {"image", "200", "100"}},
        {"/x/before.png", {"image", "190", "160"}},
        {"/m/inside.png", {"image", "720", "480"}},
        {"/z/br.png", {"image", "111", "222"}},
    };
    std::map<std::string, Found> expectedUrls;
    for (const auto& [path, f] : expected) expectedUrls.emplace(site.server.Url(path), f);
    // One picture under two addresses is one row that names the other.
    const std::string one = site.server.Url("/d/one.png"), two = site.server.Url("/d/two.png");
    ASSERT_NE(found.count(one), found.count(two)) << "listed once";
    const std::string kept = found.count(one) ? one : two;
    EXPECT_EQ(found[kept], (Found{"image", "300", "300"}));
    EXPECT_EQ(duplicates[kept], "[\"" + (kept == one ? two : one) + "\"]");
    found.erase(kept);
    for (const auto& [url, f] : expectedUrls) {
        auto it = found.find(url);
        if (it == found.end()) {
            ADD_FAILURE() << "missing: " << url;
        } else {
            EXPECT_EQ(it->second, f) << url << " is " << it->second.kind << " " << it->second.width << "x"
                                     << it->second.height;
        }
    }
    for (const auto& [url, f] : found)
        EXPECT_TRUE(expectedUrls.count(url)) << "extra: " << url << " (" << f.kind << ")";

    // robots.txt kept the private folder out; the busy page came after its wait.
    EXPECT_EQ(site.server.Count("/private/secret.html"), 0);
    EXPECT_EQ(site.server.Count("/private/s.png"), 0);
    std::vector<std::chrono::steady_clock::time_point> busy;
    for (const auto& r : site.server.Requests())
        if (r.target == "/busy.html") busy.push_back(r.at);
    ASSERT_EQ(busy.size(), 2u);
    EXPECT_GE(busy[1] - busy[0], 900ms);
    EXPECT_EQ(site.server.Count("/g/face.woff2"), 0) << "a font is no picture";
}
