#include "toolkit/win32/Win32Ui.WindowProc.h"

namespace toolkit::win32 {

IWindowHandler* HandlerOf(HWND Window) {
    return Window == nullptr ? nullptr
                             : reinterpret_cast<IWindowHandler*>(::GetWindowLongPtrW(Window, GWLP_USERDATA));
}

void TagWindow(HWND Window, IWindowHandler* Handler) {
    ::SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Handler));
}

bool IsToolkitWindow(HWND Window) {
    return Window != nullptr &&
           reinterpret_cast<WNDPROC>(::GetClassLongPtrW(Window, GCLP_WNDPROC)) == &ToolkitWindowProc;
}

LRESULT CALLBACK ToolkitWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(LParam);
        auto* created = static_cast<IWindowHandler*>(create->lpCreateParams);
        TagWindow(Window, created);
        if (created != nullptr)
            created->WindowCreated(Window);
    }
    IWindowHandler* handler = HandlerOf(Window);
    if (handler == nullptr)
        return ::DefWindowProcW(Window, Message, WParam, LParam);
    if (Message == WM_NCDESTROY) {
        TagWindow(Window, nullptr);
        handler->WindowDestroyed();
        return ::DefWindowProcW(Window, Message, WParam, LParam);
    }
    try {
        return handler->HandleMessage(Window, Message, WParam, LParam);
    } catch (...) {
        handler->HandleException(std::current_exception());
        return 0;
    }
}

} // namespace toolkit::win32
