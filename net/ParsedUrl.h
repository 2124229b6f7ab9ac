#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// The media kinds an address can have, decided by its extension alone.
inline constexpr std::string_view kKindHtml = "html";
inline constexpr std::string_view kKindImage = "image";
inline constexpr std::string_view kKindAudio = "audio";
inline constexpr std::string_view kKindVideo = "video";
inline constexpr std::string_view kKindOther = "other";

// The kind of a file extension, compared in ASCII lower case:
//   htm, html, shtml, or no extension     -> "html"
//   gif, jpg, jpeg, bmp, mpa              -> "image"
//   wav, mid, midi, snd, ram, mp3, mp2, au, aiff, mod -> "audio"
//   avi, mov, qt, mpg, mpeg               -> "video"
//   anything else                         -> "other"
// The returned view points at one of the constants above.
std::string_view KindOfExtension(std::string_view extension);

// An address split by plain text rules. A value type: cheap to copy, safe to
// share between threads once built.
//
// For "http://www.site.example:8080/pics/a/Cat.JPG":
//   Full()      "http://www.site.example:8080/pics/a/Cat.JPG"
//   Scheme()    "http:"                      (lower case, with the ":")
//   HostPart()  "http://www.site.example:8080" (text before the third "/")
//   Path()      "/pics/a/"                   (folder, ends in "/")
//   FileName()  "Cat.JPG"
//   Extension() "JPG"                        (case as written)
//   Kind()      "image"
//
// Rules worth knowing:
// - A scheme is a letter followed by letters, digits, "+", "-" or "." and a
//   ":". Text whose first ":" does not end such a name has no scheme, so a
//   relative link like "show.php?at=10:30" stays relative.
// - Without a scheme HostPart() is empty and the text is the path (a local
//   path "/home/me/page.html" splits into folder and file name as usual).
// - The query ("?" and after) is never part of the folder: for
//   ".../show.php?dir=/a/b" Path() is the folder of show.php, FileName() is
//   "show.php?dir=/a/b" and Extension() is "php". FileName() keeps the query
//   so that HostPart() + Path() + FileName() == Full() whenever the text has
//   a path.
// - An address ending in "/" has an empty file name and extension, kind
//   "html". An empty or missing path reads as "/".
class ParsedUrl {
public:
    ParsedUrl();
    explicit ParsedUrl(std::string_view text) { Parse(text); }

    // Splits the text as it is: no joining, normalising or fragment removal.
    void Parse(std::string_view text);

    // Resolves `link` against the page address `base` (JoinUrl), then parses
    // the result. An unresolvable link gives an empty address (Empty()).
    void Make(std::string_view link, std::string_view base);
    void Make(std::string_view link, const ParsedUrl& base);

    static ParsedUrl Made(std::string_view link, std::string_view base) {
        ParsedUrl u;
        u.Make(link, base);
        return u;
    }

    const std::string& Full() const { return full_; }
    const std::string& Scheme() const { return scheme_; }
    const std::string& HostPart() const { return hostPart_; }
    const std::string& Path() const { return path_; }
    const std::string& FileName() const { return fileName_; }
    const std::string& Extension() const { return extension_; }
    std::string_view Kind() const { return kind_; }

    bool Empty() const { return full_.empty(); }
    // A query address: the full text contains "?".
    bool IsQuery() const { return full_.find('?') != std::string::npos; }

private:
    std::string full_;
    std::string scheme_;
    std::string hostPart_;
    std::string path_;
    std::string fileName_;
    std::string extension_;
    std::string_view kind_;
};

// Resolves a link found on a page against the page's address and normalises
// the result. Both texts are trimmed and lose any "#fragment" first.
// - a link with a scheme stands as it is;
// - an empty link (a bare "#top" included) is the page itself;
// - "//host/x" takes the page's scheme;
// - "/x" follows the page's host part;
// - "?q" replaces the page's query;
// - anything else is appended to the page's folder.
// A page read from disk (IsLocalPath, except "file://" addresses, which join
// like web addresses) takes links into its folder (up to its last "/" or
// "\"), and "/x" is an absolute path. Any other page address without a
// scheme gives "".
std::string JoinUrl(std::string_view link, std::string_view base);
// The same with the page's address split already: a page's links all join
// against one address, which need not be split again for each.
std::string JoinUrl(std::string_view link, const ParsedUrl& base);

// Folds "." and ".." segments of the path after the host part (before any
// "?"): "/./" is dropped first, then each ".." removes the segment before it,
// never climbing above the root. The host part and the query are left alone,
// so a host such as "a..b" is kept. Runs in linear time.
std::string NormaliseUrl(std::string_view url);

// Length of the scheme name plus its ":" at the start of the text, 0 when the
// text has no scheme.
std::size_t SchemeLength(std::string_view text);

// True for an address that begins with "http://" or "https://" (any case).
bool IsWebAddress(std::string_view text);

// "http://" + text for text that has no "://" and is not a local path;
// everything else as it is.
std::string WithDefaultScheme(std::string_view text);

// The typed start locations ("a.example; b.example/x;"): each ";"-separated
// entry trimmed, empty ones skipped, completed with WithDefaultScheme. Local
// paths stay as typed.
std::vector<std::string> CompleteStart(std::string_view locations);

// The host parts of the don't-visit entries (";"-separated, trimmed). An entry
// typed without a scheme stands for its site under both "http://" and
// "https://", so both host parts are returned. Empty entries and local paths
// name no site and are skipped.
std::vector<std::string> CompleteDontVisit(std::string_view entries);

// Two addresses are on the same site when their host parts are equal as
// written.
inline bool SameSite(const ParsedUrl& a, const ParsedUrl& b) { return a.HostPart() == b.HostPart(); }

// An address is inside a start location's directory when its folder contains
// the start location's folder.
inline bool InsideDirectory(const ParsedUrl& url, const ParsedUrl& start) {
    return url.Path().find(start.Path()) != std::string::npos;
}

}  // namespace flk
