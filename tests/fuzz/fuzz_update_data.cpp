// libFuzzer target for the update data: the input is a server's answer. It
// is stored as the update thread stores it, read back, and asked every
// question the program asks of it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "settings/Settings.h"
#include "update/UpdateData.h"
#include "update/UpdateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static flk::Settings settings(flk::fuzz::Folder() + "flk.ini", flk::fuzz::Folder());
    static flk::UpdateFile file(flk::fuzz::Folder());

    const std::string answer(reinterpret_cast<const char*>(data), size);
    file.Store(answer, [] { return true; });

    flk::UpdateData update(file, settings);
    update.Load();
    std::vector<std::string> names;
    update.GetEngineNames(names);
    names.push_back("");
    for (const std::string& name : names) {
        for (int n = 0; n <= 4; ++n) {
            update.GetEngineTemplate(name, n);
            std::vector<std::string> urls;
            const int pages = update.BuildEngineUrls(urls, name, n, "larks \"in\" %search% &", 1000);
            if (pages > flk::UpdateData::kMaxEnginePages || urls.size() > flk::UpdateData::kMaxEnginePages)
                __builtin_trap();
        }
    }
    std::vector<std::string> categories;
    update.GetCategories(categories);
    categories.push_back("");
    for (const std::string& category : categories) update.GetCategoryPageUrl(category);
    std::vector<std::string> words;
    update.GetAdultWords(words);
    update.GetServer();
    update.IsBannerSame();
    return 0;
}
