// The main window's bursts driven by arbitrary bytes on the headless toolkit and the simulated
// desktop: hotkey presses of any level, time passing, the focus moving between two terminals and
// other windows, keys held down, sends that fall short, settings variants, the window closed.
//
// Input: see Fuzz.MainWindow.h.
//
// After every event: every keystroke went to the burst's terminal (so none after the focus left
// it); a running burst has its timer armed and an idle one has it off; the hotkeys were neither
// taken nor released while the burst ran. At the end every burst is over, and once the window is
// closed nothing is registered, no timer runs and nothing more is typed.
#include "tests/fuzz/Fuzz.MainWindow.h"
#include "tests/app/FormMain.Scene.h"
#include "tests/fuzz/Fuzz.Support.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace fuzz;
using namespace fuzz::window;
using tarvin::test::TMainWindowScene;

std::string SettingsIni(const std::uint8_t* data) {
    const auto flag = [&](int bit) { return (data[0] >> bit) & 1 ? std::string("1") : std::string("0"); };
    return "[Target]\r\nHotkeyOnlyOnTerminal=" + flag(2) + "\r\nRequireTitleMarker=" + flag(5) +
           "\r\n[Sending]\r\nClearPromptFirst=" + flag(0) + "\r\nRestorePromptAfter=" + flag(1) +
           "\r\nBeepOnRefusal=" + flag(3) + "\r\nTraceGrip=" + flag(4) +
           "\r\nEnterCount=" + std::to_string(data[1] % 10 + 1) +
           "\r\nEnterDelayMs=" + std::to_string(50 + 4 * data[2]) +
           "\r\nClearDelayMs=" + std::to_string(20 + data[3]) + "\r\n";
}

// What the grip holds: the window's own view and the system's registrations of its window.
std::string GripState(const TMainWindowScene& Scene) {
    std::string state = Scene.Form->HotkeysHeld() ? "H" : "-";
    for (tarvin::TEffortLevel level : tarvin::AllEffortLevels) {
        state += Scene.Form->Registered(level) ? '1' : '0';
        state += Scene.Sim.Hotkeys.IsRegistered(Scene.Form->Handle(), tarvin::HotkeyId(level)) ? '1' : '0';
    }
    return state;
}

class TBurstRun {
public:
    explicit TBurstRun(const std::uint8_t* Settings) {
        Scene.WriteIni(SettingsIni(Settings));
        Scene.Start();
        Terminal = Scene.Sim.Desktop.AddWindow(u"CASCADIA_HOSTING_WINDOW_CLASS", u"\u25D0 Claude", 4300);
        Scene.Sim.Desktop.AddProcess(4300, 0x2000);
    }

    void Apply(TOp Op, std::uint8_t Arg) {
        const bool running = Scene.Form != nullptr && Scene.Form->Phase() != tarvin::spIdle;
        const std::string grip = Scene.Form != nullptr ? GripState(Scene) : std::string();
        Perform(Op, Arg);
        Check(running, grip);
    }

    // Lets every burst run out, closes the window and checks that it leaves nothing behind.
    void Finish() {
        if (Scene.Form != nullptr) {
            Scene.Advance(120'000);
            FUZZ_CHECK(Scene.Form->Phase() == tarvin::spIdle);
            Check(false, {});
            Close();
        }
        const std::size_t typed = Scene.Sim.Desktop.InputJournal().size();
        Scene.Advance(10'000);
        FUZZ_CHECK(Scene.Sim.Desktop.InputJournal().size() == typed);
        FUZZ_CHECK(Scene.Sim.Hotkeys.RegistrationCount() ==
                   static_cast<std::size_t>(std::count(OthersHold.begin(), OthersHold.end(), true)));
        FUZZ_CHECK(!Scene.Backend.NextTimerDue().has_value());
    }

private:
    void Perform(TOp Op, std::uint8_t Arg) {
        switch (Op) {
        case opPress: {
            static constexpr const char16_t* Chords[] = {u"Ctrl+Alt+1", u"Ctrl+Alt+2", u"Ctrl+Alt+3",
                                                         u"Ctrl+Alt+4", u"Ctrl+Alt+5"};
            (void)Scene.Press(Chords[Arg % 5]);
            return;
        }
        case opAdvance:
            Scene.Advance(4u * Arg);
            return;
        case opFocusConsole:
            Scene.Focus(Scene.Console);
            return;
        case opFocusTerminal:
            Scene.Focus(Terminal);
            return;
        case opFocusNotepad:
            Scene.Focus(Scene.Notepad);
            return;
        case opFocusNothing:
            Scene.Focus(0);
            return;
        case opModifier:
            Scene.Sim.Desktop.SetKeyDown(tarvin::ModifierKeys[(Arg & 0x7F) % tarvin::ModifierKeys.size()],
                                         (Arg & 0x80) != 0);
            return;
        case opLimitInput:
            Scene.Sim.Desktop.LimitInput(Arg % 40u, 5);
            return;
        case opAcceptInput:
            Scene.Sim.Desktop.AcceptAllInput();
            return;
        case opRawHotkey:
            if (Scene.Form != nullptr) {
                Scene.Form->PostMessage(toolkit::msgHotKey, Arg);
                Scene.Backend.Step();
            }
            return;
        case opHideOrShow:
            if (Scene.Form == nullptr) {
                return;
            }
            if (Arg % 2 == 0) {
                Scene.Form->Perform(toolkit::msgSysCommand, toolkit::scMinimize);
            } else {
                Scene.Form->TrayIcon->Click();
            }
            return;
        case opOtherProgram: {
            const std::size_t index = Arg % 5u;
            const std::uint32_t key = '1' + static_cast<std::uint32_t>(index);
            constexpr std::uint32_t CtrlAlt = platform::HotkeyModControl | platform::HotkeyModAlt;
            if (Arg % 2 == 1 && !OthersHold[index]) {
                OthersHold[index] = Scene.Sim.Hotkeys.RegisterForOtherProgram(CtrlAlt, key);
            } else if (Arg % 2 == 0 && OthersHold[index]) {
                Scene.Sim.Hotkeys.UnregisterForOtherProgram(CtrlAlt, key);
                OthersHold[index] = false;
            }
            return;
        }
        case opClose:
            if (Scene.Form != nullptr) {
                Close();
            }
            return;
        case OpCount:
            break;
        }
    }

    void Close() {
        Scene.Form->Close();
        Scene.Backend.Step();
        Scene.Form = nullptr;
    }

    void Check(bool WasRunning, const std::string& GripBefore) {
        const auto& journal = Scene.Sim.Desktop.InputJournal();
        const platform::TWindowHandle target = Scene.Form != nullptr ? Scene.Form->BurstTarget() : LastTarget;
        for (std::size_t i = Checked; i < journal.size(); ++i) {
            FUZZ_CHECK(journal[i].Foreground == target);
            FUZZ_CHECK(target != 0);
        }
        Checked = journal.size();
        if (Scene.Form == nullptr) {
            return;
        }
        LastTarget = target;
        const bool running = Scene.Form->Phase() != tarvin::spIdle;
        FUZZ_CHECK(Scene.Form->tmrEnter->Enabled() == running);
        FUZZ_CHECK(Scene.Backend.TimerArmed(*Scene.Form->tmrEnter) == running);
        // A burst in progress before and after one event is the same burst: a press cannot start
        // another while one runs, and no event both ends one and starts one.
        if (WasRunning && running) {
            FUZZ_CHECK(GripState(Scene) == GripBefore);
        }
    }

public:
    TMainWindowScene Scene;
    platform::TWindowHandle Terminal = 0;

private:
    std::size_t Checked = 0;
    platform::TWindowHandle LastTarget = 0;
    std::array<bool, 5> OthersHold{}; // Ctrl+Alt+1..5 held by another program
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    TBurstRun run(data);
    for (std::size_t i = 4; i + 1 < size; i += 2) {
        run.Apply(static_cast<TOp>(data[i] % OpCount), data[i + 1]);
    }
    run.Finish();
    return 0;
}
