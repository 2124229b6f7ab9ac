#pragma once
#include <string>

namespace flk {

class HitList;
class MediaLists;
class Settings;
class UpdateFile;

// Writes the result pages of every kind that has rows, with the
// advertisement choice of the update data and the safety level's template.
class ResultPageWriter {
public:
    ResultPageWriter(Settings& settings, UpdateFile& update, MediaLists& lists, HitList& hits)
        : settings_(settings), update_(update), lists_(lists), hits_(hits) {}

    // The path of the frame page to open first ("" when nothing was found).
    std::string Write(const std::string& projectFolder, const std::string& subject);

private:
    Settings& settings_;
    UpdateFile& update_;
    MediaLists& lists_;
    HitList& hits_;
};

}  // namespace flk
