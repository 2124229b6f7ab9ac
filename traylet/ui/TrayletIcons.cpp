#include "traylet/ui/TrayletIcons.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

namespace flk::ui {

namespace {

constexpr int kSide = 22;

// A magnifying glass: ring and handle in `ink` on a round `ground`.
wxIcon Draw(const wxColour& ground, const wxColour& ink) {
    wxBitmap bmp(kSide, kSide, 32);
    bmp.UseAlpha();
    {
        wxMemoryDC dc(bmp);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        dc.SetPen(wxPen(ground));
        dc.SetBrush(wxBrush(ground));
        dc.DrawRoundedRectangle(0, 0, kSide, kSide, 5);
        dc.SetPen(wxPen(ink, 3));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawCircle(9, 9, 5);
        dc.DrawLine(13, 13, 19, 19);
    }
    wxIcon icon;
    icon.CopyFromBitmap(bmp);
    return icon;
}

}  // namespace

wxIcon TrayletNormalIcon() { return Draw(wxColour(0x1d, 0x4e, 0x89), wxColour(0xf5, 0xf1, 0xe3)); }

wxIcon TrayletBlinkIcon() { return Draw(wxColour(0xf2, 0x8c, 0x28), wxColour(0x1d, 0x4e, 0x89)); }

}  // namespace flk::ui
