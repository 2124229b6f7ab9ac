#pragma once
#include <string>
#include <vector>

namespace flk {

// A download an earlier run left unfinished: "name.part" with the address
// in "name.part.url" beside it.
struct InterruptedDownload {
    std::string url;
    std::string target;  // the final name, without ".part"
};

// The interrupted downloads in these folders (not their subfolders), each
// folder looked at once, in the order given. A note without its part, or
// a part already complete under its final name, is not offered.
std::vector<InterruptedDownload> FindInterruptedDownloads(const std::vector<std::string>& folders);

}  // namespace flk
