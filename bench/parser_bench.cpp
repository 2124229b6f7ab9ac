// Parser throughput over a folder of real pages:
//     parser_bench --pages DIR [benchmark flags]
// Every *.htm and *.html file under DIR is read once; each benchmark parses
// all of them per iteration and reports bytes per second.
#include "crawl/CrawlView.h"
#include "crawl/LinkTarget.h"
#include "crawl/PageParser.h"
#include "crawl/UrlOptions.h"
#include "settings/Settings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Page {
    std::string url;
    std::string body;
};

std::vector<Page>& Pages() {
    static std::vector<Page> pages;
    return pages;
}

std::size_t TotalBytes() {
    std::size_t n = 0;
    for (const Page& p : Pages()) n += p.body.size();
    return n;
}

// Counts what the parser reports, so nothing is optimised away.
struct Sinks : flk::LinkTarget, flk::MediaSink, flk::HitSink, flk::CrawlView {
    std::size_t reports = 0;
    void AddLink(const std::string&, const std::string&, int, const std::string&) override { ++reports; }
    void AddStartLocation(const std::string&) override { ++reports; }
    void ShowStatus(const std::string&) override {}
    void AddImage(const flk::MediaItem&) override { ++reports; }
    void AddMovie(const flk::MediaItem&) override { ++reports; }
    void AddSound(const flk::MediaItem&) override { ++reports; }
    void AddHit(const flk::TextHit&) override { ++reports; }
    flk::CrawlLimits Limits() const override { return {}; }
    bool SinglePage() const override { return false; }
    flk::SearchOptions Search() const override { return {}; }
    void AddTreeLine(const std::string&, const std::string&) override {}
    void ShowProgress(const flk::CrawlProgress&) override {}
    void StorePage(const flk::StoredPage&) override {}
    void CrawlEnded() override {}
};

// The first-run settings, as a new user crawls.
flk::ParserOptions DefaultOptions() {
    const std::string dir = std::filesystem::temp_directory_path() / "flk-parser-bench";
    std::filesystem::create_directories(dir);
    flk::Settings settings(dir + "/flk.ini", dir);
    settings.WriteDefaults();
    flk::ParserOptions options;
    options.url = flk::ReadUrlOptions(settings);
    options.pacing = flk::Pacing::None();
    return options;
}

void Parse(benchmark::State& state, const flk::ParserOptions& options) {
    Sinks sinks;
    const std::atomic<bool> stop{false};
    for (auto _ : state) {
        for (const Page& page : Pages()) {
            flk::PageState ps{page.url, 1, "", false};
            flk::ParsePage(ps, page.body, options, flk::ParserOutputs{sinks, sinks, sinks, sinks}, stop);
        }
    }
    benchmark::DoNotOptimize(sinks.reports);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TotalBytes()));
    state.counters["pages"] = static_cast<double>(Pages().size());
}

void BM_ParsePages(benchmark::State& state) { Parse(state, DefaultOptions()); }

void BM_ParsePagesWithTextSearch(benchmark::State& state) {
    flk::ParserOptions options = DefaultOptions();
    options.search.text = "photo OR (gallery \"sound file\") -nothing";
    Parse(state, options);
}

BENCHMARK(BM_ParsePages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParsePagesWithTextSearch)->Unit(benchmark::kMillisecond);

bool LoadPages(const std::string& folder) {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        const auto ext = it->path().extension().string();
        if (!it->is_regular_file() || (ext != ".html" && ext != ".htm")) continue;
        std::ifstream in(it->path(), std::ios::binary);
        std::stringstream body;
        body << in.rdbuf();
        const std::string rel = std::filesystem::relative(it->path(), folder).string();
        Pages().push_back({"http://127.0.0.1:18080/" + rel, body.str()});
    }
    return !ec && !Pages().empty();
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--pages" && i + 1 < argc)
            folder = argv[++i];
        else if (a.rfind("--pages=", 0) == 0)
            folder = a.substr(8);
        else
            rest.push_back(argv[i]);
    }
    if (folder.empty() || !LoadPages(folder)) {
        std::fprintf(stderr, "usage: parser_bench --pages DIR [benchmark flags]\n(no pages found in \"%s\")\n",
                     folder.c_str());
        return 2;
    }
    std::fprintf(stderr, "%zu pages, %.1f MB\n", Pages().size(), TotalBytes() / 1e6);
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
