#include "net/UrlSplit.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

struct SplitRow {
    const char* url;
    bool ok;
    UrlService service;
    const char* server;
    int port;
    const char* object;
    const char* user;
    const char* password;
};

TEST(SplitUrl, Table) {
    const SplitRow rows[] = {
        {"http://www.a.example/dir/page.html", true, UrlService::Http, "www.a.example", 80, "/dir/page.html", "", ""},
        {"HTTPS://Host.Example:8443", true, UrlService::Https, "Host.Example", 8443, "/", "", ""},
        {"ftp://u:pw@ftp.example/pub/f.zip", true, UrlService::Ftp, "ftp.example", 21, "/pub/f.zip", "u", "pw"},
        {"file:///tmp/x.html", true, UrlService::File, "", 0, "/tmp/x.html", "", ""},
        {"gopher://g.example/1", true, UrlService::Other, "g.example", 0, "/1", "", ""},
        {"http://h.example?q=1#top", true, UrlService::Http, "h.example", 80, "/?q=1", "", ""},
        {"http://h.example/a/b?x=/y#frag", true, UrlService::Http, "h.example", 80, "/a/b?x=/y", "", ""},
        {"http://[::1]:81/x", true, UrlService::Http, "[::1]", 81, "/x", "", ""},
        {"http://h.example:/x", true, UrlService::Http, "h.example", 80, "/x", "", ""},
        {"http://a@b@h.example/", true, UrlService::Http, "h.example", 80, "/", "a@b", ""},
        {"www.example.com/x", false, UrlService::Other, "", 0, "", "", ""},
        {"http://", false, UrlService::Http, "", 0, "", "", ""},
        {"http:///path", false, UrlService::Http, "", 0, "", "", ""},
        {"http://h.example:99999/", false, UrlService::Http, "", 0, "", "", ""},
        {"http://h.example:0/", false, UrlService::Http, "", 0, "", "", ""},
        {"http://h.example:8x/", false, UrlService::Http, "", 0, "", "", ""},
        {"http://bad host/", false, UrlService::Http, "", 0, "", "", ""},
        {"http://[::1/", false, UrlService::Http, "", 0, "", "", ""},
        {"://h.example/", false, UrlService::Other, "", 0, "", "", ""},
        {"ht tp://h.example/", false, UrlService::Other, "", 0, "", "", ""},
    };
    for (const SplitRow& r : rows) {
        SCOPED_TRACE(r.url);
        UrlParts p;
        ASSERT_EQ(SplitUrl(r.url, p), r.ok);
        if (!r.ok) continue;
        EXPECT_EQ(p.service, r.service);
        EXPECT_EQ(p.server, r.server);
        EXPECT_EQ(p.port, r.port);
        EXPECT_EQ(p.object, r.object);
        EXPECT_EQ(p.user, r.user);
        EXPECT_EQ(p.password, r.password);
    }
}

TEST(EncodeUrlForRequest, SpacesControlAndHighBytesOnly) {
    const std::pair<std::string, std::string> rows[] = {
        {"http://h/a b.html", "http://h/a%20b.html"},
        {"http://h/caf\xe9.html", "http://h/caf%E9.html"},
        {"http://h/x\r\nHost: evil", "http://h/x%0D%0AHost:%20evil"},
        {std::string("http://h/\x01\t\x7f", 12), "http://h/%01%09%7F"},
        {"http://h/already%20done?a=b&c=~d#f", "http://h/already%20done?a=b&c=~d#f"},
    };
    for (const auto& [in, out] : rows) EXPECT_EQ(EncodeUrlForRequest(in), out) << in;
}

}  // namespace
}  // namespace flk
