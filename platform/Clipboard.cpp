#include "platform/Clipboard.h"

namespace flk {

std::string CopyToClipboard(Clipboard& clipboard, std::string_view text) {
    if (text.empty()) return {};
    if (!clipboard.Open()) return kClipboardOpenFailed;
    std::string message;
    if (!clipboard.Empty())
        message = kClipboardEmptyFailed;
    else if (!clipboard.SetText(std::string(text)))
        message = kClipboardSetFailed;
    clipboard.Close();
    return message;
}

}  // namespace flk
