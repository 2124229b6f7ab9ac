#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// Splits a value list such as "a;-;b;-;c" or "Animals, Nature": every piece
// before a separator is kept unchanged (untrimmed, empty pieces included);
// the rest after the last separator is trimmed and kept only when not empty.
// The array is cleared first; returns its size. An empty separator yields
// the trimmed text as one piece.
int SplitBySeparator(std::string_view text, std::string_view separator,
                     std::vector<std::string>& pieces);
std::vector<std::string> SplitBySeparator(std::string_view text, std::string_view separator);

}  // namespace flk
