// libFuzzer target for the text search: the query evaluator, the plain-text
// reduction of pages and the hit lines. Input layout: one byte of options,
// the query up to the first zero byte, then the page. Hit lines, and any
// cut of the page, also go through the reader's form of a hit line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "query/HitLine.h"
#include "query/HtmlToText.h"
#include "query/QueryEvaluator.h"
#include "query/ReaderHitLine.h"

namespace {

// The reader's line is ASCII, and its only tags are the marks.
void CheckReaderLine(std::string_view line, const std::vector<std::string>& keywords) {
    std::string html = flk::HitLineHtml(line, keywords);
    for (const std::string_view tag : {"<mark>", "</mark>"})
        for (std::size_t at = html.find(tag); at != std::string::npos; at = html.find(tag)) html.erase(at, tag.size());
    for (char c : html)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '<' || c == '>' || c == '"') __builtin_trap();
}

}  // namespace

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
        CheckReaderLine(line, flk::BuildKeywordList(query));
    }
    CheckReaderLine(page.substr(0, 200), flk::BuildKeywordList(query));
    // The reduction must depend on nothing but the query and the text.
    if (ev.Evaluate(query) != result) __builtin_trap();
    return 0;
}
