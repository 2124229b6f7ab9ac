// libFuzzer target for the text search: the query evaluator, the plain-text
// reduction of pages and the hit lines. Input layout: one byte of options,
// the query up to the first zero byte, then the page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "query/HitLine.h"
#include "query/HtmlToText.h"
#include "query/QueryEvaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const bool matchCase = data[0] & 1;
    const bool wholeWords = data[0] & 2;
    const std::string_view rest = input.substr(1);
    const std::size_t split = rest.find('\0');
    const std::string_view query = rest.substr(0, split);
    const std::string_view page = split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);

    const std::string text = (data[0] & 4) ? flk::HtmlToText(page) : std::string(page);
    flk::CQueryEvaluator ev;
    ev.SetMatchCase(matchCase);
    ev.SetWholeWords(wholeWords);
    ev.SetText(text);
    const int result = ev.Evaluate(query);
    if (result > 0) {
        const std::string line = flk::MakeHitLine(text, flk::BuildKeywordList(query), matchCase, wholeWords);
        if (line.size() > text.size()) __builtin_trap();
    }
    // The reduction must depend on nothing but the query and the text.
    if (ev.Evaluate(query) != result) __builtin_trap();
    return 0;
}
