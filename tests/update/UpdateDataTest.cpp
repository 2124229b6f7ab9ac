#include "settings/Settings.h"
#include "support/TempDir.h"
#include "update/UpdateData.h"
#include "update/UpdateFile.h"
#include "update/WordCoding.h"

#include <gtest/gtest.h>
#include <chrono>
#include <future>

using namespace flk;

namespace {

// A complete document as the server sends it, with its adult block already
// in stored (encoded) form.
std::string Sample(const std::string& eol) {
    return "<engines>" + eol + "[Alpha]" + eol + "url1=\"http://a.test/q?k=%search%&s=%from%\"" + eol +
           "[Beta]" + eol + "url1=\"http://b.test/1\"" + eol + "url2=\"http://b.test/2?%search%\"" + eol +
           "</engines>" + eol + "<categories>" + eol + "url=\"http://c.test/cat/\"" + eol +
           "categories=\"Animals, Nature, Science \"" + eol + "</categories>" + eol + "<sex words>" +
           EncodeWords("zebra, red wine,smut ") + "</sex words>" + eol + "<register>server=\"http://s.test/trn/\"" +
           eol + "</register>" + eol + "<banners>same=\"Y\"</banners>" + eol;
}

class UpdateDataTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    UpdateFile file{dir.Path()};

    UpdateData Loaded(const std::string& bytes, bool expectStored) {
        dir.Write("data.txt", bytes);
        UpdateData data(file, settings);
        EXPECT_EQ(data.Load(), expectStored);
        return data;
    }
};

// The array a query fills, starting from an empty one.
template <int (UpdateData::*Query)(std::vector<std::string>&) const>
std::vector<std::string> List(const UpdateData& d) {
    std::vector<std::string> v;
    (d.*Query)(v);
    return v;
}
constexpr auto Names = List<&UpdateData::GetEngineNames>;
constexpr auto Words = List<&UpdateData::GetAdultWords>;

}  // namespace

TEST_F(UpdateDataTest, LineEndsDoNotChangeAnyAnswer) {
    for (const char* eol : {"\n", "\r\n", "\r\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(eol)));
        UpdateData d = Loaded(Sample(eol), true);
        EXPECT_EQ(Names(d), (std::vector<std::string>{"Alpha", "Beta"}));
        // Alpha has no url2=, so Beta's is found.
        EXPECT_EQ(d.GetEngineTemplate("Alpha", 2), "http://b.test/2?%search%");
        EXPECT_EQ(d.GetEngineTemplate("Beta", 3), "");
        EXPECT_EQ(d.GetEngineTemplate("Gamma", 1), "");
        EXPECT_EQ(List<&UpdateData::GetCategories>(d), (std::vector<std::string>{"Animals", " Nature", "Science"}));
        EXPECT_EQ(d.GetCategoryPageUrl("Nature"), "http://c.test/cat/Nature.htm");
        EXPECT_EQ(Words(d), (std::vector<std::string>{"zebra", " red wine", "smut"}));
        EXPECT_EQ(d.GetServer(), "http://s.test/trn/");
        EXPECT_TRUE(d.IsBannerSame());
    }
}

TEST_F(UpdateDataTest, UnusableFilesFallBackToTheDefaults) {
    const std::string big(20 * 1024 * 1024, 'x');
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"blank", " \r\n\t\r\n"},
        {"error page", "<html><h1>404 Not Found</h1>" + Sample("\n") + "</html>"},
        {"20 MB", "<engines>[Huge]</engines>" + big},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        UpdateData d = Loaded(bytes, false);
        EXPECT_EQ(d.Text(), d.DefaultText());
    }
    ::unlink(dir.File("data.txt").c_str());
    settings.Set(hosts::Directory, "127.0.0.1:8080");  // tests point the defaults at loopback
    UpdateData d(file, settings);
    EXPECT_FALSE(d.Load());
    EXPECT_EQ(Names(d), std::vector<std::string>{"Looksmart"});
    std::vector<std::string> cats{"stale"};
    EXPECT_EQ(d.GetCategories(cats), 0);
    EXPECT_EQ(d.GetCategoryPageUrl("Animals"), "http://www.findlark.example/eng/Animals.htm");
    EXPECT_EQ(d.GetServer(), "http://server.findlark.example/trn/");
    EXPECT_EQ(d.GetEngineTemplate("Looksmart", 3),
              "http://127.0.0.1:8080/r_search?look=x&izm3&key=%search%&external=av&skip=%from%");
    const auto words = Words(d);
    ASSERT_EQ(words.size(), 28u);
    int phrases = 0, leading = 0;
    for (const std::string& w : words) {
        phrases += w.find(' ', 1) != std::string::npos && std::count(w.begin() + 1, w.end(), ' ') <= 2;
        leading += w[0] == ' ';
    }
    EXPECT_EQ(phrases, 8);
    EXPECT_EQ(leading, 7);
}

TEST_F(UpdateDataTest, EngineUrlsRunFromTheLastPageToTheFirst) {
    UpdateData d = Loaded(Sample("\n"), true);
    struct Row {
        int count;
        int pages;
        std::vector<std::string> froms;
    } rows[] = {{30, 3, {"20", "10", "0"}}, {25, 2, {"15", "5"}}, {9, 0, {}}, {-25, 0, {}}};
    for (const Row& r : rows) {
        std::vector<std::string> urls{"stale"};
        EXPECT_EQ(d.BuildEngineUrls(urls, "Alpha", 1, "a+b", r.count), r.pages);
        ASSERT_EQ(urls.size(), r.froms.size());
        for (std::size_t i = 0; i < urls.size(); ++i)
            EXPECT_EQ(urls[i], "http://a.test/q?k=a+b&s=" + r.froms[i]);
    }
    // Inserted text is not expanded again; a missing template gives no
    // addresses but the page count.
    std::vector<std::string> urls;
    d.BuildEngineUrls(urls, "Alpha", 1, "%from%", 10);
    EXPECT_EQ(urls, std::vector<std::string>{"http://a.test/q?k=%from%&s=0"});
    EXPECT_EQ(d.BuildEngineUrls(urls, "Nobody", 1, "x", 30), 3);
    EXPECT_TRUE(urls.empty());
    EXPECT_EQ(d.BuildEngineUrls(urls, "Alpha", 1, "x", 2000000005), UpdateData::kMaxEnginePages);
    EXPECT_EQ(urls.back(), "http://a.test/q?k=x&s=5");
}

TEST_F(UpdateDataTest, MalformedBlocksAreAbsent) {
    struct Row {
        const char* text;
        std::vector<std::string> names;
        const char* server;
        bool bannerSame;
    } rows[] = {
        {"</engines><engines>[A]", {}, "", false},  // closing marker only before the opening one
        {"</engines><engines>[A]</engines>", {"A"}, "", false},
        {"<engines>[A][B</engines>", {"A"}, "", false},
        {"<register>server=\"http://x</register>", {}, "", false},
        {"<register>server=http://x\"</register>\"", {}, "", false},  // quote outside the block
        {"<register>url=\"a\"server=\"b\"</register>", {}, "b", false},
        {"<banners>same=\"YeS\"</banners>", {}, "", true},
        {"<banners>same=\"y \"</banners>", {}, "", false},
        {"<banners></banners>same=\"y\"", {}, "", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        UpdateData d = Loaded(r.text, true);
        EXPECT_EQ(Names(d), r.names);
        EXPECT_EQ(d.GetServer(), r.server);
        EXPECT_EQ(d.IsBannerSame(), r.bannerSame);
        EXPECT_EQ(d.GetCategoryPageUrl("x"), "");
        std::vector<std::string> kept{"kept"};
        EXPECT_EQ(d.GetAdultWords(kept), 1);
    }
}

TEST(WordCoding, ShiftsEveryByteButSpaceCommaAndMinus) {
    EXPECT_EQ(EncodeWords("az AZ,-\n\xff"), std::string("ba BA,-\x0b\x00", 9));
    const std::string plain = "zebra, Red Wine,\r\n night-club, 18 ZZ~";
    EXPECT_EQ(DecodeWords(EncodeWords(plain)), plain);
}

TEST_F(UpdateDataTest, StoredAdultBlockIsEncodedAndReadsBack) {
    const std::string answer = "<engines>[E]</engines>\n<sex words>\nzebra,\nred wine,\nsmut\n</sex words>\n";
    ASSERT_TRUE(file.Store(answer, [] { return true; }));
    const std::string raw = dir.Read("data.txt");
    EXPECT_EQ(raw.find("zebra"), std::string::npos);
    EXPECT_NE(raw.find("<engines>[E]</engines>\r\n"), std::string::npos);  // text mode
    UpdateData d(file, settings);
    ASSERT_TRUE(d.Load());
    // Line ends inside the block were shifted with it, so entries keep them.
    EXPECT_EQ(Words(d), (std::vector<std::string>{"\nzebra", "\nred wine", "smut"}));

    EXPECT_FALSE(file.Store("<engines>[F]</engines>", [] { return false; }));
    EXPECT_FALSE(file.Store(std::string(UpdateFile::kMaxBytes / 2 + 1, '\n'), nullptr));
    EXPECT_EQ(dir.Read("data.txt"), raw);
}

TEST_F(UpdateDataTest, EveryLoadPathReleasesTheLock) {
    const std::string cases[] = {"", "404 Not Found", std::string(UpdateFile::kMaxBytes + 1, 'x'),
                                 Sample("\n")};
    for (const std::string& bytes : cases) {
        dir.Write("data.txt", bytes);
        UpdateData(file, settings).Load();
        auto store = std::async(std::launch::async, [&] { return file.Store("<banners>", nullptr); });
        ASSERT_EQ(store.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        EXPECT_TRUE(store.get());
    }
}
