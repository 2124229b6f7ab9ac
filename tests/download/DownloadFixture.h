#pragma once
#include "download/DownloadManager.h"
#include "net/InternetShare.h"
#include "platform/Notifier.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <mutex>

namespace flk::test {

// Answers the credentials question (code 1) with fixed values, counting
// the questions.
class CredentialsNotifier : public Notifier {
public:
    long Send(Notification& n) override {
        std::lock_guard<std::mutex> g(lock);
        if (n.code != notify::PasswordNeeded) return 0;
        ++asked;
        if (!answer) return 0;
        n.user = user;
        n.password = password;
        return 1;
    }
    std::mutex lock;
    bool answer = false;
    std::string user, password;
    int asked = 0;
};

// File-save questions answered from a script (nullopt = cancel), logged.
class ScriptedQuestions : public DownloadQuestions {
public:
    std::optional<std::string> AskFileName(const std::string& title, const std::string& suggested,
                                           const std::atomic<bool>*) override {
        std::lock_guard<std::mutex> g(lock);
        asked.push_back(title + "|" + suggested);
        if (answers.empty()) return std::nullopt;
        std::optional<std::string> a = answers.front();
        answers.pop_front();
        return a;
    }
    std::mutex lock;
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> asked;
};

// A manager over loopback with quick time-outs and short retry pauses. The
// server is declared first so it outlives the pooled connections.
class DownloadFixture : public ::testing::Test {
protected:
    DownloadManagerContext Context() {
        DownloadNetwork network{share};
        network.options.access = InternetAccess::Direct;
        network.options.connectTimeoutMs = 3000;
        network.options.lowSpeedTimeS = 5;
        network.retryDelayMs = 20;
        DownloadManagerContext ctx{network, notifier, &questions};
        ctx.freeSpace = [this](const std::string& folder) -> std::optional<std::uint64_t> {
            std::lock_guard<std::mutex> g(freeLock);
            freeAsked.push_back(folder);
            return freeBytes;
        };
        return ctx;
    }
    DownloadManager& Manager() {
        if (!manager) manager = std::make_unique<DownloadManager>(Context());
        return *manager;
    }
    int Add(const std::string& url, ExistingFilePolicy policy = ExistingFilePolicy::Rename) {
        return Manager().AddDownload(url, dir.Path(), "", "", policy);
    }
    void WaitIdle() { ASSERT_TRUE(Manager().WaitUntilIdle(std::chrono::seconds(30))); }
    // The finished row of an address.
    FinishedRow Finished(const std::string& url) {
        for (const FinishedRow& row : Manager().View().finished)
            if (row.url == url) return row;
        ADD_FAILURE() << "no finished row for " << url;
        return {};
    }
    // The names in the folder, sorted.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    LoopbackServer server;
    InternetShare share;
    TempDir dir;
    CredentialsNotifier notifier;
    ScriptedQuestions questions;
    std::mutex freeLock;
    std::optional<std::uint64_t> freeBytes;  // unknown unless a test sets it
    std::vector<std::string> freeAsked;
    std::unique_ptr<DownloadManager> manager;
};

// A body of n bytes that shows a cut or a shift.
inline std::string Pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    return s;
}

}  // namespace flk::test
