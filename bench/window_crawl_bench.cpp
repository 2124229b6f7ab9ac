// The crawler window's own crawl, timed: the window the user works in, over
// the session FLK builds, at a chosen speed setting. A 10 ms timer on the
// UI thread records the longest gap between its ticks while the crawl runs.
//
//   window_crawl_bench [--speed Fast|Normal|Slow] [--threads N] [--depth N]
//                      [--folder DIR] URL
//
// DIR holds the flk.ini of the run and the project (a fresh temporary
// folder when not given). The settings match flkcrawl's fair benchmark
// flags: no page limits, every media kind, no robots.txt, no per-host limit.
// Prints one line: pages, seconds, pages/s and the longest UI gap.
#include "platform/ProgramFolders.h"
#include "session/ui/CrawlerWindow.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "ui/WxNotifier.h"
#include "ui/XrcSupport.h"

#include <wx/app.h>
#include <wx/timer.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::string speed = "Fast";
    int threads = 10;
    int depth = 7;
    std::string folder;
    std::string url;
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--speed" && hasValue) {
            o.speed = argv[++i];
        } else if (a == "--threads" && hasValue) {
            o.threads = std::atoi(argv[++i]);
        } else if (a == "--depth" && hasValue) {
            o.depth = std::atoi(argv[++i]);
        } else if (a == "--folder" && hasValue) {
            o.folder = argv[++i];
        } else if (!a.starts_with("--") && o.url.empty()) {
            o.url = a;
        } else {
            return false;
        }
    }
    return !o.url.empty() && o.threads > 0 && o.depth >= 0 &&
           (o.speed == "Fast" || o.speed == "Normal" || o.speed == "Slow");
}

class BenchApp : public wxApp {
public:
    bool OnInit() override {
        if (!ParseOptions(argc, argv, options_)) {
            std::fprintf(stderr,
                         "usage: window_crawl_bench [--speed Fast|Normal|Slow] [--threads N] [--depth N] "
                         "[--folder DIR] URL\n");
            return false;
        }
        if (options_.folder.empty()) {
            char pattern[] = "/tmp/flk-window-bench-XXXXXX";
            if (!mkdtemp(pattern)) return false;
            options_.folder = pattern;
        }
        std::filesystem::create_directories(options_.folder);
        const flk::ProgramFolders folders = flk::FoldersFromEnvironment();
        settings_ = std::make_unique<flk::Settings>(options_.folder + "/flk.ini", folders.program);
        Configure(*settings_);

        flk::ui::InitResources();
        notifier_ = std::make_unique<flk::ui::WxNotifier>([](flk::Notification&) { return 0L; });
        // FLK's media-search window answers the crawl's count question from
        // its published counts, on the asking thread; with no such window
        // here, no count is above anything.
        notifier_->AnswerDirectly(flk::notify::AnyCountExceeds, [](const flk::Notification&) { return 0L; });
        window_ = new flk::ui::CCrawlerDlg(nullptr, flk::ui::CrawlerWindowContext{*settings_, *notifier_});
        window_->Show();
        window_->SetLocation(options_.url);
        // The crawl starts once the window is on screen: its first drawing
        // is no part of the crawl.
        starter_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Start(); });
        starter_.StartOnce(500);
        return true;
    }

    int OnExit() override {
        if (notifier_) notifier_->Close();
        return wxApp::OnExit();
    }

private:
    void Configure(flk::Settings& s) const {
        namespace keys = flk::keys;
        s.WriteDefaults();
        s.Set(keys::ProjectPath, options_.folder);
        s.Set(keys::CrawlerThreadsPriority, options_.speed);
        s.Set(keys::CrawlerMaxThreads, std::to_string(options_.threads));
        s.Set(keys::CrawlerMaxDepth, std::to_string(options_.depth));
        s.Set(keys::CrawlerIsDepthLimit, 1);
        s.Set(keys::CrawlerIsPagesLimit, 0);
        s.Set(keys::CrawlerPagesPerDomainLimit, 0);
        s.Set(keys::ModernRobots, 0);
        s.Set(keys::ModernMaxPerHost, 0);
        for (const flk::StrKey& k : {keys::ViewImages, keys::ViewSounds, keys::ViewMovies}) s.Set(k, std::string("1"));
    }

    void Start() {
        if (!window_->StartCrawling()) {
            std::fprintf(stderr, "the crawl did not start\n");
            window_->Close(true);
            return;
        }
        begin_ = last_ = Clock::now();
        ticker_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Tick(); });
        ticker_.Start(10);
    }

    void Tick() {
        const Clock::time_point now = Clock::now();
        if (now - last_ > longest_) {
            longest_ = now - last_;
            longestAt_ = last_ - begin_;
        }
        last_ = now;
        flk::CrawlerSession& session = window_->Session();
        if (session.Crawling() || session.Checker().PendingCount() > 0) return;
        ticker_.Stop();
        const double seconds = std::chrono::duration<double>(now - begin_).count();
        const int pages = session.Progress().pagesParsed;
        using ms = std::chrono::milliseconds;
        std::printf("window crawl at %s: %d pages in %.3f s, %.0f pages/s, longest UI gap %lld ms (from %lld ms)\n",
                    options_.speed.c_str(), pages, seconds, seconds > 0 ? pages / seconds : 0.0,
                    static_cast<long long>(std::chrono::duration_cast<ms>(longest_).count()),
                    static_cast<long long>(std::chrono::duration_cast<ms>(longestAt_).count()));
        std::fflush(stdout);
        window_->Close(true);
    }

    Options options_;
    std::unique_ptr<flk::Settings> settings_;
    std::unique_ptr<flk::ui::WxNotifier> notifier_;
    flk::ui::CCrawlerDlg* window_ = nullptr;
    wxTimer starter_, ticker_;
    Clock::time_point begin_{}, last_{};
    Clock::duration longest_{}, longestAt_{};
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) { return wxEntry(argc, argv); }
