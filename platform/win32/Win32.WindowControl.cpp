#include "platform/win32/Win32.WindowControl.h"

#include "platform/win32/Win32.Text.h"

namespace platform::win32 {

namespace {

static_assert(sizeof(WINDOWPLACEMENT) == WindowPlacementLength);
static_assert(PlacementRestoreToMaximized == WPF_RESTORETOMAXIMIZED);
static_assert(ShowMaximized == SW_SHOWMAXIMIZED);
static_assert(ShowRestore == SW_RESTORE);

HWND ToHwnd(TWindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

WINDOWPLACEMENT ToNative(const TWindowPlacement& placement) {
    WINDOWPLACEMENT native{};
    native.length = placement.Length;
    native.flags = placement.Flags;
    native.showCmd = placement.ShowCmd;
    native.ptMinPosition = {placement.MinPosition.X, placement.MinPosition.Y};
    native.ptMaxPosition = {placement.MaxPosition.X, placement.MaxPosition.Y};
    native.rcNormalPosition = {placement.NormalPosition.Left, placement.NormalPosition.Top,
                               placement.NormalPosition.Right, placement.NormalPosition.Bottom};
    return native;
}

TWindowPlacement FromNative(const WINDOWPLACEMENT& native) {
    return TWindowPlacement{native.length,
                            native.flags,
                            native.showCmd,
                            {native.ptMinPosition.x, native.ptMinPosition.y},
                            {native.ptMaxPosition.x, native.ptMaxPosition.y},
                            {native.rcNormalPosition.left, native.rcNormalPosition.top,
                             native.rcNormalPosition.right, native.rcNormalPosition.bottom}};
}

} // namespace

TWindowHandle TWin32WindowControl::FindTopLevelWindow(const std::u16string& className) const {
    if (className.empty() || HasEmbeddedNul(className))
        return 0;
    return reinterpret_cast<TWindowHandle>(FindWindowW(AsWide(className), nullptr));
}

std::intptr_t TWin32WindowControl::SendMessageAndWait(TWindowHandle window, std::uint32_t message,
                                                      std::uintptr_t wParam, std::intptr_t lParam) {
    return SendMessageW(ToHwnd(window), message, wParam, lParam);
}

bool TWin32WindowControl::GetPlacement(TWindowHandle window, TWindowPlacement& placement) const {
    WINDOWPLACEMENT native = ToNative(placement);
    if (!GetWindowPlacement(ToHwnd(window), &native))
        return false;
    placement = FromNative(native);
    return true;
}

bool TWin32WindowControl::SetPlacement(TWindowHandle window, const TWindowPlacement& placement) {
    const WINDOWPLACEMENT native = ToNative(placement);
    return SetWindowPlacement(ToHwnd(window), &native) != FALSE;
}

TWindowHandle TWin32WindowControl::ForegroundWindow() const {
    return reinterpret_cast<TWindowHandle>(GetForegroundWindow());
}

TThreadId TWin32WindowControl::WindowThreadId(TWindowHandle window) const {
    return GetWindowThreadProcessId(ToHwnd(window), nullptr);
}

bool TWin32WindowControl::AttachThreadInput(TThreadId from, TThreadId to, bool attach) {
    return ::AttachThreadInput(from, to, attach ? TRUE : FALSE) != FALSE;
}

bool TWin32WindowControl::SetForegroundWindow(TWindowHandle window) {
    return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

} // namespace platform::win32
