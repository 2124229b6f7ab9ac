#pragma once
#include <string>
#include <vector>

namespace flk {

class HitList;
class MediaLists;
class Settings;
class UpdateFile;

// The counts the result pages are made for: valid media and text hits.
struct ResultCounts {
    int images = 0, sounds = 0, movies = 0, textHits = 0;
    bool Any() const { return images != 0 || sounds != 0 || movies != 0 || textHits != 0; }
};

// Writes the result pages of every kind that has rows, with the
// advertisement choice of the update data and the safety level's template.
class ResultPageWriter {
public:
    ResultPageWriter(Settings& settings, UpdateFile& update, MediaLists& lists, HitList& hits)
        : settings_(settings), update_(update), lists_(lists), hits_(hits) {}

    // Every row of every list. The path of the page to open first ("" when
    // nothing was written): the frame page of the first kind with pages, or
    // that kind's first list page when the frame page is missing. `problems`
    // gets what failed.
    std::string Write(const std::string& projectFolder, const std::string& subject,
                      std::vector<std::string>& problems);

    // The pages of what a search found so far: the media lists' valid rows
    // are selected and only kinds with a count above 0 get pages. The first
    // page is the frame page of images, else sounds, else movies, else text
    // hits ("" when none of them has pages).
    std::string WriteValid(const std::string& projectFolder, const std::string& subject, ResultCounts& counts,
                           std::vector<std::string>& problems);

    // The text search of the crawl, whose words the hit lines show marked
    // with those of the hit list's own query (an off-line search uses that).
    void SetCrawlQuery(std::string query) { crawlQuery_ = std::move(query); }

private:
    std::string Generate(const std::string& projectFolder, const std::string& subject, const ResultCounts& present,
                         std::vector<std::string>& problems);

    Settings& settings_;
    UpdateFile& update_;
    MediaLists& lists_;
    HitList& hits_;
    std::string crawlQuery_;
};

}  // namespace flk
