#include "flkcrawl/MediaJson.h"
#include "lists/MediaLists.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

TEST(MediaJson, StringsAreEscapedAndAlwaysValidUtf8) {
    struct Case {
        std::string text;
        std::string json;
    };
    const Case cases[] = {
        {"", "\"\""},
        {"plain", "\"plain\""},
        {"say \"hi\" \\ there", "\"say \\\"hi\\\" \\\\ there\""},
        {"a\nb\rc\td", "\"a\\nb\\rc\\td\""},
        {std::string("\x01\x1f\x7f", 3) + std::string(1, '\0'), "\"\\u0001\\u001f\\u007f\\u0000\""},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x90\xA6", "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x90\xA6\""},
        {"latin1 caf\xE9!", "\"latin1 caf\xEF\xBF\xBD!\""},                    // a lone high byte
        {"cut \xE2\x82", "\"cut \xEF\xBF\xBD\xEF\xBF\xBD\""},                 // a sequence cut short
        {"over \xC0\xAF long", "\"over \xEF\xBF\xBD\xEF\xBF\xBD long\""},     // an overlong "/"
        {"half \xED\xA0\x80", "\"half \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // a surrogate
        {"big \xF4\x90\x80\x80", "\"big \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // past U+10FFFF
        {"\x80 stray", "\"\xEF\xBF\xBD stray\""},
    };
    for (const Case& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.text;
}

TEST(MediaJson, OneObjectPerMediumWithNullsForWhatIsUnknown) {
    MediaLists lists;
    lists.SetFindDuplicates(true);
    lists.AddImage(MediaItem{"http://h/a.png", "a \"b\";;;;;;", "T", "http://h/p.html", 1});
    lists.AddImage(MediaItem{"http://h/b.png", "", "T", "http://h/p.html", 1});
    lists.AddMovie(MediaItem{"http://h/m.mp4", "", "T", "http://h/p.html", 1});
    MediaCheckResult a{"http://h/a.png", MediaCheckKind::Image, 1234, "image/png"};
    a.width = 640;
    a.height = 480;
    a.sha256 = "ab12";
    a.fingerprint = "1234:cd";
    lists.SetPixelRules(true, false);
    lists.CheckDone(a);
    a.url = "http://h/b.png";
    lists.CheckDone(a);
    EXPECT_EQ(MediaJsonLines(lists),
              "{\"url\":\"http://h/a.png\",\"kind\":\"image\",\"bytes\":1234,\"width\":640,\"height\":480,"
              "\"content_type\":\"image/png\",\"page\":\"http://h/p.html\",\"alt\":\"a \\\"b\\\"\","
              "\"sha256\":\"ab12\",\"duplicates\":[\"http://h/b.png\"]}\n"
              "{\"url\":\"http://h/m.mp4\",\"kind\":\"movie\",\"bytes\":null,\"width\":null,\"height\":null,"
              "\"content_type\":null,\"page\":\"http://h/p.html\",\"alt\":null,\"sha256\":null,\"duplicates\":[]}\n");
}

}  // namespace
}  // namespace flk
