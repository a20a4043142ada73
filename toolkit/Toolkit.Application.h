#pragma once
// TApplication: the main form, the message loop, the main-thread queue, hints, message boxes and
// the screen (forms on it, monitors, work areas, the virtual desktop). One per program, handed to
// every component through its owner; there is no global instance.
#include "platform/Platform.MainThread.h"
#include "toolkit/Toolkit.Component.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Graphics.h"

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace toolkit {

class IBackend;

struct TMonitor {
    int MonitorNum = 0;
    TRect BoundsRect;
    TRect WorkareaRect; // without the taskbar
    int PixelsPerInch = 96;
    bool Primary = false;
    friend bool operator==(const TMonitor&, const TMonitor&) = default;
};

class TScreen {
public:
    explicit TScreen(IBackend& Backend) : FBackend(Backend) {}

    // The forms that exist, in the order they were created.
    const std::vector<TForm*>& Forms() const { return FForms; }
    int FormCount() const { return static_cast<int>(FForms.size()); }

    std::vector<TMonitor> Monitors() const;
    TMonitor PrimaryMonitor() const;
    // The monitor that holds most of Rect, else the nearest one.
    TMonitor MonitorFromRect(const TRect& Rect) const;
    // The rectangle around all monitors.
    TRect DesktopRect() const;
    // Size of the primary monitor.
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const { return PrimaryMonitor().WorkareaRect; }

private:
    friend class TForm;
    void AddForm(TForm* Form);
    void RemoveForm(TForm* Form);

    IBackend& FBackend;
    std::vector<TForm*> FForms;
};

class TApplication : public TComponent {
public:
    // The main thread is the thread that constructs the application.
    TApplication(IBackend& Backend, platform::IMainThread& MainThread);
    ~TApplication() override;

    std::u16string ClassName() const override { return u"TApplication"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckApplication; }

    IBackend& Backend() const { return FBackend; }
    TScreen& Screen() { return FScreen; }
    const TScreen& Screen() const { return FScreen; }

    // Builds a form owned by the application; the first one becomes the main form.
    template <class T, class... TArgs> T* CreateForm(TArgs&&... Args) {
        T* form = NewForm<T>(static_cast<TComponent*>(this), std::forward<TArgs>(Args)...);
        if (FMainForm == nullptr) {
            SetMainForm(form);
        }
        return form;
    }
    TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* Form);

    const std::u16string& Title() const { return FTitle; }
    void SetTitle(const std::u16string& Value);
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool Value) { FShowMainForm = Value; }
    bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool Value) { FMainFormOnTaskBar = Value; }

    // --- hints ---
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor Value) { FHintColor = Value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Ms) { FHintHidePause = Ms; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int Ms) { FHintShortPause = Ms; }
    bool UpdateFormatSettings() const { return FUpdateFormatSettings; }
    void SetUpdateFormatSettings(bool Value) { FUpdateFormatSettings = Value; }
    // The font a form without a parent starts with.
    TFont& DefaultFont() { return FDefaultFont; }

    // --- the loop ---
    // Shows the main form (when ShowMainForm and not minimised), then handles messages, queued
    // calls and timers until Terminate().
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles everything that is pending now, then returns.
    void ProcessMessages();
    void Minimize();
    void Restore();
    bool Minimized() const { return FMinimized; }
    void BringToFront();

    // --- the main-thread queue: runs calls later on this thread, in order ---
    void Queue(std::function<void()> Call, const void* Owner = nullptr);
    void RemoveQueued(const void* Owner);
    platform::IMainThread& MainThread() const { return FMainThread; }

    // A modal message box owned by the active form; returns the button pressed (mrOk ...).
    int MessageBox(const std::u16string& Text, const std::u16string& Caption, std::uint32_t Flags);

    // An exception that escaped an event handler in the loop ends here; without OnException the
    // backend shows its message.
    void HandleException(const std::exception& Error);
    // The same for whatever was caught, as `catch (...)` holds it: std::current_exception(). An
    // exception of no standard kind is reported as "an unknown exception escaped a handler".
    void HandleException(std::exception_ptr Error);
    std::function<void(const std::exception&)> OnException;

private:
    IBackend& FBackend;
    platform::IMainThread& FMainThread;
    TScreen FScreen;
    TComponentRef<TForm> FMainForm;
    std::u16string FTitle;
    bool FShowMainForm = true;
    bool FMainFormOnTaskBar = false;
    bool FShowHint = true;
    TColor FHintColor = clInfoBk;
    int FHintHidePause = 2500;
    int FHintShortPause = 50;
    bool FUpdateFormatSettings = true;
    TFont FDefaultFont;
    bool FTerminated = false;
    bool FMinimized = false;
};

} // namespace toolkit
