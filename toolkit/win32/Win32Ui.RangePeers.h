#pragma once
// Scroll bars (the system's SCROLLBAR class) and track bars (TRACKBAR_CLASS): range and position
// from the model, the user's moves back into it.
#include "toolkit/Toolkit.ComCtrls.h"
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/win32/Win32Ui.WindowPeer.h"

namespace toolkit::win32 {

class TScrollBarPeer final : public TWindowPeer {
public:
    TScrollBarPeer(TWin32Backend& Backend, TScrollBar& ScrollBar);
    void Sync(TChange What) override;
    bool HandleNotification(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

private:
    void ShowRange();

    TScrollBar& FScrollBar;
};

class TTrackBarPeer final : public TWindowPeer {
public:
    TTrackBarPeer(TWin32Backend& Backend, TTrackBar& TrackBar);
    void Sync(TChange What) override;
    bool HandleNotification(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

private:
    void ShowRange();

    TTrackBar& FTrackBar;
};

} // namespace toolkit::win32
