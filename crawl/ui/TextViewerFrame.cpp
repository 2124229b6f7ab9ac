#include "crawl/ui/TextViewerFrame.h"

#include "ui/WxNotifier.h"
#include "ui/XrcSupport.h"

#include <algorithm>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

namespace flk::ui {

TextViewerFrame::TextViewerFrame(wxWindow* parent, TextViewerContext context, const std::string& address)
    : wxFrame(parent, wxID_ANY, ToDisplay(kTitlePrefix + address)), ctx_(std::move(context)), address_(address) {
    auto* panel = new wxPanel();
    LoadPanel(*panel, this, "pnl_text_viewer");
    source_ = Ctrl<wxTextCtrl>(panel, "txt_source");
    status_ = Ctrl<wxTextCtrl>(panel, "txt_viewer_status");
    wxFont mono = source_->GetFont();
    mono.SetFamily(wxFONTFAMILY_TELETYPE);
    source_->SetFont(mono);
    status_->ChangeValue(sourcetext::kLoading);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(panel, 1, wxEXPAND);
    SetSizer(sizer);
    Fit();
    SetMinSize(wxSize(320, 200));

    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
        StopFetch();
        Destroy();
    });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_ESCAPE)
            Close();
        else
            e.Skip();
    });

    // The result comes to the UI thread as a call of the notifier, which a
    // stopped worker gives up at once.
    fetch_ = std::make_unique<PageSourceFetch>(ctx_.internet, address_, ctx_.options, [this] {
        ctx_.notifier.Call(
            [this] {
                ShowResult();
                return 0L;
            },
            &fetch_->StopFlag());
    });
    if (!fetch_->Start()) {
        fetch_.reset();
        loading_ = false;
        status_->ChangeValue(std::string(sourcetext::kError) + "could not start reading");
    }
}

TextViewerFrame::~TextViewerFrame() { StopFetch(); }

void TextViewerFrame::StopFetch() {
    if (!fetch_) return;
    fetch_->RequestStop();
    ctx_.notifier.DropStopped();
    // The worker may be waiting for this thread in its call: the wait
    // services it.
    ctx_.notifier.ServiceUntil([this] { return !fetch_->Active(); }, kCloseWait);
    fetch_.reset();
    loading_ = false;
}

void TextViewerFrame::ShowResult() {
    if (!fetch_) return;
    const PageSource result = fetch_->Result();
    shown_ = result.text;
    shownTo_ = 0;
    doneStatus_ = result.StatusLine(ctx_.options.capBytes);
    source_->Clear();
    ShowNextPiece();
}

void TextViewerFrame::ShowNextPiece() {
    // A piece never ends inside a character.
    std::size_t end = std::min(shown_.size(), shownTo_ + kPieceBytes);
    while (end < shown_.size() && (static_cast<unsigned char>(shown_[end]) & 0xC0) == 0x80) ++end;
    if (end > shownTo_) source_->AppendText(wxString::FromUTF8(shown_.data() + shownTo_, end - shownTo_));
    shownTo_ = end;
    if (shownTo_ < shown_.size()) {
        // The rest comes after the events waiting meanwhile: a large page
        // never holds the window for long.
        CallAfter(&TextViewerFrame::ShowNextPiece);
        return;
    }
    shown_.clear();
    shown_.shrink_to_fit();
    source_->SetInsertionPoint(0);
    source_->ShowPosition(0);
    status_->ChangeValue(ToDisplay(doneStatus_));
    loading_ = false;
}

std::string TextViewerFrame::Status() const { return status_->GetValue().utf8_string(); }

std::string TextViewerFrame::Text() const { return source_->GetValue().utf8_string(); }

TextViewerFrame* OpenTextViewer(wxWindow* parent, TextViewerContext context, const std::string& address) {
    auto* frame = new TextViewerFrame(parent, std::move(context), address);
    frame->Show();
    frame->Raise();
    return frame;
}

}  // namespace flk::ui
