// The sequencer as a value, driven by arbitrary bytes: screens of every kind in any order, time
// passing, the focus leaving, modifiers held, batches falling short, every setting.
//
// Input: see Fuzz.Burst.h.
//
// After every step: an Enter went out only right after the look of that same tick showed exactly
// the command or "Change effort level?" with the focus on Yes; no key at all went out on a look
// that showed anything but the input box (or that question); only the command and "!" were typed
// (and the blind schedule's marker, only after an unreadable look with the blind schedule allowed);
// a step ends the burst exactly when the burst is idle afterwards; an idle burst stays idle and
// silent. At the end every burst is over within a bounded number of ticks.
#include "app/Tarvin.Burst.h"
#include "tests/app/Tarvin.Screens.h"
#include "tests/fuzz/Fuzz.Burst.h"
#include "tests/fuzz/Fuzz.Support.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace fuzz::burst;
using namespace tarvin::test::screens;
using tarvin::TBurst;
using tarvin::TBurstStep;
using tarvin::TBurstTick;
using tarvin::TKey;
using tarvin::TPromptView;

std::u16string CommandOf(tarvin::TEffortLevel Level) {
    return u"/effort " + std::u16string(tarvin::EffortWord[Level]);
}

TScreenRead ScreenOf(TScreenKind Kind, tarvin::TEffortLevel Level) {
    const std::u16string command = CommandOf(Level);
    const auto caretAt = [](const std::u16string& Row) { return TScreenCell{0, static_cast<std::int32_t>(Row.size())}; };
    switch (Kind) {
    case scEmpty:
        return Read(PromptScreen({}));
    case scCommand:
        return Read(PromptScreen({.Rows = {command}, .Caret = caretAt(command)}));
    case scPartCommand:
        return Read(PromptScreen({.Rows = {command.substr(0, 9)}, .Caret = {0, 9}}));
    case scWrongCommand:
        return Read(PromptScreen({.Rows = {u"/effort hgh"}, .Caret = {0, 11}}));
    case scOtherLevel: {
        const std::u16string other = CommandOf(static_cast<tarvin::TEffortLevel>((Level + 1) % 5));
        return Read(PromptScreen({.Rows = {other}, .Caret = caretAt(other)}));
    }
    case scDraft:
        return Read(PromptScreen({.Rows = {u"fix the parser", u"and its tests"}, .Caret = {1, 3}}));
    case scStashed:
        return Read(PromptScreen({.Stashed = true}));
    case scStashedCommand:
        return Read(PromptScreen({.Rows = {command}, .Caret = caretAt(command), .Stashed = true}));
    case scDraftBack:
        return Read(PromptScreen({.Rows = {u"fix the parser", u"and its tests"},
                                  .Caret = {1, 3},
                                  .Effort = std::u16string(tarvin::EffortWord[Level])}));
    case scStashAndDraft:
        return Read(PromptScreen({.Rows = {u"second"}, .Caret = {0, 6}, .Stashed = true}));
    case scQuestionYes:
        return Read(Question(true));
    case scQuestionNo:
        return Read(Question(false));
    case scPermission:
        return Read(Permission());
    case scPicker:
        return Read(Picker());
    case scHistory:
        return Read(HistorySearch());
    case scShell:
        return Read(Shell());
    case scBashEmpty:
        return Read(PromptScreen({.Bash = true}));
    case scBashDraft:
        return Read(PromptScreen({.Rows = {u"ls -la"}, .Caret = {0, 6}, .Bash = true}));
    case scVimInsert:
        return Read(PromptScreen({.Insert = true}));
    case scScrolled:
        return Read(PromptScreen({.Rows = {u"line 1", u"line 2"}, .Caret = {0, 0}, .MoreBelow = true}));
    case scPasted:
        return Read(PromptScreen({.Rows = {u"[Pasted text #1 +29 lines]"}, .Caret = {0, 26}}));
    case scCommandTwoRows:
        return Read(PromptScreen({.Rows = {command, u"more"}, .Caret = {1, 4}}));
    case scUnreadable:
    case ScreenCount:
        break;
    }
    return Unreadable();
}

// The console of a read that the burst looks at: the only one, or the one titled like the window.
const TConsoleScreen* Shown(const TScreenRead& Read) {
    if (Read.Status != TScreenReadStatus::Read || Read.Screens.empty()) {
        return nullptr;
    }
    const TConsoleScreen* shown = nullptr;
    for (const TConsoleScreen& screen : Read.Screens) {
        if (screen.Title == Title) {
            if (shown != nullptr) {
                return nullptr;
            }
            shown = &screen;
        }
    }
    return shown != nullptr ? shown : (Read.Screens.size() == 1 ? &Read.Screens.front() : nullptr);
}

class TRun {
public:
    TRun(std::uint8_t Flags, std::uint8_t Level) : FLevel(static_cast<tarvin::TEffortLevel>(Level % 5)) {
        FSettings.ClearPromptFirst = (Flags & 1) != 0;
        FSettings.RestorePromptAfter = (Flags & 2) != 0;
        FSettings.BlindWhenUnreadable = (Flags & 4) != 0;
        FSettings.TraceGrip = (Flags & 8) != 0;
        FSettings.IniPath = u"C:\\Tarvin.ini";
        FLast = FBurst.Start(FLevel, tarvin::TBurstTarget{0x10010, u"ConsoleWindowClass", Title}, FSettings, FNow);
        FUZZ_CHECK(!FLast.Ends() && FBurst.Running() && FLast.Batches.empty());
    }

    void Apply(TOp Op, std::uint8_t Arg) {
        switch (Op) {
        case opTick:
            FScreen = ScreenOf(static_cast<TScreenKind>(Arg % ScreenCount), FLevel);
            Tick(25, true, false);
            return;
        case opWait:
            Tick(10u * Arg, true, false);
            return;
        case opTabs: {
            TScreenRead tabs = ScreenOf(static_cast<TScreenKind>(Arg % ScreenCount), FLevel);
            if (tabs.Status == TScreenReadStatus::Read) {
                TConsoleScreen shell = Shell();
                shell.Title = (Arg & 0x80) != 0 ? Title : u"pwsh";
                tabs.Screens.push_back(std::move(shell));
            }
            FScreen = std::move(tabs);
            Tick(25, true, false);
            return;
        }
        case opFocusLost:
            Tick(25, false, false);
            return;
        case opModifier:
            Tick(25, true, (Arg & 1) != 0);
            return;
        case opShort:
            if (!FLast.Batches.empty() && FBurst.Running()) {
                const std::size_t records = tarvin::BuildKeyBatch(FLast.Batches.front()).size();
                const auto delivered = static_cast<std::int32_t>(Arg % (records == 0 ? 1 : records));
                const TBurstStep step = FBurst.SendFellShort(
                    FLast.Batches.front(), tarvin::TSendResult{static_cast<std::int32_t>(records), delivered, 5});
                FUZZ_CHECK(step.Ends() && step.Batches.empty() && !FBurst.Running() && !step.Lines.empty());
                FLast = step;
            }
            return;
        case OpCount:
            break;
        }
    }

    // Time goes on with whatever the terminal shows: every burst must come to an end.
    void Finish() {
        for (int i = 0; i < 400 && FBurst.Running(); ++i) {
            Tick(100, true, false);
        }
        FUZZ_CHECK(!FBurst.Running());
    }

private:
    void Tick(std::uint64_t AfterMs, bool InFront, bool ModifierDown) {
        const bool wasRunning = FBurst.Running();
        const bool wasLooking = FBurst.WantsScreen();
        FNow += AfterMs;
        TBurstTick facts;
        facts.NowMs = FNow;
        facts.TargetInFront = InFront;
        facts.ModifierDown = ModifierDown;
        if (FBurst.WantsScreen()) {
            facts.Screen = FScreen;
        }
        FLast = FBurst.Tick(facts);
        FUZZ_CHECK(FLast.Ends() == !FBurst.Running());
        if (facts.Screen && facts.Screen->Status != TScreenReadStatus::Read) {
            FSawUnreadable = true;
        }
        if (!wasRunning) {
            FUZZ_CHECK(FLast.Batches.empty() && FLast.Lines.empty() && !FLast.ReleaseModifiers);
            return;
        }
        if (!InFront) {
            FUZZ_CHECK(FLast.Batches.empty());
        }
        if (FLast.Batches.empty()) {
            return;
        }
        const TConsoleScreen* shown = facts.Screen ? Shown(*facts.Screen) : nullptr;
        const TPromptView view = shown != nullptr ? tarvin::ReadPromptView(*shown) : TPromptView{};
        const bool blind = !wasLooking || !FBurst.WantsScreen();
        if (blind) {
            // The blind schedule types only where a look could not read the screen and the user
            // allowed it.
            FUZZ_CHECK(FSettings.BlindWhenUnreadable && FSawUnreadable);
        }
        for (const tarvin::TKeyBatch& batch : FLast.Batches) {
            for (const tarvin::TKeyStroke& key : batch) {
                if (blind) {
                    continue;
                }
                if (key.Key == TKey::Enter) {
                    const bool command = view.Kind == tarvin::skPrompt && !view.Scrolled && !view.HasPastedBlock &&
                                         view.Rows.size() == 1 && view.Rows.front() == CommandOf(FLevel);
                    const bool question = view.Kind == tarvin::skEffortQuestion && view.FocusOnYes;
                    FUZZ_CHECK(command || question);
                    continue;
                }
                FUZZ_CHECK(view.Kind == tarvin::skPrompt);
                if (key.Key == TKey::Text) {
                    FUZZ_CHECK(key.Text == CommandOf(FLevel) || key.Text == u"!");
                }
            }
        }
    }

    tarvin::TEffortLevel FLevel;
    tarvin::TBurstSettings FSettings;
    TBurst FBurst;
    TBurstStep FLast;
    TScreenRead FScreen = ScreenOf(scEmpty, tarvin::elLow);
    std::uint64_t FNow = 1000;
    bool FSawUnreadable = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    TRun run(data[0], data[1]);
    for (std::size_t i = 2; i + 1 < size; i += 2) {
        run.Apply(static_cast<TOp>(data[i] % OpCount), data[i + 1]);
    }
    run.Finish();
    return 0;
}
