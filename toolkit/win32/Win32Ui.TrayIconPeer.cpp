#include "toolkit/win32/Win32Ui.TrayIconPeer.h"

#include "platform/win32/Win32.Errors.h"
#include "platform/win32/Win32.Text.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/win32/Win32Ui.Backend.h"
#include "toolkit/win32/Win32Ui.WindowPeer.h"

namespace toolkit::win32 {

namespace {

using platform::win32::ThrowLastError;

// The message the shell sends the icon's window for mouse actions on the icon.
constexpr UINT IconMessage = WM_APP + 1;
constexpr UINT_PTR RetryTimer = 1;
constexpr UINT RetryIntervalMs = 2000;
constexpr int AddAttempts = 5;

} // namespace

TTrayIconPeer::TTrayIconPeer(TWin32Backend& Backend, TTrayIcon& TrayIcon)
    : FBackend(Backend), FTrayIcon(TrayIcon), FTaskbarCreated(::RegisterWindowMessageW(L"TaskbarCreated")) {
    if (!Backend.Classes().Ensure(UtilityClassName))
        ThrowLastError(u"RegisterClassExW for a tray icon");
    // A top-level window, never shown: only those receive the broadcast "TaskbarCreated".
    FWindow.Reset(::CreateWindowExW(WS_EX_TOOLWINDOW, UtilityClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr),
                                    static_cast<IWindowHandler*>(this)));
    if (!FWindow)
        ThrowLastError(u"CreateWindowExW for a tray icon");
    LoadTrayIcon();
    if (TrayIcon.Visible())
        Show();
}

TTrayIconPeer::~TTrayIconPeer() {
    Hide();
    if (FWindow) {
        TagWindow(FWindow.Get(), nullptr);
        FWindow.Reset();
    }
}

NOTIFYICONDATAW TTrayIconPeer::IconData(UINT Flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = FWindow.Get();
    data.uID = IconId;
    data.uFlags = Flags;
    data.uCallbackMessage = IconMessage;
    data.hIcon = FIcon;
    // The tip holds 127 characters and a terminator.
    platform::win32::CopyToWide(FTrayIcon.Hint(), data.szTip);
    return data;
}

void TTrayIconPeer::LoadTrayIcon() {
    FOwnedIcon.Reset();
    FIcon = nullptr;
    const TIcon& icon = FTrayIcon.Icon();
    const int id = icon.Kind == TIcon::TKind::Resource ? icon.ResourceId : 1;
    if (icon.Kind != TIcon::TKind::None)
        FOwnedIcon.Reset(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                         IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                         ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    // A program without an icon resource still gets a visible icon: the system's (shared) one.
    FIcon = FOwnedIcon ? FOwnedIcon.Get() : ::LoadIconW(nullptr, IDI_APPLICATION);
}

void TTrayIconPeer::Show() {
    if (FAdded)
        return;
    NOTIFYICONDATAW data = IconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    FAdded = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    if (FAdded) {
        FRetriesLeft = 0;
        ::KillTimer(FWindow.Get(), RetryTimer);
    } else if (FRetriesLeft == 0) {
        FRetriesLeft = AddAttempts - 1;
        ::SetTimer(FWindow.Get(), RetryTimer, RetryIntervalMs, nullptr);
    }
}

void TTrayIconPeer::Hide() {
    FRetriesLeft = 0;
    if (FWindow)
        ::KillTimer(FWindow.Get(), RetryTimer);
    if (!FAdded)
        return;
    NOTIFYICONDATAW data = IconData(0);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    FAdded = false;
}

void TTrayIconPeer::Modify(UINT Flags) {
    if (!FAdded)
        return;
    NOTIFYICONDATAW data = IconData(Flags);
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TTrayIconPeer::Sync(TChange What) {
    switch (What) {
    case TChange::Visible:
        if (FTrayIcon.Visible())
            Show();
        else
            Hide();
        break;
    case TChange::Hint:
        Modify(NIF_TIP);
        break;
    case TChange::State:
        LoadTrayIcon();
        Modify(NIF_ICON);
        break;
    default:
        break; // the pop-up menu is built when it opens
    }
}

LRESULT TTrayIconPeer::HandleMessage(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == IconMessage) {
        switch (static_cast<UINT>(LParam)) {
        case WM_LBUTTONUP:
            FTrayIcon.Click();
            break;
        case WM_LBUTTONDBLCLK:
            FTrayIcon.DblClick();
            break;
        case WM_RBUTTONUP:
            if (TPopupMenu* menu = FTrayIcon.PopupMenu()) {
                POINT cursor{};
                ::GetCursorPos(&cursor);
                menu->SetPopupComponent(&FTrayIcon);
                menu->Popup(cursor.x, cursor.y);
            }
            break;
        default:
            break;
        }
        return 0;
    }
    if (Message == WM_TIMER && WParam == RetryTimer) {
        if (FAdded || FRetriesLeft <= 0 || !FTrayIcon.Visible()) {
            ::KillTimer(Window, RetryTimer);
            return 0;
        }
        --FRetriesLeft;
        if (FRetriesLeft == 0)
            ::KillTimer(Window, RetryTimer);
        NOTIFYICONDATAW data = IconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
        FAdded = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
        if (FAdded) {
            FRetriesLeft = 0;
            ::KillTimer(Window, RetryTimer);
        }
        return 0;
    }
    if (Message == FTaskbarCreated && FTaskbarCreated != 0) {
        // A new taskbar knows no icons: add it again.
        FAdded = false;
        if (FTrayIcon.Visible())
            Show();
        return 0;
    }
    return ::DefWindowProcW(Window, Message, WParam, LParam);
}

void TTrayIconPeer::HandleException(std::exception_ptr Error) noexcept {
    FTrayIcon.Application().HandleException(Error);
}

} // namespace toolkit::win32
