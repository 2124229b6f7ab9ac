#include "settings/Settings.h"

#include "platform/Paths.h"
#include "platform/TextUtil.h"

namespace flk {

Settings::Settings(std::string profilePath, std::string programFolder) : file_(std::move(profilePath)) {
    folders_.windows = FolderOf(file_.Path());
    folders_.program = std::move(programFolder);
}

Settings::Settings(ProgramFolders folders)
    : file_(JoinPath(folders.windows, "flk.ini")), folders_(std::move(folders)) {}

std::string Settings::GetProfileString(const std::string& section, const std::string& key,
                                       const std::string& def) const {
    std::string value;
    if (FindOverride(section, key, value)) return value;
    return file_.GetString(section, key, def);
}

bool Settings::WriteProfileString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    return file_.WriteString(section, key, value);
}

int Settings::GetProfileInt(const std::string& section, const std::string& key, int def) const {
    std::string value;
    if (FindOverride(section, key, value)) return ProfileIntFromText(value, def);
    return file_.GetInt(section, key, def);
}

namespace {
std::string OverrideKey(const std::string& section, const std::string& key) {
    return ToLowerAscii(Trim(section)) + "\n" + ToLowerAscii(Trim(key));
}
}  // namespace

void Settings::SetOverride(const std::string& section, const std::string& key, const std::string& value) {
    std::lock_guard<std::mutex> lock(overridesLock_);
    overrides_[OverrideKey(section, key)] = value;
}

bool Settings::FindOverride(const std::string& section, const std::string& key, std::string& value) const {
    std::lock_guard<std::mutex> lock(overridesLock_);
    if (overrides_.empty()) return false;
    auto it = overrides_.find(OverrideKey(section, key));
    if (it == overrides_.end()) return false;
    value = it->second;
    return true;
}

bool Settings::WriteProfileInt(const std::string& section, const std::string& key, int value) {
    return file_.WriteInt(section, key, value);
}

int DecimalFromText(const std::string& text) { return ProfileIntFromText(text, 0); }

int Settings::GetProfileDecimal(const std::string& section, const std::string& key, int def) const {
    return DecimalFromText(GetProfileString(section, key, std::to_string(def)));
}

int Settings::GetDecimal(const StrKey& k) const { return DecimalFromText(Get(k)); }

std::string Settings::HomeDirectory() const {
    std::string path = Get(keys::PathExe);
    if (path.empty()) path = folders_.program;
    return WithTrailingSeparator(path);
}

bool Settings::IsFirstRun() const { return !file_.Exists() || Get(keys::UpdateFirstTime) != 0; }

namespace {

// The first-run media lists: the classic entries first, in their order,
// then (with `modern`/`formats` on) the formats of today's web that they lack.
std::string FirstRunMediaList(const StrKey& key, bool modern) {
    struct Formats {
        const StrKey* key;
        const char* classic;
        const char* today;
    };
    static const Formats formats[] = {
        {&keys::MediaImages, "jpg;jpeg;gif;", "png;webp;avif;svg;bmp;"},
        {&keys::MediaAudio, "rm;wav;mid;midi;snd;ram;mod;au;aiff;mp2;mp3;", "ogg;oga;opus;m4a;aac;flac;"},
        {&keys::MediaVideo, "avi;mov;qt;mpeg;mpg;", "mp4;m4v;webm;mkv;ogv;"},
    };
    for (const Formats& f : formats)
        if (f.key == &key) return std::string(f.classic) + (modern ? f.today : "");
    return key.def;
}

}  // namespace

void Settings::WriteDefaults() {
    using namespace keys;
    const std::string maker = MakerHost();
    const bool modern = Get(ModernFormats) != 0;
    // Kind and order are those of a first run: some switches are strings,
    // some integers, and the file keeps that form.
    struct Entry {
        const char* section;
        const char* key;
        bool isInt;
        int number;
        std::string text;
    };
    auto S = [](const StrKey& k, std::string v) { return Entry{k.section, k.key, false, 0, std::move(v)}; };
    auto I = [](const IntKey& k, int v) { return Entry{k.section, k.key, true, v, {}}; };
    const Entry entries[] = {
        I(SearchCategoriesAmount, 30),
        S(SearchEngineLine, ""),
        S(SearchLine, ""),
        S(SearchCond, "and"),
        I(CrawlerPagesPerSite, 10),
        I(CrawlerSafetyLevel, 2),
        I(CrawlerAskPassword, 0),
        I(CrawlerWarning, 0),
        S(CrawlerWord, ""),
        S(CrawlerCheckPass, "0"),
        S(CrawlerMaxThreads, "10"),
        S(CrawlerMaxDepth, "15"),
        S(CrawlerMaxPages, "2000"),
        S(CrawlerParseDlls, "1"),
        S(CrawlerStayInDomain, "1"),
        S(CrawlerFilter, "*"),
        S(CrawlerDontVisitChk, "0"),
        I(TreePureImages, 1),
        I(TreeDownload, 1),
        S(TreeShowTitles, "0"),
        S(TreeShowExternal, "0"),
        S(TreeShowSearch, "0"),
        S(TreeShowTree, "0"),
        I(ViewTip, 1),
        I(ViewAskMedia, 0),
        I(ViewCategoriesTree, 0),
        I(BrowserDefault, 1),
        Entry{UpdateYear.section, UpdateYear.key, false, 0, ""},
        Entry{UpdateMonth.section, UpdateMonth.key, false, 0, ""},
        Entry{UpdateDay.section, UpdateDay.key, false, 0, ""},
        I(MediaTab, 0),
        I(MediaImagesMinSizeLimit, 1),
        I(MediaImagesMaxSizeLimit, 1),
        I(MediaImagesMinSize, 3000),
        I(MediaImagesMaxSize, 1000000),
        S(MediaImages, FirstRunMediaList(MediaImages, modern)),
        S(MediaAudio, FirstRunMediaList(MediaAudio, modern)),
        S(MediaVideo, FirstRunMediaList(MediaVideo, modern)),
        I(PatchYear, 0),
        I(PatchMonth, 0),
        I(PatchDay, 0),
        S(ViewToolbar, "1"),
        S(ViewProgressbar, "1"),
        S(ViewTree, "0"),
        S(ViewImages, "1"),
        S(ViewEmails, "0"),
        S(ViewSounds, "0"),
        S(ViewMovies, "0"),
        S(ViewForms, "0"),
        S(ViewExterns, "0"),
        S(ViewDownloads, "0"),
        S(ViewApplets, "0"),
        S(ViewScripts, "0"),
        S(ViewData, "0"),
        S(ViewErrors, "0"),
        S(UrlsHistoryUrl, maker),
        S(UrlsHistoryHistory, maker + ";"),
    };
    static_assert(sizeof(entries) / sizeof(entries[0]) == 57);
    for (const Entry& e : entries) {
        if (e.isInt)
            WriteProfileInt(e.section, e.key, e.number);
        else
            WriteProfileString(e.section, e.key, e.text);
    }
}

}  // namespace flk
