#pragma once
#include <string>
#include <string_view>

namespace flk {

// The system clipboard, text only. The windows implement it; a front end
// without one (flkcrawl) uses NoClipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool Open() = 0;
    virtual bool Empty() = 0;
    virtual bool SetText(const std::string& text) = 0;
    virtual void Close() = 0;
};

// A clipboard that cannot be opened.
class NoClipboard : public Clipboard {
public:
    bool Open() override { return false; }
    bool Empty() override { return false; }
    bool SetText(const std::string&) override { return false; }
    void Close() override {}
};

inline constexpr char kClipboardOpenFailed[] = "Cannot open the Clipboard";
inline constexpr char kClipboardEmptyFailed[] = "Cannot empty the Clipboard";
inline constexpr char kClipboardSetFailed[] = "Unable to set Clipboard data";

// Puts the text on the clipboard. Returns the message to show when that
// failed ("" when it worked; empty text does nothing). An opened clipboard
// is always closed again, whichever step failed.
std::string CopyToClipboard(Clipboard& clipboard, std::string_view text);

}  // namespace flk
