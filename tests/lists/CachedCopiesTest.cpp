#include "lists/CachedCopies.h"

#include "platform/Paths.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace flk {
namespace {

TEST(CachedCopies, ACopyIsUsedOnlyWhenItSurelyBelongsToTheAddress) {
    test::TempDir cache;
    cache.Write("lark.jpg", "picture");
    cache.Write("two words & more.png", "picture");
    cache.Write("caf\xC3\xA9 100%.gif", "picture");
    cache.Write("empty.jpg", "");
    cache.Write("nest.jpg", "picture");
    cache.Write("nest(1).jpg", "another");
    cache.Write("egg.jpg", "picture");
    cache.Write(".part.jpg", "unfinished");
    cache.Write("elsewhere.jpg", "picture");
    ASSERT_EQ(::symlink(cache.File("elsewhere.jpg").c_str(), cache.File("linked.jpg").c_str()), 0);
    ASSERT_TRUE(EnsureFolder(cache.File("folder.jpg")));

    const std::vector<std::string> addresses = {
        "http://a.example/pics/lark.jpg",
        "http://a.example/pics/two%20words%20&%20more.png",
        "http://a.example/caf\xC3\xA9 100%25.gif?size=big",
        "http://a.example/empty.jpg",
        "http://a.example/nest.jpg",
        "http://a.example/one/egg.jpg",
        "http://a.example/two/egg.jpg",
        "http://a.example/.part.jpg",
        "http://a.example/linked.jpg",
        "http://a.example/folder.jpg",
        "http://a.example/missing.jpg",
    };
    const CachedCopies copies(cache.Path(), addresses);
    struct Case {
        const char* address;
        const char* copy;
    };
    const Case cases[] = {
        {"http://a.example/pics/lark.jpg", "Images/lark.jpg"},
        // Names escaped for a URL; the page escapes them for HTML.
        {"http://a.example/pics/two%20words%20&%20more.png", "Images/two%20words%20%26%20more.png"},
        {"http://a.example/caf\xC3\xA9 100%25.gif?size=big", "Images/caf%C3%A9%20100%25.gif"},
        // Not there, empty, not a plain file, or unfinished.
        {"http://a.example/missing.jpg", ""},
        {"http://a.example/empty.jpg", ""},
        {"http://a.example/linked.jpg", ""},
        {"http://a.example/folder.jpg", ""},
        {"http://a.example/.part.jpg", ""},
        // Two images were kept under that name: which is which is unknown.
        {"http://a.example/nest.jpg", ""},
        // Two addresses of the list share the name.
        {"http://a.example/one/egg.jpg", ""},
        {"http://a.example/two/egg.jpg", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(copies.RelativeAddress(c.address), c.copy) << c.address;
}

TEST(CachedCopies, NoFolderNoCopies) {
    const CachedCopies copies("/nonexistent/flk/Images", {"http://a.example/lark.jpg"});
    EXPECT_EQ(copies.RelativeAddress("http://a.example/lark.jpg"), "");
}

TEST(CachedCopies, SegmentEncoding) {
    EXPECT_EQ(PercentEncodeSegment("aZ09-._~"), "aZ09-._~");
    EXPECT_EQ(PercentEncodeSegment("a b#?&\"<'%(1)"), "a%20b%23%3F%26%22%3C%27%25%281%29");
    EXPECT_EQ(PercentEncodeSegment("\xC3\xA9"), "%C3%A9");
}

}  // namespace
}  // namespace flk
