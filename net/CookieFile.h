#pragma once
#include <ctime>
#include <string>
#include <vector>

namespace flk {

struct CookieFileRead {
    bool ok = false;
    // The cookie lines as the file holds them ("#HttpOnly_" ones included),
    // without comments, blank lines and cookies expired before now.
    std::vector<std::string> lines;
    // When !ok: what is wrong with the file, naming it ("cookies file
    // \"...\" cannot be read"), and the same with what the crawl does
    // about it, for the problem log.
    std::string fault;
    std::string problem;
};

// Reads a cookies file in the Netscape/Mozilla cookies.txt format: one
// cookie a line, seven fields separated by tabs (domain, include
// subdomains TRUE/FALSE, path, secure TRUE/FALSE, expiry in seconds since
// 1970 with 0 for a session cookie, name, value); "#HttpOnly_" before the
// domain marks an HTTP-only cookie, other "#" lines are comments. A file
// that cannot be read or holds a line of another shape is refused whole:
// sending part of a login's cookies helps nobody.
CookieFileRead ReadCookieFile(const std::string& path, std::time_t now);

}  // namespace flk
