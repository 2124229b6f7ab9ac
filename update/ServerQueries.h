#pragma once
#include <string>
#include <string_view>

namespace flk {

class Settings;

// What the version query tells the server about the system. On Linux the
// system version is the kernel release's "major.minor"; the build, platform
// code and service-pack text have no counterpart ("0.0", "0", ""), and
// there is no shell library to ask (its numbers are 0).
struct SystemDescription {
    std::string osver = "0.0";
    std::string osbuild = "0.0";
    std::string ospfmid = "0";
    std::string osverdesc{};
    std::string osshver = "0.0";
    std::string osshbuild = "0";
};

SystemDescription CurrentSystemDescription();

// "major.minor" of a kernel release such as "6.1.0-18-amd64" (leading
// numbers only; a missing part reads 0).
std::string MajorMinorOf(std::string_view release);

// "tarn.dll?mdl=checkver&distrib=...&engine=...&ui=...&templ=...
// &distrib_g=...&upgrade=..." followed by the system description; values go
// in unencoded.
std::string BuildVersionQuery(const std::string& distrib, const std::string& distribG, const std::string& ui,
                              const std::string& engine, const std::string& templ, const std::string& upgrade,
                              const SystemDescription& system = CurrentSystemDescription());

// The version query of the `upgrades` values in the profile.
std::string BuildVersionQuery(const Settings& settings);

// "tarn.dll?mdl=use&req=insert&txt_code=" + "word" or "category" +
// "&info=" + the text in query form (EncodeQueryText).
std::string BuildUsageQuery(std::string_view text, bool isWord);

}  // namespace flk
