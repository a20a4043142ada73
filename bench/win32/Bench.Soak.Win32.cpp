// A soak of Tarvin.exe: BURSTS bursts with sight into one termsim --console, the five levels in turn
// and a new one-line draft typed before each (as a user writes the next draft between presses),
// every burst checked (the level set once, the draft back exactly, nothing harmful); then WINDOWS
// times the main window opened and closed, and WINDOWS times the log window:
//   - the main window comes up on the message a second copy sends (WM_USER + 65 to the window of
//     class "TarvinWndClass") and is hidden with WM_SYSCOMMAND SC_MINIMIZE (Tarvin hides it);
//   - the log window comes up by itself when Tarvin logs a warning (ShowOnError, on by default):
//     Ctrl+Alt+1 pressed on tarvin_bench_locked_terminal, a "Claude Code" window in a process
//     Tarvin may not open, is refused with the warning that Tarvin cannot read that process's
//     integrity level. WM_CLOSE hides the log window again. Nothing reaches any terminal.
// Tarvin's handles, GDI and USER objects and private memory are read at the start (Tarvin idle in
// the tray), after the first 10 bursts and after all, after the first and the last cycle of each
// window, and at the end (idle again); the goal is each figure flat within 5 % from start to end.
// The figures between tell what was made once (the log window at the first warning) from what
// grows with use, and with which use. Where wine stubs an API, Bench.ProcessFigures says which
// source stands in.
// The probe that waits for Tarvin's hotkeys before the first burst holds Ctrl+Alt+5 for a moment;
// if Tarvin registered it in that moment (Tarvin logs the refusal), the terminal is started again.
//   tarvin_bench_soak [BURSTS [WINDOWS]]        defaults 1000 and 100
// Exit code 0 when every burst and every window cycle completed and every figure was read.
#include "bench/win32/Bench.Chords.Win32.h"
#include "bench/win32/Bench.Keys.Win32.h"
#include "bench/win32/Bench.LogBox.Win32.h"
#include "bench/win32/Bench.ProcessFigures.Win32.h"
#include "bench/win32/Bench.Stats.h"
#include "bench/win32/Bench.Terminal.Win32.h"
#include "base/Base.Unicode.h"
#include "platform/win32/Win32.Clock.h"
#include "tests/app/win32/Tarvin.Process.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace tarvin::bench;
using termsim::TRecordEvent;

struct TDraft {
    const wchar_t* Text;
    std::size_t Caret;
};
// One-line drafts with the caret at the start, inside and at the end.
const TDraft Drafts[] = {
    {L"refactor the parser, then", 8},
    {L"add a test for the empty prompt", 0},
    {L"why does the grip poll every 200 ms?", 36},
    {L"rename TBurst to TSendBurst everywhere", 12},
    {L"check the log window's minimum width", 20},
    {L"summarise the soak's figures in one table", 41},
    {L"now explain it like I'm five", 3},
};
const wchar_t* const Levels[] = {L"low", L"medium", L"high", L"xhigh", L"max"};
const std::wstring EndLineStart = L"Claude Code shows the effort is now ";
constexpr UINT ShowFromSecondCopy = WM_USER + 65;
constexpr std::size_t WarmBursts = 10;

struct TSnapshot {
    const char* Name;
    TProcessFigures Figures;
    bool Ok = false;
};

class TSoak {
public:
    TSoak() : FTarvin(std::string("[Hotkeys]\r\n")) {}

    bool Start() {
        if (!FTarvin.Start()) {
            return Fail("Tarvin did not start");
        }
        FMain = tarvin::test::TTarvin::Window();
        DWORD pid = 0;
        GetWindowThreadProcessId(FMain, &pid);
        FProcess.Reset(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid));
        if (!FProcess) {
            return Fail("Tarvin's process could not be opened");
        }
        FLog = std::make_unique<TLogBox>();
        FWatched = std::make_unique<TWatchedProcess>(
            FProcess.Get(),
            UnixProcessOf({LowerAscii(FTarvin.Folder.Path().filename().string()), "tarvin.exe"}));
        return FLog->Found();
    }

    void Snapshot(const char* Name) {
        TSnapshot snapshot{Name};
        snapshot.Ok = FWatched->Sample(snapshot.Figures, true);
        FSnapshots.push_back(snapshot);
    }

    // --- the bursts ---

    // A fresh termsim in front with Tarvin holding its hotkeys.
    bool StartTerminal() {
        for (int attempt = 0; attempt < 3; ++attempt) {
            FTerminal.reset();
            if (!tarvin::test::WaitUntil([] { return !tarvin::test::ChordTaken('1'); })) {
                return Fail("Tarvin did not let its hotkeys go without a terminal in front");
            }
            FTerminal = std::make_unique<TBenchTerminal>(
                FTarvin.Folder.Path(), L"soak" + std::to_wstring(FTerminals++),
                std::vector<std::wstring>{L"--console", L"--prompt", Drafts[0].Text, L"--cursor",
                                          L"0," + std::to_wstring(Drafts[0].Caret)});
            if (!FTerminal->Start()) {
                return Fail("termsim did not come up in front");
            }
            const TChordWait grip = WaitUntilHeld('5', *FLog);
            if (grip == TChordWait::Held) {
                (void)FTerminal->NewEvents();
                return true;
            }
            if (grip == TChordWait::TimedOut) {
                return Fail("Tarvin did not take its hotkeys");
            }
            ++FCollisions;
        }
        return Fail("the probe kept taking Ctrl+Alt+5 from Tarvin");
    }

    bool Burst(std::size_t Index) {
        const TDraft& draft = Drafts[Index % std::size(Drafts)];
        const std::wstring level = Levels[Index % std::size(Levels)];
        if (!ReplaceOneLineDraft(draft.Text, draft.Caret)) {
            return BurstFailed(Index, "SendInput did not take the draft's keys", {});
        }
        const std::u16string text(draft.Text, draft.Text + std::wcslen(draft.Text));
        const bool typed = tarvin::test::WaitUntil([&] {
            (void)FTerminal->NewEvents();
            const auto& prompt = FTerminal->Prompt();
            return prompt && prompt->Text == text && prompt->Cursor == termsim::TCursor{0, draft.Caret};
        });
        if (!typed) {
            return BurstFailed(Index, "termsim did not show the new draft", {});
        }
        const termsim::TPromptState before = *FTerminal->Prompt();
        const std::wstring endLine = EndLineStart + level + L".";

        (void)FLog->NewMessages(0);
        const long long pressed = platform::win32::QpcMicroseconds();
        tarvin::test::PressCtrlAlt(static_cast<WORD>('1' + Index % std::size(Levels)));
        // Tarvin's lines since the press: "Typed ..." at the Enter, then the end line. Any other line
        // means the burst stopped otherwise; it is over once its lines came to rest (its steps are
        // never more than two seconds apart).
        std::vector<std::wstring> lines;
        bool ended = false;
        bool stopped = false;
        unsigned long long lastLineAt = GetTickCount64();
        double ms = 0;
        const bool over = platform::win32::test::WaitUntil(
            [&] {
                const std::vector<std::wstring> added = FLog->NewMessages();
                const unsigned long long now = GetTickCount64();
                if (!added.empty()) {
                    lastLineAt = now;
                }
                for (const std::wstring& line : added) {
                    lines.push_back(line);
                    if (line == endLine && !ended) {
                        ended = true;
                        ms = static_cast<double>(platform::win32::QpcMicroseconds() - pressed) / 1000.0;
                    } else if (!line.starts_with(L"Typed ")) {
                        stopped = true;
                    }
                }
                return (ended && !stopped) || (stopped && now - lastLineAt >= 2500);
            },
            std::chrono::seconds(20));
        const std::vector<TRecordEvent> events = FTerminal->NewEvents();
        if (!over) {
            return BurstFailed(Index, "Tarvin's log box showed no end of the burst within 20 s", lines);
        }
        if (stopped) {
            for (const std::wstring& line : lines) {
                if (line != endLine && !line.starts_with(L"Typed ")) {
                    return BurstFailed(Index, "Tarvin: " + Narrow(line), lines);
                }
            }
        }
        const std::string harm = FirstHarm(events);
        std::size_t levelsSet = 0;
        bool right = false;
        for (const TRecordEvent& event : events) {
            if (const auto* effort = std::get_if<termsim::TEffortEvent>(&event)) {
                ++levelsSet;
                right = effort->Level == std::u16string(level.begin(), level.end());
            }
        }
        if (!harm.empty()) {
            return BurstFailed(Index, "termsim recorded a harm: " + harm, lines);
        }
        if (levelsSet != 1 || !right) {
            return BurstFailed(Index, "the level was not set once to " + Narrow(level), lines);
        }
        if (FTerminal->Prompt() != before) {
            return BurstFailed(Index, "the draft is not back exactly", lines);
        }
        FBurstMs.push_back(ms);
        return true;
    }

    bool Bursts(std::size_t Count) {
        if (!StartTerminal()) {
            return false;
        }
        // Every burst is checked; one that did not complete is counted with Tarvin's reason, and the
        // soak goes on (from a fresh terminal when the prompt is not as the burst found it). Only a
        // long run of incomplete bursts, something stuck, stops it.
        constexpr std::size_t StuckAfter = 20;
        std::size_t inARow = 0;
        for (std::size_t i = 0; i < Count; ++i) {
            if (Burst(i)) {
                inARow = 0;
            } else {
                if (++inARow >= StuckAfter) {
                    return Fail(std::to_string(StuckAfter) + " bursts in a row incomplete; the soak stops");
                }
                const auto& prompt = FTerminal->Prompt();
                const TDraft& draft = Drafts[i % std::size(Drafts)];
                if ((!prompt || prompt->Text != std::u16string(draft.Text, draft.Text + std::wcslen(draft.Text)) ||
                     prompt->Stash) &&
                    !StartTerminal()) {
                    return false;
                }
            }
            if (i + 1 == WarmBursts) {
                Snapshot("10 bursts");
            }
            if ((i + 1) % 100 == 0) {
                TProcessFigures now;
                (void)FWatched->Sample(now);
                std::printf("  %zu bursts, %zu complete; private memory %.0f KiB\n", i + 1, FBurstMs.size(),
                            now.PrivateOrAnonKb());
                std::fflush(stdout);
            }
        }
        FTerminal.reset();
        return true;
    }

    bool AllBurstsComplete() const { return FFailures.empty(); }

    // --- the windows ---

    bool StartLockedTerminal() {
        std::wstring commandLine = termsim::test::Quoted(termsim::test::WindowsPathOf(LOCKED_TERMINAL_EXE));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &started)) {
            return Fail("the locked terminal did not start");
        }
        FLocked.Reset(started.hProcess);
        CloseHandle(started.hThread);
        const DWORD lockedPid = started.dwProcessId;
        return tarvin::test::WaitUntil([&] {
                   const HWND window = FindWindowW(L"ConsoleWindowClass", L"\u2733 Claude Code");
                   DWORD pid = 0;
                   GetWindowThreadProcessId(window, &pid);
                   FLockedWindow = pid == lockedPid ? window : nullptr;
                   return FLockedWindow != nullptr;
               }) ||
               Fail("the locked terminal's window did not come up");
    }

    void StopLockedTerminal() {
        if (FLockedWindow != nullptr) {
            PostMessageW(FLockedWindow, WM_CLOSE, 0, 0);
        }
        if (FLocked && WaitForSingleObject(FLocked.Get(), 5000) != WAIT_OBJECT_0) {
            TerminateProcess(FLocked.Get(), 1);
        }
    }

    // Tarvin's log window: a visible top-level toolkit form of Tarvin's process other than its main
    // window, titled with "Log".
    HWND FindLogWindow() const {
        struct TSearch {
            DWORD Pid;
            HWND Main;
            HWND Found;
        } search{GetProcessId(FProcess.Get()), FMain, nullptr};
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<TSearch*>(param);
                DWORD pid = 0;
                GetWindowThreadProcessId(window, &pid);
                wchar_t name[64] = {};
                wchar_t title[256] = {};
                GetClassNameW(window, name, 64);
                GetWindowTextW(window, title, 256);
                if (pid == s->Pid && window != s->Main && std::wstring(name) == L"TarvinToolkitForm" &&
                    std::wstring(title).find(L"Log") != std::wstring::npos) {
                    s->Found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.Found;
    }

    bool MainWindowCycle() {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(FMain, ShowFromSecondCopy, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) ||
            !tarvin::test::WaitUntil([&] { return IsWindowVisible(FMain) != FALSE; })) {
            return Fail("the main window did not come up on WM_USER + 65");
        }
        PostMessageW(FMain, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return tarvin::test::WaitUntil([&] { return IsWindowVisible(FMain) == FALSE; }) ||
               Fail("the main window did not hide on SC_MINIMIZE");
    }

    bool LogWindowCycle() {
        SetForegroundWindow(FLockedWindow);
        if (!tarvin::test::WaitUntil([&] { return GetForegroundWindow() == FLockedWindow; })) {
            return Fail("the locked terminal did not come to the front");
        }
        // Until Tarvin holds the chord, the press goes to the locked terminal, which ignores it;
        // so it is pressed again until the log window shows.
        HWND shown = nullptr;
        for (int press = 0; press < 40 && shown == nullptr; ++press) {
            tarvin::test::PressCtrlAlt('1');
            ++FLogPresses;
            platform::win32::test::WaitUntil(
                [&] {
                    FLogWindow = FLogWindow != nullptr ? FLogWindow : FindLogWindow();
                    shown = FLogWindow != nullptr && IsWindowVisible(FLogWindow) ? FLogWindow : nullptr;
                    return shown != nullptr;
                },
                std::chrono::milliseconds(400));
        }
        if (shown == nullptr) {
            return Fail("the log window did not come up on a warning");
        }
        PostMessageW(shown, WM_CLOSE, 0, 0);
        return tarvin::test::WaitUntil([&] { return IsWindowVisible(shown) == FALSE; }) ||
               Fail("the log window did not hide on WM_CLOSE");
    }

    // Count cycles of one window, a snapshot after the first and after the last.
    template <typename TCycle>
    bool Cycles(std::size_t Count, const char* Which, const char* First, const char* Last, std::size_t& Done,
                TCycle Cycle) {
        for (std::size_t i = 0; i < Count; ++i) {
            if (!Cycle()) {
                return false;
            }
            ++Done;
            if (i == 0) {
                Snapshot(First);
            }
            if ((i + 1) % 25 == 0) {
                TProcessFigures now;
                (void)FWatched->Sample(now);
                std::printf("  %zu %s cycles; private memory %.0f KiB\n", i + 1, Which, now.PrivateOrAnonKb());
                std::fflush(stdout);
            }
        }
        Snapshot(Last);
        return true;
    }

    // The main window's cycles, then the log window's, each window Count times.
    bool Windows(std::size_t Count) {
        if (!StartLockedTerminal()) {
            return false;
        }
        const bool ok =
            Cycles(Count, "main window", "1st main", "all main", FMainCycles, [this] { return MainWindowCycle(); }) &&
            Cycles(Count, "log window", "1st log", "all log", FLogCycles, [this] { return LogWindowCycle(); });
        StopLockedTerminal();
        return ok;
    }

    // --- the report ---

    bool Report(std::size_t Bursts, std::size_t Cycles) const {
        const TSpread burst = SpreadOf(FBurstMs);
        std::printf("  bursts: %zu of %zu complete (level set once, draft back exactly, nothing harmful); press -> "
                    "Tarvin's end line seen: median %.1f ms (%.1f .. %.1f)\n",
                    FBurstMs.size(), Bursts, burst.Median, burst.Min, burst.Max);
        std::map<std::string, int> reasons;
        for (const std::string& why : FFailures) {
            ++reasons[why];
        }
        for (const auto& [why, count] : reasons) {
            std::printf("    %d incomplete: %s\n", count, why.c_str());
        }
        std::printf("  main window: %zu of %zu cycles; log window: %zu of %zu cycles, with %zu presses of Ctrl+Alt+1 on "
                    "the locked terminal (those before Tarvin holds the chord reach only that window)\n",
                    FMainCycles, Cycles, FLogCycles, Cycles, FLogPresses);
        if (FCollisions > 0) {
            std::printf("  the probe took Ctrl+Alt+5 from Tarvin %zu times; the terminal was started again\n",
                        FCollisions);
        }
        bool ok = true;
        for (const TSnapshot& s : FSnapshots) {
            ok = ok && s.Ok;
        }
        if (!ok || FSnapshots.size() < 2) {
            std::puts("  figures: NOT ALL READ");
            return false;
        }
        std::printf("  %-13s", "");
        for (const TSnapshot& s : FSnapshots) {
            std::printf(" %10.10s", s.Name);
        }
        std::printf("   start->end  goal: flat within 5 %%   grew in: bursts 11..%zu, main 2..%zu, log 2..%zu\n",
                    Bursts, Cycles, Cycles);
        // Snapshots: start, 10 bursts, all bursts, 1st main, all main, 1st log, all log, end.
        const auto growth = [&](auto value, const char* from, const char* to) {
            const TSnapshot* a = nullptr;
            const TSnapshot* b = nullptr;
            for (const TSnapshot& s : FSnapshots) {
                a = std::string(s.Name) == from ? &s : a;
                b = std::string(s.Name) == to ? &s : b;
            }
            if (a == nullptr || b == nullptr) {
                std::printf(" %8s", "-");
            } else {
                std::printf(" %+8.0f", value(b->Figures) - value(a->Figures));
            }
        };
        const auto row = [&](const char* name, auto value, const char* source) {
            std::printf("  %-13s", name);
            for (const TSnapshot& s : FSnapshots) {
                std::printf(" %10.0f", value(s.Figures));
            }
            const double a = value(FSnapshots.front().Figures);
            const double b = value(FSnapshots.back().Figures);
            const bool read = a > 0 && b > 0;
            const double change = read ? (b - a) / a * 100.0 : 0.0;
            std::printf("   %+7.1f %%   %-22s", change, read ? Verdict(std::fabs(change) <= 5.0) : "NOT MEASURED");
            growth(value, "10 bursts", "all bursts");
            growth(value, "1st main", "all main");
            growth(value, "1st log", "all log");
            std::printf("   [%s]\n", source);
            ok = ok && read;
        };
        const TProcessFigures& first = FSnapshots.front().Figures;
        row("handles", [](const TProcessFigures& f) { return static_cast<double>(f.Handles.Value); }, first.Handles.Source);
        row("GDI objects", [](const TProcessFigures& f) { return static_cast<double>(f.GdiObjects.Value); },
            first.GdiObjects.Source);
        row("USER objects", [](const TProcessFigures& f) { return static_cast<double>(f.UserObjects.Value); },
            first.UserObjects.Source);
        row("private KiB", [](const TProcessFigures& f) { return f.PrivateOrAnonKb(); }, first.PrivateSource());
        return ok;
    }

private:
    bool Fail(const std::string& Why) {
        std::printf("  soak: %s\n", Why.c_str());
        std::fflush(stdout);
        return false;
    }

    bool BurstFailed(std::size_t Index, const std::string& Why, const std::vector<std::wstring>& Lines) {
        FFailures.push_back(Why);
        std::printf("  burst %zu INCOMPLETE: %s\n", Index + 1, Why.c_str());
        for (const std::wstring& line : Lines) {
            std::printf("    Tarvin: %s\n", Narrow(line).c_str());
        }
        std::fflush(stdout);
        return false;
    }

    static std::string Narrow(const std::wstring& Text) {
        return platform::win32::test::Utf8Of(Text);
    }

    tarvin::test::TTarvin FTarvin;
    platform::win32::TKernelHandle FProcess;
    HWND FMain = nullptr;
    std::unique_ptr<TLogBox> FLog;
    std::unique_ptr<TWatchedProcess> FWatched;
    std::unique_ptr<TBenchTerminal> FTerminal;
    std::size_t FTerminals = 0;
    platform::win32::TKernelHandle FLocked;
    HWND FLockedWindow = nullptr;
    HWND FLogWindow = nullptr;
    std::vector<TSnapshot> FSnapshots;
    std::vector<double> FBurstMs;
    std::vector<std::string> FFailures;
    std::size_t FCollisions = 0;
    std::size_t FMainCycles = 0;
    std::size_t FLogCycles = 0;
    std::size_t FLogPresses = 0;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const std::size_t bursts = argc > 1 ? static_cast<std::size_t>(std::max(1, _wtoi(argv[1]))) : 1000;
        const std::size_t cycles = argc > 2 ? static_cast<std::size_t>(std::max(1, _wtoi(argv[2]))) : 100;
        std::printf("soak: %zu bursts with sight into termsim --console (levels 1..5 in turn, a new one-line draft "
                    "typed before each), then %zu times the main window and the log window opened and closed\n",
                    bursts, cycles);
        std::fflush(stdout);
        TSoak soak;
        if (!soak.Start()) {
            return 1;
        }
        // Tarvin idle in the tray, as at the end.
        Sleep(3000);
        soak.Snapshot("start");
        const long long begun = platform::win32::QpcMicroseconds();
        const bool burstsOk = soak.Bursts(bursts);
        soak.Snapshot("all bursts");
        const long long burstsDone = platform::win32::QpcMicroseconds();
        const bool windowsOk = burstsOk && soak.Windows(cycles);
        const long long windowsDone = platform::win32::QpcMicroseconds();
        Sleep(3000);
        soak.Snapshot("end");
        std::printf("  took %.0f s for the bursts, %.0f s for the windows\n",
                    static_cast<double>(burstsDone - begun) / 1e6, static_cast<double>(windowsDone - burstsDone) / 1e6);
        const bool figuresOk = soak.Report(bursts, cycles);
        return burstsOk && soak.AllBurstsComplete() && windowsOk && figuresOk ? 0 : 1;
    } catch (const std::exception& error) {
        std::printf("soak: %s\n", error.what());
        return 1;
    }
}
