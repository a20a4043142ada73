#pragma once
// A tray icon: Shell_NotifyIconW on a hidden window of its own that receives the icon's mouse
// messages. The icon comes back when the taskbar is recreated (Explorer restarted), and a first
// add the shell refused (the taskbar not up yet at logon) is retried a few times.
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/Toolkit.TrayIcon.h"
#include "toolkit/win32/Win32Ui.Handles.h"
#include "toolkit/win32/Win32Ui.WindowProc.h"

#include <shellapi.h>

namespace toolkit::win32 {

class TWin32Backend;

class TTrayIconPeer final : public IPeer, public IWindowHandler {
public:
    TTrayIconPeer(TWin32Backend& Backend, TTrayIcon& TrayIcon);
    ~TTrayIconPeer() override;

    // The hidden window the icon belongs to.
    platform::TWindowHandle Handle() const override {
        return reinterpret_cast<platform::TWindowHandle>(FWindow.Get());
    }
    void Sync(TChange What) override;

    LRESULT HandleMessage(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) override;
    void HandleException(std::exception_ptr Error) noexcept override;
    void WindowDestroyed() override { FWindow.Release(); }

    // Whether the shell shows the icon now.
    bool Added() const { return FAdded; }
    // The identifier of the icon on its window, as Shell_NotifyIconW knows it.
    static constexpr UINT IconId = 1;

private:
    NOTIFYICONDATAW IconData(UINT Flags) const;
    void Show();
    void Hide();
    void Modify(UINT Flags);
    void LoadTrayIcon();

    TWin32Backend& FBackend;
    TTrayIcon& FTrayIcon;
    TOwnedWindow FWindow;
    UINT FTaskbarCreated = 0;
    TIconHandle FOwnedIcon;
    HICON FIcon = nullptr;
    bool FAdded = false;
    int FRetriesLeft = 0;
};

} // namespace toolkit::win32
