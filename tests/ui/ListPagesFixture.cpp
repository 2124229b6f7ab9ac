#include "ui/ListPagesFixture.h"

#include <chrono>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <wx/app.h>
#include <wx/sizer.h>

namespace flk::test {

namespace {
std::string RecorderScript(const std::string& log) {
    return "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + log + "'\n";
}
}  // namespace

ListPagesFixture::ListPagesFixture() : settings(dir.File("flk.ini"), dir.Path()) {
    dir.Write("browser.sh", RecorderScript(dir.File("browser.log")));
    dir.Write("editor.sh", RecorderScript(dir.File("editor.log")));
    ::chmod(dir.File("browser.sh").c_str(), 0755);
    ::chmod(dir.File("editor.sh").c_str(), 0755);
    settings.Set(keys::BrowserDefault, 0);
    settings.Set(keys::BrowserPath, dir.File("browser.sh"));
    settings.Set(keys::EditorPath, dir.File("editor.sh"));
    frame = new wxFrame(nullptr, wxID_ANY, "List page", wxDefaultPosition, wxSize(900, 420));
    frame->SetSizer(new wxBoxSizer(wxVERTICAL));
}

ListPagesFixture::~ListPagesFixture() {
    frame->Destroy();
    Settle();
}

ui::ListPageServices ListPagesFixture::Services() {
    ui::ListPageServices s{settings};
    s.setStartLocation = [this](const std::string& text) { startLocation = text; };
    s.projectFolder = [this] { return dir.Path(); };
    s.writeResultPages = [this] {
        ++resultPagesWritten;
        return resultPage;
    };
    s.download = [this](const std::vector<std::string>& urls) { downloads = urls; };
    s.showTextViewer = [this](const std::string& address) { textViewer.push_back(address); };
    s.storedPages = [this] { return stored; };
    return s;
}

void ListPagesFixture::Host(wxWindow& page) {
    frame->GetSizer()->Add(&page, 1, wxEXPAND);
    frame->Layout();
    frame->Show();
    Settle();
}

void ListPagesFixture::Settle() {
    for (int i = 0; i < 5; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->Yield(true);
    }
}

std::vector<std::string> ListPagesFixture::Launches(const std::string& file, std::size_t expected) const {
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) {
        lines.clear();
        std::istringstream in(dir.Read(file));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        if (lines.size() >= expected) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return lines;
}

std::vector<std::string> ListPagesFixture::BrowserLaunches(std::size_t expected) const {
    return Launches("browser.log", expected);
}

std::vector<std::string> ListPagesFixture::EditorLaunches(std::size_t expected) const {
    return Launches("editor.log", expected);
}

}  // namespace flk::test
