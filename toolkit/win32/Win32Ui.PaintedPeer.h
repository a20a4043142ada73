#pragma once
// A control drawn by this backend in a window of its own class: the base of panels, labels,
// images and grids, and the plain container for controls without a native counterpart. It reports
// clicks, double clicks and the mouse entering and leaving, and shows the control's cursor.
#include "toolkit/win32/Win32Ui.WindowPeer.h"

namespace toolkit::win32 {

class TPaintedPeer : public TWindowPeer {
public:
    TPaintedPeer(TWin32Backend& Backend, TControl& Control, DWORD ExStyle = 0);

    LRESULT HandleMessage(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) override;

protected:
    // Draws the whole client area; the default fills it with the control's colour.
    virtual void Paint(HDC Dc, const RECT& Client);
    // A left button press at a client point (before the click on release).
    virtual void MouseDown(int, int) {}

private:
    bool FMouseInside = false;
    bool FPressed = false;
};

} // namespace toolkit::win32
