#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

namespace flk {

class InternetRequest;

// How ReadBodyLines joins the lines it reads.
enum class LineJoin {
    NewlineAfterEach,  // "\n" after every line, the last one too
    SpaceBetween,      // " " before a line when the body already holds text
};

// Why ReadBodyLines stopped reading.
enum class BodyLinesEnd { Ended, Stopped, Capped };

// Reads the rest of a body line by line (line ends removed, then joined as
// `join` says) onto `body`, until the reply ends (or fails), `stop` is set,
// or the body holds `cap` bytes. The body is cut at exactly `cap` bytes,
// separators counted, and nothing after that is read; Capped says the cap
// was reached, whether or not more would have followed. `afterLine`, when
// set, is called after each line taken.
BodyLinesEnd ReadBodyLines(InternetRequest& request, std::string& body, std::size_t cap, LineJoin join,
                           const std::atomic<bool>& stop, const std::function<void()>& afterLine = {});

}  // namespace flk
