// libFuzzer target for the page parser and the link classifier. Input layout:
// one byte of options, then the page. Every report is routed, so addresses
// are resolved and classified too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "crawl/CrawlView.h"
#include "crawl/LinkTarget.h"
#include "crawl/PageParser.h"

namespace {

struct Sinks : flk::LinkTarget, flk::MediaSink, flk::HitSink, flk::CrawlView {
    std::size_t bytes = 0;
    void AddLink(const std::string& url, const std::string& text, int, const std::string&) override {
        if (url.empty() || url.size() > flk::kMaxLinkLength + 4 + flk::kMaxTitleLength) __builtin_trap();
        bytes += url.size() + text.size();
    }
    void AddStartLocation(const std::string& url) override { bytes += url.size(); }
    void ShowStatus(const std::string&) override {}
    void AddImage(const flk::MediaItem& m) override { Media(m); }
    void AddMovie(const flk::MediaItem& m) override { Media(m); }
    void AddSound(const flk::MediaItem& m) override { Media(m); }
    void Media(const flk::MediaItem& m) {
        if (m.url.empty() || m.url.size() > flk::kMaxLinkLength) __builtin_trap();
        bytes += m.url.size() + m.description.size();
    }
    void AddHit(const flk::TextHit& h) override { bytes += h.line.size(); }
    flk::CrawlLimits Limits() const override { return {}; }
    bool SinglePage() const override { return false; }
    flk::SearchOptions Search() const override { return {}; }
    void AddTreeLine(const std::string&, const std::string&) override {}
    void ShowProgress(const flk::CrawlProgress&) override {}
    void StorePage(const flk::StoredPage&) override {}
    void CrawlEnded() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view page(reinterpret_cast<const char*>(data) + 1, size - 1);
    flk::ParserOptions options;
    options.pacing = flk::Pacing::None();
    options.pureImages = data[0] & 1;
    options.collectSounds = data[0] & 2;
    options.url.parseDlls = data[0] & 4;
    options.stayInSearch = data[0] & 8;
    options.showOnlySearchItems = data[0] & 16;
    if (data[0] & 32) options.search.text = "a OR (b \"c d\") -e";
    options.search.textOnly = data[0] & 64;
    options.search.titlesOnly = data[0] & 128;
    // Every bit of the first byte is taken: the length's parity switches the
    // scans of today's markup.
    options.modernMarkup = size % 2 == 0;

    Sinks sinks;
    flk::PageState state{(data[0] & 1) ? "http://h.example/d/p.html" : "/home/u/site/p.html", data[0] & 3, "", false};
    const std::atomic<bool> stop{false};
    flk::ParsePage(state, page, options, flk::ParserOutputs{sinks, sinks, sinks, sinks}, stop);
    if (state.title.size() > flk::kMaxTitleLength) __builtin_trap();
    return 0;
}
