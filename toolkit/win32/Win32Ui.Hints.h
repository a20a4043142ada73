#pragma once
// The hints of the controls: one tooltip window for the whole program, with one tool per control
// window whose hint is on and not empty.
#include "toolkit/Toolkit.Control.h"
#include "toolkit/win32/Win32Ui.Handles.h"

namespace toolkit::win32 {

class THintTips {
public:
    // Adds, changes or removes the tip of a control's window after its hint facts changed.
    void Update(HWND Window, const TControl& Control);
    void Remove(HWND Window);
    // The tooltip window, or null before the first hint.
    HWND Tips() const { return FTips.Get(); }

private:
    HWND Ensure(const TControl& Control);

    TOwnedWindow FTips;
};

} // namespace toolkit::win32
