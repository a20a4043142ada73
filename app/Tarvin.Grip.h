#pragma once
// The plain pieces of the hotkey grip: how a configured shortcut becomes a registration, and the
// texts the grip writes to the log and the hotkey list.
#include "app/Tarvin.Settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvin {

// The identifier Windows gets for a level's hotkey: 1 for "low" to 5 for "max".
constexpr int HotkeyId(TEffortLevel Level) {
    return static_cast<int>(Level) + 1;
}

// RegisterHotKey's modifier flags for a shortcut; MOD_NOREPEAT always, so that a held chord
// starts one burst and not a row of them.
std::uint32_t HotkeyModifierFlags(TShortCut ShortCut);
// The virtual-key code without the modifier bits; 0 means the level has no valid shortcut.
std::uint32_t HotkeyKeyCode(TShortCut ShortCut);

// The Status column of a level's row.
std::u16string HotkeyStatusText(bool Registered, TShortCut ShortCut, bool HotkeysHeld);
// The Types column: the command the hotkey types.
std::u16string EffortCommandText(TEffortLevel Level);

// The trace line of one switch of the grip. The key text is fixed: it names the default chords
// whatever the configured ones are.
std::u16string GripTraceLine(std::u16string_view FrontClass, bool Taking);
std::u16string InvalidShortcutLine(TEffortLevel Level, std::u16string_view Text);
std::u16string RefusedHotkeyLine(TEffortLevel Level, std::u16string_view Text, std::u16string_view IniPath);

} // namespace tarvin
