#pragma once
#include <string>
#include <string_view>

namespace flk {

enum class UrlService { Http, Https, Ftp, File, Other };

// An address split the way the internet layer connects to it.
struct UrlParts {
    UrlService service = UrlService::Other;
    std::string scheme;   // as written, without "://"
    std::string server;   // host name or address; "[...]" kept for IPv6
    int port = 0;         // the explicit port, else the service's default
    std::string object;   // path and query, never empty ("/" at least); no fragment
    std::string user;     // from "user:password@" in the address, if any
    std::string password;
};

// Splits "scheme://[user[:password]@]server[:port][/object]". False when
// there is no "scheme://", no server (except for file addresses), a bad
// port or white space or control bytes in the server part.
bool SplitUrl(std::string_view url, UrlParts& out);

// The address as it goes on the wire: spaces and bytes outside printable
// ASCII become %XX; everything else, "%" included, is left as written.
std::string EncodeUrlForRequest(std::string_view url);

}  // namespace flk
