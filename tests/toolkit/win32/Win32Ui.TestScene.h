#pragma once
// The scene of the Windows backend's tests: the real main-thread queue, the Win32 backend and one
// application, plus waiting while messages are pumped.
// First, so that no toolkit header is read while windows.h's A/W macros are defined.
#include "toolkit/win32/Win32Ui.Windows.h"

#include "platform/win32/Win32.MainThread.h"
#include "tests/platform/win32/Win32.TestSupport.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/win32/Win32Ui.Backend.h"

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace toolkit::win32::testing {

using platform::win32::test::WaitUntil;

struct TScene {
    platform::win32::TWin32MainThread MainThread;
    TWin32Backend Backend;
    TApplication App{Backend, MainThread};
    // What reached the application's exception handler, instead of a message box.
    std::vector<std::string> Errors;

    TScene() {
        App.OnException = [this](const std::exception& Error) { Errors.emplace_back(Error.what()); };
    }
};

inline HWND WindowOf(TControl& Control) {
    return reinterpret_cast<HWND>(Control.Handle());
}

// A child window's rectangle in its parent's client coordinates.
inline TRect ChildRect(HWND Child) {
    RECT rect{};
    ::GetWindowRect(Child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(Child), reinterpret_cast<POINT*>(&rect), 2);
    return TRect{rect.left, rect.top, rect.right, rect.bottom};
}

inline std::wstring ClassNameOf(HWND Window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(Window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

} // namespace toolkit::win32::testing
