#include "app/ui/UiThreadCategoryDialog.h"

#include "search/ui/CategoryDialog.h"
#include "session/CrawlerSession.h"
#include "ui/WxNotifier.h"

#include <memory>

namespace flk::ui {

int UiThreadCategoryDialog::RunCategoryDialog(const CategoryRequest& request, SafetyScope scope,
                                              std::vector<std::string>& addresses) {
    // The choice travels in its own block: a worker stopped meanwhile has
    // left, and the dialog must not write into its stack.
    auto chosen = std::make_shared<std::vector<std::string>>();
    const long result = notifier_.Call(
        [this, request, scope, chosen] {
            CategoryDialog dialog(parent_, session_.GetSettings(), session_.Update(), session_.Internet(),
                                  session_.Network(), scope, request);
            const int answer = dialog.ShowModal();
            if (answer == kCategoryOk) *chosen = dialog.Search().Addresses();
            return static_cast<long>(answer);
        },
        stop_);
    if ((stop_ && stop_->load()) || result == 0) return kCategoryCancelled;
    if (result == kCategoryOk) addresses = *chosen;
    return static_cast<int>(result);
}

}  // namespace flk::ui
