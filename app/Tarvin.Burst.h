#pragma once
// The plain pieces of the send sequencer: its phases, the prompt-clearing schedule and the texts
// it writes. The state machine itself runs in the main window (FormMain), one step per timer tick.
#include "app/Tarvin.Sender.h"
#include "app/Tarvin.Settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvin {

// What the next tick of a burst does.
enum TSendPhase : std::uint8_t {
    spIdle,          // nothing runs; a stray tick resets
    spWaitModifiers, // waits for the modifier keys to come up
    spClearPrompt,   // sends the next clearing keystroke, or types the command when all are done
    spEnterBurst,    // sends the next Enter
    spRestorePrompt, // sends Ctrl+Y
    spRemoveMarker   // sends Backspace and ends the burst
};

// The first tick comes this soon after the press.
inline constexpr std::uint32_t BurstStartDelayMs = 25;
// Ticks of waiting for the modifiers to come up before they are released once more (about 1.5 s).
inline constexpr std::int32_t ModifierWaitTicks = 60;

// One keystroke of the clearing schedule. The marker is the letter "x": typed after the text, it
// makes sure the Ctrl+U chain cuts something, so Ctrl+Y later pastes this burst's text and not an
// older kill.
enum class TClearKey : std::uint8_t { CtrlE, Right, Marker, CtrlU };
inline constexpr char16_t ClearMarker[] = u"x";

// 29 keystrokes with the marker (restore on), 28 without.
std::int32_t ClearStepCount(bool RestorePromptAfter);
// Step Index (0 to ClearStepCount - 1): six Ctrl+E and Right pairs, the marker when restoring,
// then Ctrl+U.
TClearKey ClearStepKey(std::int32_t Index, bool RestorePromptAfter);

// What the log box says when the focus leaves the terminal in the given phase.
std::u16string FocusLossText(TSendPhase Phase);
std::u16string ClearShortfallText(const TSendResult& Result);
std::u16string TypeShortfallText(const TSendResult& Result);
std::u16string TypedCommandText(std::u16string_view Command, std::u16string_view WindowClass,
                                std::u16string_view Title);

} // namespace tarvin
