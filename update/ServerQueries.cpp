#include "update/ServerQueries.h"

#include "settings/Settings.h"
#include "net/QueryText.h"

#include <sys/utsname.h>

namespace flk {

namespace {

// The decimal number at the front of text, consumed; "0" when none. At most
// nine digits are taken, so a hostile release text cannot overflow.
std::string TakeNumber(std::string_view& text) {
    std::size_t n = 0;
    while (n < text.size() && n < 9 && text[n] >= '0' && text[n] <= '9') ++n;
    if (n == 0) return "0";
    const unsigned long value = std::stoul(std::string(text.substr(0, n)));
    text.remove_prefix(n);
    return std::to_string(value);
}

}  // namespace

std::string MajorMinorOf(std::string_view release) {
    const std::string major = TakeNumber(release);
    std::string minor = "0";
    if (!release.empty() && release.front() == '.') {
        release.remove_prefix(1);
        minor = TakeNumber(release);
    }
    return major + "." + minor;
}

SystemDescription CurrentSystemDescription() {
    SystemDescription d;
    struct utsname names {};
    if (::uname(&names) == 0) d.osver = MajorMinorOf(names.release);
    return d;
}

std::string BuildVersionQuery(const std::string& distrib, const std::string& distribG, const std::string& ui,
                              const std::string& engine, const std::string& templ, const std::string& upgrade,
                              const SystemDescription& system) {
    return "tarn.dll?mdl=checkver&distrib=" + distrib + "&engine=" + engine + "&ui=" + ui + "&templ=" + templ +
           "&distrib_g=" + distribG + "&upgrade=" + upgrade + "&osver=" + system.osver +
           "&osbuild=" + system.osbuild + "&ospfmid=" + system.ospfmid + "&osverdesc=" + system.osverdesc +
           "&osshver=" + system.osshver + "&osshbuild=" + system.osshbuild;
}

std::string BuildVersionQuery(const Settings& settings) {
    return BuildVersionQuery(settings.Get(keys::UpgradesBandlerCode), settings.Get(keys::UpgradesBandler),
                             settings.Get(keys::UpgradesGui), settings.Get(keys::UpgradesEngine),
                             settings.Get(keys::UpgradesTemplates), settings.Get(keys::UpgradesUpgrade));
}

std::string BuildUsageQuery(std::string_view text, bool isWord) {
    return std::string("tarn.dll?mdl=use&req=insert&txt_code=") + (isWord ? "word" : "category") + "&info=" +
           EncodeQueryText(text);
}

}  // namespace flk
