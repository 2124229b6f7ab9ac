#include "crawl/FetchFailures.h"

namespace flk {

void FetchFailures::Read(int depth) {
    if (depth != 0) return;
    std::lock_guard<std::mutex> lock(lock_);
    ++summary_.startPagesRead;
}

void FetchFailures::Failed(const std::string& url, int depth, const std::string& reason) {
    std::lock_guard<std::mutex> lock(lock_);
    ++summary_.failed;
    if (depth == 0) ++summary_.startPagesFailed;
    if (summary_.first.size() < kKept) summary_.first.push_back(url + ": " + reason);
}

void FetchFailures::LimitReached(const std::string& note) {
    std::lock_guard<std::mutex> lock(lock_);
    if (summary_.limits.size() < kKept) summary_.limits.push_back(note);
}

FetchFailures::Summary FetchFailures::Get() const {
    std::lock_guard<std::mutex> lock(lock_);
    return summary_;
}

}  // namespace flk
