#include "download/DownloadRows.h"

#include "download/DownloadTexts.h"

namespace flk {

std::vector<std::string> WaitingRow::Cells() const {
    std::string kb, totalKb, percent;
    if (total != kSizeNotYet) {
        kb = std::to_string(received / 1024);
        if (total < 0) {
            totalKb = download_status::Unknown;
        } else {
            totalKb = std::to_string(total / 1024);
            if (total > 0) {
                const std::uint64_t whole = static_cast<std::uint64_t>(total);
                percent = std::to_string((received >= whole ? whole : received) * 100 / whole) + "%";
            }
        }
    }
    return {url, target, kb, totalKb, percent, status};
}

}  // namespace flk
