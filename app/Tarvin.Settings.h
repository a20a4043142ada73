#pragma once
// What the user configures about the effort hotkeys, kept in three sections of the INI file.
#include "base/Base.ShortCut.h"
#include "platform/Platform.FileSystem.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvin {

// The five effort levels; the hotkey identifier of a level is its ordinal plus 1.
enum TEffortLevel : std::uint8_t { elLow, elMedium, elHigh, elXHigh, elMax };

inline constexpr std::size_t EffortLevelCount = 5;
inline constexpr std::array<TEffortLevel, EffortLevelCount> AllEffortLevels = {elLow, elMedium, elHigh,
                                                                               elXHigh, elMax};

// The level word: INI key of the level's hotkey, argument typed after "/effort ", name in messages.
inline constexpr std::array<std::u16string_view, EffortLevelCount> EffortWord = {u"low", u"medium", u"high",
                                                                                 u"xhigh", u"max"};
inline constexpr std::array<std::u16string_view, EffortLevelCount> DefaultHotkeyText = {
    u"Ctrl+Alt+1", u"Ctrl+Alt+2", u"Ctrl+Alt+3", u"Ctrl+Alt+4", u"Ctrl+Alt+5"};

using base::scAlt;
using base::scCtrl;
using base::scKeyMask;
using base::scShift;
using base::TShortCut;

// Reads a shortcut text such as "Ctrl+Alt+1"; 0 for text it cannot read. Leading modifier
// prefixes "Shift+", "Ctrl+", "^" and "Alt+" come off in any order and number; the rest must be
// one key name. Everything is compared ignoring ASCII case, and no blanks are skipped.
//
// Key names and their virtual-key codes. The same table holds on every platform, so a hotkey
// text means the same key whatever the keyboard layout reports as the key's name:
//   "BkSp" 0x08, "Tab" 0x09, "Enter" 0x0D, "Esc" 0x1B,
//   "Space" 0x20, "PgUp" 0x21, "PgDn" 0x22, "End" 0x23, "Home" 0x24,
//   "Left" 0x25, "Up" 0x26, "Right" 0x27, "Down" 0x28, "Ins" 0x2D, "Del" 0x2E,
//   "0".."9" 0x30..0x39, "A".."Z" 0x41..0x5A, "F1".."F24" 0x70..0x87,
//   "Pause" 0x13, "Caps Lock" 0x14, "PrtSc" and "Print" 0x2C (the Print Screen key),
//   "Apps" 0x5D (the context-menu key), "Num Lock" 0x90, "Scroll Lock" 0x91,
//   "Num 0".."Num 9" 0x60..0x69, "Num *" 0x6A, "Num +" 0x6B, "Num -" 0x6D, "Num ." 0x6E,
//   "Num /" 0x6F,
//   punctuation by its US-layout character: ";" 0xBA, "=" 0xBB, "," 0xBC, "-" 0xBD, "." 0xBE,
//   "/" 0xBF, "`" 0xC0, "[" 0xDB, "\" 0xDC, "]" 0xDD, "'" 0xDE.
TShortCut TextToShortCut(std::u16string_view Text);

// The "AcceptedClasses" text form: items split at ';' only. An item that begins with '"' runs to
// the closing quote, with "" standing for one quote; text between that quote and the next ';' is
// kept, and an item whose closing quote is missing runs to the end. A ';' at the very end adds an
// empty item; an empty text gives no items.
std::vector<std::u16string> SplitClassList(std::u16string_view Text);
// The inverse: items holding ';' or '"' are quoted with inner quotes doubled. A list of one empty
// item is written as "" so that it does not read back as a blank value.
std::u16string JoinClassList(const std::vector<std::u16string>& Items);

// Owned by the main window from start-up to shutdown; only read while the program runs.
class TSettings {
public:
    TSettings();

    void SetDefaults();
    // Defaults first; then, if the file exists, its values, with numbers clamped to their ranges.
    // A missing file is left missing.
    void Load(const std::u16string& FileName, platform::IFileSystem& Files);
    // Writes all fifteen keys, each straight to the file. A refused write raises
    // orvel::EIniFileException and the keys after it are not written.
    void Save(const std::u16string& FileName, platform::IFileSystem& Files) const;

    std::vector<std::u16string> FAcceptedClasses;
    // Never read from or written to the file.
    std::vector<std::u16string> FTitleMarkers;
    std::array<TShortCut, EffortLevelCount> Hotkey{};
    // As the file gives it, trimmed; kept even when it does not parse.
    std::array<std::u16string, EffortLevelCount> HotkeyText;
    bool RequireTitleMarker = false;
    bool HotkeyOnlyOnTerminal = true;
    std::int32_t EnterCount = 3;     // 1..10
    std::int32_t EnterDelayMs = 250; // 50..5000
    bool ClearPromptFirst = true;
    std::int32_t ClearDelayMs = 60; // 20..500
    bool RestorePromptAfter = true;
    bool BeepOnRefusal = true;
    bool TraceGrip = false;
};

} // namespace tarvin
