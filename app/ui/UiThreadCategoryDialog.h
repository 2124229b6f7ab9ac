#pragma once
#include "search/EngineSearch.h"

#include <atomic>

class wxWindow;

namespace flk {
class CrawlerSession;
}

namespace flk::ui {

class WxNotifier;

// The "Search for categories" dialog for a search that runs on a worker:
// the dialog runs modally on the UI thread while the worker waits, so the
// user chooses from the category tree as from the search-engine dialog. A
// stopped search drops the question and counts as cancelled.
class UiThreadCategoryDialog : public EngineSearchUi {
public:
    UiThreadCategoryDialog(wxWindow* parent, WxNotifier& notifier, CrawlerSession& session)
        : parent_(parent), notifier_(notifier), session_(session) {}

    int RunCategoryDialog(const CategoryRequest& request, SafetyScope scope,
                          std::vector<std::string>& addresses) override;

    void SetStop(const std::atomic<bool>* stop) { stop_ = stop; }

private:
    wxWindow* parent_;
    WxNotifier& notifier_;
    CrawlerSession& session_;
    const std::atomic<bool>* stop_ = nullptr;
};

}  // namespace flk::ui
