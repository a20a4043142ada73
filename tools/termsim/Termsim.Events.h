#pragma once
// What termsim's model of the Claude Code prompt reports: every key, the prompt after it, and
// every outcome a test may look for, harms first among them (text sent to the model, a tool
// approved, a line run, a setting saved, a draft lost). Termsim.Record.h writes them as lines.
#include "tools/termsim/Termsim.Draft.h"
#include "tools/termsim/Termsim.Key.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace termsim {

enum class TInputMode { Normal, Bash };
enum class TVimMode { Off, Insert, Normal };
// What has the keys: the input box, or what took its place.
enum class TView { Prompt, Question, Permission, ModelPicker, EffortPicker, Config, HistorySearch, Rewind, Shell };

std::u16string_view ModeName(TInputMode Mode);
std::u16string_view VimName(TVimMode Mode);
std::u16string_view ViewName(TView View);

struct TReadyEvent {
    std::uint64_t Window = 0;
    std::uint32_t ProcessId = 0;
    friend bool operator==(const TReadyEvent&, const TReadyEvent&) = default;
};

// The prompt after a key: the box's text and caret, the newest kill, and what else is not as a
// fresh prompt has it.
struct TPromptState {
    std::u16string Text;
    TCursor Cursor;
    std::u16string Kill;
    TInputMode Mode = TInputMode::Normal;
    TVimMode Vim = TVimMode::Off;
    std::optional<std::u16string> Stash;
    TView View = TView::Prompt;
    friend bool operator==(const TPromptState&, const TPromptState&) = default;
};

// --- harms: what a burst must never cause ---
struct TSubmittedEvent { // text went to the model (bash mode: to a shell)
    std::u16string Text;
    TInputMode Mode = TInputMode::Normal;
    friend bool operator==(const TSubmittedEvent&, const TSubmittedEvent&) = default;
};
struct TApprovedEvent { // a tool-permission dialog said yes: the tool runs
    std::u16string Choice;
    friend bool operator==(const TApprovedEvent&, const TApprovedEvent&) = default;
};
struct TRanEvent { // a plain shell ran a line
    std::u16string Line;
    friend bool operator==(const TRanEvent&, const TRanEvent&) = default;
};
struct TPickerSavedEvent { // a picker or settings panel saved a choice
    std::u16string Picker;
    std::u16string Choice;
    friend bool operator==(const TPickerSavedEvent&, const TPickerSavedEvent&) = default;
};
struct TCommandEvent { // a command other than /effort ran
    std::u16string Text;
    friend bool operator==(const TCommandEvent&, const TCommandEvent&) = default;
};
struct TUnexpandedEvent { // a placeholder went out as its own text: its pasted block was gone
    std::u16string Placeholder;
    friend bool operator==(const TUnexpandedEvent&, const TUnexpandedEvent&) = default;
};
struct TInterruptedEvent { // a running turn was stopped
    friend bool operator==(const TInterruptedEvent&, const TInterruptedEvent&) = default;
};
struct TStashLostEvent { // a new stash took the place of one that held a draft
    std::u16string Text;
    friend bool operator==(const TStashLostEvent&, const TStashLostEvent&) = default;
};
struct TClearedEvent { // the draft was thrown away (Escape twice, Ctrl+C)
    std::u16string Text;
    friend bool operator==(const TClearedEvent&, const TClearedEvent&) = default;
};

// --- everything else ---
struct TQuestionEvent { // "Change effort level?" came up, about Level
    std::u16string Text;
    std::u16string Level;
    friend bool operator==(const TQuestionEvent&, const TQuestionEvent&) = default;
};
struct TAnsweredEvent {
    bool Yes = false;
    friend bool operator==(const TAnsweredEvent&, const TAnsweredEvent&) = default;
};
struct TEffortEvent {
    std::u16string Level;
    friend bool operator==(const TEffortEvent&, const TEffortEvent&) = default;
};
struct TFailedEvent {
    std::u16string Error;
    friend bool operator==(const TFailedEvent&, const TFailedEvent&) = default;
};
struct TDeclinedEvent { // a tool-permission dialog said no or was cancelled
    std::u16string Choice;
    friend bool operator==(const TDeclinedEvent&, const TDeclinedEvent&) = default;
};
struct TStashedEvent {
    std::u16string Text;
    friend bool operator==(const TStashedEvent&, const TStashedEvent&) = default;
};
struct TUnstashedEvent {
    std::u16string Text;
    friend bool operator==(const TUnstashedEvent&, const TUnstashedEvent&) = default;
};
struct TModeEvent {
    TInputMode Mode = TInputMode::Normal;
    friend bool operator==(const TModeEvent&, const TModeEvent&) = default;
};
struct TVimEvent {
    TVimMode Mode = TVimMode::Insert;
    friend bool operator==(const TVimEvent&, const TVimEvent&) = default;
};
struct TPastedEvent { // what a paste put at the caret: the text, or its placeholder
    std::u16string Text;
    friend bool operator==(const TPastedEvent&, const TPastedEvent&) = default;
};
struct TViewEvent { // another view took the keys
    TView View = TView::Prompt;
    friend bool operator==(const TViewEvent&, const TViewEvent&) = default;
};
struct TTurnEvent { // a turn of the model began or ended
    bool Started = false;
    friend bool operator==(const TTurnEvent&, const TTurnEvent&) = default;
};

using TRecordEvent =
    std::variant<TReadyEvent, TKeyEvent, TPromptState, TSubmittedEvent, TQuestionEvent, TEffortEvent, TFailedEvent,
                 TApprovedEvent, TRanEvent, TPickerSavedEvent, TCommandEvent, TUnexpandedEvent, TInterruptedEvent,
                 TStashLostEvent, TClearedEvent, TAnsweredEvent, TDeclinedEvent, TStashedEvent, TUnstashedEvent,
                 TModeEvent, TVimEvent, TPastedEvent, TViewEvent, TTurnEvent>;

// Whether the event is one a burst must never cause.
bool IsHarm(const TRecordEvent& Event);

} // namespace termsim
