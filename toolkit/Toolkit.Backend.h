#pragma once
// What the component classes ask of a backend. The classes hold every value; a backend mirrors
// them in native windows (win32) or nowhere (headless), runs the loop and the timers, and reports
// what the user did back into the model (clicks, moves, typed keys).
#include "platform/Platform.Types.h"
#include "toolkit/Toolkit.Control.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace toolkit {

class TApplication;
class TForm;
class TPopupMenu;
class TTimer;
struct TMonitor;

// The native counterpart of one component (a control's window, a tray icon, a menu).
class IPeer {
public:
    virtual ~IPeer() = default;
    virtual platform::TWindowHandle Handle() const = 0;
    // The model changed What; bring the native side in line.
    virtual void Sync(TChange What) = 0;
};

// A picture decoded to 32-bit BGRA rows, top row first.
struct TBitmapData {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
};

class IBackend {
public:
    virtual ~IBackend() = default;

    // Peers. A control's peer is created after its parent's; components that are not controls
    // (tray icon, menus) get theirs from CreateComponentPeer.
    virtual std::unique_ptr<IPeer> CreatePeer(TControl& Control) = 0;
    virtual std::unique_ptr<IPeer> CreateComponentPeer(TComponent& Component) = 0;

    // The loop: RunLoop returns once App.Terminated(); RunModal once the form has a modal result
    // or the application is terminated; ProcessMessages handles what is pending and returns.
    virtual void RunLoop(TApplication& App) = 0;
    virtual void RunModal(TApplication& App, TForm& Form) = 0;
    virtual void ProcessMessages(TApplication& App) = 0;
    // Lets a loop that waits for messages notice Terminate() or a modal result.
    virtual void WakeUp() = 0;
    virtual void PostFormMessage(TForm& Form, const TMessage& Msg) = 0;
    // The backend's own handling of an unhandled message (DefWindowProc on Windows).
    virtual void DefaultHandler(TForm& Form, TMessage& Msg) = 0;

    // Timers: StartTimer starts the countdown afresh (also for a running timer).
    virtual void StartTimer(TTimer& Timer, std::uint32_t IntervalMs) = 0;
    virtual void StopTimer(TTimer& Timer) = 0;

    // Screen.
    virtual std::vector<TMonitor> Monitors() const = 0;
    // Width and height the frame, caption and menu bar add to a form's client area.
    virtual TSize NonClientSize(const TForm& Form) const = 0;
    // Whether the form's minimised window would be restored maximised (its window exists).
    virtual bool RestoresMaximized(const TForm& Form) const = 0;
    virtual void MinimizeApplication(TApplication& App) = 0;
    virtual void RestoreApplication(TApplication& App) = 0;
    virtual void BringApplicationToFront(TApplication& App) = 0;

    virtual int MessageBox(TForm* Owner, const std::u16string& Text, const std::u16string& Caption,
                           std::uint32_t Flags) = 0;

    // Clipboard: raises EClipboardException when another program holds it open.
    virtual void SetClipboardText(const std::u16string& Text) = 0;
    virtual std::optional<std::u16string> ClipboardText() = 0;

    virtual void PopupMenu(TPopupMenu& Menu, TPoint ScreenPos) = 0;

    // Text measured in a font, at the font's PixelsPerInch.
    virtual TTextMetrics MeasureText(const TFont& Font, std::u16string_view Text) = 0;
    // A PNG (or any picture the backend decodes) from a file; nothing when it cannot.
    virtual std::optional<TBitmapData> LoadPicture(const std::u16string& FileName) = 0;
    // The program's own icon (the executable's first icon resource) drawn at Size x Size pixels,
    // with its transparency; nothing when the program has none.
    virtual std::optional<TBitmapData> ApplicationIcon(int Size) {
        static_cast<void>(Size);
        return std::nullopt;
    }
    // The window background colour in force (the visual style's, else the system's), as RGB; owner
    // drawing picks light or dark text colours from it.
    virtual TColor WindowColor() const { return clWhite; }
};

} // namespace toolkit
