#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace flk {

class Settings;
class UpdateFile;

// Markers of the update data blocks, matched case-sensitively.
namespace update_markers {
inline constexpr const char* kEnginesOpen = "<engines>";
inline constexpr const char* kEnginesClose = "</engines>";
inline constexpr const char* kCategoriesOpen = "<categories>";
inline constexpr const char* kCategoriesClose = "</categories>";
inline constexpr const char* kAdultOpen = "<sex words>";
inline constexpr const char* kAdultClose = "</sex words>";
inline constexpr const char* kServerOpen = "<register>";
inline constexpr const char* kServerClose = "</register>";
inline constexpr const char* kBannersOpen = "<banners>";
inline constexpr const char* kBannersClose = "</banners>";
}  // namespace update_markers

// Short-lived reader of the update data: made on the stack, loaded, asked a
// question or two, dropped, so a file stored by the update thread is seen by
// the next reader. Queries never change the working text.
class UpdateData {
public:
    // An engine request list never grows past this many pages, whatever
    // result count the profile asks for.
    static constexpr int kMaxEnginePages = 100;

    // Builds the default text from the configured hosts; the working text
    // stays empty until Load.
    UpdateData(UpdateFile& file, const Settings& settings);

    // True when the stored file is in force; false when it is missing,
    // unreadable, empty, too large or an error page ("404 Not Found"), and
    // the default text is used instead.
    bool Load();

    // Appends each engine name of the engines block; returns the array size.
    int GetEngineNames(std::vector<std::string>& names) const;
    // Template n (url1=, url2=, url3=) of the named engine, or "". The key is
    // searched from the engine's header to the end of the text, so a section
    // without its own key takes the next section's.
    std::string GetEngineTemplate(std::string_view name, int n) const;
    // One address per result page, last page first (count 30: from 20, 10,
    // 0); the search text goes in as given. Returns the number of pages,
    // count / 10 capped at kMaxEnginePages, even when the template is missing.
    int BuildEngineUrls(std::vector<std::string>& urls, std::string_view name, int n,
                        std::string_view search, int count) const;
    // The comma-separated category names; the array is cleared first.
    int GetCategories(std::vector<std::string>& names) const;
    // The category base address followed by the name and ".htm", or "".
    std::string GetCategoryPageUrl(std::string_view name) const;
    // The decoded adult keywords; an absent block leaves the array unchanged.
    int GetAdultWords(std::vector<std::string>& words) const;
    std::string GetServer() const;
    // True when the banners block's same= is "yes" or "y" (any case).
    bool IsBannerSame() const;

    const std::string& Text() const { return text_; }
    const std::string& DefaultText() const { return default_; }

    // The built-in adult keywords, plain (the default text holds them encoded).
    static const char* DefaultAdultWords();

private:
    UpdateFile& file_;
    std::string default_;
    std::string text_;
};

// The block between an opening marker and the first closing marker after it;
// false when either is missing.
bool FindUpdateBlock(std::string_view text, std::string_view open, std::string_view close,
                     std::string_view& block);

// True when text holds every block the readers take from the stored file
// (engines, categories, adult words, server), each with its closing marker;
// the banners block is optional. Text without one of them is not stored, or
// a broken answer would empty the adult word list.
bool HasEveryUpdateBlock(std::string_view text);

// The value in double quotes after key: from the first quote after the key to
// the next one. "" when the key or a quote is missing.
std::string QuotedValue(std::string_view text, std::string_view key);

}  // namespace flk
