#pragma once
#include "crawl/PageSourceFetch.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <wx/frame.h>

class wxTextCtrl;

namespace flk::ui {

class WxNotifier;

struct TextViewerContext {
    InternetShare& internet;
    WxNotifier& notifier;  // brings the worker's result to the UI thread
    PageSourceOptions options;
};

// "Text viewer": a modeless window that shows the source text of one page
// (read on a worker, over the crawl's network settings, or from a local
// file) in a read-only monospaced box, with a status line: "Loading...",
// then the size and the HTTP status, or what went wrong. Closing it stops
// the worker and waits for it while servicing the notifier's calls.
class TextViewerFrame : public wxFrame {
public:
    static constexpr char kTitlePrefix[] = "Text viewer - ";
    // How long closing waits for a stopped worker; it ends within a tenth
    // of a second when the network layer sees the stop flag.
    static constexpr std::chrono::milliseconds kCloseWait{5000};
    // The text goes into the box in pieces of this size, one per turn of
    // the event loop.
    static constexpr std::size_t kPieceBytes = 256 * 1024;

    TextViewerFrame(wxWindow* parent, TextViewerContext context, const std::string& address);
    ~TextViewerFrame() override;

    const std::string& Address() const { return address_; }
    bool Loading() const { return loading_; }
    std::string Status() const;
    std::string Text() const;

private:
    void ShowResult();
    void ShowNextPiece();
    void StopFetch();

    TextViewerContext ctx_;
    std::string address_;
    std::unique_ptr<PageSourceFetch> fetch_;
    wxTextCtrl* source_ = nullptr;
    wxTextCtrl* status_ = nullptr;
    bool loading_ = true;
    std::string shown_;  // the text while it goes into the box
    std::size_t shownTo_ = 0;
    std::string doneStatus_;
};

// Opens a text viewer on the address and shows it.
TextViewerFrame* OpenTextViewer(wxWindow* parent, TextViewerContext context, const std::string& address);

}  // namespace flk::ui
