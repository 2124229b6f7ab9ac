#include "query/HtmlToText.h"

#include <algorithm>

#include "platform/TextUtil.h"

namespace flk {

namespace {

constexpr std::string_view kOpen = "<script";
constexpr std::string_view kClose = "</script";

// Removes each "<script" ... "</script" block in one pass. Removing a block
// joins the text around it, and the join may spell a new "<script"
// ("<scr" + "ipt>"); that one is removed too, as repeated removal from the
// start would. A block without a later closing marker ends the removal.
std::string RemoveScripts(std::string_view html) {
    const std::string lower = ToLowerAscii(html);
    std::string out;
    out.reserve(html.size());
    std::size_t pos = 0;
    for (;;) {
        // An opening marker straddling the join: k bytes at the end of out.
        std::size_t straddle = 0;
        for (std::size_t k = std::min<std::size_t>(out.size(), kOpen.size() - 1); k > 0; --k) {
            const std::size_t rest = kOpen.size() - k;
            if (pos + rest <= lower.size() &&
                EqualsNoCase(std::string_view(out).substr(out.size() - k), kOpen.substr(0, k)) &&
                std::string_view(lower).substr(pos, rest) == kOpen.substr(k)) {
                straddle = k;
                break;
            }
        }
        if (straddle > 0) {
            const std::size_t close = lower.find(kClose, pos + kOpen.size() - straddle);
            if (close == std::string::npos) break;
            out.resize(out.size() - straddle);
            pos = close + kClose.size();
            continue;
        }
        const std::size_t open = lower.find(kOpen, pos);
        if (open == std::string::npos) break;
        const std::size_t close = lower.find(kClose, open + kOpen.size());
        if (close == std::string::npos) break;
        out.append(html.substr(pos, open - pos));
        pos = close + kClose.size();  // the closing ">" stays and is dropped as a tag end
    }
    out.append(html.substr(pos));
    return out;
}

}  // namespace

std::string HtmlToText(std::string_view html) {
    const std::string page = RemoveScripts(html);

    std::string text;
    text.reserve(page.size());
    bool inTag = false;
    for (char c : page) {
        if (c == '<') inTag = true;
        else if (c == '>') inTag = false;
        else if (!inTag) text.push_back(c);
    }

    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out.push_back(text[i]);
            continue;
        }
        while (i < text.size() && text[i] != ';' && text[i] != ' ') ++i;
    }
    return out;
}

}  // namespace flk
