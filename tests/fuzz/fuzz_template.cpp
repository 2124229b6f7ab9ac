// libFuzzer target for the template engine: the input is a result template,
// rendered over a filled list the way result pages are made (every page of
// the list written into the project folder).
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "FuzzFolder.h"
#include "lists/ListTable.h"
#include "templates/AdvSource.h"
#include "templates/ResultPages.h"

namespace {

flk::ListTable FilledList() {
    flk::ListTable list(9);
    for (int i = 0; i < 40; ++i) {
        const std::size_t r = list.AddRow("p" + std::to_string(i) + ".jpg");
        list.SetCell(r, 1, "http://a.example/img/<x>&\"/");
        list.SetCell(r, 2, "alt " + std::to_string(i));
        list.SetCell(r, 3, std::to_string(10 * i));
        list.SetCell(r, 4, std::to_string(20 * i));
        list.SetCell(r, 5, std::to_string(1000 * i));
        list.SetSelected(r, i % 3 != 0);
    }
    return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const flk::ListTable list = FilledList();
    const std::string& folder = flk::fuzz::Folder();
    {
        std::ofstream out(folder + flk::TemplateFileName(flk::ResultKind::Images, 2), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    flk::ResultPagesRequest request;
    request.kind = flk::ResultKind::Images;
    request.projectFolder = folder;
    request.subject = "larks <b>";
    request.present.images = true;
    request.present.text = true;
    flk::AdvSource adv(7);
    flk::GenerateListPages(request, list, adv);
    return 0;
}
