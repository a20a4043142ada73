#pragma once
// Window control over the simulated desktop: windows added here get an owning thread and a
// placement, the foreground is the desktop's own, and every call is recorded in order so a test
// can check what was asked of the system and in which sequence. It is a test double, not a product.
#include "platform/Platform.WindowControl.h"
#include "platform/sim/Sim.Desktop.h"

#include <deque>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace platform::sim {

class TSimWindowControl final : public IWindowControl {
public:
    explicit TSimWindowControl(TSimDesktop& Desktop) : FDesktop(Desktop) {}

    // --- test controls ---
    // A window on the desktop, owned by `Thread`, with a normal placement.
    TWindowHandle AddWindow(std::u16string ClassName, std::u16string Title, TProcessId Pid, TThreadId Thread);
    void SetWindowPlacement(TWindowHandle Window, const TWindowPlacement& Placement);
    // Reading this window's placement fails from now on.
    void FailPlacementRead(TWindowHandle Window);
    // The answers of the next SetForegroundWindow calls, in order; once they are used up every
    // call succeeds. A successful call brings the window to the desktop's front.
    void QueueForegroundAnswers(std::initializer_list<bool> Answers);

    // --- what happened ---
    // One line per call, e.g. "SetForegroundWindow 0x10010" or "AttachThreadInput 7 5 1".
    const std::vector<std::string>& Calls() const { return FCalls; }
    void ClearCalls() { FCalls.clear(); }
    TWindowPlacement Placement(TWindowHandle Window) const;

    // IWindowControl
    TWindowHandle FindTopLevelWindow(const std::u16string& ClassName) const override;
    std::intptr_t SendMessageAndWait(TWindowHandle Window, std::uint32_t Message, std::uintptr_t WParam,
                                     std::intptr_t LParam) override;
    bool GetPlacement(TWindowHandle Window, TWindowPlacement& Placement) const override;
    bool SetPlacement(TWindowHandle Window, const TWindowPlacement& Placement) override;
    TWindowHandle ForegroundWindow() const override;
    TThreadId WindowThreadId(TWindowHandle Window) const override;
    bool AttachThreadInput(TThreadId From, TThreadId To, bool Attach) override;
    bool SetForegroundWindow(TWindowHandle Window) override;

private:
    struct TWindow {
        TThreadId Thread = 0;
        TWindowPlacement Placement;
        bool PlacementReadFails = false;
    };

    void Record(std::string Call) const { FCalls.push_back(std::move(Call)); }

    TSimDesktop& FDesktop;
    std::map<TWindowHandle, TWindow> FWindows;
    std::deque<bool> FForegroundAnswers;
    mutable std::vector<std::string> FCalls;
};

} // namespace platform::sim
