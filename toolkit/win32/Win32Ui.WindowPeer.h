#pragma once
// The base of every peer that owns a window: creation, the facets every control shares (bounds,
// visibility, enabled state, text, font, z-order, repainting) and the routing of the notifications
// a parent window receives to the child that sent them.
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/win32/Win32Ui.Handles.h"
#include "toolkit/win32/Win32Ui.WindowProc.h"

namespace toolkit::win32 {

class TWin32Backend;

class TWindowPeer : public IPeer, public IWindowHandler {
public:
    ~TWindowPeer() override;
    TWindowPeer(const TWindowPeer&) = delete;
    TWindowPeer& operator=(const TWindowPeer&) = delete;

    platform::TWindowHandle Handle() const override {
        return reinterpret_cast<platform::TWindowHandle>(Window());
    }
    HWND Window() const { return FWindow.Get(); }
    TControl& Control() const { return FControl; }
    TWin32Backend& Backend() const { return FBackend; }

    void Sync(TChange What) override;

    LRESULT HandleMessage(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) override;
    void HandleException(std::exception_ptr Error) noexcept override;
    // The messages sent while the window is created already need its handle.
    void WindowCreated(HWND Window) override { AdoptWindow(Window); }
    void WindowDestroyed() override { FWindow.Release(); }

    // A notification this control sent to its parent (WM_COMMAND, WM_NOTIFY, WM_HSCROLL,
    // WM_VSCROLL, WM_CTLCOLOR*); true when handled, with Result.
    virtual bool HandleNotification(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result);

    // The peer of a window this backend created, or null.
    static TWindowPeer* FromWindow(HWND Window);
    // The same for any window: null unless it runs the backend's window procedure or is a system
    // control this backend put directly on one of its windows.
    static TWindowPeer* FromOwnWindow(HWND Window);

protected:
    TWindowPeer(TWin32Backend& Backend, TControl& Control);

    // A child window of the parent control's window. ClassName null: the backend's own painted
    // class, whose messages come to HandleMessage; otherwise a system class, tagged so that the
    // parent routes its notifications here.
    void CreateChild(const wchar_t* ClassName, DWORD Style, DWORD ExStyle = 0);
    void AdoptWindow(HWND Window) {
        if (FWindow.Get() != Window)
            FWindow.Reset(Window);
    }

    // Messages this peer does not handle: the default of the window's class.
    LRESULT Default(UINT Message, WPARAM WParam, LPARAM LParam);
    // Opens the pop-up menu of this control or of the child Target at a screen point; false when
    // there is none.
    bool ShowContextMenu(HWND Target, LPARAM ScreenPoint);
    // Paints the background in the control's colour.
    void EraseWithColor(HDC Dc);
    HFONT ControlFont();
    int Ppi() const;

    // True while the peer itself changes the window, so that the messages this causes are not
    // taken for the user's doing.
    bool FSyncing = false;

private:
    void ApplyFont();

    TWin32Backend& FBackend;
    TControl& FControl;
    TOwnedWindow FWindow;
};

// Sets a flag for a scope.
class TSyncScope {
public:
    explicit TSyncScope(bool& Flag) : FFlag(Flag), FOld(Flag) { Flag = true; }
    ~TSyncScope() { FFlag = FOld; }
    TSyncScope(const TSyncScope&) = delete;
    TSyncScope& operator=(const TSyncScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

} // namespace toolkit::win32
