#pragma once
#include <cstddef>
#include <string>

namespace flk::test {

// A body of `bytes` bytes that begins with `label` (cut to fit), the rest
// `fill`. Media served under different addresses need different bodies:
// the crawl lists one file found under several addresses once.
std::string DistinctBody(const std::string& label, std::size_t bytes, char fill = 'x');

}  // namespace flk::test
