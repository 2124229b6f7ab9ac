#pragma once
#include <string_view>
#include <vector>

namespace flk {

// One candidate of a `srcset` value: "pic-640.jpg 640w" or "pic@2x.jpg 2x".
struct SrcSetCandidate {
    std::string_view url;
    double size = 1;     // the width in pixels ('w') or the density ('x')
    bool width = false;  // a 'w' descriptor
};

// The candidates in the order written. A candidate without a descriptor is
// "1x"; one whose descriptor is not a positive number is dropped, as browsers
// drop it. Addresses may hold commas ("a,b.jpg 2x"): a comma ends a
// candidate only where white space or the end follows it.
std::vector<SrcSetCandidate> ParseSrcSet(std::string_view value);

// The candidates from the largest down: widths before densities (a set
// rarely mixes them; when it does, a stated width says more), ties in the
// order written.
std::vector<SrcSetCandidate> LargestFirst(std::vector<SrcSetCandidate> candidates);

}  // namespace flk
