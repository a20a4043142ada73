#include "toolkit/win32/Win32Ui.FormPeer.h"

#include "platform/win32/Win32.Errors.h"
#include "platform/win32/Win32.Text.h"
#include "toolkit/win32/Win32Ui.Backend.h"
#include "toolkit/win32/Win32Ui.WindowClasses.h"

#include <unordered_map>

namespace toolkit::win32 {

using platform::win32::ThrowLastError;

namespace {

// The message and command numbers the OS-free headers copied; a wrong one fails the build.
static_assert(msgEndSession == WM_ENDSESSION);
static_assert(msgSysCommand == WM_SYSCOMMAND);
static_assert(msgHotKey == WM_HOTKEY);
static_assert(msgUser == WM_USER);
static_assert(msgApp == WM_APP);
static_assert(scMinimize == SC_MINIMIZE);
static_assert(scMaximize == SC_MAXIMIZE);
static_assert(scClose == SC_CLOSE);
static_assert(scRestore == SC_RESTORE);

// A placement's rectangles are in workspace coordinates (the origin at the top left of the work
// area, so a taskbar on the left or at the top shifts them), except for tool windows; this is the
// shift from workspace to screen coordinates for a rectangle of this window.
POINT WorkspaceShift(HWND Window, const RECT& Rect) {
    if ((::GetWindowLongPtrW(Window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0)
        return POINT{0, 0};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromRect(&Rect, MONITOR_DEFAULTTONEAREST), &monitor))
        return POINT{0, 0};
    return POINT{monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
}

} // namespace

TFormWindowStyle FormWindowStyle(const TForm& Form) {
    TFormWindowStyle result;
    bool canMinMax = false;
    switch (Form.BorderStyle()) {
    case TFormBorderStyle::bsNone:
        result.Style = WS_POPUP;
        break;
    case TFormBorderStyle::bsSingle:
        result.Style = WS_OVERLAPPED | WS_CAPTION;
        canMinMax = true;
        break;
    case TFormBorderStyle::bsSizeable:
        result.Style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        canMinMax = true;
        break;
    case TFormBorderStyle::bsDialog:
        result.Style = WS_POPUP | WS_CAPTION;
        result.ExStyle = WS_EX_DLGMODALFRAME;
        break;
    case TFormBorderStyle::bsToolWindow:
        result.Style = WS_POPUP | WS_CAPTION;
        result.ExStyle = WS_EX_TOOLWINDOW;
        break;
    case TFormBorderStyle::bsSizeToolWin:
        result.Style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
        result.ExStyle = WS_EX_TOOLWINDOW;
        break;
    }
    const TBorderIcons icons = Form.BorderIcons();
    if (Form.BorderStyle() != TFormBorderStyle::bsNone && (icons & biSystemMenu) != 0) {
        result.Style |= WS_SYSMENU;
        if (canMinMax && (icons & biMinimize) != 0)
            result.Style |= WS_MINIMIZEBOX;
        if (canMinMax && (icons & biMaximize) != 0)
            result.Style |= WS_MAXIMIZEBOX;
        // Windows shows the help button only on a caption without minimise and maximise buttons.
        if ((icons & biHelp) != 0 && (result.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0)
            result.ExStyle |= WS_EX_CONTEXTHELP;
    }
    result.Style |= WS_CLIPCHILDREN;
    if (Form.FormStyle() == TFormStyle::fsStayOnTop)
        result.ExStyle |= WS_EX_TOPMOST;
    if (Form.AlphaBlend())
        result.ExStyle |= WS_EX_LAYERED;
    return result;
}

namespace {

// The forms' peers by form, so that a message the form passes on finds its peer even before the
// window is created (WM_NCCREATE, WM_GETMINMAXINFO arrive inside CreateWindowExW). Main thread only.
std::unordered_map<const TForm*, TFormPeer*>& FormPeers() {
    static std::unordered_map<const TForm*, TFormPeer*> peers;
    return peers;
}

} // namespace

TFormPeer::TFormPeer(TWin32Backend& Backend, TForm& Form) : TWindowPeer(Backend, Form) {
    FormPeers()[&Form] = this;
    try {
        Create();
    } catch (...) {
        FormPeers().erase(&Form);
        throw;
    }
}

TFormPeer::~TFormPeer() {
    FormPeers().erase(&Form());
}

TFormPeer* TFormPeer::Of(const TForm& Form) {
    const auto found = FormPeers().find(&Form);
    return found != FormPeers().end() ? found->second : nullptr;
}

void TFormPeer::Create() {
    TCreateParams params;
    params.Caption = Form().Caption();
    params.Bounds = Form().BoundsRect();
    Form().CreateParams(params);
    const std::wstring className =
        params.WinClassName.empty()
            ? std::wstring(FormClassName)
            : platform::win32::ToWideString(std::u16string_view(params.WinClassName).substr(0, 255));
    if (!Backend().Classes().Ensure(className))
        ThrowLastError(u"RegisterClassExW for a form");
    const TFormWindowStyle style = FormWindowStyle(Form());
    HWND owner = nullptr;
    if (TForm* popupParent = Form().PopupParent())
        owner = reinterpret_cast<HWND>(popupParent->Handle());
    FMenu = Backend().BuildMenuBar(Form());
    TSyncScope syncing(FSyncing);
    HWND window = ::CreateWindowExW(style.ExStyle, className.c_str(), platform::win32::AsWide(params.Caption),
                                    style.Style, params.Bounds.Left, params.Bounds.Top, params.Bounds.Width(),
                                    params.Bounds.Height(), owner, FMenu.Get(), ::GetModuleHandleW(nullptr),
                                    static_cast<IWindowHandler*>(this));
    if (window == nullptr)
        ThrowLastError(u"CreateWindowExW for a form");
    AdoptWindow(window);
    ApplyAlpha();
    if (Form().Visible())
        ApplyVisibility();
}

void TFormPeer::Sync(TChange What) {
    HWND window = Window();
    if (window == nullptr)
        return;
    TSyncScope syncing(FSyncing);
    switch (What) {
    case TChange::Bounds:
        if (::IsIconic(window) || ::IsZoomed(window)) {
            // The restored position changes; the minimised or maximised window stays as it is.
            WINDOWPLACEMENT placement{};
            placement.length = sizeof placement;
            ::GetWindowPlacement(window, &placement);
            RECT normal{Form().Left(), Form().Top(), Form().Left() + Form().Width(),
                        Form().Top() + Form().Height()};
            const POINT shift = WorkspaceShift(window, normal);
            ::OffsetRect(&normal, -shift.x, -shift.y);
            placement.rcNormalPosition = normal;
            ::SetWindowPlacement(window, &placement);
        } else {
            ::SetWindowPos(window, nullptr, Form().Left(), Form().Top(), Form().Width(), Form().Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    case TChange::Visible:
        ApplyVisibility();
        break;
    case TChange::State:
        ApplyWindowState();
        break;
    case TChange::Style:
        ApplyStyle();
        break;
    case TChange::Items:
        ApplyMenu();
        break;
    case TChange::ZOrder:
        if (Form().ShowingWithoutFocus()) {
            ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        }
        ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::SetForegroundWindow(window);
        break;
    default:
        TWindowPeer::Sync(What);
        break;
    }
}

void TFormPeer::ApplyVisibility() {
    HWND window = Window();
    if (!Form().Visible()) {
        ::ShowWindow(window, SW_HIDE);
        return;
    }
    const bool quiet = Form().ShowingWithoutFocus();
    switch (Form().WindowState()) {
    case TWindowState::wsMinimized:
        ::ShowWindow(window, SW_SHOWMINNOACTIVE);
        break;
    case TWindowState::wsMaximized:
        ::ShowWindow(window, SW_SHOWMAXIMIZED);
        break;
    case TWindowState::wsNormal:
        if (::IsIconic(window) || ::IsZoomed(window)) {
            // A window minimised from maximised comes back maximised from the first restore; the
            // model asked for normal, so a second one takes it there.
            for (int attempt = 0; attempt < 2 && (::IsIconic(window) || ::IsZoomed(window)); ++attempt)
                ::ShowWindow(window, quiet ? SW_SHOWNOACTIVATE : SW_RESTORE);
            break;
        }
        if (quiet) {
            ::ShowWindow(window, ::IsWindowVisible(window) ? SW_SHOWNA : SW_SHOWNOACTIVATE);
            break;
        }
        ::ShowWindow(window, ::IsWindowVisible(window) && !::IsIconic(window) && !::IsZoomed(window)
                                 ? SW_SHOW
                                 : SW_SHOWNORMAL);
        break;
    }
}

void TFormPeer::ApplyWindowState() {
    // A hidden form keeps its state for when it is shown; a window already in the state (the user
    // put it there) is left alone.
    HWND window = Window();
    TWindowState current = TWindowState::wsNormal;
    if (::IsIconic(window))
        current = TWindowState::wsMinimized;
    else if (::IsZoomed(window))
        current = TWindowState::wsMaximized;
    if (Form().Visible() && (current != Form().WindowState() || !::IsWindowVisible(window)))
        ApplyVisibility();
}

void TFormPeer::ApplyStyle() {
    HWND window = Window();
    const TFormWindowStyle style = FormWindowStyle(Form());
    const DWORD keep = WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE | WS_DISABLED;
    const auto oldStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    ::SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>((oldStyle & keep) | style.Style));
    ::SetWindowLongPtrW(window, GWL_EXSTYLE,
                        static_cast<LONG_PTR>(style.ExStyle & ~static_cast<DWORD>(WS_EX_TOPMOST)));
    HWND owner = nullptr;
    if (TForm* popupParent = Form().PopupParent())
        owner = reinterpret_cast<HWND>(popupParent->Handle());
    ::SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    const bool topmost = Form().FormStyle() == TFormStyle::fsStayOnTop;
    ::SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ApplyAlpha();
}

void TFormPeer::ApplyAlpha() {
    if (Form().AlphaBlend())
        ::SetLayeredWindowAttributes(Window(), 0, Form().AlphaBlendValue(), LWA_ALPHA);
}

void TFormPeer::ApplyMenu() {
    TMenuHandle menu = Backend().BuildMenuBar(Form());
    ::SetMenu(Window(), menu.Get());
    // The old bar is destroyed only once the window no longer shows it.
    FMenu = std::move(menu);
    ::DrawMenuBar(Window());
}

LRESULT TFormPeer::HandleMessage(HWND, UINT Message, WPARAM WParam, LPARAM LParam) {
    TMessage message{Message, WParam, LParam, 0};
    Form().Dispatch(message);
    return message.Result;
}

void TFormPeer::DefaultMessage(TMessage& Msg) {
    const auto wParam = static_cast<WPARAM>(Msg.WParam);
    const auto lParam = static_cast<LPARAM>(Msg.LParam);
    Msg.Result = 0;
    switch (Msg.Msg) {
    case WM_CLOSE:
        Form().Close();
        return;
    case WM_MOVE:
        if (!FSyncing)
            ReportBounds();
        return;
    case WM_SIZE:
        if (!FSyncing) {
            ReportWindowState(wParam);
            ReportBounds();
        }
        // Also when the program maximised the window: the size is the window's, not the model's.
        ReportShownSize(wParam, lParam);
        return;
    case WM_GETMINMAXINFO:
        FillMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return;
    case WM_COMMAND:
        // A menu bar command: no sender window, notification code 0.
        if (lParam == 0 && HIWORD(wParam) == 0) {
            Backend().MenuCommand(::GetMenu(Window()), LOWORD(wParam));
            return;
        }
        break;
    default:
        break;
    }
    Msg.Result = TWindowPeer::HandleMessage(Window(), Msg.Msg, wParam, lParam);
}

// The form keeps the bounds its window is restored to: a minimised window's own rectangle is the
// icon's and a maximised one's the screen's, and neither is a position worth saving. That holds
// however the window got there, by the program or by the user's caption buttons.
void TFormPeer::ReportBounds() {
    HWND window = Window();
    if (::IsIconic(window) || ::IsZoomed(window)) {
        ReportNormalBounds();
        return;
    }
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    Form().BoundsChangedByUser(TRect{bounds.left, bounds.top, bounds.right, bounds.bottom});
}

void TFormPeer::ReportNormalBounds() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(Window(), &placement))
        return;
    RECT normal = placement.rcNormalPosition;
    const POINT shift = WorkspaceShift(Window(), normal);
    ::OffsetRect(&normal, shift.x, shift.y);
    Form().BoundsChangedByUser(TRect{normal.left, normal.top, normal.right, normal.bottom});
}

// A maximised window's client area is the monitor's, not its normal bounds less the frame; the
// controls are laid out in it. A minimised one has none worth laying out, so its controls keep the
// layout it is restored to.
void TFormPeer::ReportShownSize(WPARAM SizeKind, LPARAM ClientSize) {
    if (SizeKind == SIZE_MAXIMIZED)
        Form().ShownClientSizeChanged(TSize{LOWORD(ClientSize), HIWORD(ClientSize)});
    else if (SizeKind == SIZE_RESTORED)
        Form().ShownClientSizeChanged(std::nullopt);
}

void TFormPeer::ReportWindowState(WPARAM SizeKind) {
    TWindowState state = TWindowState::wsNormal;
    if (SizeKind == SIZE_MINIMIZED)
        state = TWindowState::wsMinimized;
    else if (SizeKind == SIZE_MAXIMIZED)
        state = TWindowState::wsMaximized;
    else if (SizeKind != SIZE_RESTORED)
        return;
    if (Form().WindowState() != state) {
        // The window is there already; the model follows without showing it again.
        TSyncScope syncing(FSyncing);
        Form().SetWindowState(state);
    }
}

void TFormPeer::FillMinMaxInfo(MINMAXINFO& Info) const {
    const TSize minSize = Form().MinSize();
    const TSize maxSize = Form().MaxSize();
    if (minSize.Width > 0)
        Info.ptMinTrackSize.x = minSize.Width;
    if (minSize.Height > 0)
        Info.ptMinTrackSize.y = minSize.Height;
    if (maxSize.Width > 0)
        Info.ptMaxTrackSize.x = Info.ptMaxSize.x = maxSize.Width;
    if (maxSize.Height > 0)
        Info.ptMaxTrackSize.y = Info.ptMaxSize.y = maxSize.Height;
}

} // namespace toolkit::win32
