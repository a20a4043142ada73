#include "platform/win32/Win32.WindowControl.h"

#include "platform/win32/Win32.Text.h"

namespace platform::win32 {

namespace {

static_assert(sizeof(WINDOWPLACEMENT) == WindowPlacementLength);
static_assert(PlacementRestoreToMaximized == WPF_RESTORETOMAXIMIZED);
static_assert(ShowMaximized == SW_SHOWMAXIMIZED);
static_assert(ShowRestore == SW_RESTORE);

HWND ToHwnd(TWindowHandle Window) {
    return reinterpret_cast<HWND>(Window);
}

WINDOWPLACEMENT ToNative(const TWindowPlacement& Placement) {
    WINDOWPLACEMENT native{};
    native.length = Placement.Length;
    native.flags = Placement.Flags;
    native.showCmd = Placement.ShowCmd;
    native.ptMinPosition = {Placement.MinPosition.X, Placement.MinPosition.Y};
    native.ptMaxPosition = {Placement.MaxPosition.X, Placement.MaxPosition.Y};
    native.rcNormalPosition = {Placement.NormalPosition.Left, Placement.NormalPosition.Top,
                               Placement.NormalPosition.Right, Placement.NormalPosition.Bottom};
    return native;
}

TWindowPlacement FromNative(const WINDOWPLACEMENT& Native) {
    return TWindowPlacement{Native.length,
                            Native.flags,
                            Native.showCmd,
                            {Native.ptMinPosition.x, Native.ptMinPosition.y},
                            {Native.ptMaxPosition.x, Native.ptMaxPosition.y},
                            {Native.rcNormalPosition.left, Native.rcNormalPosition.top,
                             Native.rcNormalPosition.right, Native.rcNormalPosition.bottom}};
}

} // namespace

TWindowHandle TWin32WindowControl::FindTopLevelWindow(const std::u16string& ClassName) const {
    if (ClassName.empty() || HasEmbeddedNul(ClassName))
        return 0;
    return reinterpret_cast<TWindowHandle>(FindWindowW(AsWide(ClassName), nullptr));
}

std::intptr_t TWin32WindowControl::SendMessageAndWait(TWindowHandle Window, std::uint32_t Message,
                                                      std::uintptr_t WParam, std::intptr_t LParam) {
    return SendMessageW(ToHwnd(Window), Message, WParam, LParam);
}

bool TWin32WindowControl::GetPlacement(TWindowHandle Window, TWindowPlacement& Placement) const {
    WINDOWPLACEMENT native = ToNative(Placement);
    if (!GetWindowPlacement(ToHwnd(Window), &native))
        return false;
    Placement = FromNative(native);
    return true;
}

bool TWin32WindowControl::SetPlacement(TWindowHandle Window, const TWindowPlacement& Placement) {
    const WINDOWPLACEMENT native = ToNative(Placement);
    return SetWindowPlacement(ToHwnd(Window), &native) != FALSE;
}

TWindowHandle TWin32WindowControl::ForegroundWindow() const {
    return reinterpret_cast<TWindowHandle>(GetForegroundWindow());
}

TThreadId TWin32WindowControl::WindowThreadId(TWindowHandle Window) const {
    return GetWindowThreadProcessId(ToHwnd(Window), nullptr);
}

bool TWin32WindowControl::AttachThreadInput(TThreadId From, TThreadId To, bool Attach) {
    return ::AttachThreadInput(From, To, Attach ? TRUE : FALSE) != FALSE;
}

bool TWin32WindowControl::SetForegroundWindow(TWindowHandle Window) {
    return ::SetForegroundWindow(ToHwnd(Window)) != FALSE;
}

} // namespace platform::win32
