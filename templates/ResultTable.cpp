#include "templates/ResultTable.h"

#include "net/ParsedUrl.h"
#include "lists/CachedCopies.h"
#include "lists/MediaList.h"
#include "platform/HtmlEscape.h"
#include "platform/LocalPath.h"
#include "platform/PercentEncoding.h"
#include "platform/TextUtil.h"
#include "query/ReaderHitLine.h"

#include <array>
#include <memory>
#include <cctype>

namespace flk {
namespace {

const std::vector<std::string> kImageColumns = {
    "Images", "Location", "Alt", "Width", "Height", "Source title", "Source URL", "Size (KB)",
    "address", "page", "dimensions", "picture",
};
const std::vector<std::string> kMovieColumns = {
    "Movies", "Path", "Title", "Url", "Size (Bytes)", "Link string", "address", "page", "type", "playable", "extension",
};
const std::vector<std::string> kSoundColumns = {
    "Sounds", "Path", "Title", "Url", "Size (Bytes)", "Link string", "address", "page", "type", "playable", "extension",
};
const std::vector<std::string> kTextColumns = {"title", "category", "description", "url", "fullcat", "address", "sample"};
constexpr char kSampleColumn[] = "sample";

// List columns copied as they are: the list's own titles.
constexpr std::size_t kImageListColumns = 8;
constexpr std::size_t kMediaListColumns = 6;
constexpr std::size_t kHitListColumns = 4;

struct MediaType {
    const char* extension;
    const char* mime;
    bool playable;  // by the usual browsers without plug-ins
};

constexpr std::array kMediaTypes = {
    MediaType{"mp3", "audio/mpeg", true},      MediaType{"wav", "audio/wav", true},
    MediaType{"ogg", "audio/ogg", true},       MediaType{"oga", "audio/ogg", true},
    MediaType{"opus", "audio/ogg", true},      MediaType{"m4a", "audio/mp4", true},
    MediaType{"aac", "audio/aac", true},       MediaType{"flac", "audio/flac", true},
    MediaType{"weba", "audio/webm", true},     MediaType{"mid", "audio/midi", false},
    MediaType{"midi", "audio/midi", false},    MediaType{"au", "audio/basic", false},
    MediaType{"snd", "audio/basic", false},    MediaType{"aif", "audio/aiff", false},
    MediaType{"aiff", "audio/aiff", false},    MediaType{"ra", "audio/x-pn-realaudio", false},
    MediaType{"ram", "audio/x-pn-realaudio", false}, MediaType{"wma", "audio/x-ms-wma", false},
    MediaType{"mp4", "video/mp4", true},       MediaType{"m4v", "video/mp4", true},
    MediaType{"webm", "video/webm", true},     MediaType{"ogv", "video/ogg", true},
    MediaType{"mov", "video/quicktime", false}, MediaType{"qt", "video/quicktime", false},
    MediaType{"avi", "video/x-msvideo", false}, MediaType{"mpg", "video/mpeg", false},
    MediaType{"mpeg", "video/mpeg", false},    MediaType{"wmv", "video/x-ms-wmv", false},
    MediaType{"asf", "video/x-ms-asf", false}, MediaType{"rm", "application/vnd.rn-realmedia", false},
};

// The extension of a file name: after its last ".", before any "?" or "#".
std::string ExtensionOf(std::string_view name) {
    name = name.substr(0, name.find_first_of("?#"));
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string_view ext = name.substr(dot + 1);
    if (ext.size() > 8 || ext.find('/') != std::string_view::npos) return {};
    return ToLowerAscii(ext);
}

const MediaType* TypeOf(const std::string& extension) {
    for (const MediaType& t : kMediaTypes)
        if (extension == t.extension) return &t;
    return nullptr;
}

// The address of a row: its folder column and its file name column.
std::string JoinedAddress(const ListRow& row) {
    const std::string& folder = row.cells.size() > 1 ? row.cells[1] : std::string();
    return std::string(Trim(folder)) + (row.cells.empty() ? std::string() : row.cells[0]);
}

const std::string& CellOf(const ListRow& row, std::size_t column) {
    static const std::string kEmpty;
    return column < row.cells.size() ? row.cells[column] : kEmpty;
}

std::vector<std::string> ImageRow(const ListRow& row, const CachedCopies* cache) {
    std::vector<std::string> cells;
    for (std::size_t c = 0; c < kImageListColumns; ++c) cells.push_back(CellOf(row, c));
    const std::string address = BrowserAddress(JoinedAddress(row));
    cells.push_back(address);
    cells.push_back(BrowserAddress(CellOf(row, 6)));
    const std::string_view w = Trim(CellOf(row, 3));
    const std::string_view h = Trim(CellOf(row, 4));
    cells.push_back(!w.empty() && !h.empty() ? std::string(w) + " \xC3\x97 " + std::string(h) : std::string());
    // Only an address a page may show has a copy worth showing instead.
    const std::string copy = cache && !address.empty() ? cache->RelativeAddress(JoinedAddress(row)) : std::string();
    cells.push_back(copy.empty() ? address : copy);
    return cells;
}

std::vector<std::string> MediaRow(const ListRow& row) {
    std::vector<std::string> cells;
    for (std::size_t c = 0; c < kMediaListColumns; ++c) cells.push_back(CellOf(row, c));
    cells.push_back(BrowserAddress(JoinedAddress(row)));
    cells.push_back(BrowserAddress(CellOf(row, 3)));
    const std::string ext = ExtensionOf(CellOf(row, 0));
    const MediaType* type = TypeOf(ext);
    cells.push_back(type ? type->mime : "");
    cells.push_back(type && type->playable ? "yes" : "no");
    cells.push_back(ToUpperAscii(ext));
    return cells;
}

std::vector<std::string> HitRow(const ListRow& row, const ResultTableOptions& options) {
    std::vector<std::string> cells;
    for (std::size_t c = 0; c < kHitListColumns; ++c) cells.push_back(CellOf(row, c));
    cells.emplace_back();  // fullcat
    cells.push_back(BrowserAddress(CellOf(row, 3)));
    // The old pages escaped the line as the other cells are, after making
    // it UTF-8; the reader's line is ASCII already.
    cells.push_back(options.readerHitLines ? HitLineHtml(CellOf(row, 1), options.hitKeywords)
                                           : EscapeHtml(DisplayUtf8(CellOf(row, 1))));
    return cells;
}

}  // namespace

const std::vector<std::string>& ResultColumns(ResultKind kind) {
    switch (kind) {
        case ResultKind::Images: return kImageColumns;
        case ResultKind::Movies: return kMovieColumns;
        case ResultKind::Sounds: return kSoundColumns;
        case ResultKind::TextHits: break;
    }
    return kTextColumns;
}

TemplateTable BuildResultTable(ResultKind kind, const ListTable& list, const ResultTableOptions& options) {
    TemplateTable table(ResultColumns(kind));
    if (kind == ResultKind::TextHits) table.SetMarkupColumns({kSampleColumn});
    std::unique_ptr<CachedCopies> cache;
    if (kind == ResultKind::Images && !options.imageCacheFolder.empty()) {
        std::vector<std::string> addresses;
        for (const ListRow& row : list.Rows()) addresses.push_back(JoinedAddress(row));
        cache = std::make_unique<CachedCopies>(options.imageCacheFolder, addresses);
    }
    const bool onlySelected = list.SelectedCount() > 0;
    for (const ListRow& row : list.Rows()) {
        if (onlySelected && !row.selected) continue;
        std::vector<std::string> cells;
        switch (kind) {
            case ResultKind::Images: cells = ImageRow(row, cache.get()); break;
            case ResultKind::Movies:
            case ResultKind::Sounds: cells = MediaRow(row); break;
            case ResultKind::TextHits: cells = HitRow(row, options); break;
        }
        for (std::string& cell : cells) cell = DisplayUtf8(cell);
        table.AddRow(std::move(cells));
    }
    return table;
}

namespace {

// Bytes that may not stand in an address as they are (controls, spaces and
// everything past ASCII) are percent-encoded, so a Latin-1 address reaches
// its server with its own bytes and never turns into broken UTF-8.
std::string EncodeUnsafeBytes(const std::string& address) {
    return PercentEncode(address, [](unsigned char c) { return c > 0x20 && c < 0x7F; });
}

std::string RawBrowserAddress(std::string_view text) {
    const std::string_view t = Trim(text);
    if (t.empty()) return {};
    // With a scheme the address stays as it is ("http://a\b" is a web
    // address with an odd path, not a local file), unless it is no kind of
    // address a page may link to.
    if (t.find("://") != std::string_view::npos && SchemeLength(t) > 0)
        return IsLinkableAddress(t) ? std::string(t) : std::string();
    if (StartsWithNoCase(t, "file:") || IsLocalPath(t)) return FileAddress(t);
    // No scheme: a host name, perhaps with a port ("a.example:8080/x").
    const std::size_t colon = t.find(':');
    const bool port = colon != std::string_view::npos && colon + 1 < t.size() &&
                      std::isdigit(static_cast<unsigned char>(t[colon + 1]));
    if (!port && !IsLinkableAddress(t)) return {};
    return WithDefaultScheme(t);
}

}  // namespace

std::string BrowserAddress(std::string_view text) { return EncodeUnsafeBytes(RawBrowserAddress(text)); }

std::string DisplayUtf8(std::string_view text) {
    auto cont = [&](std::size_t i) { return i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    bool valid = true;
    for (std::size_t i = 0; i < text.size() && valid;) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (len == 0 || (len == 2 && c < 0xC2) || (len == 4 && c > 0xF4)) {
            valid = false;
            break;
        }
        for (std::size_t k = 1; k < len; ++k) valid = valid && cont(i + k);
        i += len;
    }
    if (valid) return std::string(text);
    std::string out;
    out.reserve(text.size() * 2);
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace flk
