#include "platform/Clipboard.h"

#include <gtest/gtest.h>

using namespace flk;

namespace {

// A clipboard whose steps fail on demand and that records what it was told.
struct ScriptedClipboard : Clipboard {
    bool openOk = true, emptyOk = true, setOk = true;
    int opens = 0, closes = 0;
    std::string text;
    bool Open() override {
        ++opens;
        return openOk;
    }
    bool Empty() override { return emptyOk; }
    bool SetText(const std::string& t) override {
        if (setOk) text = t;
        return setOk;
    }
    void Close() override { ++closes; }
};

}  // namespace

TEST(Clipboard, EachFailingStepHasItsMessageAndTheClipboardIsClosed) {
    struct Row {
        bool open, empty, set;
        const char* message;
        int closes;
    } rows[] = {
        {true, true, true, "", 1},
        {false, true, true, "Cannot open the Clipboard", 0},
        {true, false, true, "Cannot empty the Clipboard", 1},
        {true, true, false, "Unable to set Clipboard data", 1},
    };
    for (const Row& r : rows) {
        ScriptedClipboard clip;
        clip.openOk = r.open;
        clip.emptyOk = r.empty;
        clip.setOk = r.set;
        EXPECT_EQ(CopyToClipboard(clip, "a.example/x.jpg\r\n"), r.message);
        EXPECT_EQ(clip.closes, r.closes) << r.message;
        EXPECT_EQ(clip.text, *r.message ? "" : "a.example/x.jpg\r\n");
    }
    ScriptedClipboard untouched;
    EXPECT_EQ(CopyToClipboard(untouched, ""), "");
    EXPECT_EQ(untouched.opens, 0) << "empty text does nothing";
    NoClipboard none;
    EXPECT_EQ(CopyToClipboard(none, "x"), "Cannot open the Clipboard");
}
