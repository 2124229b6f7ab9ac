#pragma once
#include <string>

namespace flk {

// A page whose text matched the text search.
struct TextHit {
    std::string line;
    int score = 0;
    std::string pageTitle;
    std::string pageUrl;
};

}  // namespace flk
