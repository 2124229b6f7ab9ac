#pragma once
#include "support/Subprocess.h"

#include <memory>
#include <string>

namespace flk::test {

// An X server of the test's own, so that the windows and the tray a test
// starts are seen by no other test running at the same time, and a test
// without a tray has none.
class PrivateDisplay {
public:
    PrivateDisplay(int width, int height);
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    bool Up() const { return server_ != nullptr; }
    // ":N", for DISPLAY and the X tools' -display.
    const std::string& Name() const { return name_; }

    // The screen's pixels in the rectangle, as raw RGB bytes ("" on failure);
    // `scratch` is a file the grab may write.
    std::string Pixels(int x, int y, int w, int h, const std::string& scratch) const;
    // A picture of the rectangle for the reviewer, build/screenshots/NAME.png.
    void Screenshot(int x, int y, int w, int h, const std::string& name) const;
    // A picture of one window, by its X id, the same way.
    void ScreenshotWindow(const std::string& windowId, const std::string& name) const;

private:
    std::unique_ptr<Subprocess> server_;
    std::string name_;
};

}  // namespace flk::test
