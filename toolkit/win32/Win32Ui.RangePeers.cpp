#include "toolkit/win32/Win32Ui.RangePeers.h"

#include "toolkit/win32/Win32Ui.Backend.h"

#include <commctrl.h>

#include <algorithm>

namespace toolkit::win32 {

TScrollBarPeer::TScrollBarPeer(TWin32Backend& Backend, TScrollBar& ScrollBar)
    : TWindowPeer(Backend, ScrollBar), FScrollBar(ScrollBar) {
    CreateChild(L"SCROLLBAR", ScrollBar.Kind() == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ);
    ShowRange();
}

void TScrollBarPeer::ShowRange() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = FScrollBar.Min();
    info.nMax = FScrollBar.Max();
    info.nPos = FScrollBar.Position();
    info.nPage = 0;
    ::SetScrollInfo(Window(), SB_CTL, &info, TRUE);
}

void TScrollBarPeer::Sync(TChange What) {
    if (What == TChange::State || What == TChange::Style) {
        if (What == TChange::Style) {
            // The orientation is part of the window's style.
            const auto style = static_cast<DWORD>(::GetWindowLongPtrW(Window(), GWL_STYLE));
            const DWORD kind = FScrollBar.Kind() == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
            ::SetWindowLongPtrW(Window(), GWL_STYLE,
                                static_cast<LONG_PTR>((style & ~static_cast<DWORD>(SBS_VERT)) | kind));
            ::InvalidateRect(Window(), nullptr, TRUE);
        }
        ShowRange();
        return;
    }
    TWindowPeer::Sync(What);
}

bool TScrollBarPeer::HandleNotification(UINT Message, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (Message != WM_HSCROLL && Message != WM_VSCROLL)
        return false;
    int position = FScrollBar.Position();
    switch (LOWORD(WParam)) {
    case SB_LINEUP:
        position -= FScrollBar.SmallChange();
        break;
    case SB_LINEDOWN:
        position += FScrollBar.SmallChange();
        break;
    case SB_PAGEUP:
        position -= FScrollBar.LargeChange();
        break;
    case SB_PAGEDOWN:
        position += FScrollBar.LargeChange();
        break;
    case SB_TOP:
        position = FScrollBar.Min();
        break;
    case SB_BOTTOM:
        position = FScrollBar.Max();
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit track position; the message's own field holds only 16 bits.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        ::GetScrollInfo(Window(), SB_CTL, &info);
        position = info.nTrackPos;
        break;
    }
    default:
        Result = 0;
        return true;
    }
    FScrollBar.SetPosition(std::clamp(position, FScrollBar.Min(), FScrollBar.Max()));
    Result = 0;
    return true;
}

TTrackBarPeer::TTrackBarPeer(TWin32Backend& Backend, TTrackBar& TrackBar)
    : TWindowPeer(Backend, TrackBar), FTrackBar(TrackBar) {
    CreateChild(TRACKBAR_CLASSW,
                WS_TABSTOP | TBS_AUTOTICKS |
                    (TrackBar.Orientation() == TTrackBarOrientation::trVertical ? TBS_VERT : TBS_HORZ));
    ShowRange();
}

void TTrackBarPeer::ShowRange() {
    HWND window = Window();
    TSyncScope syncing(FSyncing);
    ::SendMessageW(window, TBM_SETRANGEMIN, FALSE, FTrackBar.Min());
    ::SendMessageW(window, TBM_SETRANGEMAX, FALSE, FTrackBar.Max());
    ::SendMessageW(window, TBM_SETTICFREQ, static_cast<WPARAM>(std::max(1, FTrackBar.Frequency())), 0);
    ::SendMessageW(window, TBM_SETLINESIZE, 0, FTrackBar.LineSize());
    ::SendMessageW(window, TBM_SETPAGESIZE, 0, FTrackBar.PageSize());
    ::SendMessageW(window, TBM_SETPOS, TRUE, FTrackBar.Position());
}

void TTrackBarPeer::Sync(TChange What) {
    if (What == TChange::State || What == TChange::Style) {
        ShowRange();
        return;
    }
    TWindowPeer::Sync(What);
}

bool TTrackBarPeer::HandleNotification(UINT Message, WPARAM, LPARAM, LRESULT& Result) {
    if (Message != WM_HSCROLL && Message != WM_VSCROLL)
        return false;
    if (!FSyncing) {
        const auto position = static_cast<int>(::SendMessageW(Window(), TBM_GETPOS, 0, 0));
        if (position != FTrackBar.Position())
            FTrackBar.SetPosition(position);
    }
    Result = 0;
    return true;
}

} // namespace toolkit::win32
