#pragma once
// The send sequencer as a value: one hotkey press becomes a burst of keystrokes into the focused
// terminal, decided step by step on what the terminal's screen shows. The main window only
// adapts its timer and the platform to it: it hands each tick's facts (is the terminal still in
// front, is a modifier down, what does the screen show) to Tick and carries out the answer (the
// key batches, the log lines, the next tick).
//
// With sight, a key that could submit text or answer a dialog goes out only right after the
// screen showed that it is safe: Enter only when the box reads exactly "/effort <level>", or when
// "Change effort level?" is open with the focus on Yes. The draft is put aside with Claude Code's
// own stash (Ctrl+S), which keeps pasted blocks, bash mode and the caret, and comes back by
// itself after the command. Where the screen cannot be read, the burst refuses unless the user
// allowed the blind schedule: fixed keys at fixed times, as Tarvin typed before it could see.
#include "app/Tarvin.Screen.h"
#include "app/Tarvin.Sender.h"
#include "app/Tarvin.Settings.h"
#include "platform/Platform.ScreenReader.h"
#include "platform/Platform.Types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvin {

// What the next tick of a burst does.
enum TSendPhase : std::uint8_t {
    spIdle,          // nothing runs; a stray tick resets
    spWaitModifiers, // waits for the modifier keys to come up, then looks at the screen
    // The blind schedule.
    spClearPrompt,   // sends the next clearing keystroke, or types the command when all are done
    spEnterBurst,    // sends the next Enter
    spRestorePrompt, // sends Ctrl+Y
    spRemoveMarker,  // sends Backspace and ends the burst
    // With sight.
    spPutAside,      // the draft is being stashed or cut; waits for the empty box
    spLeaveBash,     // Ctrl+U on an empty bash prompt; waits for the normal prompt
    spTypeCommand,   // the command is typed; waits to see it whole in the box
    spAwaitResult,   // Enter went out; watches for the question, the box, the level and the draft
    spBackToBash,    // "!" typed to give an empty bash prompt back; waits for bash mode
    spWithdraw,      // the command never showed whole: Tarvin's own text is removed, the draft fetched
};

// The first tick comes this soon after the press.
inline constexpr std::uint32_t BurstStartDelayMs = 25;
// Ticks of waiting for the modifiers to come up before they are released once more (about 1.5 s).
inline constexpr std::int32_t ModifierWaitTicks = 60;
// With sight the burst looks at the screen this often.
inline constexpr std::uint32_t SightTickMs = 25;
// How long the screen may take to show what a key did (a busy session draws slower).
inline constexpr std::uint64_t ScreenSettleMs = 2000;
// "Change effort level?" comes within about 250 ms of the Enter when it comes at all.
inline constexpr std::uint64_t QuestionWindowMs = 700;
// Rounds of cutting a draft that is longer than the box shows, and the time the screen gets to
// show each round.
inline constexpr std::int32_t ClearRounds = 20;
inline constexpr std::uint64_t ClearRoundMs = 150;

// One key of the blind clearing schedule. The marker is the letter "x": typed after the text, it
// makes sure the Ctrl+U chain cuts something, so Ctrl+Y later pastes this burst's text and not an
// older kill.
enum class TClearKey : std::uint8_t { CtrlE, Right, Marker, CtrlU };
inline constexpr char16_t ClearMarker[] = u"x";

// 29 keystrokes with the marker (restore on), 28 without.
std::int32_t ClearStepCount(bool RestorePromptAfter);
// Step Index (0 to ClearStepCount - 1): six Ctrl+E and Right pairs, the marker when restoring,
// then Ctrl+U.
TClearKey ClearStepKey(std::int32_t Index, bool RestorePromptAfter);

// The settings a burst runs with, taken when it starts.
struct TBurstSettings {
    bool ClearPromptFirst = true;
    bool RestorePromptAfter = true;
    bool BlindWhenUnreadable = false;
    bool TraceGrip = false;
    std::int32_t EnterCount = 3;
    std::int32_t EnterDelayMs = 250;
    std::int32_t ClearDelayMs = 60;
    std::u16string IniPath; // named in the messages that point at a setting

    static TBurstSettings From(const TSettings& Settings, std::u16string IniPath);
};

// The window a burst types into, as the target check saw it.
struct TBurstTarget {
    platform::TWindowHandle Handle = 0;
    std::u16string WindowClass;
    std::u16string Title;
};

// The facts of one tick, gathered by the caller.
struct TBurstTick {
    std::uint64_t NowMs = 0;
    bool TargetInFront = true;
    bool ModifierDown = false;
    // The target's screen, read for this tick when WantsScreen() said so.
    std::optional<platform::TScreenRead> Screen;
};

// What the caller does after a step, in this order: release the modifiers, send the batches one
// by one (the first that falls short stops the rest, and its result goes to SendFellShort in place
// of everything else here), write the lines to the log box, beep, then arm the timer for the next
// tick or, with none, end the burst.
struct TBurstStep {
    bool ReleaseModifiers = false;
    std::vector<TKeyBatch> Batches;
    std::vector<std::u16string> Lines;
    bool Beep = false;
    std::optional<std::uint32_t> NextTickMs;

    bool Ends() const { return !NextTickMs.has_value(); }
};

class TBurst {
public:
    // Begins a burst for a target the target check accepted.
    [[nodiscard]] TBurstStep Start(TEffortLevel Level, TBurstTarget Target, TBurstSettings Settings,
                                   std::uint64_t NowMs);
    [[nodiscard]] TBurstStep Tick(const TBurstTick& Facts);
    // Batch, of the last step, fell short: the burst ends and says what the user should check.
    [[nodiscard]] TBurstStep SendFellShort(const TKeyBatch& Batch, const TSendResult& Result);
    // Back to idle without a word (the window closes).
    void Stop();

    TSendPhase Phase() const { return FPhase; }
    bool Running() const { return FPhase != spIdle; }
    // The next tick needs the target's screen.
    bool WantsScreen() const;
    const TBurstTarget& Target() const { return FTarget; }
    TEffortLevel Level() const { return FLevel; }

private:
    static bool WantsScreenIn(TSendPhase Phase);
    TBurstStep Blind(const TBurstTick& Facts);
    TBurstStep BlindClearStep();
    TBurstStep BlindTypeCommand();
    // The first look, once the modifiers are up.
    TBurstStep Look(const TBurstTick& Facts);
    TBurstStep Sighted(const TBurstTick& Facts);
    TBurstStep PutAside(const TPromptView& View, std::uint64_t NowMs);
    TBurstStep TypeCommand(std::uint64_t NowMs);
    TBurstStep AwaitResult(const TPromptView& View, std::uint64_t NowMs);
    // A box that does not read as the command: withdrawn once a second look agrees.
    TBurstStep MismatchSeen(const TPromptView& View, std::uint64_t NowMs);
    TBurstStep Withdraw(const TPromptView& View, std::uint64_t NowMs);
    // The burst is over: the level and the draft as the screen shows them.
    TBurstStep Finish(const TPromptView& View);
    // Ends the burst with Msg; a refusal (nothing was typed yet) also beeps.
    TBurstStep End(std::u16string Msg, bool Refusal = false);
    TBurstStep Next(std::uint32_t Ms) const;
    TBurstStep Expect(TSendPhase Phase, std::uint64_t NowMs, TBurstStep Step);
    // The console of the target this burst follows; none when the read holds no single one.
    std::optional<platform::TConsoleScreen> PickScreen(const platform::TScreenRead& Read, std::u16string& Why) const;
    std::u16string Command() const;
    // A line about what the screen showed, when the user asked for traces.
    void Trace(TBurstStep& Step, std::u16string Line) const;
    // The draft as the first look saw it, row by row, after the step's lines.
    void AddDraftRows(TBurstStep& Step) const;
    // What the user should know when the burst stops before its end.
    std::u16string StateAdvice() const;

    TSendPhase FPhase = spIdle;
    TEffortLevel FLevel = elLow;
    TBurstTarget FTarget;
    TBurstSettings FSettings;
    std::int32_t FWaitTicks = 0;
    // Blind schedule.
    std::int32_t FClearStep = 0;
    std::int32_t FClearTotal = 0;
    std::int32_t FPendingEnters = 0;
    // With sight.
    std::u16string FConsoleTitle; // the console (tab) the burst follows
    TPromptView FDraft;           // the box as the first look saw it
    bool FStashed = false;        // Ctrl+S put the draft aside
    bool FOldStash = false;       // an earlier draft waited in the stash
    bool FCut = false;            // Ctrl+U cut the draft (to discard it)
    bool FLeftBash = false;       // an empty bash prompt was left; "!" gives it back
    bool FTyped = false;          // the command is in the box
    bool FEntered = false;        // Enter went out after the command
    bool FAnswered = false;       // Enter answered the question
    bool FEffortSeen = false;
    std::int32_t FRounds = 0;
    std::int32_t FWithdrawStep = 0;
    // A box that did not read as the command typed so far, seen once: it counts when a second
    // look sees it again, since a look may fall between two of the terminal's redraws.
    std::optional<std::vector<std::u16string>> FMismatch;
    std::uint64_t FRoundAtMs = 0;
    std::uint64_t FDeadlineMs = 0;
    std::uint64_t FEnteredAtMs = 0;
};

// What the log box says when the focus leaves the terminal during the blind schedule.
std::u16string FocusLossText(TSendPhase Phase);
std::u16string ClearShortfallText(const TSendResult& Result);
std::u16string TypeShortfallText(const TSendResult& Result);
std::u16string TypedCommandText(std::u16string_view Command, std::u16string_view WindowClass,
                                std::u16string_view Title);

} // namespace tarvin
