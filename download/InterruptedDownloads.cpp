#include "download/InterruptedDownloads.h"

#include "download/DownloadNames.h"
#include "download/PartFile.h"
#include "platform/Paths.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace flk {

namespace {

constexpr std::string_view kNoteSuffix = ".part.url";

}  // namespace

std::vector<InterruptedDownload> FindInterruptedDownloads(const std::vector<std::string>& folders) {
    namespace fs = std::filesystem;
    std::vector<InterruptedDownload> found;
    std::set<std::string> seen;
    for (const std::string& folder : folders) {
        std::error_code ec;
        const fs::path canonical = fs::weakly_canonical(folder.empty() ? "." : folder, ec);
        if (ec || !seen.insert(canonical.string()).second) continue;
        std::vector<std::string> targets;
        // An unreadable or vanished folder just offers nothing.
        for (fs::directory_iterator it(canonical, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.size() <= kNoteSuffix.size() || !name.ends_with(kNoteSuffix)) continue;
            targets.push_back(JoinPath(canonical.string(), name.substr(0, name.size() - kNoteSuffix.size())));
        }
        std::sort(targets.begin(), targets.end());
        for (const std::string& target : targets) {
            if (!FileExists(PartPath(target)) || FileExists(target)) continue;
            const std::string url = ReadPartNote(target);
            if (url.empty()) continue;
            found.push_back({url, target});
        }
    }
    return found;
}

}  // namespace flk
