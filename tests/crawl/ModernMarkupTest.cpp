#include "crawl/CrawlView.h"
#include "crawl/LinkClassifier.h"
#include "crawl/LinkTarget.h"
#include "crawl/PageParser.h"
#include "crawl/SrcSet.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

constexpr const char* kPage = "http://h.example/d/p.html";

// The media lists a crawl with today's formats holds.
ParserOptions Modern(bool on = true) {
    ParserOptions o;
    o.pacing = Pacing::None();
    o.modernMarkup = on;
    o.pureImages = false;
    o.url.media.images = "jpg;jpeg;gif;png;webp;avif;svg;";
    o.url.media.audio = "mp3;ogg;opus;m4a;";
    o.url.media.video = "mp4;webm;";
    return o;
}

// What reaches the lists and the link queue, one line per item.
struct Found : LinkTarget, MediaSink, HitSink, CrawlView {
    std::vector<std::string> lines;
    void AddLink(const std::string& url, const std::string&, int, const std::string&) override {
        if (url.rfind("<<", 0) != 0) lines.push_back("page " + url);
    }
    void AddStartLocation(const std::string&) override {}
    void ShowStatus(const std::string&) override {}
    void AddImage(const MediaItem& m) override { lines.push_back("image " + m.url); }
    void AddMovie(const MediaItem& m) override { lines.push_back("movie " + m.url); }
    void AddSound(const MediaItem& m) override { lines.push_back("sound " + m.url); }
    void AddHit(const TextHit&) override {}
    CrawlLimits Limits() const override { return {}; }
    bool SinglePage() const override { return false; }
    SearchOptions Search() const override { return {}; }
    void AddTreeLine(const std::string&, const std::string&) override {}
    void ShowProgress(const CrawlProgress&) override {}
    void StorePage(const StoredPage&) override {}
    void CrawlEnded() override {}
};

std::vector<std::string> FoundOn(const std::string& html, const ParserOptions& o = Modern()) {
    Found f;
    PageState page{kPage, 1, "", false};
    std::atomic<bool> stop{false};
    ParsePage(page, "<title>TT</title>" + html, o, ParserOutputs{f, f, f, f}, stop);
    return f.lines;
}

using Lines = std::vector<std::string>;

TEST(ModernMarkup, EachFormOfTodaysPages) {
    const std::string d = "http://h.example/d/";
    struct Row {
        const char* html;
        Lines found;
    } rows[] = {
        // source sets: the largest candidate is the row, the others are not repeated
        {"<img src=s.jpg srcset=\"m.jpg 640w, l.jpg 1280w, xs.jpg 320w\" width=300>", {"image " + d + "l.jpg"}},
        {"<img src=s.jpg srcset=\"s2.jpg 2x, s3.jpg 3x\">", {"image " + d + "s3.jpg"}},
        {"<img src=big.jpg width=2000 srcset=\"m.jpg 640w\">", {"image " + d + "big.jpg"}},
        {"<img srcset='only.webp'>", {"image " + d + "only.webp"}},
        // a candidate that is no listed image is passed over
        {"<img src=a.jpg srcset=\"huge.tiff 4000w, b.jpg 800w\">", {"image " + d + "b.jpg"}},
        // lazy loading: the real address in a data- attribute
        {"<img src=\"data:image/gif;base64,R0lGOD\" data-src=\"lazy.jpg\">", {"image " + d + "lazy.jpg"}},
        {"<img class=lazy data-original=/o.png>", {"image http://h.example/o.png"}},
        // a placeholder file in src gives way to the real picture
        {"<img src=\"/img/blank.gif\" data-src=\"real.jpg\">", {"image " + d + "real.jpg"}},
        {"<img data-lazy-src=l.gif src=''>", {"image " + d + "l.gif"}},
        {"<img src=p.gif data-srcset=\"q.jpg 1000w\">", {"image " + d + "q.jpg"}},
        // pictures
        {"<picture><source srcset=\"a.avif 1x, a2.avif 2x\" type=image/avif><img src=a.jpg></picture>",
         {"image " + d + "a.jpg", "image " + d + "a2.avif"}},
        // video and audio, their sources and poster; subtitles are not media
        {"<video src=clip.mp4 poster=still.jpg controls></video>", {"movie " + d + "clip.mp4", "image " + d + "still.jpg"}},
        {"<video controls><source src=\"c.webm\" type=video/webm><track src=subs.vtt></video>", {"movie " + d + "c.webm"}},
        {"<audio src=song.opus></audio><audio><source src=ep1.mp3></audio>", {"sound " + d + "ep1.mp3", "sound " + d + "song.opus"}},
        // a source without a known extension is never followed as a page
        {"<video><source src=\"/stream?id=7\"></video>", {}},
        // style sheets: backgrounds with an image extension, quoted or not
        {"<div style=\"background-image: url('bg.png')\">x</div>", {"image " + d + "bg.png"}},
        {"<style>.a{background:url(\"/t/tile.gif\") repeat} @font-face{src:url(f.woff2)}</style>",
         {"image http://h.example/t/tile.gif"}},
        {"<span style=\"color:red\">url(not-in-a-style.png)</span>", {}},
        {"<div STYLE\n = \"background:url(a.png)\">", {"image " + d + "a.png"}},
        {"<div data-style=\"background:url(b.png)\" mystyle=\"background:url(c.png)\">", {}},
        // social cards
        {"<meta property=\"og:image\" content=\"http://c.example/card.jpg\"><meta property=og:video content=v.mp4>",
         {"image http://c.example/card.jpg", "movie " + d + "v.mp4"}},
        {"<meta property=\"og:image:secure_url\" content=\"https://c.example/s.png\">", {"image https://c.example/s.png"}},
        // a preloaded picture is a link to an image file, as it always was
        {"<link rel=preload as=image href=hero.webp>", {"image " + d + "hero.webp"}},
    };
    for (const Row& r : rows) EXPECT_EQ(FoundOn(r.html), r.found) << r.html;
}

TEST(ModernMarkup, SwitchedOffTheClassicRulesAlone) {
    const ParserOptions classic = Modern(false);
    const std::string d = "http://h.example/d/";
    struct Row {
        const char* html;
        Lines found;
    } rows[] = {
        {"<img src=s.jpg srcset=\"l.jpg 1280w\">", {"image " + d + "s.jpg"}},
        {"<img src=\"data:image/gif;base64,R0\" data-src=lazy.jpg>", {}},
        {"<video src=clip.mp4 poster=still.jpg></video><audio src=a.mp3></audio>", {}},
        {"<div style=\"background:url(bg.png)\"></div><meta property=og:image content=c.jpg>", {}},
        {"<a href=clip.mp4>clip</a>", {"movie " + d + "clip.mp4"}},
    };
    for (const Row& r : rows) EXPECT_EQ(FoundOn(r.html, classic), r.found) << r.html;
}

TEST(ModernMarkup, HostileSourceSetsAndStylesStayBounded) {
    // Many candidates, commas in addresses, broken descriptors, an endless
    // url( without its ")": nothing crashes and the scan stays linear.
    std::string many = "<img srcset=\"";
    for (int i = 0; i < 20000; ++i) many += "p" + std::to_string(i) + ".jpg " + std::to_string(i + 1) + "w, ";
    many += "\">";
    EXPECT_EQ(FoundOn(many), Lines{"image http://h.example/d/p19999.jpg"});
    EXPECT_EQ(FoundOn("<div style=\"background:url(" + std::string(200000, 'x')), Lines{});
    EXPECT_EQ(FoundOn(std::string(50000, '<') + "style>" + std::string(50000, '(')), Lines{});
}

TEST(SrcSet, CandidatesAndTheirOrder) {
    struct Row {
        const char* value;
        std::vector<std::pair<std::string, double>> candidates;  // as written
    } rows[] = {
        {"a.jpg 1x, b.jpg 2x", {{"a.jpg", 1}, {"b.jpg", 2}}},
        {"  a.jpg  ,b.jpg 640w", {{"a.jpg", 1}, {"b.jpg", 640}}},
        {"a,b.jpg 2x, c.jpg", {{"a,b.jpg", 2}, {"c.jpg", 1}}},
        {"a.jpg 0w, b.jpg -2x, c.jpg 2q, d.jpg 1.5x", {{"d.jpg", 1.5}}},
        {"data:image/png;base64,AAA 1x, e.jpg 2x", {{"e.jpg", 2}}},
        {"", {}},
        {" , , ", {}},
    };
    for (const Row& r : rows) {
        std::vector<std::pair<std::string, double>> got;
        for (const SrcSetCandidate& c : ParseSrcSet(r.value)) got.emplace_back(std::string(c.url), c.size);
        EXPECT_EQ(got, r.candidates) << r.value;
    }
    const auto largest = LargestFirst(ParseSrcSet("a.jpg 2x, b.jpg 100w, c.jpg 3x, d.jpg 400w"));
    ASSERT_EQ(largest.size(), 4u);
    EXPECT_EQ(largest[0].url, "d.jpg");
    EXPECT_EQ(largest[1].url, "b.jpg");
    EXPECT_EQ(largest[2].url, "c.jpg");
}

}  // namespace
}  // namespace flk
