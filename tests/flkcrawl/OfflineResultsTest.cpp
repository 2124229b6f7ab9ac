// The result pages of a real crawl keep showing every picture once the
// site is gone: flkcrawl crawls a loopback gallery, the server stops, and a
// headless browser draws the images page from the project folder.
#include "platform/Paths.h"
#include "platform/PercentEncoding.h"
#include "platform/TextUtil.h"
#include "support/LoopbackServer.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>
#include <tuple>
#include <sys/stat.h>

using namespace flk;
using namespace std::chrono_literals;

namespace {

const std::string kBirds = std::string(FLK_SOURCE_DIR) + "/resources/demo/birds/";
// Served under names that need escaping in a URL, in HTML and on disk.
const std::vector<std::pair<std::string, std::string>> kPictures = {
    {"skylark.jpg", "skylark.jpg"},
    {"wood%20lark%20&%20friends.jpg", "woodlark.jpg"},
    {"crested%23lark%27s.jpg", "crested-lark.jpg"},
    {"horned-lark%C3%A9.jpg", "horned-lark.jpg"},
    {"shore%22lark%22.gif", "shorelark.gif"},
    {"calandra-lark.gif", "calandra-lark.gif"},
};

std::string Bytes(const std::string& path) {
    std::string out;
    EXPECT_TRUE(ReadWholeFile(path, out)) << path;
    return out;
}

// The program's full path from PATH, "" when it is not there.
std::string OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    for (const std::string& dir : Split(path ? path : "", ":")) {
        struct stat st {};
        if (!dir.empty() && ::stat((dir + "/" + program).c_str(), &st) == 0) return dir + "/" + program;
    }
    return {};
}


TEST(OfflineResults, PagesShowEveryPictureAfterTheSiteIsGone) {
    test::TempDir dir;
    const std::string project = dir.File("project");
    {
        test::LoopbackServer server;
        // Pages whose hit lines come out of markup: cut tags, entities,
        // a script, a table.
        std::string gallery =
            "<html><head><title>Gallery</title></head><body><p class=\"intro\">The <b>sky</b>lark &amp; "
            "the <i>wood\n  lark</i> sing &#8211; high over the fields.</p><a href=\"/songs.html\">songs</a>"
            "<a href=\"/table.html\">table</a>";
        server.Add({"/songs.html", 200, {{"Content-Type", "text/html"}},
                    "<html><head><title>Songs</title><script>var x = '<b>';</script></head><body><div "
                    "class=\"song\"><span>Its song &ldquo;tirr-lirr&rdquo;, the <em>lark&#39;s</em> call &lt;loud&gt;"
                    "</span></div></body></html>"});
        server.Add({"/table.html", 200, {{"Content-Type", "text/html"}},
                    "<html><head><title>Table</title></head><body><table><tr><td class=\"n\">Crested</td><td "
                    "class=\"n\">lark</td><td>Galerida&nbsp;cristata</td></tr></table></body></html>"});
        for (const auto& [served, file] : kPictures) {
            gallery += "<img src=\"/pics/" + served + "\" alt=\"" + file + "\">";
            server.Add({"/pics/" + served, 200, {{"Content-Type", "image/jpeg"}}, Bytes(kBirds + file)});
        }
        gallery += "</body></html>";
        server.Add({"/gallery.html", 200, {{"Content-Type", "text/html"}}, gallery});
        test::Subprocess crawl({FLK_CRAWL_PROGRAM, "--project", project, "--media", "images", "--query", "lark",
                                server.Url("/gallery.html")},
                               {"FLK_WINDIR=" + dir.File("win")}, dir.File("out.txt"));
        ASSERT_EQ(crawl.Wait(120s), 0) << dir.Read("out.txt");
    }  // the site is gone from here on

    std::string page;
    ASSERT_TRUE(ReadWholeFile(JoinPath(project, "ImagesList0.htm"), page)) << dir.Read("out.txt");
    const std::regex img("<img src=\"([^\"]*)\"");
    std::vector<std::string> srcs;
    for (std::sregex_iterator it(page.begin(), page.end(), img), end; it != end; ++it) srcs.push_back((*it)[1]);
    ASSERT_EQ(srcs.size(), kPictures.size()) << page;
    for (const std::string& src : srcs) {
        ASSERT_EQ(src.rfind("Images/", 0), 0u) << src;
        std::string unescaped = src;
        for (std::size_t at = unescaped.find("&amp;"); at != std::string::npos; at = unescaped.find("&amp;", at + 1))
            unescaped.erase(at + 1, 4);
        const std::string file = JoinPath(project, PercentDecode(unescaped));
        EXPECT_TRUE(FileExists(file)) << src;
    }
    // Each picture still links to where it was found.
    EXPECT_NE(page.find("href=\"http://127.0.0.1:"), std::string::npos);

    // The text hit shows the page's words, not its markup.
    std::string text;
    ASSERT_TRUE(ReadWholeFile(JoinPath(project, "TextList0.htm"), text));
    int lines = 0;
    for (std::size_t sample = text.find("<p class=\"sample\">"); sample != std::string::npos;
         sample = text.find("<p class=\"sample\">", sample + 1), ++lines) {
        const std::size_t from = text.find('>', sample) + 1;
        const std::string line = text.substr(from, text.find("</p>", from) - from);
        EXPECT_NE(line.find("<mark>lark</mark>"), std::string::npos) << line;
        EXPECT_EQ(line.find("&lt;b"), std::string::npos) << line;
        EXPECT_EQ(line.find("&lt;/"), std::string::npos) << line;
        EXPECT_EQ(line.find("class="), std::string::npos) << line;
        EXPECT_EQ(line.find("&amp;amp;"), std::string::npos) << line;
    }
    EXPECT_EQ(lines, 3) << text;

    const std::string chromium = OnPath("chromium");
    if (chromium.empty()) GTEST_SKIP() << "no chromium to draw the pages";
    const std::string shots = std::string(FLK_BINARY_DIR) + "/screenshots";
    ASSERT_TRUE(EnsureFolder(shots));
    for (const auto& [name, file, least] : {std::tuple{"offline_images_page", "ImagesList0.htm", 150000},
                                            std::tuple{"offline_text_hits_page", "TextList0.htm", 20000}}) {
        const std::string png = shots + "/" + name + ".png";
        std::remove(png.c_str());
        test::Subprocess browser({chromium, "--headless", "--disable-gpu", "--no-sandbox", "--no-first-run",
                                  "--disable-background-networking", "--user-data-dir=" + dir.File("profile"),
                                  "--screenshot=" + png, "--window-size=1200,900",
                                  "file://" + JoinPath(project, file)},
                                 {}, dir.File("browser.txt"));
        ASSERT_EQ(browser.Wait(120s), 0) << dir.Read("browser.txt");
        struct stat st {};
        ASSERT_EQ(::stat(png.c_str(), &st), 0) << png;
        // Six photographs make a far bigger picture than empty frames.
        EXPECT_GT(st.st_size, least) << png;
    }
}

}  // namespace
