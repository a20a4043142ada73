#include "toolkit/win32/Win32Ui.WindowPeer.h"

#include "platform/win32/Win32.Errors.h"
#include "platform/win32/Win32.Text.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/win32/Win32Ui.Backend.h"
#include "toolkit/win32/Win32Ui.Colors.h"
#include "toolkit/win32/Win32Ui.WindowClasses.h"

#include <windowsx.h>

#include <stdexcept>

namespace toolkit::win32 {

using platform::win32::AsWide;
using platform::win32::ThrowLastError;

TWindowPeer::TWindowPeer(TWin32Backend& Backend, TControl& Control) : FBackend(Backend), FControl(Control) {}

TWindowPeer::~TWindowPeer() {
    if (FWindow) {
        FBackend.Hints().Remove(FWindow.Get());
        // The window may outlive this object by a few messages while it is taken down; it must not
        // reach it through its tag.
        TagWindow(FWindow.Get(), nullptr);
        FWindow.Reset();
    }
}

TWindowPeer* TWindowPeer::FromWindow(HWND Window) {
    return dynamic_cast<TWindowPeer*>(HandlerOf(Window));
}

TWindowPeer* TWindowPeer::FromOwnWindow(HWND Window) {
    if (Window == nullptr)
        return nullptr;
    if (IsToolkitWindow(Window) || IsToolkitWindow(::GetParent(Window)))
        return FromWindow(Window);
    return nullptr;
}

void TWindowPeer::CreateChild(const wchar_t* ClassName, DWORD Style, DWORD ExStyle) {
    TControl* parent = FControl.Parent();
    if (parent == nullptr || parent->Peer() == nullptr)
        throw std::logic_error("a control's window needs its parent's window first");
    HWND parentWindow = reinterpret_cast<HWND>(parent->Peer()->Handle());
    Style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (FControl.Visible())
        Style |= WS_VISIBLE;
    if (!FControl.Enabled())
        Style |= WS_DISABLED;
    const bool ownClass = ClassName == nullptr;
    if (ownClass && !FBackend.Classes().Ensure(ControlClassName))
        ThrowLastError(u"RegisterClassExW for the toolkit's controls");
    const std::u16string text = FControl.Caption();
    TSyncScope syncing(FSyncing);
    HWND window = ::CreateWindowExW(ExStyle, ownClass ? ControlClassName : ClassName, AsWide(text), Style,
                                    FControl.Left(), FControl.Top(), FControl.Width(), FControl.Height(),
                                    parentWindow, nullptr, ::GetModuleHandleW(nullptr),
                                    ownClass ? static_cast<IWindowHandler*>(this) : nullptr);
    if (window == nullptr)
        ThrowLastError(u"CreateWindowExW for a control");
    AdoptWindow(window);
    if (!ownClass)
        TagWindow(window, this);
    ApplyFont();
    FBackend.Hints().Update(window, FControl);
}

void TWindowPeer::Sync(TChange What) {
    HWND window = Window();
    if (window == nullptr)
        return;
    TSyncScope syncing(FSyncing);
    switch (What) {
    case TChange::Bounds:
        ::SetWindowPos(window, nullptr, FControl.Left(), FControl.Top(), FControl.Width(), FControl.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    case TChange::Visible:
        ::ShowWindow(window, FControl.Visible() ? SW_SHOWNA : SW_HIDE);
        break;
    case TChange::Enabled:
        ::EnableWindow(window, FControl.Enabled() ? TRUE : FALSE);
        break;
    case TChange::Text:
        ::SetWindowTextW(window, AsWide(FControl.Caption()));
        break;
    case TChange::Font:
        ApplyFont();
        break;
    case TChange::ZOrder:
        ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
    case TChange::Color:
    case TChange::Paint:
        ::InvalidateRect(window, nullptr, TRUE);
        break;
    case TChange::Hint:
        FBackend.Hints().Update(window, FControl);
        // Children take their parents' hint switch into account.
        for (TControl* child : FControl.Controls()) {
            if (child->Peer() != nullptr)
                child->Peer()->Sync(TChange::Hint);
        }
        break;
    case TChange::State:
    case TChange::Items:
    case TChange::Style:
        break;
    }
}

bool TWindowPeer::HandleNotification(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT TWindowPeer::HandleMessage(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    HWND sender = nullptr;
    switch (Message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSCROLLBAR:
        sender = reinterpret_cast<HWND>(LParam);
        break;
    case WM_NOTIFY:
        sender = reinterpret_cast<const NMHDR*>(LParam)->hwndFrom;
        break;
    case WM_ERASEBKGND:
        EraseWithColor(reinterpret_cast<HDC>(WParam));
        return 1;
    case WM_CONTEXTMENU:
        if (ShowContextMenu(reinterpret_cast<HWND>(WParam), LParam))
            return 0;
        break;
    default:
        break;
    }
    // Only the direct children this backend created are tagged with a peer.
    if (sender != nullptr && ::GetParent(sender) == Window) {
        if (TWindowPeer* child = FromWindow(sender)) {
            LRESULT result = 0;
            if (child->HandleNotification(Message, WParam, LParam, result))
                return result;
        }
    }
    return Default(Message, WParam, LParam);
}

bool TWindowPeer::ShowContextMenu(HWND Target, LPARAM ScreenPoint) {
    // System controls pass the request up to their parent, which opens the menu of the control
    // that was clicked.
    TWindowPeer* target = Target == Window() ? this : FromOwnWindow(Target);
    if (target == nullptr || (target != this && ::GetParent(Target) != Window()))
        return false;
    TPopupMenu* menu = target->Control().PopupMenu();
    if (menu == nullptr || !menu->AutoPopup())
        return false;
    POINT point{GET_X_LPARAM(ScreenPoint), GET_Y_LPARAM(ScreenPoint)};
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: the control's top left corner.
        point = POINT{0, 0};
        ::ClientToScreen(Target, &point);
    }
    menu->SetPopupComponent(&target->Control());
    menu->Popup(point.x, point.y);
    return true;
}

LRESULT TWindowPeer::Default(UINT Message, WPARAM WParam, LPARAM LParam) {
    return ::DefWindowProcW(Window(), Message, WParam, LParam);
}

void TWindowPeer::HandleException(std::exception_ptr Error) noexcept {
    FControl.Application().HandleException(Error);
}

void TWindowPeer::EraseWithColor(HDC Dc) {
    RECT client{};
    ::GetClientRect(Window(), &client);
    ::FillRect(Dc, &client, FBackend.Brush(ToColorRef(FControl.Color(), clBtnFace)));
}

HFONT TWindowPeer::ControlFont() {
    return FBackend.Fonts().Get(FControl.Font(), Ppi());
}

int TWindowPeer::Ppi() const {
    return FControl.CurrentPPI();
}

void TWindowPeer::ApplyFont() {
    ::SendMessageW(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), TRUE);
}

} // namespace toolkit::win32
