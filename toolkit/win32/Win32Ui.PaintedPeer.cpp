#include "toolkit/win32/Win32Ui.PaintedPeer.h"

#include "toolkit/win32/Win32Ui.Backend.h"

#include <windowsx.h>

namespace toolkit::win32 {

TPaintedPeer::TPaintedPeer(TWin32Backend& Backend, TControl& Control, DWORD ExStyle)
    : TWindowPeer(Backend, Control) {
    CreateChild(nullptr, WS_CLIPCHILDREN, ExStyle);
}

void TPaintedPeer::Paint(HDC Dc, const RECT&) {
    EraseWithColor(Dc);
}

LRESULT TPaintedPeer::HandleMessage(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    switch (Message) {
    case WM_PAINT: {
        TPaintDc paint(Window);
        RECT client{};
        ::GetClientRect(Window, &client);
        Paint(paint.Get(), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // Paint covers the whole client area
    case WM_SETCURSOR:
        if (LOWORD(LParam) == HTCLIENT && Control().Cursor() != TCursor::crDefault) {
            ::SetCursor(
                ::LoadCursorW(nullptr, Control().Cursor() == TCursor::crHandPoint ? IDC_HAND : IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        if (!FMouseInside) {
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = Window;
            FMouseInside = ::TrackMouseEvent(&track) != FALSE;
            Control().MouseEnter();
        }
        return 0;
    case WM_MOUSELEAVE:
        FMouseInside = false;
        FPressed = false;
        Control().MouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
        FPressed = true;
        MouseDown(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam));
        return 0;
    case WM_LBUTTONUP:
        if (FPressed) {
            FPressed = false;
            Control().Click();
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        Control().DblClick();
        return 0;
    default:
        break;
    }
    return TWindowPeer::HandleMessage(Window, Message, WParam, LParam);
}

} // namespace toolkit::win32
