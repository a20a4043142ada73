#pragma once
// One key as termsim's model of the Claude Code prompt receives it, after the window (or a native
// test) decoded the Windows key records.
#include <optional>
#include <string>
#include <string_view>

namespace termsim {

enum class TKey {
    Char, // a typed UTF-16 unit, in TKeyEvent::Char
    CtrlE,
    CtrlU,
    CtrlY,
    CtrlS,
    CtrlR,
    CtrlA,
    CtrlK,
    CtrlW,
    CtrlC,
    Ctrl, // any other Ctrl+letter, the capital letter in TKeyEvent::Char
    Right,
    Left,
    Up,
    Down,
    Home,
    End,
    Delete,
    Backspace,     // one character (the console's 0x7F, also Ctrl+H's 0x08)
    CtrlBackspace, // Ctrl+Backspace: one word
    Enter,
    ShiftEnter,
    Escape,
    Tab,
    ShiftTab,
};

struct TKeyEvent {
    TKey Key = TKey::Char;
    char16_t Char = 0;

    friend bool operator==(const TKeyEvent&, const TKeyEvent&) = default;
};

// The key as the record names it ("ctrl+E", "right", "backspace" ...); a character is named by
// the record itself, not here.
std::u16string KeyName(const TKeyEvent& Key);
// The key a name stands for; nullopt for no name KeyName gives (characters included).
std::optional<TKeyEvent> KeyFromName(std::u16string_view Name);

} // namespace termsim
