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

// The effort levels; the hotkey identifier of a level is its ordinal plus 1.
enum TEffortLevel : std::uint8_t { elLow, elMedium, elHigh, elXHigh, elMax };

// What belongs to one level. A new level is one enumeration value and one row of EffortLevels;
// every list indexed by the level is derived from the rows.
struct TEffortLevelRow {
    TEffortLevel Level;
    // The level word: INI key of the level's hotkey, argument typed after "/effort ", name in messages.
    std::u16string_view Word;
    std::u16string_view DefaultHotkeyText;
};

inline constexpr std::array EffortLevels = {
    TEffortLevelRow{elLow, u"low", u"Ctrl+Alt+1"},   TEffortLevelRow{elMedium, u"medium", u"Ctrl+Alt+2"},
    TEffortLevelRow{elHigh, u"high", u"Ctrl+Alt+3"}, TEffortLevelRow{elXHigh, u"xhigh", u"Ctrl+Alt+4"},
    TEffortLevelRow{elMax, u"max", u"Ctrl+Alt+5"},
};
inline constexpr std::size_t EffortLevelCount = EffortLevels.size();

// One column of EffortLevels as an array indexed by the level.
template <typename T>
constexpr std::array<T, EffortLevelCount> EffortLevelColumn(T TEffortLevelRow::*Column) {
    std::array<T, EffortLevelCount> column{};
    for (std::size_t i = 0; i < EffortLevelCount; ++i) {
        column[i] = EffortLevels[i].*Column;
    }
    return column;
}

inline constexpr auto AllEffortLevels = EffortLevelColumn(&TEffortLevelRow::Level);
inline constexpr auto EffortWord = EffortLevelColumn(&TEffortLevelRow::Word);
inline constexpr auto DefaultHotkeyText = EffortLevelColumn(&TEffortLevelRow::DefaultHotkeyText);

// The rows stand in the order of the enumeration, one row per value.
constexpr bool EffortLevelsFollowTheEnumeration() {
    for (std::size_t i = 0; i < EffortLevelCount; ++i) {
        if (EffortLevels[i].Level != i) {
            return false;
        }
    }
    return EffortLevels.back().Level == elMax;
}
static_assert(EffortLevelsFollowTheEnumeration(), "EffortLevels needs one row per TEffortLevel, in order");

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

// Owned by the main window from start-up to shutdown; only read while the program runs. The
// defaults, ranges and INI keys of the fields are the rows of SettingRows below.
class TSettings {
public:
    TSettings();

    void SetDefaults();
    // Defaults first; then, if the file exists, its values, with numbers clamped to their ranges.
    // A missing file is left missing. A value in one pair of quotes counts as the text inside
    // (except for the class list, whose items use quotes of their own). Each value that does not
    // take (no number, clamped, no shortcut) is named in a warning line with what is used instead;
    // a blank or missing value keeps its default without one.
    void Load(const std::u16string& FileName, platform::IFileSystem& Files);
    // Writes all the keys of SettingRows, each straight to the file. A refused write raises
    // orvel::EIniFileException and the keys after it are not written.
    void Save(const std::u16string& FileName, platform::IFileSystem& Files) const;

    std::vector<std::u16string> FAcceptedClasses;
    // Never read from or written to the file.
    std::vector<std::u16string> FTitleMarkers;
    std::array<TShortCut, EffortLevelCount> Hotkey{};
    // As the file gives it, trimmed; kept even when it does not parse.
    std::array<std::u16string, EffortLevelCount> HotkeyText;
    bool RequireTitleMarker{};
    bool HotkeyOnlyOnTerminal{};
    std::int32_t EnterCount{};
    std::int32_t EnterDelayMs{};
    bool ClearPromptFirst{};
    std::int32_t ClearDelayMs{};
    bool RestorePromptAfter{};
    bool BeepOnRefusal{};
    bool TraceGrip{};
    bool BlindWhenUnreadable{};
};

// How the text of a key becomes a field.
enum class TSettingKind : std::uint8_t {
    Hotkey,    // a shortcut text of one level, trimmed; blank keeps the default
    ClassList, // the "AcceptedClasses" text form, trimmed; blank keeps the default list
    Flag,      // an integer read, any non-zero number is true; no number keeps the field
    Number,    // an integer read, clamped to Min..Max; no number keeps the field
};

// One key of the INI file. SetDefaults, Load and Save walk SettingRows in order, so the file holds
// the keys in this order.
struct TSettingRow {
    std::u16string_view Section;
    std::u16string_view Key;
    TSettingKind Kind = TSettingKind::Flag;
    TEffortLevel Level = elLow;                // Hotkey
    bool TSettings::*Flag = nullptr;           // Flag
    std::int32_t TSettings::*Number = nullptr; // Number
    std::u16string_view DefaultText;           // Hotkey and ClassList, as the file would hold it
    std::int32_t Default = 0;                  // Flag (0 or 1) and Number
    std::int32_t Min = 0;                      // Number
    std::int32_t Max = 0;                      // Number
    std::u16string_view Help;                  // one line for the user: what the key does
};

inline constexpr std::u16string_view SectionHotkeys = u"Hotkeys";
inline constexpr std::u16string_view SectionTarget = u"Target";
inline constexpr std::u16string_view SectionSending = u"Sending";

inline constexpr std::array<std::u16string_view, 3> DefaultTitleMarkers = {u"\u25D0", u"\u2733", u"Claude"};

constexpr TSettingRow FlagRow(std::u16string_view Section, std::u16string_view Key, bool TSettings::*Field,
                              bool Default, std::u16string_view Help) {
    return {.Section = Section, .Key = Key, .Kind = TSettingKind::Flag, .Flag = Field, .Default = Default, .Help = Help};
}

constexpr TSettingRow NumberRow(std::u16string_view Section, std::u16string_view Key,
                                std::int32_t TSettings::*Field, std::int32_t Default, std::int32_t Min,
                                std::int32_t Max, std::u16string_view Help) {
    return {.Section = Section,
            .Key = Key,
            .Kind = TSettingKind::Number,
            .Number = Field,
            .Default = Default,
            .Min = Min,
            .Max = Max,
            .Help = Help};
}

// The keys after the hotkeys, in the order the file holds them.
inline constexpr std::array OtherSettingRows = {
    TSettingRow{.Section = SectionTarget,
                .Key = u"AcceptedClasses",
                .Kind = TSettingKind::ClassList,
                .DefaultText = u"CASCADIA_HOSTING_WINDOW_CLASS;ConsoleWindowClass",
                .Help = u"Window classes that count as a terminal, separated by ';' (Windows Terminal, then "
                        u"the classic console)."},
    FlagRow(SectionTarget, u"RequireTitleMarker", &TSettings::RequireTitleMarker, false,
            u"1: the terminal's title must also show Claude Code's marker or the word Claude."),
    FlagRow(SectionTarget, u"HotkeyOnlyOnTerminal", &TSettings::HotkeyOnlyOnTerminal, true,
            u"1: the hotkeys are taken only while a terminal is in front; 0: from the whole machine."),
    NumberRow(SectionSending, u"EnterCount", &TSettings::EnterCount, 3, 1, 10,
              u"Blind schedule only: how many more Enter keys follow the command, to answer its confirmation."),
    NumberRow(SectionSending, u"EnterDelayMs", &TSettings::EnterDelayMs, 250, 50, 5000,
              u"Blind schedule only: milliseconds between those Enter keys."),
    FlagRow(SectionSending, u"ClearPromptFirst", &TSettings::ClearPromptFirst, true,
            u"1: half-typed text in the prompt is put aside before the command is typed."),
    NumberRow(SectionSending, u"ClearDelayMs", &TSettings::ClearDelayMs, 60, 20, 500,
              u"Blind schedule only: milliseconds between the keys that put the text aside and hand it back."),
    FlagRow(SectionSending, u"RestorePromptAfter", &TSettings::RestorePromptAfter, true,
            u"1: the text put aside is handed back afterwards; 0: it is discarded."),
    FlagRow(SectionSending, u"BeepOnRefusal", &TSettings::BeepOnRefusal, true,
            u"1: a warning sound when a hotkey press is refused."),
    FlagRow(SectionSending, u"TraceGrip", &TSettings::TraceGrip, false,
            u"1: extra log lines about taking and releasing the hotkeys, for troubleshooting."),
    FlagRow(SectionSending, u"BlindWhenUnreadable", &TSettings::BlindWhenUnreadable, false,
            u"1: where Tarvin cannot read the terminal's screen, it types a fixed schedule blind. It may then "
            u"answer a dialog or send your draft to the model; 0: it refuses."),
};

// Every key: the hotkey of each level in level order, then OtherSettingRows.
constexpr std::array<TSettingRow, EffortLevelCount + OtherSettingRows.size()> MakeSettingRows() {
    std::array<TSettingRow, EffortLevelCount + OtherSettingRows.size()> rows{};
    std::size_t n = 0;
    for (const TEffortLevelRow& level : EffortLevels) {
        rows[n++] = {.Section = SectionHotkeys,
                     .Key = level.Word,
                     .Kind = TSettingKind::Hotkey,
                     .Level = level.Level,
                     .DefaultText = level.DefaultHotkeyText,
                     .Help = u"The hotkey that types /effort followed by this key's name."};
    }
    for (const TSettingRow& row : OtherSettingRows) {
        rows[n++] = row;
    }
    return rows;
}

inline constexpr auto SettingRows = MakeSettingRows();

} // namespace tarvin
