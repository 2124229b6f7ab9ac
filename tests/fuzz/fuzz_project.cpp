// libFuzzer target for the project-file reader: the input is the byte form
// of a ".crl" file. It is read back the way "Load..." reads it, then saved
// again and exported (reports, links, hit lists, site maps). Every output
// must stay within a fixed multiple of the input, so that growth with the
// square of the input fails as surely as a crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "lists/MediaLists.h"
#include "lists/PageTree.h"
#include "lists/ProjectFile.h"
#include "lists/SiteMaps.h"
#include "search/HitList.h"

namespace {

// Fixed overheads (markers, headers, padding up to the report cap) plus a
// per-byte factor generous enough for escaping.
constexpr std::size_t kSlack = 1 << 20;
constexpr std::size_t kPerByte = 64;

void Bounded(std::size_t out, std::size_t in) {
    if (out > kSlack + kPerByte * in) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = flk::JoinProjectLines(std::string_view(reinterpret_cast<const char*>(data), size));

    flk::MediaLists lists;
    flk::HitList hits;
    flk::PageTrees trees;
    hits.LoadBlock(text);
    flk::LoadTreeBlock(trees, text);
    lists.images.LoadBlock(text);
    lists.movies.LoadBlock(text);
    lists.sounds.LoadBlock(text);
    const flk::MainDataRead main = flk::ReadMainData(text);

    std::size_t out = lists.images.SaveBlock().size() + lists.movies.SaveBlock().size() +
                      lists.sounds.SaveBlock().size() + hits.SaveBlock().size() + flk::TreeBlock(trees).size();
    if (main.lastSite) out += flk::MainDataBlock({main.oneSite.value_or(true), *main.lastSite}).size();
    Bounded(out, size);

    for (flk::MediaList* list : {static_cast<flk::MediaList*>(&lists.images), static_cast<flk::MediaList*>(&lists.movies),
                                 static_cast<flk::MediaList*>(&lists.sounds)}) {
        list->SelectAll();
        Bounded(list->ReportText().size() + list->LinksText().size() + list->ClipboardText().size(), size);
        list->SortByHeader(0);
        list->SortByHeader(1);
    }
    hits.SelectAll();
    Bounded(hits.ReportText().size() + hits.HtmlListText().size() + hits.TextListText().size(), size);

    trees.WithUrlTree([&](flk::TreeModel& tree) {
        Bounded(flk::SiteMapText(tree, false).size() + flk::SiteMapHtml(tree, false).size(), size);
    });
    trees.SetTitlesMode(true);
    trees.WithTitlesTree([&](flk::TreeModel& tree) {
        Bounded(flk::SiteMapText(tree, true).size() + flk::SiteMapHtml(tree, true).size(), size);
    });
    return 0;
}
