#include "net/BodyLines.h"

#include "net/InternetRequest.h"

#include <algorithm>

namespace flk {

BodyLinesEnd ReadBodyLines(InternetRequest& request, std::string& body, std::size_t cap, LineJoin join,
                           const std::atomic<bool>& stop, const std::function<void()>& afterLine) {
    std::string line;
    for (;;) {
        if (stop.load()) return BodyLinesEnd::Stopped;
        if (body.size() >= cap) return BodyLinesEnd::Capped;
        if (!request.ReadLine(line)) return stop.load() ? BodyLinesEnd::Stopped : BodyLinesEnd::Ended;
        if (join == LineJoin::SpaceBetween && !body.empty()) body += ' ';
        body.append(line, 0, cap - std::min(body.size(), cap));
        if (join == LineJoin::NewlineAfterEach && body.size() < cap) body += '\n';
        if (afterLine) afterLine();
    }
}

}  // namespace flk
