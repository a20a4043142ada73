#pragma once
// The Windows backend of the toolkit: native windows for the controls, the message loop, timers on
// a hidden window, monitors, the clipboard, message boxes, menus, text metrics and pictures.
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/win32/Win32Ui.Fonts.h"
#include "toolkit/win32/Win32Ui.Handles.h"
#include "toolkit/win32/Win32Ui.Hints.h"
#include "toolkit/win32/Win32Ui.Monitors.h"
#include "toolkit/win32/Win32Ui.WindowClasses.h"
#include "toolkit/win32/Win32Ui.WindowProc.h"

#include <map>

namespace toolkit {
class TMenuItem;
}

namespace toolkit::win32 {

class TWin32Backend final : public IBackend {
public:
    // On the user-interface thread. Loads the common controls; throws std::system_error when the
    // hidden utility window cannot be created.
    TWin32Backend();
    ~TWin32Backend() override;
    TWin32Backend(const TWin32Backend&) = delete;
    TWin32Backend& operator=(const TWin32Backend&) = delete;

    std::unique_ptr<IPeer> CreatePeer(TControl& Control) override;
    std::unique_ptr<IPeer> CreateComponentPeer(TComponent& Component) override;

    void RunLoop(TApplication& App) override;
    void RunModal(TApplication& App, TForm& Form) override;
    void ProcessMessages(TApplication& App) override;
    void WakeUp() override;
    void PostFormMessage(TForm& Form, const TMessage& Msg) override;
    void DefaultHandler(TForm& Form, TMessage& Msg) override;

    void StartTimer(TTimer& Timer, std::uint32_t IntervalMs) override;
    void StopTimer(TTimer& Timer) override;

    std::vector<TMonitor> Monitors() const override;
    TSize NonClientSize(const TForm& Form) const override;
    // GetWindowPlacement's WPF_RESTORETOMAXIMIZED; false when the call fails.
    bool RestoresMaximized(const TForm& Form) const override;
    void MinimizeApplication(TApplication& App) override;
    void RestoreApplication(TApplication& App) override;
    void BringApplicationToFront(TApplication& App) override;

    int MessageBox(TForm* Owner, const std::u16string& Text, const std::u16string& Caption,
                   std::uint32_t Flags) override;

    void SetClipboardText(const std::u16string& Text) override;
    std::optional<std::u16string> ClipboardText() override;

    void PopupMenu(TPopupMenu& Menu, TPoint ScreenPos) override;

    TTextMetrics MeasureText(const TFont& Font, std::u16string_view Text) override;
    std::optional<TBitmapData> LoadPicture(const std::u16string& FileName) override;
    // Icon resource 1 of the executable, which every window class of the backend shows too.
    std::optional<TBitmapData> ApplicationIcon(int Size) override;
    // The system's window colour (COLOR_WINDOW); the toolkit draws no custom visual styles.
    TColor WindowColor() const override;

    // --- for the peers ---
    TWindowClasses& Classes() { return FClasses; }
    TFontCache& Fonts() { return FFonts; }
    THintTips& Hints() { return FHints; }
    // A solid brush kept while the backend lives.
    HBRUSH Brush(COLORREF Color);
    // The menu bar of a form's main menu; empty without one.
    TMenuHandle BuildMenuBar(TForm& Form);
    // A command chosen from a menu built by this backend: the item's click.
    void MenuCommand(HMENU Menu, UINT Id);
    // The hidden window that owns the timers, the clipboard and pop-up menus.
    HWND UtilityWindow() const { return FUtility.Window(); }

private:
    // Handles the timers and the wake-up message.
    class TUtilityWindow final : public IWindowHandler {
    public:
        explicit TUtilityWindow(TWin32Backend& Owner) : FOwner(Owner) {}
        void Create();
        HWND Window() const { return FWindow.Get(); }
        LRESULT HandleMessage(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) override;
        void HandleException(std::exception_ptr Error) noexcept override;
        void WindowDestroyed() override { FWindow.Release(); }

    private:
        TWin32Backend& FOwner;
        TOwnedWindow FWindow;
    };

    // Pumps one message; false when WM_QUIT arrived (it is posted again for the outer loops).
    bool PumpOne(TApplication& App, bool Wait);
    // A typed character goes through its form's KeyPress first; false when the form ate it.
    bool PreviewChar(MSG& Msg);
    void TimerFired(UINT_PTR Id);

    TWindowClasses FClasses;
    TFontCache FFonts;
    THintTips FHints;
    TDpiSource FDpi;
    std::map<COLORREF, TBrushHandle> FBrushes;
    std::map<UINT_PTR, TTimer*> FTimers;
    std::map<const TTimer*, UINT_PTR> FTimerIds;
    UINT_PTR FNextTimerId = 1;
    TUtilityWindow FUtility{*this};
};

} // namespace toolkit::win32
