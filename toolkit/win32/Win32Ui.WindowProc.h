#pragma once
// The one window procedure behind every window class this backend registers. A window finds the
// object that handles it through GWLP_USERDATA, set from the creation parameter on WM_NCCREATE.
#include "toolkit/win32/Win32Ui.Windows.h"

#include <exception>

namespace toolkit::win32 {

class IWindowHandler {
public:
    virtual ~IWindowHandler() = default;
    virtual LRESULT HandleMessage(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) = 0;
    // An exception escaped HandleMessage: it must not unwind through the system's frames, so the
    // handler passes it on to the application.
    virtual void HandleException(std::exception_ptr Error) noexcept = 0;
    // The window exists (WM_NCCREATE), before CreateWindowExW returns its handle.
    virtual void WindowCreated(HWND) {}
    // The window is going away (WM_NCDESTROY), possibly destroyed by its parent.
    virtual void WindowDestroyed() {}
};

LRESULT CALLBACK ToolkitWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);

// The handler of a window created through ToolkitWindowProc or tagged with TagWindow, else null.
IWindowHandler* HandlerOf(HWND Window);
// Tags a window of a system class (button, edit ...) with its handler, so that its parent can
// hand the notifications it receives to it.
void TagWindow(HWND Window, IWindowHandler* Handler);
// Whether Window runs ToolkitWindowProc (its class is one of ours).
bool IsToolkitWindow(HWND Window);

} // namespace toolkit::win32
