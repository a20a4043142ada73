#pragma once
// A deterministic simulated desktop for native tests: windows, processes with integrity levels,
// the foreground, key states, an input journal, what each window's screen shows, a message-beep
// record, debug output and a clock that only moves when a test moves it. It is a test double, not
// a product.
#include "platform/Platform.Clock.h"
#include "platform/Platform.DebugOutput.h"
#include "platform/Platform.ForegroundWatch.h"
#include "platform/Platform.Input.h"
#include "platform/Platform.Integrity.h"
#include "platform/Platform.ScreenReader.h"
#include "platform/Platform.Sound.h"
#include "platform/Platform.WindowFacts.h"

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace platform::sim {

class TSimDesktop final : public IWindowFacts,
                          public IIntegrity,
                          public IInput,
                          public IScreenReader,
                          public IForegroundWatch,
                          public ISound,
                          public IDebugOutput,
                          public IClock {
public:
    // One SendInput call as the desktop saw it: when it came and which window was in front, so
    // a test can tell where and at what moment the keys landed.
    struct TBatch {
        std::vector<TKeyInput> Records;
        std::uint32_t Inserted = 0;
        std::uint32_t ErrorCode = 0;
        std::uint64_t AtMs = 0; // the monotonic counter
        TWindowHandle Foreground = 0;
    };

    TSimDesktop();

    // --- windows and processes ---
    // Handles start at 0x10010 and grow; a closed window's handle is never reused.
    TWindowHandle AddWindow(std::u16string ClassName, std::u16string Title, TProcessId Pid);
    void SetTitle(TWindowHandle Window, std::u16string Title);
    void CloseWindow(TWindowHandle Window);   // also leaves the foreground empty if it was in front
    // 0: no window in front. A change of the front window tells the foreground watch at once.
    void SetForeground(TWindowHandle Window);
    void AddProcess(TProcessId Pid, std::uint32_t IntegrityLevel);
    void AddUnreachableProcess(TProcessId Pid);     // OpenProcess refuses it
    void SetOwnIntegrityLevel(std::uint32_t Level); // UnknownIntegrityLevel: own token unreadable

    // --- keyboard ---
    void SetKeyDown(std::uint16_t VirtualKey, bool Down);
    bool IsKeyDown(std::uint16_t VirtualKey) const;
    // From now on every batch inserts at most `Records` records and reports `ErrorCode` when
    // it falls short. Cleared by AcceptAllInput.
    void LimitInput(std::uint32_t Records, std::uint32_t ErrorCode);
    void AcceptAllInput();
    const std::vector<TBatch>& InputJournal() const { return FJournal; }
    void ClearInputJournal() { FJournal.clear(); }

    // --- screens ---
    // What ReadScreen answers for the window: a fixed read...
    void SetScreen(TWindowHandle Window, TScreenRead Screen);
    // ...or a live terminal: every accepted key record goes to OnKey while its window is in front
    // (after the key-state table has moved, so a chord's modifier reads as down), and every read
    // asks Read.
    struct TTerminal {
        std::function<void(const TKeyInput&)> OnKey;
        std::function<TScreenRead()> Read;
    };
    void SetTerminal(TWindowHandle Window, TTerminal Terminal);
    std::size_t ScreenReads() const { return FScreenReads; }

    // --- sound, debug output ---
    const std::vector<std::uint32_t>& Beeps() const { return FBeeps; }
    const std::vector<std::u16string>& DebugLines() const { return FDebugLines; }

    // --- clock ---
    void SetNow(TDateTime Now) { FNow = Now; }
    void AdvanceMs(std::uint64_t Ms); // moves both the wall clock and the monotonic counter

    // IWindowFacts
    TWindowHandle ForegroundWindow() const override { return FForeground; }
    std::u16string ClassName(TWindowHandle Window) const override;
    std::u16string Title(TWindowHandle Window) const override;
    TProcessId OwningProcessId(TWindowHandle Window) const override;
    // IIntegrity
    std::uint32_t OwnIntegrityLevel() const override { return FOwnLevel; }
    std::uint32_t ProcessIntegrityLevel(TProcessId Pid) const override;
    // IInput: accepted key records also move the key-state table, as the real desktop does.
    TSendInputAnswer SendInputBatch(std::span<const TKeyInput> Records) override;
    std::uint16_t AsyncKeyState(std::uint16_t VirtualKey) const override;
    // IForegroundWatch
    [[nodiscard]] bool Start(std::function<void()> OnChange) override;
    void Stop() override { FOnForeground = nullptr; }
    bool Watching() const { return static_cast<bool>(FOnForeground); }
    // IScreenReader: a window without a screen is no console.
    [[nodiscard]] TScreenRead ReadScreen(TWindowHandle Window) override;
    // ISound
    void MessageBeep(std::uint32_t Type) override { FBeeps.push_back(Type); }
    // IDebugOutput
    void WriteDebugString(const std::u16string& Text) override { FDebugLines.push_back(Text); }
    // IClock
    TDateTime Now() const override { return FNow; }
    std::uint64_t MonotonicMs() const override { return FMonotonicMs; }

private:
    struct TWindow {
        std::u16string ClassName;
        std::u16string Title;
        TProcessId Pid = 0;
    };

    std::map<TWindowHandle, TWindow> FWindows;
    TWindowHandle FNextHandle = 0x10010;
    TWindowHandle FForeground = 0;
    std::map<TProcessId, std::optional<std::uint32_t>> FProcesses; // nullopt: cannot be opened
    std::uint32_t FOwnLevel = 0x2000;
    std::array<bool, 256> FKeyDown{};
    std::optional<std::uint32_t> FInputLimit;
    std::uint32_t FInputError = 0;
    std::vector<TBatch> FJournal;
    std::map<TWindowHandle, TTerminal> FTerminals;
    std::function<void()> FOnForeground;
    std::size_t FScreenReads = 0;
    std::vector<std::uint32_t> FBeeps;
    std::vector<std::u16string> FDebugLines;
    TDateTime FNow = 46000.5; // 9 December 2025, noon
    std::uint64_t FMonotonicMs = 1000;
};

} // namespace platform::sim
