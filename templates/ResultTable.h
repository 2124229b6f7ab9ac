#pragma once
#include "lists/ListTable.h"
#include "templates/TemplateList.h"

#include <string>
#include <string_view>
#include <vector>

namespace flk {

// The kinds of result pages, numbered by their kind code.
enum class ResultKind { Images = 0, Movies = 1, Sounds = 2, TextHits = 3 };

// The columns a template sees for a kind. First the list's own column
// titles, in list order, so `colix` numbers match the list window:
//   Images:    "Images", "Location", "Alt", "Width", "Height",
//              "Source title", "Source URL", "Size (KB)"
//   Movies:    "Movies", "Path", "Title", "Url", "Size (Bytes)", "Link string"
//   Sounds:    "Sounds", "Path", "Title", "Url", "Size (Bytes)", "Link string"
//   Text hits: "title", "category", "description", "url", "fullcat"
// then values made for the page, which the list only holds in pieces:
//   "address"     the medium (or hit page) as a browser opens it;
//   "page"        the page the medium was found on, as a browser opens it;
//   "dimensions"  images: "W × H" when both are known, else "";
//   "type", "playable", "extension"  movies and sounds: the MIME type by
//                 extension, "yes" when browsers commonly play it, the
//                 extension in capitals;
//   "picture"     images: the picture to show, the image cache's copy
//                 (relative to the project folder) when there is one for
//                 the row and a cache is given, else "address";
//   "sample"      text hits: the hit line as HTML, made for the reader
//                 (query/ReaderHitLine.h) when asked, else the stored line
//                 escaped; inserted as it is.
// An address a browser must not follow ("javascript:" and the like) is "".
const std::vector<std::string>& ResultColumns(ResultKind kind);

// The table handed to a kind's template: the selected rows of the list, or
// every row when none is selected. Cells are made valid UTF-8 (text that is
// not UTF-8 is read as Latin-1), since the pages declare that charset.
//
// The text-hit list's columns are "Titles", "Text", "Match", "Url"; they
// stand in the template as title, category, description and url, and
// fullcat is empty.
struct ResultTableOptions {
    // The project's image cache; "" shows every picture from its address.
    std::string imageCacheFolder;
    // Hit lines as a reader sees them, with these words marked.
    bool readerHitLines = false;
    std::vector<std::string> hitKeywords;
};
TemplateTable BuildResultTable(ResultKind kind, const ListTable& list, const ResultTableOptions& options = {});

// An address from a list as a link target: web addresses get "http://" when
// they have no scheme, local paths become "file://" addresses, anything
// whose scheme is not http, https, ftp or file gives "". Spaces, controls
// and bytes past ASCII are percent-encoded.
std::string BrowserAddress(std::string_view text);

// Valid UTF-8 as it is; anything else read as Latin-1 and converted.
std::string DisplayUtf8(std::string_view text);

}  // namespace flk
