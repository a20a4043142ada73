#pragma once
// A backend without windows for native tests. It runs on a simulated platform: the sim desktop's
// monotonic counter is its clock and the sim main thread is its queue. Peers only record what the
// model told them; the loop, the timers, the clipboard and the message boxes are driven by the
// test, deterministically.
#include "platform/sim/Sim.Platform.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace toolkit::headless {

class THeadlessBackend;

// Stands in for a native window or object: a unique fake handle and a count of the model's
// Sync calls per facet.
class THeadlessPeer final : public IPeer {
public:
    THeadlessPeer(THeadlessBackend& Backend, TComponent& Component, platform::TWindowHandle Handle);
    ~THeadlessPeer() override;

    platform::TWindowHandle Handle() const override { return FHandle; }
    // Counts the call; a form's peer also follows its window state, as Windows does, to know
    // whether a minimised form would come back maximised, and reports the client size a maximised
    // form is shown at.
    void Sync(TChange What) override;

    TComponent& Component() const { return FComponent; }
    bool RestoresMaximized() const { return FRestoresMaximized; }
    int SyncCount(TChange What) const;
    int SyncTotal() const;
    // Raises of a form that took the keyboard focus, and raises that left it where it was.
    int FocusingRaises() const { return FFocusingRaises; }
    int QuietRaises() const { return FQuietRaises; }

private:
    void ReportShownSize(TForm& Form);

    THeadlessBackend& FBackend;
    TComponent& FComponent;
    platform::TWindowHandle FHandle;
    std::map<TChange, int> FSyncs;
    TWindowState FWindowState = TWindowState::wsNormal;
    bool FRestoresMaximized = false;
    int FFocusingRaises = 0;
    int FQuietRaises = 0;
};

struct TRecordedMessageBox {
    TForm* Owner = nullptr;
    std::u16string Text;
    std::u16string Caption;
    std::uint32_t Flags = 0;
};

struct TRecordedPopup {
    TPopupMenu* Menu = nullptr;
    TPoint ScreenPos;
};

// Frame sizes added to a form's client area, by border style (Windows 10 at 96 dpi): a sizeable
// frame is 8 pixels on each side and its caption 23 (16 x 39); a thin frame is 3 pixels (single
// and dialog 6 x 29); a tool window's caption is 17 (tool window 6 x 23, sizeable tool window
// 16 x 33); no border adds nothing. A menu bar adds 20 to the height.
class THeadlessBackend final : public IBackend {
public:
    explicit THeadlessBackend(platform::sim::TSimPlatform& Sim);
    ~THeadlessBackend() override;

    // --- driving the loop ---
    // Dispatches the posted form messages in order, then runs the main-thread queue until it is
    // empty, and repeats while either produced more. Returns how many messages and calls ran.
    // Exceptions reach the caller.
    std::size_t Step();
    // Moves the sim clock by Ms and fires the timers that fall due, in due order (equal times in
    // the order they were armed), running Step() after each firing. A timer that fired counts
    // again from its firing time.
    void AdvanceTime(std::uint64_t Ms);
    std::uint64_t NowMs() const;
    bool HasPendingWork() const;
    std::size_t PostedCount() const { return FPosted.size(); }
    // The next time a timer falls due, if one is armed.
    std::optional<std::uint64_t> NextTimerDue() const;
    bool TimerArmed(const TTimer& Timer) const { return FTimers.count(&Timer) != 0; }

    // --- scene ---
    void SetMonitors(std::vector<TMonitor> Monitors) { FMonitors = std::move(Monitors); }
    // Whoever reads or writes the clipboard during the next Attempts tries finds it held.
    void SetClipboardBusyFor(int Attempts) { FClipboardBusyAttempts = Attempts; }
    int ClipboardAttempts() const { return FClipboardAttempts; }
    // Answers of the coming message boxes, first in first used; without one a box answers mrOk.
    void ScriptMessageBoxAnswer(int Answer) { FMessageBoxAnswers.push_back(Answer); }
    const std::vector<TRecordedMessageBox>& MessageBoxes() const { return FMessageBoxes; }
    const std::vector<TRecordedPopup>& Popups() const { return FPopups; }
    // Messages that reached DefaultHandler, in order.
    const std::vector<TMessage>& DefaultHandled() const { return FDefaultHandled; }
    int ApplicationMinimizeCount() const { return FMinimizeCount; }
    int ApplicationRestoreCount() const { return FRestoreCount; }
    int ApplicationBringToFrontCount() const { return FBringToFrontCount; }
    int PeersCreated() const { return FPeersCreated; }
    int PeersAlive() const { return static_cast<int>(FPeers.size()); }
    // The recording peer of a control or component, or null while it has none.
    const THeadlessPeer* PeerOf(const TControl& Control) const;

    // --- IBackend ---
    std::unique_ptr<IPeer> CreatePeer(TControl& Control) override;
    std::unique_ptr<IPeer> CreateComponentPeer(TComponent& Component) override;
    // Steps; while the application runs and nothing is pending, jumps the clock to the next timer.
    // Raises EInvalidOperation when nothing is pending and no timer is armed, instead of waiting
    // forever. Exceptions of handlers go to the application's HandleException.
    void RunLoop(TApplication& App) override;
    // As RunLoop, until the form has a modal result or is freed, or the application is terminated.
    void RunModal(TApplication& App, TForm& Form) override;
    void ProcessMessages(TApplication& App) override;
    void WakeUp() override {}
    // A form without a window (being destroyed) gets nothing.
    void PostFormMessage(TForm& Form, const TMessage& Msg) override;
    // System commands minimise, maximise, restore or close the form; everything else is recorded
    // and answered with 0.
    void DefaultHandler(TForm& Form, TMessage& Msg) override;
    void StartTimer(TTimer& Timer, std::uint32_t IntervalMs) override;
    void StopTimer(TTimer& Timer) override;
    std::vector<TMonitor> Monitors() const override { return FMonitors; }
    TSize NonClientSize(const TForm& Form) const override;
    // The client area a maximised form is shown with: the work area of its monitor less its caption
    // and menu bar (the side and bottom frames lie past the edges), within MaxSize.
    [[nodiscard]] TSize MaximizedClientSize(const TForm& Form) const;
    // What the form's peer remembers: it was maximised when it was minimised.
    bool RestoresMaximized(const TForm& Form) const override;
    void MinimizeApplication(TApplication& App) override;
    void RestoreApplication(TApplication& App) override;
    void BringApplicationToFront(TApplication& App) override;
    int MessageBox(TForm* Owner, const std::u16string& Text, const std::u16string& Caption,
                   std::uint32_t Flags) override;
    void SetClipboardText(const std::u16string& Text) override;
    std::optional<std::u16string> ClipboardText() override;
    void PopupMenu(TPopupMenu& Menu, TPoint ScreenPos) override;
    // Width: characters x average character width, which is half the font's pixel height rounded
    // up; line height: four thirds of the pixel height; no overhang.
    TTextMetrics MeasureText(const TFont& Font, std::u16string_view Text) override;
    // A 16 x 16 grey picture when the file exists in the sim file system.
    std::optional<TBitmapData> LoadPicture(const std::u16string& FileName) override;
    // What a test gave SetApplicationIcon, whatever the size asked for; nothing until then.
    std::optional<TBitmapData> ApplicationIcon(int Size) override;
    void SetApplicationIcon(std::optional<TBitmapData> Icon) { FApplicationIcon = std::move(Icon); }
    // White unless a test sets another (a dark visual style).
    TColor WindowColor() const override { return FWindowColor; }
    void SetWindowColor(TColor Value) { FWindowColor = Value; }

private:
    friend class THeadlessPeer;
    struct TArmedTimer {
        std::uint32_t Interval = 0;
        std::uint64_t Due = 0;
        std::uint64_t Sequence = 0;
    };
    struct TPosted {
        TForm* Form = nullptr;
        TMessage Msg;
    };

    void PeerDestroyed(THeadlessPeer& Peer);
    void ClipboardAttempt();
    // Fires the timers due up to Target; errors of handlers go to App when given.
    void AdvanceTo(std::uint64_t Target, TApplication* RouteErrorsTo);
    TTimer* NextDueTimer(std::uint64_t Until) const;
    // Runs the loop until Done(); see RunLoop.
    template <class TDone> void Loop(TApplication& App, TDone Done);

    platform::sim::TSimPlatform& FSim;
    std::vector<TMonitor> FMonitors;
    std::vector<THeadlessPeer*> FPeers;
    platform::TWindowHandle FNextHandle = 0x50000;
    int FPeersCreated = 0;
    std::deque<TPosted> FPosted;
    std::map<const TTimer*, TArmedTimer> FTimers;
    std::uint64_t FTimerSequence = 0;
    std::optional<std::u16string> FClipboard;
    int FClipboardBusyAttempts = 0;
    int FClipboardAttempts = 0;
    std::deque<int> FMessageBoxAnswers;
    std::vector<TRecordedMessageBox> FMessageBoxes;
    std::vector<TRecordedPopup> FPopups;
    std::vector<TMessage> FDefaultHandled;
    int FMinimizeCount = 0;
    int FRestoreCount = 0;
    int FBringToFrontCount = 0;
    TColor FWindowColor = clWhite;
    std::optional<TBitmapData> FApplicationIcon;
};

} // namespace toolkit::headless
