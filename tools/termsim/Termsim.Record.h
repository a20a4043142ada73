#pragma once
// The record termsim keeps of what reached its prompt: UTF-8, one event per line, each line
// complete (ending in '\n') once it is in the file.
//
//   ready window=0x1A2B pid=1234           the window is up and waits for keys
//   key char "a"                           a typed character
//   key ctrl+E | ctrl+U | ctrl+Y | right | backspace | enter | shift+enter
//   prompt "line1\nline2" cursor=1,4 kill="..."   the prompt after the key above
//   submitted "..."                        Enter sent this text off as a message
//   question "Change effort level?"        Enter asked before changing the level
//   effort high                            the effort level was set
//   failed "Unknown command: /foo"         Enter ran a command that failed
//
// Quoted text escapes \\, \", \n, \r, \t, and every other control character or lone surrogate
// as \uXXXX (UTF-16 unit, four hex digits), so any prompt text survives the round trip.
#include "tools/termsim/Termsim.Prompt.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace termsim {

struct TReadyEvent {
    std::uint64_t Window = 0;
    std::uint32_t ProcessId = 0;

    friend bool operator==(const TReadyEvent&, const TReadyEvent&) = default;
};

struct TPromptState {
    std::u16string Text;
    TCursor Cursor;
    std::u16string Kill;

    friend bool operator==(const TPromptState&, const TPromptState&) = default;
};

struct TSubmittedEvent {
    std::u16string Text;
    friend bool operator==(const TSubmittedEvent&, const TSubmittedEvent&) = default;
};

struct TQuestionEvent {
    std::u16string Text;
    friend bool operator==(const TQuestionEvent&, const TQuestionEvent&) = default;
};

struct TEffortEvent {
    std::u16string Level;
    friend bool operator==(const TEffortEvent&, const TEffortEvent&) = default;
};

struct TFailedEvent {
    std::u16string Error;
    friend bool operator==(const TFailedEvent&, const TFailedEvent&) = default;
};

using TRecordEvent = std::variant<TReadyEvent, TKeyEvent, TPromptState, TSubmittedEvent, TQuestionEvent,
                                  TEffortEvent, TFailedEvent>;

// Text in the record's escaped form, without the quotes.
std::u16string EscapeText(std::u16string_view text);

// One record line in UTF-8, '\n' included.
std::string FormatRecordLine(const TRecordEvent& event);

TPromptState StateOf(const TPrompt& prompt);

// Hands the key to the prompt and returns the events to record for it: the key, what Enter led
// to if anything, and the prompt afterwards.
std::vector<TRecordEvent> PressKey(TPrompt& prompt, const TKeyEvent& key);

} // namespace termsim
