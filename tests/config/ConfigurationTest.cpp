// The configuration pages without a window: profile in, controls shown,
// profile out.
#include "config/AutostartEntry.h"
#include "config/Configuration.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "traylet/CommandWords.h"
#include "search/SafetyDialogs.h"
#include "search/SafetyPage.h"
#include "settings/Settings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <deque>
#include <functional>
#include <map>
#include <sys/stat.h>

using namespace flk;

namespace {

// No safety prompt is expected; one that appears is refused.
struct RefusingSafetyUi : SafetyUi {
    int prompts = 0;
    void ShowMessage(const std::string&, const std::string&, MessageIcon) override { ++prompts; }
    bool PasswordPrompt(const std::string&, const std::function<bool(const std::string&)>&) override {
        ++prompts;
        return false;
    }
    bool SetPasswordPrompt(const std::string&,
                           const std::function<bool(const std::string&, const std::string&)>&) override {
        ++prompts;
        return false;
    }
    WarningAnswer Warning(const std::string&) override { return {}; }
};

// Everything the four pages show, by a short name.
std::map<std::string, std::string> Controls(const Configuration& c) {
    std::map<std::string, std::string> m;
    auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
    m["tab"] = std::to_string(c.Tab());
    const BrowsingValues& b = c.Browsing().Values();
    m["defaultBrowser"] = flag(b.defaultBrowser);
    m["browserPath"] = b.browserPath;
    m["autoView"] = flag(b.autoViewMedia);
    m["mediaStart"] = b.mediaStart;
    m["notifyMe"] = flag(b.notifyMe);
    m["autoShow"] = flag(b.autoShowResults);
    for (std::size_t k = 0; k < MediaKinds().size(); ++k) {
        const MediaKind& kind = MediaKinds()[k];
        std::string ticks;
        for (std::size_t i = 0; i < kind.extensions.size(); ++i)
            if (c.Media().Values(k).ticked[i]) ticks += std::string(kind.extensions[i]) + " ";
        m[std::string(kind.group) + ".ticked"] = ticks;
        m[std::string(kind.group) + ".free"] = c.Media().Values(k).freeText;
    }
    m["level"] = std::to_string(c.Safety().ChosenLevel());
    m["usePassword"] = flag(c.Safety().UsePassword());
    const AdvancedValues& a = c.Advanced().Values();
    m["minSizeOn"] = flag(a.minSizeOn);
    m["minSize"] = a.minSize;
    m["maxSizeOn"] = flag(a.maxSizeOn);
    m["maxSize"] = a.maxSize;
    m["pureImages"] = flag(a.pureImages);
    m["download"] = flag(a.downloadImages);
    m["maxSites"] = a.maximumSites;
    m["categoryTree"] = flag(a.categoryTree);
    m["ftp"] = flag(a.ftpValidation);
    m["pagesPerSiteOn"] = flag(a.pagesPerSiteOn);
    m["pagesPerSite"] = a.pagesPerSite;
    m["trayIcon"] = flag(a.loadTrayIcon);
    m["modern.markup"] = flag(a.modernMarkup);
    m["modern.formats"] = flag(a.modernFormats);
    m["modern.content"] = flag(a.contentTypes);
    m["modern.sizes"] = flag(a.trueSizes);
    m["modern.duplicates"] = flag(a.duplicates);
    m["modern.robots"] = flag(a.robots);
    m["modern.retryAfter"] = flag(a.retryAfter);
    m["modern.compression"] = flag(a.compression);
    m["modern.offline"] = flag(a.offlinePages);
    m["modern.hitText"] = flag(a.hitText);
    m["maxPerHost"] = a.maxPerHost;
    m["userAgent"] = a.userAgent;
    m["cookies"] = a.cookies;
    return m;
}

struct Fixture {
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    RefusingSafetyUi ui;
    AutostartPlace place{dir.File("autostart"), "/usr/bin/traylet", ""};

    explicit Fixture(const std::string& profile) {
        if (!profile.empty()) dir.Write("flk.ini", profile);
    }
    std::string Entry() const { return JoinPath(place.defaultFolder, kAutostartEntryName); }
};

constexpr char kAbsent[] = "<absent>";

struct KeyRow {
    const char* profile;  // flk.ini before opening
    const char* control;  // what shows the key
    const char* shown;
    const char* section;  // the key, after OK with nothing changed
    const char* key;
    const char* saved;
};

}  // namespace

// The three rows of an on/off key of section `modern`: missing (on), 0
// (off) and any other number (on, saved as 1).
void AddModernSwitchRows(std::vector<KeyRow>& rows, const char* control, const char* key,
                         std::deque<std::string>& texts) {
    texts.push_back(std::string("[modern]\n") + key + "=0\n");
    const char* off = texts.back().c_str();
    texts.push_back(std::string("[Modern]\n") + key + "=7\n");
    const char* other = texts.back().c_str();
    rows.push_back({"", control, "1", "modern", key, "1"});
    rows.push_back({off, control, "0", "modern", key, "0"});
    rows.push_back({other, control, "1", "modern", key, "1"});
}

TEST(ConfigurationPages, EveryKeyFromProfileToControlsAndBack) {
    std::vector<KeyRow> rows = {
        {"", "tab", "0", "media", "tab", "0"},
        {"[media]\ntab=3\n", "tab", "3", "media", "tab", "3"},
        {"[media]\ntab=7\n", "tab", "0", "media", "tab", "0"},
        {"", "defaultBrowser", "1", "browser", "default", "1"},
        {"[browser]\ndefault=0\npath=/bin/sh\n", "defaultBrowser", "0", "browser", "default", "0"},
        {"[browser]\ndefault=2\npath=/bin/sh\n", "defaultBrowser", "0", "browser", "default", "0"},
        {"", "browserPath", "", "browser", "path", ""},
        {"[browser]\npath=/bin/sh\n", "browserPath", "/bin/sh", "browser", "path", "/bin/sh"},
        {"", "autoView", "0", "view", "askmedia", "0"},
        {"[view]\naskmedia=5\n", "autoView", "1", "view", "askmedia", "1"},
        {"", "mediaStart", "6", "view", "media_start", "6"},
        {"[view]\nmedia_start=3\n", "mediaStart", "3", "view", "media_start", "6"},
        {"[view]\nmedia_start=40\n", "mediaStart", "40", "view", "media_start", "40"},
        {"[view]\nmedia_start=200\n", "mediaStart", "200", "view", "media_start", "80"},
        {"", "Images.ticked", "jpg gif jpeg ", "media", "images", "jpg;gif;jpeg;"},
        {"[media]\nimages=jpg;png;\n", "Images.ticked", "jpg ", "media", "images", "png;jpg;"},
        {"[media]\nimages=jpg;png;\n", "Images.free", "png;", "media", "images", "png;jpg;"},
        {"[media]\nimages=BMP;mjpg;tif\n", "Images.free", "mjpg;tif;", "media", "images", "mjpg;tif;bmp;"},
        {"[media]\nimages=\n", "Images.ticked", "", "media", "images", ""},
        {"", "Audio.ticked", "wav mid midi snd ram mod au aiff mp2 mp3 ", "media", "audio",
         "wav;mid;midi;snd;ram;mod;au;aiff;mp2;mp3;"},
        {"[media]\naudio=rm;wav;mid;midi;snd;ram;mod;au;aiff;mp2;mp3;\n", "Audio.free", "rm;", "media", "audio",
         "rm;wav;mid;midi;snd;ram;mod;au;aiff;mp2;mp3;"},
        {"", "Video.ticked", "avi mov qt mpeg mpg ", "media", "video", "avi;mov;qt;mpeg;mpg;"},
        {"[media]\nvideo=mpg;mkv;\n", "Video.free", "mkv;", "media", "video", "mkv;mpg;"},
        {"", "level", "2", "crawler", "crl", "2"},
        {"[crawler]\ncrl=1\n", "level", "1", "crawler", "crl", "1"},
        {"[crawler]\ncrl=9\n", "level", "3", "crawler", "crl", "3"},
        {"", "usePassword", "0", "crawler", "crt", "0"},
        {"[crawler]\ncrt=1\n", "usePassword", "1", "crawler", "crt", "1"},
        {"", "minSizeOn", "1", "media", "images_min_size_limit", "1"},
        {"[media]\nimages_min_size_limit=0\n", "minSizeOn", "0", "media", "images_min_size_limit", "0"},
        {"", "minSize", "3000", "media", "images_min_size", "3000"},
        {"[media]\nimages_min_size=0\n", "minSize", "0", "media", "images_min_size", "0"},
        {"", "maxSizeOn", "1", "media", "images_max_size_limit", "1"},
        {"[media]\nimages_max_size_limit=0\n", "maxSizeOn", "0", "media", "images_max_size_limit", "0"},
        {"", "maxSize", "1000000", "media", "images_max_size", "1000000"},
        // With the maximum switched off a smaller one is lifted above the
        // minimum; with both in force it is refused (see the bad values).
        {"[media]\nimages_max_size=100\nimages_max_size_limit=0\n", "maxSize", "100", "media", "images_max_size",
         "53000"},
        {"", "pureImages", "1", "tree", "pure_images", "1"},
        {"[tree]\npure_images=2\n", "pureImages", "0", "tree", "pure_images", "0"},
        {"", "download", "1", "tree", "download", "1"},
        {"[tree]\ndownload=0\n", "download", "0", "tree", "download", "0"},
        {"", "maxSites", "30", "search", "categories_amount", "30"},
        {"[search]\ncategories_amount=25\n", "maxSites", "25", "search", "categories_amount", "30"},
        {"[search]\ncategories_amount=0\n", "maxSites", "0", "search", "categories_amount", "10"},
        {"[search]\ncategories_amount=-4\n", "maxSites", "-4", "search", "categories_amount", "10"},
        {"[search]\ncategories_amount=31\n", "maxSites", "31", "search", "categories_amount", "40"},
        {"", "categoryTree", "0", "view", "CategoriesTree", "0"},
        {"[view]\nCategoriesTree=1\n", "categoryTree", "1", "view", "CategoriesTree", "1"},
        {"", "ftp", "0", "Crawler", "FtpValidation", "0"},
        {"[Crawler]\nFtpValidation=1\n", "ftp", "1", "Crawler", "FtpValidation", "1"},
        {"", "pagesPerSiteOn", "1", "crawler", "pages_per_domain_limit", "1"},
        {"[crawler]\npages_per_domain_limit=0\n", "pagesPerSiteOn", "0", "crawler", "pages_per_domain_limit", "0"},
        {"", "pagesPerSite", "10", "crawler", "pagespersite", "10"},
        {"[crawler]\npagespersite=0\n", "pagesPerSite", "0", "crawler", "pagespersite", "1"},
        {"[crawler]\npagespersite=25\n", "pagesPerSite", "25", "crawler", "pagespersite", "25"},
        {"", "trayIcon", "1", "view", "PopUp", "1"},
        {"[view]\npopup=0\n", "trayIcon", "0", "view", "PopUp", "0"},
        {"", "browserPath", "", "path", "lastbrowserpath", kAbsent},
        {"[path]\nlastbrowserpath=/opt/web/\n", "browserPath", "", "path", "lastbrowserpath", "/opt/web/"},
        {"", "maxPerHost", "4", "modern", "max_per_host", "4"},
        {"[modern]\nmax_per_host=1\n", "maxPerHost", "1", "modern", "max_per_host", "1"},
        {"[modern]\nmax_per_host=64\n", "maxPerHost", "64", "modern", "max_per_host", "64"},
        // No limit (0 or less) and too many show as the most the field takes.
        {"[modern]\nmax_per_host=0\n", "maxPerHost", "64", "modern", "max_per_host", "64"},
        {"[modern]\nmax_per_host=-3\n", "maxPerHost", "64", "modern", "max_per_host", "64"},
        {"[modern]\nmax_per_host=500\n", "maxPerHost", "64", "modern", "max_per_host", "64"},
        {"", "userAgent", "", "modern", "user_agent", ""},
        {"[modern]\nuser_agent=  Mozilla/5.0 (X11; Linux) Findlark/2  \n", "userAgent",
         "Mozilla/5.0 (X11; Linux) Findlark/2", "modern", "user_agent", "Mozilla/5.0 (X11; Linux) Findlark/2"},
        {"", "cookies", "", "modern", "cookies", ""},
    };
    std::deque<std::string> texts;  // the rows point into it; a deque never moves its strings
    AddModernSwitchRows(rows, "modern.markup", "markup", texts);
    AddModernSwitchRows(rows, "modern.formats", "formats", texts);
    AddModernSwitchRows(rows, "modern.content", "content", texts);
    AddModernSwitchRows(rows, "modern.sizes", "sizes", texts);
    AddModernSwitchRows(rows, "modern.duplicates", "duplicates", texts);
    AddModernSwitchRows(rows, "modern.robots", "robots", texts);
    AddModernSwitchRows(rows, "modern.retryAfter", "retry_after", texts);
    AddModernSwitchRows(rows, "modern.compression", "compression", texts);
    AddModernSwitchRows(rows, "modern.offline", "offline", texts);
    AddModernSwitchRows(rows, "modern.hitText", "hittext", texts);
    for (const KeyRow& row : rows) {
        Fixture f(row.profile);
        SafetyPage safety(f.settings, f.ui);
        Configuration config(f.settings, safety);
        const std::string what = std::string(row.profile) + " -> " + row.section + "/" + row.key;
        EXPECT_EQ(Controls(config)[row.control], row.shown) << what;
        EXPECT_EQ(config.Save(f.place), std::nullopt) << what;
        EXPECT_EQ(f.settings.GetProfileString(row.section, row.key, kAbsent), row.saved) << what;
        EXPECT_EQ(f.ui.prompts, 0) << what;
    }
}

TEST(ConfigurationPages, OkWritesEveryKeyOfTheTableAndNothingElse) {
    Fixture f("");
    SafetyPage safety(f.settings, f.ui);
    Configuration config(f.settings, safety);
    ASSERT_EQ(config.Save(f.place), std::nullopt);
    // Profile sections are matched without regard to case: "Crawler" is
    // the section "crawler".
    EXPECT_EQ(f.dir.Read("flk.ini"),
              "[media]\ntab=0\nimages=jpg;gif;jpeg;\naudio=wav;mid;midi;snd;ram;mod;au;aiff;mp2;mp3;\n"
              "video=avi;mov;qt;mpeg;mpg;\nimages_min_size_limit=1\nimages_min_size=3000\n"
              "images_max_size_limit=1\nimages_max_size=1000000\n"
              "[browser]\ndefault=1\npath=\n"
              "[view]\nmedia_start=6\naskmedia=0\nCategoriesTree=0\nPopUp=1\n"
              "[crawler]\ncrl=2\ncrt=0\nFtpValidation=0\npages_per_domain_limit=1\npagespersite=10\n"
              "[tree]\npure_images=1\ndownload=1\n"
              "[search]\ncategories_amount=30\n"
              "[modern]\nmarkup=1\nformats=1\ncontent=1\nsizes=1\nduplicates=1\nrobots=1\nretry_after=1\n"
              "compression=1\noffline=1\nhittext=1\nmax_per_host=4\nuser_agent=\ncookies=\n");
}

TEST(ConfigurationPages, DefaultValuesResetTheControlsNotTheProfile) {
    const std::string profile =
        "[browser]\ndefault=0\npath=/bin/sh\n[view]\naskmedia=1\nmedia_start=50\nCategoriesTree=1\npopup=0\n"
        "[media]\nimages=png;bmp;\naudio=ogg;\nvideo=\nimages_min_size_limit=0\nimages_min_size=10\n"
        "images_max_size_limit=0\nimages_max_size=20\n[tree]\npure_images=0\ndownload=0\n"
        "[search]\ncategories_amount=70\n[crawler]\ncrl=3\npages_per_domain_limit=0\npagespersite=3\n"
        "[modern]\nmarkup=0\nformats=0\ncontent=0\nsizes=0\nduplicates=0\nrobots=0\nretry_after=0\ncompression=0\n"
        "offline=0\nhittext=0\nmax_per_host=9\nuser_agent=Probe/1\ncookies=/no/such/cookies.txt\n";
    Fixture f(profile);
    SafetyPage safety(f.settings, f.ui);
    Configuration config(f.settings, safety);
    config.Browsing().Values().notifyMe = false;
    config.Browsing().Values().autoShowResults = true;
    config.ResetToDefaults();
    EXPECT_EQ(f.dir.Read("flk.ini"), profile) << "nothing is written before OK";

    std::map<std::string, std::string> expected = {
        {"tab", "0"},
        {"defaultBrowser", "1"}, {"browserPath", "/bin/sh"}, {"autoView", "0"}, {"mediaStart", "6"},
        {"notifyMe", "1"}, {"autoShow", "0"},
        {"Images.ticked", "jpg gif jpeg "}, {"Images.free", "png;"},
        {"Audio.ticked", "wav mid midi snd ram mod au aiff mp2 mp3 "}, {"Audio.free", "ogg;"},
        {"Video.ticked", "avi mov qt mpeg mpg "}, {"Video.free", ""},
        {"level", "3"}, {"usePassword", "0"},  // the safety page keeps its values
        {"minSizeOn", "1"}, {"minSize", "3000"}, {"maxSizeOn", "1"}, {"maxSize", "1000000"},
        {"pureImages", "1"}, {"download", "1"},
        {"maxSites", "70"},  // kept
        {"categoryTree", "0"}, {"ftp", "1"}, {"pagesPerSiteOn", "1"}, {"pagesPerSite", "10"}, {"trayIcon", "1"},
        {"modern.markup", "1"}, {"modern.formats", "1"}, {"modern.content", "1"}, {"modern.sizes", "1"},
        {"modern.duplicates", "1"}, {"modern.robots", "1"}, {"modern.retryAfter", "1"},
        {"modern.compression", "1"}, {"modern.offline", "1"}, {"modern.hitText", "1"},
        {"maxPerHost", "4"}, {"userAgent", ""}, {"cookies", ""},
    };
    EXPECT_EQ(Controls(config), expected);
    EXPECT_FALSE(config.Browsing().PathEnabled());

    // Cancel: the dialog goes away without Save.
    EXPECT_EQ(f.dir.Read("flk.ini"), profile);
    struct stat st {};
    EXPECT_NE(::stat(f.place.defaultFolder.c_str(), &st), 0) << "no start-up entry before OK";

    ASSERT_EQ(config.Save(f.place), std::nullopt);
    EXPECT_EQ(f.settings.Get(keys::BrowserDefault), 1);
    EXPECT_EQ(f.settings.Get(keys::MediaImages), "png;jpg;gif;jpeg;");
    EXPECT_EQ(f.settings.Get(keys::CrawlerFtpValidation), 1);
    EXPECT_EQ(f.settings.Get(keys::SearchCategoriesAmount), 70);
    EXPECT_EQ(f.settings.Get(keys::ViewPopUp), 1);
    EXPECT_EQ(f.settings.Get(keys::CrawlerSafetyLevel), 3);
    EXPECT_EQ(f.settings.Get(keys::ModernRobots), 1);
    EXPECT_EQ(f.settings.Get(keys::ModernHitText), 1);
    EXPECT_EQ(f.settings.Get(keys::ModernMaxPerHost), 4);
    EXPECT_EQ(f.settings.Get(keys::ModernUserAgent), "");
    EXPECT_EQ(f.settings.Get(keys::ModernCookies), "");
}

TEST(ConfigurationPages, BadValuesAreRefusedByFieldAndNothingIsWritten) {
    struct Row {
        std::function<void(Configuration&)> change;
        ConfigField field;
        ConfigTab tab;
        const char* named;  // in the message
    };
    const std::vector<Row> rows = {
        {[](Configuration& c) { c.Advanced().Values().minSize = "3k"; }, ConfigField::MinImageSize,
         ConfigTab::Advanced, "\"Minimum images size:\""},
        {[](Configuration& c) { c.Advanced().Values().maxSize = ""; }, ConfigField::MaxImageSize,
         ConfigTab::Advanced, "\"Maximum images size:\""},
        {[](Configuration& c) { c.Advanced().Values().maxSize = "99999999999"; }, ConfigField::MaxImageSize,
         ConfigTab::Advanced, "too large"},
        {[](Configuration& c) { c.Advanced().Values().maximumSites = "ten"; }, ConfigField::MaximumSites,
         ConfigTab::Advanced, "\"Maximum sites:\""},
        {[](Configuration& c) { c.Advanced().Values().pagesPerSite = "1 0"; }, ConfigField::PagesPerSite,
         ConfigTab::Advanced, "\"Maximum pages per site:\""},
        {[](Configuration& c) { c.Advanced().Values().minSize = "-1"; }, ConfigField::MinImageSize,
         ConfigTab::Advanced, "negative"},
        {[](Configuration& c) { c.Advanced().Values().maxSize = " -200 "; }, ConfigField::MaxImageSize,
         ConfigTab::Advanced, "negative"},
        {[](Configuration& c) { c.Advanced().Values().maxSize = "100"; }, ConfigField::MaxImageSize,
         ConfigTab::Advanced, "smaller than \"Minimum images size:\""},
        {[](Configuration& c) { c.Media().Values(0).freeText = "png;;tif;"; }, ConfigField::ImagesExtensions,
         ConfigTab::Media, "\"Images\" hold an empty extension"},
        {[](Configuration& c) { c.Media().Values(1).freeText = ";"; }, ConfigField::AudioExtensions,
         ConfigTab::Media, "\"Audio\" hold an empty extension"},
        {[](Configuration& c) { c.Media().Values(2).freeText = ".mkv;"; }, ConfigField::VideoExtensions,
         ConfigTab::Media, "\"Video\" hold \".mkv\""},
        {[](Configuration& c) { c.Media().Values(2).freeText = "mkv webm"; }, ConfigField::VideoExtensions,
         ConfigTab::Media, "\"mkv webm\""},
        {[](Configuration& c) {
             c.Browsing().Values().defaultBrowser = false;
             c.Browsing().Values().browserPath = "/no/such/browser";
         },
         ConfigField::BrowserPath, ConfigTab::Browsing, "does not exist:\n/no/such/browser"},
        {[](Configuration& c) {
             c.Browsing().Values().defaultBrowser = false;
             c.Browsing().Values().browserPath = "/etc/passwd";
         },
         ConfigField::BrowserPath, ConfigTab::Browsing, "is not a program"},
        {[](Configuration& c) {
             c.Browsing().Values().defaultBrowser = false;
             c.Browsing().Values().browserPath = "  ";
         },
         ConfigField::BrowserPath, ConfigTab::Browsing, "\"Choose browser:\""},
        {[](Configuration& c) { c.Advanced().Values().maxPerHost = "four"; }, ConfigField::MaxPerHost,
         ConfigTab::Advanced, "\"Requests at once per host:\" needs a whole number"},
        {[](Configuration& c) { c.Advanced().Values().maxPerHost = "0"; }, ConfigField::MaxPerHost,
         ConfigTab::Advanced, "\"Requests at once per host:\" needs a number from 1 to 64."},
        {[](Configuration& c) { c.Advanced().Values().maxPerHost = "65"; }, ConfigField::MaxPerHost,
         ConfigTab::Advanced, "from 1 to 64"},
        {[](Configuration& c) { c.Advanced().Values().maxPerHost = ""; }, ConfigField::MaxPerHost,
         ConfigTab::Advanced, "\"Requests at once per host:\""},
        // A line break would end the User-Agent header and start another.
        {[](Configuration& c) { c.Advanced().Values().userAgent = "Probe/1\r\nX-Admin: yes"; },
         ConfigField::UserAgent, ConfigTab::Advanced, "\"User agent:\" cannot hold"},
        {[](Configuration& c) { c.Advanced().Values().userAgent = std::string("Probe\0/1", 8); },
         ConfigField::UserAgent, ConfigTab::Advanced, "\"User agent:\""},
        {[](Configuration& c) { c.Advanced().Values().cookies = "/no/such/cookies.txt"; }, ConfigField::Cookies,
         ConfigTab::Advanced, "\"Cookies:\" needs a file in the cookies.txt format (Netscape): the cookies file "
                              "\"/no/such/cookies.txt\" cannot be read."},
        {[](Configuration& c) { c.Advanced().Values().cookies = "/"; }, ConfigField::Cookies,
         ConfigTab::Advanced, "\"/\" cannot be read"},
    };
    const std::string profile = "[view]\npopup=0\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Fixture f(profile);
        SafetyPage safety(f.settings, f.ui);
        Configuration config(f.settings, safety);
        config.Advanced().Values().loadTrayIcon = true;
        config.SetTab(1);
        rows[i].change(config);
        const ConfigCheck problem = config.Save(f.place);
        ASSERT_TRUE(problem.has_value()) << "row " << i;
        EXPECT_EQ(problem->field, rows[i].field) << "row " << i;
        EXPECT_EQ(TabOf(problem->field), rows[i].tab) << "row " << i;
        EXPECT_NE(problem->message.find(rows[i].named), std::string::npos) << "row " << i << ": " << problem->message;
        EXPECT_EQ(f.dir.Read("flk.ini"), profile) << "row " << i;
        EXPECT_FALSE(FileExists(f.Entry())) << "row " << i;
    }
}

TEST(ConfigurationPages, GoodValuesThatLookOdd) {
    Fixture f("");
    SafetyPage safety(f.settings, f.ui);
    Configuration config(f.settings, safety);
    config.Advanced().Values().minSize = " +0 ";
    config.Advanced().Values().maxSize = "0";
    config.Media().Values(0).freeText = "PNG;tif  ";  // upper case and trailing spaces are fine
    config.Browsing().Values().defaultBrowser = false;
    config.Browsing().Values().browserPath = "sh";  // a program found in PATH
    ASSERT_EQ(config.Save(f.place), std::nullopt);
    EXPECT_EQ(f.settings.Get(keys::MediaImagesMaxSize), 0);
    EXPECT_EQ(f.settings.Get(keys::MediaImages), "PNG;tif;jpg;gif;jpeg;");
    EXPECT_EQ(f.settings.Get(keys::BrowserPath), "sh");
}

TEST(ConfigurationPages, CookiesFileIsReadBeforeItIsSaved) {
    const struct {
        const char* contents;  // nullptr: the path names a folder
        bool accepted;
        const char* named;
    } rows[] = {
        {"# Netscape HTTP Cookie File\n.shop.example\tTRUE\t/\tFALSE\t0\tsid\tabc\n", true, ""},
        {"", true, ""},  // no cookies at all is still the format
        {"#HttpOnly_.shop.example\tTRUE\t/\tTRUE\t0\tsid\tabc\r\n", true, ""},
        {"sid=abc; path=/\n", false, ", line 1: not seven fields separated by tabs (not the cookies.txt format)."},
        {"# ok\n.shop.example\tyes\t/\tFALSE\t0\tsid\tabc\n", false, "line 2: the second and fourth fields"},
        {nullptr, false, "cannot be read."},
    };
    for (const auto& row : rows) {
        Fixture f("");
        std::string path = f.dir.File("cookies.txt");
        if (row.contents)
            f.dir.Write("cookies.txt", row.contents);
        else
            ASSERT_TRUE(EnsureFolder(path));
        SafetyPage safety(f.settings, f.ui);
        Configuration config(f.settings, safety);
        config.Advanced().Values().cookies = "  " + path + " ";
        const ConfigCheck problem = config.Save(f.place);
        const std::string what = row.contents ? row.contents : "<folder>";
        if (row.accepted) {
            EXPECT_EQ(problem, std::nullopt) << what;
            EXPECT_EQ(f.settings.Get(keys::ModernCookies), path) << what;
        } else {
            ASSERT_TRUE(problem.has_value()) << what;
            EXPECT_EQ(problem->field, ConfigField::Cookies) << what;
            EXPECT_NE(problem->message.find("\"" + path + "\""), std::string::npos) << problem->message;
            EXPECT_NE(problem->message.find(row.named), std::string::npos) << problem->message;
            EXPECT_FALSE(FileExists(f.dir.File("flk.ini"))) << what;
        }
    }
}

TEST(ConfigurationPages, BrowseRemembersTheFolderOnOkOnly) {
    Fixture f("[path]\nlastbrowserpath=/opt/\n");
    SafetyPage safety(f.settings, f.ui);
    Configuration config(f.settings, safety);
    EXPECT_EQ(config.Browsing().BrowseFolder(), "/opt/");
    config.Browsing().Values().defaultBrowser = false;
    EXPECT_TRUE(config.Browsing().PathEnabled());
    config.Browsing().BrowserChosen("/bin/sh");
    EXPECT_EQ(config.Browsing().Values().browserPath, "/bin/sh");
    EXPECT_EQ(config.Browsing().BrowseFolder(), "/bin/");
    EXPECT_EQ(f.settings.Get(keys::PathLastBrowserPath), "/opt/");
    ASSERT_EQ(config.Save(f.place), std::nullopt);
    EXPECT_EQ(f.settings.Get(keys::PathLastBrowserPath), "/bin/");
    EXPECT_EQ(f.settings.Get(keys::BrowserPath), "/bin/sh");
    EXPECT_EQ(f.settings.Get(keys::BrowserDefault), 0);
}

TEST(ConfigurationPages, SafetyLevelChosenOnThePageIsWrittenOnOk) {
    Fixture f("[crawler]\ncrl=1\n");
    SafetyPage safety(f.settings, f.ui);
    Configuration config(f.settings, safety);
    safety.ClickLevel(3);  // no password in use: raised without a prompt
    EXPECT_EQ(f.settings.Get(keys::CrawlerSafetyLevel), 1);
    ASSERT_EQ(config.Save(f.place), std::nullopt);
    EXPECT_EQ(f.settings.Get(keys::CrawlerSafetyLevel), 3);
}

TEST(Autostart, EntryFollowsTheTrayIconBox) {
    Fixture f("");
    {
        SafetyPage safety(f.settings, f.ui);
        Configuration config(f.settings, safety);
        ASSERT_EQ(config.Save(f.place), std::nullopt);
        EXPECT_TRUE(config.AutostartDone());
    }
    ASSERT_TRUE(FileExists(f.Entry())) << "the autostart folder is created";
    EXPECT_EQ(f.dir.Read("autostart/FLKPop.desktop"), AutostartEntryText("/usr/bin/traylet"));
    {
        SafetyPage safety(f.settings, f.ui);
        Configuration config(f.settings, safety);
        config.Advanced().Values().loadTrayIcon = false;
        ASSERT_EQ(config.Save(f.place), std::nullopt);
        EXPECT_TRUE(config.AutostartDone());
    }
    EXPECT_FALSE(FileExists(f.Entry()));
    EXPECT_EQ(f.settings.Get(keys::ViewPopUp), 0);
}

TEST(Autostart, StartUpPathWinsAndAnEntryThereIsLeftAlone) {
    Fixture f("");
    ASSERT_TRUE(EnsureFolder(f.dir.File("mine")));
    f.dir.Write("mine/FLKPop.desktop", "my own\n");
    f.settings.Set(keys::StartUpPath, f.dir.File("mine"));  // no separator at the end
    SafetyPage safety(f.settings, f.ui);
    Configuration config(f.settings, safety);
    EXPECT_EQ(config.AutostartFolderFor(f.place), f.dir.File("mine") + "/");
    ASSERT_EQ(config.Save(f.place), std::nullopt);
    EXPECT_EQ(f.dir.Read("mine/FLKPop.desktop"), "my own\n");
    EXPECT_FALSE(FileExists(f.Entry()));
}

TEST(Autostart, CannotBeWrittenIsReported) {
    Fixture f("");
    f.dir.Write("file", "");
    f.settings.Set(keys::StartUpPath, f.dir.File("file"));  // a file where the folder should be
    SafetyPage safety(f.settings, f.ui);
    Configuration config(f.settings, safety);
    ASSERT_EQ(config.Save(f.place), std::nullopt);
    EXPECT_FALSE(config.AutostartDone());
}

TEST(Autostart, ExecLineQuotesWhatNeedsIt) {
    const struct {
        const char* program;
        const char* exec;
    } rows[] = {
        {"/usr/bin/traylet", "Exec=/usr/bin/traylet\n"},
        {"/opt/my apps/traylet", "Exec=\"/opt/my apps/traylet\"\n"},
        {"/opt/100%/traylet", "Exec=\"/opt/100%%/traylet\"\n"},
        {"/opt/$x\"/traylet", "Exec=\"/opt/\\\\$x\\\\\"/traylet\"\n"},
        {"/opt/a\\b/traylet", "Exec=\"/opt/a\\\\\\\\b/traylet\"\n"},
        {"/opt/x\ny/traylet", "Exec=/opt/xy/traylet\n"},
    };
    for (const auto& row : rows) {
        const std::string text = AutostartEntryText(row.program);
        EXPECT_NE(text.find(row.exec), std::string::npos) << row.program << "\n" << text;
        EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    }
}

TEST(Autostart, MainProgramBecomesTheTraySearchOnceOnly) {
    Fixture f("");
    f.place.mainProgram = "/opt/my apps/FLK";
    {
        SafetyPage safety(f.settings, f.ui);
        Configuration config(f.settings, safety);
        ASSERT_EQ(config.Save(f.place), std::nullopt);
    }
    const RegistryStore registry = RegistryStore::InFolder(f.dir.Path());
    ASSERT_TRUE(registry.Read(kTrayletRegistryKey, "module").has_value());
    EXPECT_EQ(SplitCommandWords(*registry.Read(kTrayletRegistryKey, "module")),
              std::vector<std::string>{"/opt/my apps/FLK"});

    RegistryStore(registry).Write(kTrayletRegistryKey, "module", "mine -guide");
    {
        SafetyPage safety(f.settings, f.ui);
        Configuration config(f.settings, safety);
        ASSERT_EQ(config.Save(f.place), std::nullopt);
    }
    EXPECT_EQ(registry.Read(kTrayletRegistryKey, "module"), "mine -guide") << "a recorded command is kept";
}
