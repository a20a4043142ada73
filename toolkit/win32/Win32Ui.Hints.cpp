#include "toolkit/win32/Win32Ui.Hints.h"

#include "platform/win32/Win32.Text.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/win32/Win32Ui.WindowPeer.h"

#include <commctrl.h>

namespace toolkit::win32 {

namespace {

// The tool is the control's window itself, so it needs no parent to be found again.
TTTOOLINFOW ToolOf(HWND Window) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = Window;
    info.uId = reinterpret_cast<UINT_PTR>(Window);
    return info;
}

// A control shows its hint when it or one of its parents turns hints on (a form turns them on for
// everything on it).
bool ShowsHints(const TControl& Control) {
    for (const TControl* control = &Control; control != nullptr; control = control->Parent()) {
        if (control->ShowHint())
            return true;
    }
    return false;
}

} // namespace

HWND THintTips::Ensure(const TControl& Control) {
    if (FTips)
        return FTips.Get();
    HWND tips = ::CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (tips == nullptr)
        return nullptr; // no tooltips is no reason to fail the control
    FTips.Reset(tips);
    const TApplication& app = Control.Application();
    ::SendMessageW(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(app.HintHidePause(), 0));
    ::SendMessageW(tips, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(app.HintShortPause(), 0));
    // A width makes the tooltip break lines at CR LF and wrap long hints.
    ::SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, 480);
    return tips;
}

void THintTips::Update(HWND Window, const TControl& Control) {
    if (Window == nullptr)
        return;
    const bool wanted = Control.Application().ShowHint() && ShowsHints(Control) && !Control.Hint().empty();
    if (!wanted) {
        Remove(Window);
        return;
    }
    HWND tips = Ensure(Control);
    if (tips == nullptr)
        return;
    std::u16string text = Control.Hint();
    TTTOOLINFOW info = ToolOf(Window);
    info.lpszText = platform::win32::AsWide(text);
    TTTOOLINFOW existing = ToolOf(Window);
    const bool known = ::SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&existing)) != 0;
    ::SendMessageW(tips, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void THintTips::Remove(HWND Window) {
    if (!FTips || Window == nullptr)
        return;
    TTTOOLINFOW info = ToolOf(Window);
    ::SendMessageW(FTips.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

} // namespace toolkit::win32
