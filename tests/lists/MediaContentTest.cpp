#include "crawl/FoundItems.h"
#include "lists/MediaLists.h"
#include "platform/Notifier.h"
#include "platform/TextUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace flk {
namespace {

struct QueuedChecks : MediaCheckQueue {
    std::vector<std::pair<std::string, MediaCheckKind>> queued;
    void QueueCheck(const std::string& url, MediaCheckKind kind) override { queued.emplace_back(url, kind); }
};

MediaCheckResult Checked(std::string url, MediaCheckKind kind, std::string type, long long size = 50000,
                         long width = 0, long height = 0) {
    MediaCheckResult r{std::move(url), kind, size, std::move(type)};
    r.width = width;
    r.height = height;
    return r;
}

class MediaContentTest : public ::testing::Test {
protected:
    void SetUp() override {
        lists.Connect(&notifier, &checks, nullptr);
        lists.SetContentTypes(true);
    }
    static MediaItem Found(const std::string& url, const std::string& description = {}) {
        return MediaItem{url, description, "Gallery", "http://h/page.html", 1};
    }
    std::vector<std::string> Urls(const MediaList& list) {
        std::vector<std::string> out;
        for (std::size_t r = 0; r < list.RowCount(); ++r) out.push_back(list.Medium(r).url);
        return out;
    }

    NullNotifier notifier;
    QueuedChecks checks;
    MediaLists lists;
};

// A medium the address does not place is asked for its type once and joins
// the list the type names; a wrong extension is corrected the same way.
TEST_F(MediaContentTest, TheContentTypePlacesTheRow) {
    struct Case {
        const char* name;
        bool byContent;  // found without a listed extension
        std::string url;
        std::string type;
        int list;  // where it ends: 0 images, 1 sounds, 2 movies, -1 none
    };
    const Case cases[] = {
        {"query image", true, "http://h/img?id=7", "image/png", 0},
        {"path only video", true, "http://h/media/12345", "video/mp4", 2},
        {"path only sound", true, "http://h/listen/9", "audio/mpeg; charset=x", 1},
        {"a page", true, "http://h/about", "text/html", -1},
        {"no answer", true, "http://h/gone", "", -1},
        {"jpg that is a movie", false, "http://h/clip.jpg", "video/webm", 2},
        {"jpg that is a sound", false, "http://h/tune.jpg", " Audio/ogg", 1},
        {"jpg that is a png", false, "http://h/pic.jpg", "image/png", 0},
        {"jpg served as html stays", false, "http://h/soft404.jpg", "text/html", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lists.ClearAll();
        checks.queued.clear();
        if (c.byContent) {
            lists.AddByContent(Found(c.url, ImageDescription("the alt", "", "")));
            lists.AddByContent(Found(c.url));  // found twice: asked once
            ASSERT_EQ(checks.queued.size(), 1u);
            EXPECT_EQ(checks.queued[0].second, MediaCheckKind::Content);
            lists.CheckDone(Checked(c.url, MediaCheckKind::Content, c.type));
        } else {
            lists.AddImage(Found(c.url, ImageDescription("the alt", "", "")));
            ASSERT_EQ(checks.queued.size(), 1u);
            lists.CheckDone(Checked(c.url, MediaCheckKind::Image, c.type));
        }
        const MediaList* kinds[] = {&lists.images, &lists.sounds, &lists.movies};
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(k);
            if (k != c.list) {
                EXPECT_EQ(kinds[k]->RowCount(), 0u);
                continue;
            }
            ASSERT_EQ(kinds[k]->RowCount(), 1u);
            const ListedMedium m = kinds[k]->Medium(0);
            EXPECT_EQ(m.url, c.url);
            EXPECT_EQ(m.pageUrl, "http://h/page.html");
            EXPECT_EQ(m.pageTitle, "Gallery");
            if (k == 0) {
                EXPECT_EQ(m.alt, "the alt");
            }
            EXPECT_EQ(kinds[k]->Facts(0).bytes, 50000);
            EXPECT_EQ(kinds[k]->Facts(0).contentType, Trim(c.type));
        }
    }
}

TEST_F(MediaContentTest, SwitchedOffOrNotCollectedTheTypePlacesNothing) {
    lists.SetCollected(true, false, true);
    lists.AddByContent(Found("http://h/listen/9"));
    lists.CheckDone(Checked("http://h/listen/9", MediaCheckKind::Content, "audio/mpeg"));
    lists.AddImage(Found("http://h/tune.jpg"));
    lists.CheckDone(Checked("http://h/tune.jpg", MediaCheckKind::Image, "audio/mpeg"));
    EXPECT_EQ(lists.sounds.RowCount(), 0u);
    EXPECT_EQ(Urls(lists.images), std::vector<std::string>{"http://h/tune.jpg"});

    lists.ClearAll();
    checks.queued.clear();
    lists.SetContentTypes(false);
    lists.AddByContent(Found("http://h/img?id=7"));
    EXPECT_TRUE(checks.queued.empty());
    lists.AddImage(Found("http://h/clip.jpg"));
    lists.CheckDone(Checked("http://h/clip.jpg", MediaCheckKind::Image, "video/mp4"));
    EXPECT_EQ(Urls(lists.images), std::vector<std::string>{"http://h/clip.jpg"});
    EXPECT_EQ(lists.movies.RowCount(), 0u);
}

// The file's pixel size replaces the tag's and decides "pure images"; the
// tag's counts only where the file tells none. Switched off, the tag's stays.
TEST_F(MediaContentTest, TrueSizesReplaceTheTagsAndDecidePureImages) {
    struct Case {
        const char* name;
        bool trueSizes, pure;
        const char *tagWidth, *tagHeight;
        long fileWidth, fileHeight;
        bool kept;
        const char *width, *height;  // shown, when kept
    };
    const Case cases[] = {
        {"tag small, file big", true, true, "50", "50", 400, 300, true, "400", "300"},
        {"tag big, file small", true, true, "400", "400", 40, 300, false, "", ""},
        {"tag small, file silent", true, true, "50", "50", 0, 0, false, "", ""},
        {"no tag, file silent", true, true, "", "", 0, 0, true, "", ""},
        {"not pure: small kept", true, false, "", "", 40, 40, true, "40", "40"},
        {"true sizes off", false, true, "50", "60", 400, 300, true, "50", "60"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lists.ClearAll();
        lists.SetPixelRules(c.trueSizes, c.pure);
        lists.AddImage(Found("http://h/p.png", ImageDescription("", c.tagWidth, c.tagHeight)));
        lists.CheckDone(Checked("http://h/p.png", MediaCheckKind::Image, "image/png", 50000, c.fileWidth, c.fileHeight));
        ASSERT_EQ(lists.images.RowCount(), c.kept ? 1u : 0u);
        if (!c.kept) continue;
        EXPECT_EQ(lists.images.Medium(0).width, c.width);
        EXPECT_EQ(lists.images.Medium(0).height, c.height);
    }
}

TEST_F(MediaContentTest, SizeLimitsUseTheCheckedBytes) {
    lists.images.SetSizeLimits(ImageSizeLimits{3000, 100000, true, true});
    for (auto [url, bytes] : {std::pair<const char*, long long>{"http://h/small.png", 2999},
                              {"http://h/fine.png", 3000}, {"http://h/big.png", 100001}}) {
        lists.AddImage(Found(url));
        lists.CheckDone(Checked(url, MediaCheckKind::Image, "image/png", bytes, 500, 500));
    }
    EXPECT_EQ(lists.images.RowCount(), 3u);
    EXPECT_EQ(lists.images.CountValidItems(), 1);
}

MediaCheckResult WithHashes(std::string url, std::string sha, std::string fingerprint) {
    MediaCheckResult r = Checked(std::move(url), MediaCheckKind::Image, "image/png");
    r.sha256 = std::move(sha);
    r.fingerprint = std::move(fingerprint);
    return r;
}

// Same content: equal whole-body hashes, or equal fingerprints where a body
// hash is missing; two bodies hashed and different are never the same.
TEST(MediaFactsSame, HashesAndFingerprints) {
    struct Case {
        const char *shaA, *fpA, *shaB, *fpB;
        bool same;
    };
    const Case cases[] = {
        {"s1", "f1", "s1", "f2", true},   {"s1", "f1", "s2", "f1", false}, {"", "f1", "s2", "f1", true},
        {"", "f1", "", "f1", true},       {"", "f1", "", "f2", false},     {"", "", "", "", false},
        {"s1", "", "s1", "", true},       {"s1", "", "", "", false},
    };
    for (const Case& c : cases) {
        MediaFacts a, b;
        a.sha256 = c.shaA;
        a.fingerprint = c.fpA;
        b.sha256 = c.shaB;
        b.fingerprint = c.fpB;
        EXPECT_EQ(MediaList::SameContent(a, b), c.same) << c.shaA << "/" << c.fpA << " " << c.shaB << "/" << c.fpB;
        EXPECT_EQ(MediaList::SameContent(b, a), c.same);
    }
}

// The same content under several addresses is one row; the others are kept
// with it, shown in the report and stored in the project.
TEST_F(MediaContentTest, DuplicatesListedOnceWithTheOtherAddressesKept) {
    lists.SetFindDuplicates(true);
    for (const char* url : {"http://h/a.png", "http://h/b.png", "http://h/c.png", "http://h/other.png"})
        lists.AddImage(Found(url));
    lists.CheckDone(WithHashes("http://h/a.png", "s1", "f1"));
    lists.CheckDone(WithHashes("http://h/b.png", "s1", "f1"));
    lists.CheckDone(WithHashes("http://h/c.png", "", "f1"));  // fetched in part only
    lists.CheckDone(WithHashes("http://h/other.png", "s2", "f1"));  // same start, other body
    ASSERT_EQ(Urls(lists.images), (std::vector<std::string>{"http://h/a.png", "http://h/other.png"}));
    EXPECT_EQ(lists.images.Facts(0).duplicates, (std::vector<std::string>{"http://h/b.png", "http://h/c.png"}));
    EXPECT_TRUE(lists.images.Facts(1).duplicates.empty());

    lists.images.SelectAll();
    const std::string report = lists.images.ReportText();
    const std::string firstLine = report.substr(0, report.find('\n'));
    EXPECT_NE(firstLine.find("http://h/b.png http://h/c.png"), std::string::npos) << report;

    const std::string project = "Project" + lists.images.SaveBlock() + lists.movies.SaveBlock();
    EXPECT_NE(project.find("{[(DuplicateImages)]}"), std::string::npos);
    MediaLists loaded;
    ASSERT_TRUE(loaded.images.LoadBlock(project));
    ASSERT_TRUE(loaded.movies.LoadBlock(project));  // the block after it is still found
    ASSERT_EQ(loaded.images.RowCount(), 2u);  // the pairs add no rows
    EXPECT_EQ(loaded.images.Facts(0).duplicates, lists.images.Facts(0).duplicates);
    EXPECT_EQ(loaded.images.SaveBlock(), lists.images.SaveBlock());

    // A project written before duplicates were kept loads as it did.
    const std::string old = "Project\r\n\r\n{[(ImagesList)]}a.png;-;http://h/;-;a;-;1;-;2;-;t;-;u;-;";
    MediaLists fromOld;
    ASSERT_TRUE(fromOld.images.LoadBlock(old));
    ASSERT_EQ(fromOld.images.RowCount(), 1u);
    EXPECT_TRUE(fromOld.images.Facts(0).duplicates.empty());
    EXPECT_EQ(fromOld.images.SaveBlock().find("Duplicate"), std::string::npos);
}

TEST_F(MediaContentTest, DuplicatesSwitchedOffKeepEveryAddress) {
    lists.SetFindDuplicates(false);
    for (const char* url : {"http://h/a.png", "http://h/b.png"}) {
        lists.AddImage(Found(url));
        lists.CheckDone(WithHashes(url, "s1", "f1"));
    }
    EXPECT_EQ(lists.images.RowCount(), 2u);
    lists.images.SelectAll();
    EXPECT_EQ(lists.images.SaveBlock().find("Duplicate"), std::string::npos);
}

}  // namespace
}  // namespace flk
