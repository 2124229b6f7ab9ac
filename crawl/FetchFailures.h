#pragma once
#include <mutex>
#include <string>
#include <vector>

namespace flk {

// The pages of a crawl that could not be read, and the limits that kept
// pages out, so that a batch run can say so instead of reporting a short
// crawl as a finished one. Safe to use from every worker.
class FetchFailures {
public:
    static constexpr std::size_t kKept = 5;

    struct Summary {
        int failed = 0;             // pages not read
        int startPagesRead = 0;     // start locations (depth 0) read
        int startPagesFailed = 0;
        std::vector<std::string> first;  // "address: reason", the first kKept
        std::vector<std::string> limits;  // the limits that kept pages out, the first kKept
    };

    void Read(int depth);
    void Failed(const std::string& url, int depth, const std::string& reason);
    void LimitReached(const std::string& note);
    Summary Get() const;

private:
    mutable std::mutex lock_;
    Summary summary_;
};

}  // namespace flk
