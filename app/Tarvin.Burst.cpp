#include "app/Tarvin.Burst.h"

#include "base/Base.Format.h"

#include <algorithm>
#include <utility>

namespace tarvin {
namespace {

using platform::TConsoleScreen;
using platform::TScreenRead;
using platform::TScreenReadStatus;

// Six Ctrl+E / Right pairs reach the end of a prompt of up to six lines below the cursor.
constexpr std::int32_t MotionSteps = 12;

std::u16string Counts(const TSendResult& Result) {
    return base::Format(u"Windows accepted only {0} of {1} keystrokes", Result.Delivered, Result.Requested);
}

TKeyStroke Key(TKey Which) {
    return TKeyStroke{Which, {}};
}

TKeyStroke Text(std::u16string Typed) {
    return TKeyStroke{TKey::Text, std::move(Typed)};
}

// Keys that cut a draft of about Rows rows: to the end of each row, then Ctrl+U twice per row (the
// text, then the line break before it). Extra kills on an empty box cut nothing.
TKeyBatch CutBatch(std::size_t Rows) {
    TKeyBatch keys;
    for (std::size_t i = 0; i < Rows; ++i) {
        keys.push_back(Key(TKey::CtrlE));
        keys.push_back(Key(TKey::Right));
    }
    for (std::size_t i = 0; i < 2 * Rows; ++i) {
        keys.push_back(Key(TKey::CtrlU));
    }
    return keys;
}

// An empty box that takes text as text (a vim user in INSERT mode included).
bool EmptyAndPlain(const TPromptView& View) {
    return View.Kind == skPrompt && View.Empty() && (View.Mode == pmNormal || View.Mode == pmVimInsert);
}

bool SameDraft(const TPromptView& Was, const TPromptView& Now) {
    const bool sameMode = Was.Mode == Now.Mode || (Was.Mode == pmVimInsert) == (Now.Mode == pmVimInsert);
    return Was.Rows == Now.Rows && Was.Scrolled == Now.Scrolled && sameMode &&
           (!Was.Caret || !Now.Caret || Was.Caret == Now.Caret);
}

} // namespace

std::int32_t ClearStepCount(bool RestorePromptAfter) {
    return RestorePromptAfter ? 29 : 28;
}

TClearKey ClearStepKey(std::int32_t Index, bool RestorePromptAfter) {
    if (Index < MotionSteps) {
        return Index % 2 == 0 ? TClearKey::CtrlE : TClearKey::Right;
    }
    if (Index == MotionSteps && RestorePromptAfter) {
        return TClearKey::Marker;
    }
    return TClearKey::CtrlU;
}

TBurstSettings TBurstSettings::From(const TSettings& Settings, std::u16string IniPath) {
    TBurstSettings settings;
    settings.ClearPromptFirst = Settings.ClearPromptFirst;
    settings.RestorePromptAfter = Settings.RestorePromptAfter;
    settings.BlindWhenUnreadable = Settings.BlindWhenUnreadable;
    settings.TraceGrip = Settings.TraceGrip;
    settings.EnterCount = Settings.EnterCount;
    settings.EnterDelayMs = Settings.EnterDelayMs;
    settings.ClearDelayMs = Settings.ClearDelayMs;
    settings.IniPath = std::move(IniPath);
    return settings;
}

// --- the burst ---

TBurstStep TBurst::Start(TEffortLevel Level, TBurstTarget Target, TBurstSettings Settings, std::uint64_t) {
    *this = TBurst();
    FLevel = Level;
    FTarget = std::move(Target);
    FSettings = std::move(Settings);
    FPhase = spWaitModifiers;
    TBurstStep step;
    // The user may still hold Ctrl and Alt of the chord; typed characters would become chords.
    step.ReleaseModifiers = true;
    step.NextTickMs = BurstStartDelayMs;
    return step;
}

void TBurst::Stop() {
    FPhase = spIdle;
}

bool TBurst::WantsScreen() const {
    return WantsScreenIn(FPhase);
}

bool TBurst::WantsScreenIn(TSendPhase Phase) {
    switch (Phase) {
    case spIdle:
    case spClearPrompt:
    case spEnterBurst:
    case spRestorePrompt:
    case spRemoveMarker:
        return false;
    case spWaitModifiers:
    case spPutAside:
    case spLeaveBash:
    case spTypeCommand:
    case spAwaitResult:
    case spBackToBash:
    case spWithdraw:
        break;
    }
    return true;
}

std::u16string TBurst::Command() const {
    return base::Format(u"/effort {0}", EffortWord[FLevel]);
}

TBurstStep TBurst::Next(std::uint32_t Ms) const {
    TBurstStep step;
    step.NextTickMs = Ms;
    return step;
}

TBurstStep TBurst::Expect(TSendPhase Phase, std::uint64_t NowMs, TBurstStep Step) {
    FPhase = Phase;
    FDeadlineMs = NowMs + ScreenSettleMs;
    Step.NextTickMs = SightTickMs;
    return Step;
}

TBurstStep TBurst::End(std::u16string Msg, bool Refusal) {
    FPhase = spIdle;
    TBurstStep step;
    step.Lines.push_back(std::move(Msg));
    step.Beep = Refusal;
    return step;
}

TBurstStep TBurst::Tick(const TBurstTick& Facts) {
    if (FPhase == spIdle) {
        return {};
    }
    if (!Facts.TargetInFront) {
        const bool typedAnything = FStashed || FCut || FLeftBash || FTyped;
        if (FPhase == spWaitModifiers || (WantsScreen() && !typedAnything)) {
            return End(FocusLossText(spWaitModifiers));
        }
        if (!WantsScreen()) {
            return End(FocusLossText(FPhase));
        }
        return End(u"The focus left the terminal, so Tarvin stopped. " + StateAdvice());
    }
    switch (FPhase) {
    case spWaitModifiers: {
        ++FWaitTicks;
        if (Facts.ModifierDown && FWaitTicks < ModifierWaitTicks) {
            return Next(BurstStartDelayMs);
        }
        TBurstStep step = Look(Facts);
        // Held past the wait: released once more before anything is typed.
        step.ReleaseModifiers = Facts.ModifierDown;
        return step;
    }
    case spClearPrompt:
    case spEnterBurst:
    case spRestorePrompt:
    case spRemoveMarker:
        return Blind(Facts);
    case spPutAside:
    case spLeaveBash:
    case spTypeCommand:
    case spAwaitResult:
    case spBackToBash:
    case spWithdraw:
        return Sighted(Facts);
    case spIdle:
        break;
    }
    FPhase = spIdle;
    return {};
}

TBurstStep TBurst::SendFellShort(const TKeyBatch& Batch, const TSendResult& Result) {
    const TSendPhase phase = FPhase;
    FPhase = spIdle;
    TBurstStep step;
    step.Beep = true;
    const std::u16string counts = base::Format(u"{0} (error {1})", Counts(Result), Result.ErrorCode);
    const TKey first = Batch.empty() ? TKey::Text : Batch.front().Key;
    if (phase == spClearPrompt) {
        step.Lines.push_back(ClearShortfallText(Result));
    } else if (first == TKey::Text && Batch.front().Text == Command()) {
        step.Lines.push_back(TypeShortfallText(Result) + (WantsScreenIn(phase) ? u" " + StateAdvice() : u""));
    } else if (!WantsScreenIn(phase)) {
        // The blind schedule's later keys: what they would have done is now the user's to do.
        switch (first) {
        case TKey::CtrlY:
            step.Lines.push_back(counts +
                                 u", so your text was not pasted back. Press Ctrl+Y in that terminal, "
                                 u"then Backspace once to remove the extra \"x\" from its end.");
            break;
        case TKey::Backspace:
            step.Lines.push_back(counts +
                                 u". Your text is back, but it may carry one extra \"x\" at its end - "
                                 u"press Backspace once in that terminal to remove it.");
            break;
        default:
            step.Lines.push_back(counts +
                                 u", so Enter did not go out in full. If the \"Change effort level?\" "
                                 u"question is on screen, answer it yourself.");
            break;
        }
    } else if (!FStashed && !FCut && !FLeftBash && !FTyped) {
        step.Lines.push_back(counts + u". Nothing was typed.");
    } else {
        step.Lines.push_back(counts + u". Tarvin stopped. " + StateAdvice());
    }
    return step;
}

// --- the blind schedule ---

TBurstStep TBurst::Blind(const TBurstTick&) {
    switch (FPhase) {
    case spClearPrompt:
        return FClearStep <= 0 ? BlindTypeCommand() : BlindClearStep();
    case spEnterBurst: {
        --FPendingEnters;
        TBurstStep step = Next(static_cast<std::uint32_t>(FSettings.EnterDelayMs));
        step.Batches.push_back({Key(TKey::Enter)});
        if (FPendingEnters > 0) {
            return step;
        }
        if (FSettings.RestorePromptAfter && FSettings.ClearPromptFirst) {
            FPhase = spRestorePrompt;
            step.NextTickMs = static_cast<std::uint32_t>(FSettings.ClearDelayMs);
        } else {
            FPhase = spIdle;
            step.NextTickMs.reset();
        }
        return step;
    }
    case spRestorePrompt: {
        FPhase = spRemoveMarker;
        TBurstStep step = Next(static_cast<std::uint32_t>(FSettings.ClearDelayMs));
        step.Batches.push_back({Key(TKey::CtrlY)});
        return step;
    }
    case spRemoveMarker: {
        FPhase = spIdle;
        TBurstStep step;
        step.Batches.push_back({Key(TKey::Backspace)});
        if (FSettings.TraceGrip) {
            step.Lines.push_back(
                u"Pasted the deleted prompt text back (Ctrl+Y) and removed the marker character.");
        }
        return step;
    }
    default:
        break;
    }
    FPhase = spIdle;
    return {};
}

TBurstStep TBurst::BlindClearStep() {
    const std::int32_t index = FClearTotal - FClearStep;
    --FClearStep;
    TBurstStep step = Next(static_cast<std::uint32_t>(FSettings.ClearDelayMs));
    switch (ClearStepKey(index, FSettings.RestorePromptAfter)) {
    case TClearKey::CtrlE:
        step.Batches.push_back({Key(TKey::CtrlE)});
        break;
    case TClearKey::Right:
        step.Batches.push_back({Key(TKey::Right)});
        break;
    case TClearKey::Marker:
        step.Batches.push_back({Text(ClearMarker)});
        break;
    case TClearKey::CtrlU:
        step.Batches.push_back({Key(TKey::CtrlU)});
        break;
    }
    return step;
}

TBurstStep TBurst::BlindTypeCommand() {
    FPhase = spEnterBurst;
    FPendingEnters = FSettings.EnterCount;
    TBurstStep step = Next(static_cast<std::uint32_t>(FSettings.EnterDelayMs));
    step.Batches.push_back({Text(Command())});
    step.Batches.push_back({Key(TKey::Enter)});
    step.Lines.push_back(TypedCommandText(Command(), FTarget.WindowClass, FTarget.Title));
    return step;
}

// --- with sight ---

std::optional<TConsoleScreen> TBurst::PickScreen(const TScreenRead& Read, std::u16string& Why) const {
    if (Read.Screens.size() == 1 && FConsoleTitle.empty()) {
        return Read.Screens.front();
    }
    // Several consoles stand behind one window (tabs): the one whose title the window shows is in
    // front. Once chosen, the burst follows that title.
    const std::u16string& title = FConsoleTitle.empty() ? FTarget.Title : FConsoleTitle;
    std::optional<TConsoleScreen> found;
    std::size_t matches = 0;
    for (const TConsoleScreen& screen : Read.Screens) {
        if (screen.Title == title) {
            ++matches;
            found = screen;
        }
    }
    if (matches == 1) {
        return found;
    }
    if (Read.Screens.size() == 1) {
        return Read.Screens.front();
    }
    Why = base::Format(
        u"The terminal window holds {0} consoles (tabs), and {1} of them carry the window's title "
        u"\"{2}\", so Tarvin cannot tell which one is in front. Nothing was typed.",
        Read.Screens.size(), matches == 0 ? std::u16string(u"none") : base::Format(u"{0}", matches), title);
    return std::nullopt;
}

TBurstStep TBurst::Look(const TBurstTick& Facts) {
    const bool readable = Facts.Screen && Facts.Screen->Status == TScreenReadStatus::Read;
    if (!readable) {
        const std::u16string reason =
            Facts.Screen ? Facts.Screen->Reason : std::u16string(u"it was not read");
        if (FSettings.BlindWhenUnreadable) {
            if (FSettings.ClearPromptFirst) {
                FClearStep = ClearStepCount(FSettings.RestorePromptAfter);
                FClearTotal = FClearStep;
                FPhase = spClearPrompt;
                return Next(static_cast<std::uint32_t>(FSettings.ClearDelayMs));
            }
            return BlindTypeCommand();
        }
        return End(
            base::Format(u"Tarvin cannot read this terminal's screen ({0}), so it cannot see whether a "
                         u"dialog would take the Enter or a draft would be sent to the model. Nothing was "
                         u"typed. To type blind in such terminals anyway, set BlindWhenUnreadable=1 in "
                         u"[Sending] of {1}.",
                         reason, FSettings.IniPath),
            true);
    }
    std::u16string why;
    const std::optional<TConsoleScreen> screen = PickScreen(*Facts.Screen, why);
    if (!screen) {
        return End(why, true);
    }
    FConsoleTitle = screen->Title;
    const TPromptView view = ReadPromptView(*screen);
    if (view.Kind != skPrompt) {
        return End(base::Format(u"Nothing was typed: {0}.", ScreenKindText(view.Kind)), true);
    }
    FDraft = view;
    // An earlier draft waits in the stash: the CLI hands it back by itself after the command.
    FOldStash = view.Stashed;
    if (view.Empty()) {
        if (view.Mode == pmBash) {
            // Typed into a bash prompt, the command would run in a shell. Ctrl+U on the empty
            // prompt leaves bash mode; "!" brings it back at the end.
            FLeftBash = true;
            TBurstStep step;
            step.Batches.push_back({Key(TKey::CtrlU)});
            return Expect(spLeaveBash, Facts.NowMs, std::move(step));
        }
        return TypeCommand(Facts.NowMs);
    }
    if (!FSettings.ClearPromptFirst) {
        return End(
            base::Format(u"The prompt holds a draft, and ClearPromptFirst is off in {0}, so Tarvin may not "
                         u"put it aside. Nothing was typed.",
                         FSettings.IniPath),
            true);
    }
    TBurstStep step;
    if (!FSettings.RestorePromptAfter) {
        FCut = true;
        FRoundAtMs = Facts.NowMs;
        step.Batches.push_back(CutBatch(view.Rows.size()));
        return Expect(spPutAside, Facts.NowMs, std::move(step));
    }
    if (view.Stashed) {
        return End(
            u"The prompt holds a draft while another one waits in Claude Code's stash (Ctrl+S), and "
            u"putting this one aside would disturb that one. Nothing was typed. Send or clear the draft, "
            u"then press the hotkey again.",
            true);
    }
    FStashed = true;
    step.Batches.push_back({Key(TKey::CtrlS)});
    Trace(step, base::Format(
                    u"Screen: Claude Code's prompt holds a draft of {0} {1} ({2}); putting it aside with "
                    u"Ctrl+S.",
                    view.Rows.size(), view.Rows.size() == 1 ? u"row" : u"rows", PromptModeText(view.Mode)));
    return Expect(spPutAside, Facts.NowMs, std::move(step));
}

TBurstStep TBurst::TypeCommand(std::uint64_t NowMs) {
    FTyped = true;
    TBurstStep step;
    step.Batches.push_back({Text(Command())});
    Trace(step, u"Screen: the prompt is empty; typing the command.");
    return Expect(spTypeCommand, NowMs, std::move(step));
}

void TBurst::Trace(TBurstStep& Step, std::u16string Line) const {
    if (FSettings.TraceGrip) {
        Step.Lines.push_back(std::move(Line));
    }
}

TBurstStep TBurst::Sighted(const TBurstTick& Facts) {
    if (!Facts.Screen || Facts.Screen->Status != TScreenReadStatus::Read) {
        const std::u16string reason = Facts.Screen ? Facts.Screen->Reason : std::u16string();
        return End(base::Format(u"Tarvin lost sight of the terminal's screen ({0}) and stopped. {1}", reason,
                                StateAdvice()));
    }
    std::u16string why;
    const std::optional<TConsoleScreen> screen = PickScreen(*Facts.Screen, why);
    if (!screen) {
        return End(u"Tarvin lost track of the terminal's tab and stopped. " + StateAdvice());
    }
    const TPromptView view = ReadPromptView(*screen);
    switch (FPhase) {
    case spPutAside:
        return PutAside(view, Facts.NowMs);
    case spLeaveBash:
        if (EmptyAndPlain(view)) {
            return TypeCommand(Facts.NowMs);
        }
        break;
    case spTypeCommand:
        if (view.Kind == skPrompt && !view.Scrolled && !view.HasPastedBlock && view.Rows.size() == 1) {
            const std::u16string command = Command();
            if (view.Rows.front() == command) {
                FEntered = true;
                FEnteredAtMs = Facts.NowMs;
                TBurstStep step;
                step.Batches.push_back({Key(TKey::Enter)});
                Trace(step,
                      base::Format(u"Screen: the prompt reads exactly \"{0}\"; pressing Enter.", command));
                step.Lines.push_back(TypedCommandText(command, FTarget.WindowClass, FTarget.Title));
                return Expect(spAwaitResult, Facts.NowMs, std::move(step));
            }
            if (!command.starts_with(view.Rows.front())) {
                FWithdrawStep = 0;
                return Withdraw(view, Facts.NowMs);
            }
        } else if (view.Kind == skPrompt) {
            // The command fits one row: more rows are not the command.
            FWithdrawStep = 0;
            return Withdraw(view, Facts.NowMs);
        } else {
            return End(
                base::Format(u"Something took the keys while the command was typed: {0}. Tarvin stopped "
                             u"before Enter. {1}",
                             ScreenKindText(view.Kind), StateAdvice()));
        }
        if (Facts.NowMs >= FDeadlineMs) {
            FWithdrawStep = 0;
            return Withdraw(view, Facts.NowMs);
        }
        return Next(SightTickMs);
    case spAwaitResult:
        return AwaitResult(view, Facts.NowMs);
    case spBackToBash:
        if (view.Kind == skPrompt && view.Mode == pmBash && view.Empty()) {
            return Finish(view);
        }
        break;
    case spWithdraw:
        return Withdraw(view, Facts.NowMs);
    default:
        break;
    }
    if (view.Kind != skPrompt) {
        return End(base::Format(u"Tarvin stopped: {0}. {1}", ScreenKindText(view.Kind), StateAdvice()));
    }
    if (Facts.NowMs >= FDeadlineMs) {
        return End(u"The prompt did not show what Tarvin waited for, so it stopped. " + StateAdvice());
    }
    return Next(SightTickMs);
}

TBurstStep TBurst::PutAside(const TPromptView& View, std::uint64_t NowMs) {
    if (View.Kind != skPrompt) {
        return End(u"Tarvin stopped while putting the draft aside: " + ScreenKindText(View.Kind) + u". " +
                   StateAdvice());
    }
    if (View.Empty()) {
        if (View.Mode == pmBash) {
            // The stash keeps bash mode with the draft; the empty prompt left behind may still be in it.
            TBurstStep step;
            step.Batches.push_back({Key(TKey::CtrlU)});
            return Expect(spLeaveBash, NowMs, std::move(step));
        }
        if (View.Mode != pmVimNormal) {
            return TypeCommand(NowMs);
        }
    }
    if (FCut && FRounds < ClearRounds && NowMs >= FRoundAtMs + ClearRoundMs) {
        // A draft longer than the box shows takes more rounds; the caret already stands at the end
        // of what is left, and Ctrl+U alone keeps adding to the same kill.
        ++FRounds;
        FRoundAtMs = NowMs;
        TBurstStep step;
        step.Batches.push_back(TKeyBatch(2 * std::max<std::size_t>(View.Rows.size(), 1), Key(TKey::CtrlU)));
        return Expect(spPutAside, NowMs, std::move(step));
    }
    if (NowMs >= FDeadlineMs || (FCut && FRounds >= ClearRounds)) {
        return End(u"Tarvin could not empty the prompt, so it typed nothing. " + StateAdvice());
    }
    return Next(SightTickMs);
}

TBurstStep TBurst::AwaitResult(const TPromptView& View, std::uint64_t NowMs) {
    if (View.Kind == skEffortQuestion) {
        if (!FAnswered && View.FocusOnYes) {
            FAnswered = true;
            TBurstStep step;
            step.Batches.push_back({Key(TKey::Enter)});
            if (FSettings.TraceGrip) {
                step.Lines.push_back(u"Answered \"Change effort level?\" with Enter (Yes).");
            }
            return Expect(spAwaitResult, NowMs, std::move(step));
        }
        if (!FAnswered) {
            return End(
                u"\"Change effort level?\" is open with the focus away from Yes, so Tarvin left it to you. " +
                StateAdvice());
        }
        if (NowMs >= FDeadlineMs) {
            return End(u"\"Change effort level?\" is still open after Tarvin answered it. " + StateAdvice());
        }
        return Next(SightTickMs);
    }
    if (View.Kind != skPrompt) {
        return End(base::Format(u"After the command, {0}. Tarvin sent nothing more. {1}",
                                ScreenKindText(View.Kind), StateAdvice()));
    }
    if (View.Effort == EffortWord[FLevel]) {
        FEffortSeen = true;
    }
    const bool quiet = FAnswered || NowMs >= FEnteredAtMs + QuestionWindowMs;
    if (FStashed || FOldStash) {
        // The stash comes back by itself once the command ran (and its question was answered). Until
        // the terminal has taken the Enter, the box still shows the command.
        const bool stillCommand = View.Text() == Command() && (FDraft.Text() != Command() || !quiet);
        if (!View.Empty() && !stillCommand) {
            return Finish(View);
        }
    } else if (View.Empty() && quiet) {
        if (FLeftBash) {
            TBurstStep step;
            step.Batches.push_back({Text(u"!")});
            return Expect(spBackToBash, NowMs, std::move(step));
        }
        return Finish(View);
    } else if (!View.Empty() && View.Text() == Command()) {
        if (NowMs >= FDeadlineMs) {
            return End(base::Format(u"\"{0}\" stayed in the prompt after Enter; Tarvin left it there. {1}",
                                    Command(), StateAdvice()));
        }
    } else if (!View.Empty()) {
        // Text came into a box that was empty before the command: a stash the first look did not
        // see (its hint shares the row above the box) came back, as after every message.
        FOldStash = true;
        return Finish(View);
    }
    if (NowMs >= FDeadlineMs + (FStashed ? QuestionWindowMs : 0)) {
        return End(u"The prompt did not come back as expected after the command. " + StateAdvice());
    }
    return Next(SightTickMs);
}

TBurstStep TBurst::Withdraw(const TPromptView& View, std::uint64_t NowMs) {
    // The box was seen empty before the command was typed, so a short text in it now is what the
    // keys made of the command (a vim user's NORMAL mode takes letters as commands: "/effort high"
    // becomes a new line "rt high"). A box that grew longer than the keys could make is left alone.
    const bool ours =
        View.Kind == skPrompt && !View.Scrolled && !View.HasPastedBlock && View.Rows.size() <= 3;
    const std::u16string shown = View.Kind == skPrompt ? View.Text() : ScreenKindText(View.Kind);
    if (FWithdrawStep == 0) {
        if (!ours) {
            return End(base::Format(
                u"The command did not appear in the prompt as typed (it shows \"{0}\"), so Tarvin "
                u"pressed no Enter and stopped. {1}",
                shown, StateAdvice()));
        }
        FWithdrawStep = 1;
        FTyped = false;
        FRoundAtMs = NowMs;
        TBurstStep step;
        if (!View.Empty()) {
            step.Batches.push_back(CutBatch(View.Rows.size()));
        }
        step = Expect(spWithdraw, NowMs, std::move(step));
        std::u16string line =
            u"The command did not appear whole in the prompt, so Tarvin pressed no Enter and "
            u"removed what it had typed.";
        if (View.Mode == pmVimInsert && FDraft.Mode != pmVimInsert) {
            line +=
                u" Claude Code's vim NORMAL mode took the keys as commands: press i there before the hotkey.";
        }
        step.Lines.push_back(std::move(line));
        return step;
    }
    if (FWithdrawStep == 1) {
        if (View.Kind == skPrompt && !View.Empty() && NowMs >= FRoundAtMs + ClearRoundMs &&
            FRounds < ClearRounds) {
            ++FRounds;
            FRoundAtMs = NowMs;
            TBurstStep step;
            step.Batches.push_back(
                TKeyBatch(2 * std::max<std::size_t>(View.Rows.size(), 1), Key(TKey::CtrlU)));
            return Expect(spWithdraw, NowMs, std::move(step));
        }
        if (View.Kind == skPrompt && View.Empty()) {
            if (!FStashed) {
                return End(u"Nothing was sent to Claude Code.", true);
            }
            // Ctrl+S on the empty prompt brings the stash back.
            FWithdrawStep = 2;
            TBurstStep step;
            step.Batches.push_back({Key(TKey::CtrlS)});
            return Expect(spWithdraw, NowMs, std::move(step));
        }
    } else if (View.Kind == skPrompt && !View.Empty()) {
        FStashed = false;
        if (SameDraft(FDraft, View)) {
            return End(u"Nothing was sent, and your draft is back as it was.", true);
        }
        TBurstStep step =
            End(u"Nothing was sent, but your draft did not come back exactly as it was. It read:", true);
        AddDraftRows(step);
        return step;
    }
    if (NowMs >= FDeadlineMs) {
        return End(u"Tarvin could not take back what it typed. " + StateAdvice());
    }
    return Next(SightTickMs);
}

TBurstStep TBurst::Finish(const TPromptView& View) {
    FPhase = spIdle;
    TBurstStep step;
    const std::u16string word(EffortWord[FLevel]);
    step.Lines.push_back(
        FEffortSeen || View.Effort == word ? base::Format(u"Claude Code shows the effort is now {0}.", word)
        : View.Effort.empty()
            ? std::u16string(u"The command ran, but Tarvin did not see the new level above the prompt.")
            : base::Format(u"The command ran, but Tarvin did not see the new level above the "
                           u"prompt (it shows {0}).",
                           View.Effort));
    if (FOldStash && !FStashed) {
        step.Lines.push_back(
            u"The draft you had stashed with Ctrl+S came back into the prompt after the command, as "
            u"Claude Code does after every message.");
    } else if (FStashed) {
        if (SameDraft(FDraft, View)) {
            if (FSettings.TraceGrip) {
                step.Lines.push_back(u"Your draft is back as it was.");
            }
        } else {
            step.Lines.push_back(u"Your draft came back, but not exactly as it was. It read:");
            AddDraftRows(step);
        }
    } else if (FCut) {
        step.Lines.push_back(base::Format(u"Your draft was discarded (RestorePromptAfter is off in {0}); "
                                          u"Ctrl+Y in that terminal pastes it back.",
                                          FSettings.IniPath));
    }
    return step;
}

void TBurst::AddDraftRows(TBurstStep& Step) const {
    // One log line per row, indented, so that the text can be copied from the log box.
    for (const std::u16string& row : FDraft.Rows) {
        Step.Lines.push_back(u"    " + row);
    }
}

std::u16string TBurst::StateAdvice() const {
    if (FEntered) {
        std::u16string advice = base::Format(
            u"\"{0}\" was sent; if \"Change effort level?\" is on screen, answer it yourself.", Command());
        if (FStashed) {
            advice +=
                u" Your draft waits in Claude Code's stash and comes back by itself after that, or press "
                u"Ctrl+S on the empty prompt.";
        }
        return advice;
    }
    std::u16string advice;
    if (FTyped) {
        advice =
            base::Format(u"\"{0}\" may stand in the prompt unsent: press Ctrl+U to remove it.", Command());
    } else {
        advice = u"No command was typed.";
    }
    if (FStashed) {
        advice +=
            u" Your draft is in Claude Code's stash: press Ctrl+S on the empty prompt to bring it back.";
    } else if (FCut) {
        advice += u" Your draft was cut: press Ctrl+Y to paste it back.";
    }
    if (FLeftBash) {
        advice += u" Type ! on the empty prompt to go back to bash mode.";
    }
    return advice;
}

// --- texts ---

std::u16string FocusLossText(TSendPhase Phase) {
    switch (Phase) {
    case spClearPrompt:
        return u"The focus left the terminal while the prompt was being cleared. The command was not typed. "
               u"If your text is gone from the prompt, press Ctrl+Y in that terminal to paste it back, and "
               u"remove the extra \"x\" if one appears at its end.";
    case spEnterBurst:
        return u"The focus left the terminal, so the remaining Enter keystrokes were not sent. If the "
               u"\"Change effort level?\" question is still on screen, answer it yourself.";
    case spRestorePrompt:
        return u"The focus left the terminal before your typed text could be put back. Press Ctrl+Y in that "
               u"terminal to paste it back, then Backspace once to remove the extra \"x\" from its end.";
    case spRemoveMarker:
        return u"The focus left the terminal just before the last keystroke. Your typed text is back in the "
               u"prompt, but it carries one extra \"x\" at its end - press Backspace once in that terminal "
               u"to remove it.";
    default:
        break;
    }
    return u"The focus left the terminal before the command could be typed. Nothing was sent.";
}

std::u16string ClearShortfallText(const TSendResult& Result) {
    return base::Format(u"{0} while clearing the prompt (error {1}). Nothing was typed.", Counts(Result),
                        Result.ErrorCode);
}

std::u16string TypeShortfallText(const TSendResult& Result) {
    return base::Format(u"{0} (error {1}). The command was not typed in full.", Counts(Result),
                        Result.ErrorCode);
}

std::u16string TypedCommandText(std::u16string_view Command, std::u16string_view WindowClass,
                                std::u16string_view Title) {
    return base::Format(u"Typed \"{0}\" into {1} (\"{2}\").", Command, WindowClass, Title);
}

} // namespace tarvin
