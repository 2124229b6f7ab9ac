#pragma once
// A private folder for fuzz targets whose readers work on files: made once
// per process, removed by the system's temporary-file cleanup.
#include <cstdlib>
#include <string>

namespace flk::fuzz {

inline const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = "/tmp/flk-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern + "/";
    }();
    return folder;
}

}  // namespace flk::fuzz
