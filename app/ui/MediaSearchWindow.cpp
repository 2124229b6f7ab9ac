#include "app/ui/MediaSearchWindow.h"

#include "app/ui/AboutDialog.h"
#include "app/ui/ClipAnimation.h"
#include "app/ui/ScanTipDialog.h"
#include "app/ui/UiThreadCategoryDialog.h"
#include "app/ui/UiThreadQuestions.h"
#include "app/ui/UrlPasswordDialog.h"
#include "platform/DibImage.h"
#include "platform/Launcher.h"
#include "platform/TrayletMessages.h"
#include "session/CrawlerSession.h"
#include "settings/Settings.h"
#include "ui/MessageBox.h"
#include "ui/WxProgramPicker.h"
#include "ui/WxNotifier.h"
#include "ui/XrcSupport.h"
#include "update/UpdateData.h"
#include "update/UpdateThread.h"
#include "update/UpgradeOffer.h"

#include <cstdlib>
#include <cstring>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/gauge.h>
#include <wx/generic/statbmpg.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

namespace flk::ui {

namespace {

namespace text = media_search_text;

inline constexpr char kAppTitle[] = "Findlark";
inline constexpr char kClipFile[] = "all.gif";
inline constexpr char kHelpPath[] = "/help/help.htm";
inline constexpr char kLogoMissing[] = "Could not find logo.";

UpgradePlace UpgradePlaceOf(const Settings& settings) {
    return {settings.HomeDirectory(), settings.Folders().userData};
}

// A logo of the "sponsors" folder and the "bundler" key of its address.
struct Logo {
    const char* control;
    const char* file;
    const char* key;
};
constexpr Logo kLogos[] = {
    {"logo_flk", "Flklogo", "FlkUrl"},
    {"logo_top", "bundlelogo_top.dib", "TopUrl"},
    {"logo_mid", "bundlelogo_mid.dib", "url"},
    {"logo_bottom", "bundlelogo.dib", "BottUrl"},
};

class WxUpgradeQuestion : public UpgradeQuestion {
public:
    bool AskYesNo(const std::string& message, const std::string& title) override {
        return ShowMessageBox(nullptr, message, title, wxYES_NO | wxICON_QUESTION | wxSTAY_ON_TOP) == wxYES;
    }
    void Inform(const std::string& message, const std::string& title) override {
        ShowMessageBox(nullptr, message, title, wxOK | wxICON_INFORMATION | wxSTAY_ON_TOP);
    }
};

wxBitmap BitmapOf(const DibImage& dib) {
    // wxImage takes the buffer over and frees it with free().
    auto* data = static_cast<unsigned char*>(std::malloc(dib.rgb.size()));
    if (!data) return wxBitmap();
    std::memcpy(data, dib.rgb.data(), dib.rgb.size());
    return wxBitmap(wxImage(dib.width, dib.height, data));
}

Notification Code(int code, long value = 0) {
    Notification n;
    n.code = code;
    n.value = value;
    return n;
}

}  // namespace

MediaSearchWindow::MediaSearchWindow(MediaSearchContext context)
    : wxFrame(nullptr, wxID_ANY, kAppTitle, wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE & ~(wxRESIZE_BORDER | wxMAXIMIZE_BOX)),
      ctx_(context),
      model_(ctx_.settings, *this),
      questions_(std::make_unique<UiThreadQuestions>(this, ctx_.notifier, nullptr)),
      categories_(std::make_unique<UiThreadCategoryDialog>(this, ctx_.notifier, ctx_.session)) {
    auto* panel = new wxPanel;
    LoadPanel(*panel, this, "pnl_media_search");
    guides_ = Ctrl<wxRadioButton>(panel, "rb_guides");
    keywords_ = Ctrl<wxRadioButton>(panel, "rb_keywords");
    guideList_ = Ctrl<wxComboBox>(panel, "cmb_guides");
    query_ = Ctrl<wxTextCtrl>(panel, "txt_keywords");
    images_ = Ctrl<wxCheckBox>(panel, "chk_images");
    sounds_ = Ctrl<wxCheckBox>(panel, "chk_sounds");
    movies_ = Ctrl<wxCheckBox>(panel, "chk_movies");
    imagesBar_ = Ctrl<wxGauge>(panel, "gau_images");
    soundsBar_ = Ctrl<wxGauge>(panel, "gau_sounds");
    moviesBar_ = Ctrl<wxGauge>(panel, "gau_movies");
    overallBar_ = Ctrl<wxGauge>(panel, "gau_overall");
    status_ = Ctrl<wxTextCtrl>(panel, "txt_status");
    goButton_ = Ctrl<wxButton>(panel, "btn_go");
    viewResults_ = Ctrl<wxButton>(panel, "btn_view_results");
    config_ = Ctrl<wxButton>(panel, "btn_config");
    Ctrl<wxCheckBox>(panel, "chk_exact")->Hide();  // passed with a search, never shown

    clip_ = new ClipAnimation(panel, wxID_ANY);
    wxXmlResource::Get()->AttachUnknownControl("anim_search", clip_, panel);
    clip_->LoadClip(ToDisplay(ctx_.settings.HomeDirectory() + kClipFile));
    LoadLogos(panel);

    goButton_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnGo(); });
    query_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { OnGo(); });
    viewResults_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        model_.ViewResults();
        ShowView();
    });
    Ctrl<wxButton>(panel, "btn_help")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        OpenAddress("http://" + ctx_.settings.MakerHost() + kHelpPath);
    });
    config_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (openConfig) openConfig();
    });
    Ctrl<wxButton>(panel, "btn_about")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        AboutDialog about(this, ctx_.settings);
        about.ShowModal();
    });
    Ctrl<wxButton>(panel, "btn_exit")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); });
    for (wxRadioButton* radio : {guides_, keywords_})
        radio->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) {
            model_.SetKeywordsMode(keywords_->GetValue());
            ShowView();
            (keywords_->GetValue() ? static_cast<wxWindow*>(query_) : guideList_)->SetFocus();
        });
    for (wxCheckBox* kind : {images_, sounds_, movies_})
        kind->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
            model_.SetKinds(images_->GetValue(), sounds_->GetValue(), movies_->GetValue());
        });

    // Ctrl+L: the lists, in the crawler window; Ctrl+D: the downloads.
    listsId_ = wxWindow::NewControlId();
    downloadsId_ = wxWindow::NewControlId();
    wxAcceleratorEntry keys[] = {{wxACCEL_CTRL, 'L', listsId_}, {wxACCEL_CTRL, 'D', downloadsId_}};
    SetAcceleratorTable(wxAcceleratorTable(2, keys));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        if (showLists) showLists();
    }, listsId_);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        if (showDownloads) showDownloads();
    }, downloadsId_);

    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
        if (!IsBeingDeleted()) Shut(true);
    });

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(panel, 1, wxEXPAND);
    SetSizerAndFit(sizer);

    // Opening: the full reset, the guide, the keywords field, then the
    // daily update, whose end (56) refreshes the guide.
    model_.Reset(true);
    // The crawl asks this for every link it decides: answered from the
    // published counts, it never waits for this thread.
    ctx_.notifier.AnswerDirectly(notify::AnyCountExceeds,
                                 [this](const Notification& n) { return model_.AnyCountAbove(n.value) ? 1L : 0L; });
    FillGuides(true);
    ShowView();
    query_->SetFocus();
    Centre();
    update_ = std::make_unique<UpdateThread>(ctx_.settings, ctx_.session.Update(), ctx_.notifier,
                                             ctx_.session.Internet(), UpdateThreadOptions{ctx_.session.Network()});
    update_->Start();
    // An upgrade stored by an earlier run is offered again.
    CallAfter([this] { CheckUpgrade(); });
}

MediaSearchWindow::~MediaSearchWindow() {
    // Closed windows have let everything go already; the rest is the
    // window's own controls.
    if (!shut_) Shut(false);
}

void MediaSearchWindow::Shut(bool destroy) {
    if (shut_) return;
    shut_ = true;
    ctx_.notifier.AnswerDirectly(notify::AnyCountExceeds, {});
    StopEverything(std::chrono::seconds(10));
    // Ended by now: the notifier answered their last calls with 0.
    go_.reset();
    update_.reset();
    if (closed) {
        auto told = std::move(closed);
        closed = nullptr;
        told();
    }
    if (destroy) Destroy();
}

void MediaSearchWindow::LoadLogos(wxWindow* panel) {
    const std::string folder = ctx_.settings.HomeDirectory() + "sponsors/";
    const std::string site = "http://" + ctx_.settings.MakerHost();
    for (const Logo& logo : kLogos) {
        auto* picture = new wxGenericStaticBitmap(panel, wxID_ANY, wxBitmapBundle(), wxDefaultPosition,
                                                  wxSize(150, 44), 0, logo.control);
        wxXmlResource::Get()->AttachUnknownControl(logo.control, picture, panel);
        const DibImage dib = LoadDibFile(folder + logo.file);
        if (!dib.Loaded()) {
            ShowMessageBox(nullptr, kLogoMissing, "", wxOK);
            continue;
        }
        picture->SetBitmap(BitmapOf(dib));
        picture->SetCursor(wxCursor(wxCURSOR_HAND));
        const std::string key = logo.key;
        picture->Bind(wxEVT_LEFT_UP, [this, key, site](wxMouseEvent&) {
            OpenAddress(ctx_.settings.GetProfileString("bundler", key, site));
        });
    }
}

void MediaSearchWindow::OpenAddress(const std::string& address) {
    if (!address.empty()) OpenUrl(address, kOpenUrlWithSystem, "");
}

void MediaSearchWindow::FillGuides(bool opening) {
    UpdateData data(ctx_.session.Update(), ctx_.settings);
    data.Load();
    std::vector<std::string> names;
    data.GetCategories(names);
    // The update's list replaces the shown one only when it has a few.
    if (!opening && names.size() < 3) return;
    const wxString chosen = guideList_->GetValue();
    guideList_->Clear();
    for (const std::string& name : names) guideList_->Append(ToDisplay(name));
    if (guideList_->GetCount() == 0) return;
    const int keep = opening ? wxNOT_FOUND : guideList_->FindString(chosen);
    guideList_->SetSelection(keep == wxNOT_FOUND ? 0 : keep);
}

void MediaSearchWindow::ShowView() {
    const MediaSearchView& v = model_.View();
    if (statesShown_.empty() || statesShown_.back() != v.state) statesShown_.push_back(v.state);
    goButton_->SetLabel(v.goText);
    goButton_->Enable(v.goEnabled);
    viewResults_->Enable(v.viewResultsEnabled);
    config_->Enable(static_cast<bool>(openConfig));
    for (wxCheckBox* kind : {images_, sounds_, movies_}) kind->Enable(v.kindsEnabled);
    images_->SetValue(v.images);
    sounds_->SetValue(v.sounds);
    movies_->SetValue(v.movies);
    const bool idle = v.state == SearchState::Idle;
    guides_->Enable(idle);
    keywords_->Enable(idle);
    (v.keywordsMode ? keywords_ : guides_)->SetValue(true);
    query_->Enable(v.keywordsMode);
    guideList_->Enable(!v.keywordsMode);
    imagesBar_->SetValue(v.imagesBar);
    soundsBar_->SetValue(v.soundsBar);
    moviesBar_->SetValue(v.moviesBar);
    if (idle) overallBar_->SetValue(0);
    if (status_->GetValue() != v.status) status_->ChangeValue(v.status);
    // Only a change of the search's state starts or halts the clip, so a
    // refresh never cuts into a clip that is already playing its sequence.
    if (v.animating != clipWanted_) {
        clipWanted_ = v.animating;
        if (clipWanted_) clip_->Start();
        else clip_->Halt();
    }
}

bool MediaSearchWindow::Searching() const { return go_ && go_->Active(); }

void MediaSearchWindow::ReapGoThread() {
    if (go_ && !go_->Active()) go_.reset();
}

void MediaSearchWindow::OnGo() {
    const SearchState before = model_.View().state;
    if (before == SearchState::Idle) {
        ReapGoThread();
        model_.SetKinds(images_->GetValue(), sounds_->GetValue(), movies_->GetValue());
        model_.SetKeywordsMode(keywords_->GetValue());
    }
    std::string typed = query_->GetValue().utf8_string();
    const bool guide = before == SearchState::Idle && !model_.View().keywordsMode;
    if (guide) {
        typed = guideList_->GetValue().utf8_string();
        query_->ChangeValue(guideList_->GetValue());
    }
    const SearchStart start = model_.PressGo(typed);
    ShowView();
    if (before != SearchState::Idle) return;  // a stop, or nothing while the web is searched
    if (!start.start) {
        ShowMessageBox(this, kEmptySearchText, kEmptySearchCaption, wxOK | wxICON_INFORMATION);
        query_->SetFocus();
        return;
    }
    subject_ = start.query;
    if (go_) {  // the last search is still ending
        model_.SearchNotStarted();
        ShowView();
        return;
    }
    SearchFlowContext flow{ctx_.session, *questions_, *questions_, nullptr, ctx_.server, categories_.get()};
    GoRequest request;
    request.query = start.query;
    request.guide = start.guide;
    go_ = std::make_unique<GoThread>(flow, request, [this](GoResult result, const std::string&) {
        // On the search's thread: the answer goes to the window, unless the
        // window stopped the search meanwhile.
        ctx_.notifier.Call(
            [this, result] {
                GoEnded(result);
                return 0L;
            },
            &go_->StopFlag());
    });
    questions_->SetStop(&go_->StopFlag());
    categories_->SetStop(&go_->StopFlag());
    if (!go_->Start()) {
        go_.reset();
        model_.SearchNotStarted();
    } else {
        model_.SearchAccepted();
    }
    ShowView();
}

void MediaSearchWindow::GoEnded(GoResult result) {
    if (closing_) return;
    const bool keywordSearch = model_.View().keywordsMode;
    switch (result) {
    case GoResult::Crawling: {
        model_.SearchAccepted();
        Notification over = Code(notify::WebSearchOver);
        model_.Handle(over);
        break;
    }
    case GoResult::Stopped:
        // Stopped before a crawl began: back to idle, nothing to tell.
        model_.SearchNotStarted();
        break;
    case GoResult::Refused:
        model_.SearchNotStarted();
        if (keywordSearch) query_->SetFocus();
        break;
    case GoResult::NothingFound:
    case GoResult::Failed:
        // The engines tell their own end (55); the guide and typed
        // addresses are told here.
        if (model_.View().state != SearchState::Idle) {
            Notification ended = Code(notify::SearchEnded, result == GoResult::NothingFound ? -1 : -2);
            model_.Handle(ended);
        }
        if (keywordSearch) query_->SetFocus();
        break;
    }
    ShowView();
}

void MediaSearchWindow::Begin(const StartCommand& command) {
    ShowView();  // the hooks are set by now
    if (command.guide) {
        model_.SetKeywordsMode(false);
        ShowView();
        guideList_->SetFocus();
        return;
    }
    if (command.singlePage) ctx_.session.SetSinglePage(true);
    if (!command.run || command.location.empty()) return;
    if (command.searchSite) {
        FollowCrawl(command.location);
        return;
    }
    ctx_.session.Start(command.location);
}

void MediaSearchWindow::FollowCrawl(const std::string& location) {
    query_->ChangeValue(ToDisplay(location));
    const SearchStart start = model_.PressGo(location);
    ShowView();
    if (!start.start) return;
    subject_ = start.query;
    if (!ctx_.session.Start(location)) {
        model_.SearchNotStarted();
        ShowView();
        return;
    }
    GoEnded(GoResult::Crawling);
}

long MediaSearchWindow::Notify(Notification& n) {
    if (closing_) return 0;
    const long answer = Answer(n);
    if (!closing_) ShowView();
    return answer;
}

long MediaSearchWindow::Answer(Notification& n) {
    switch (n.code) {
    case notify::PasswordNeeded: {
        UrlPasswordDialog dialog(this, n.text, n.user);
        if (dialog.ShowModal() != wxID_OK) return 0;
        n.user = dialog.User();
        n.password = dialog.Password();
        return 1;
    }
    case notify::UpdateEnded:
        FillGuides(false);
        return 0;
    case notify::ServerText:
        if (StoreVersionAnswer(UpgradePlaceOf(ctx_.settings), n.text)) CheckUpgrade();
        return 0;
    default:
        return model_.Handle(n);
    }
}

void MediaSearchWindow::CheckUpgrade() {
    if (closing_) return;
    WxUpgradeQuestion question;
    if (CheckPendingUpgrade(UpgradePlaceOf(ctx_.settings), question) == UpgradeDecision::EndProcess)
        std::_Exit(0);  // the upgrade tool runs: nothing is saved
}

bool MediaSearchWindow::StopEverything(std::chrono::milliseconds timeout) {
    closing_ = true;
    if (go_) go_->RequestStop();
    if (update_) update_->RequestStop();
    ctx_.session.Stop();
    ctx_.notifier.DropStopped();
    const bool ended = ctx_.notifier.ServiceUntil(
        [this] {
            const bool searching = go_ && go_->Active();
            // A search that was just starting its crawl as it was stopped.
            if (!searching && ctx_.session.Crawling()) ctx_.session.Stop();
            return !searching && !(update_ && update_->Active()) && !ctx_.session.Crawling();
        },
        timeout);
    clip_->Halt();
    return ended;
}

bool MediaSearchWindow::AskViewMedia() {
    ShowView();  // the medium that brings the question is in the bars
    return ShowMessageBox(this, text::kViewMediaQuestion, text::kViewMediaCaption, wxYES_NO | wxICON_QUESTION) ==
           wxYES;
}

bool MediaSearchWindow::AskViewAtEnd() {
    return ShowMessageBox(this, text::kSearchCompleted, text::kSearchCompletedCaption,
                          wxYES_NO | wxICON_QUESTION | wxSTAY_ON_TOP) == wxYES;
}

void MediaSearchWindow::ShowNoPages() {
    ShowMessageBox(this, text::kNoPages, text::kNoPagesCaption, wxOK | wxICON_INFORMATION);
}

bool MediaSearchWindow::ShowScanTip() {
    ScanTipDialog tip(this);
    tip.ShowModal();
    return tip.DontShowAgain();
}

void MediaSearchWindow::ShowResults() {
    WxProgramPicker picker(this);
    if (ctx_.session.ShowResults(subject_, &picker) == ResultsShown::NoMedia)
        ShowMessageBox(this, text::kNoMediaFound, "", wxOK | wxSTAY_ON_TOP);
}

void MediaSearchWindow::StopCrawl() {
    ctx_.session.Stop();
    ctx_.notifier.DropStopped();
}

bool MediaSearchWindow::HasTextHits() { return ctx_.session.Hits().RowCount() > 0; }

void MediaSearchWindow::AnnounceTextHits() { PostToTraylet(ctx_.settings.Folders().runtime, traylet_msg::kStartBlinking); }

}  // namespace flk::ui
