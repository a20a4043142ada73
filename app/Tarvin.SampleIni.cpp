#include "app/Tarvin.SampleIni.h"

#include "app/Tarvin.Settings.h"
#include "base/Base.Format.h"

#include <string>
#include <string_view>

namespace tarvin {
namespace {

// Measured against the real Claude Code prompt; the README tells the same.
constexpr std::u16string_view Header =
    u"; Tarvin sample settings\r\n"
    u";\r\n"
    u"; Tarvin reads Tarvin.ini from %APPDATA%\\Tarvin\\, or from the folder of Tarvin.exe when a file\r\n"
    u"; named portable.marker lies beside it. Copy the lines you want to change into that file (or\r\n"
    u"; this whole file there, renamed Tarvin.ini), then restart Tarvin. Every value below is the\r\n"
    u"; default; a blank value also keeps the default, and a number outside its range is moved to\r\n"
    u"; the nearest end. When Tarvin exits it reads the file again before it writes every key\r\n"
    u"; back, so an edit made while it runs is kept and takes effect at the next start.\r\n"
    u";\r\n"
    u"; Before each key that could send text or answer a dialog, Tarvin reads the terminal's screen:\r\n"
    u"; classic console windows and Windows Terminal tabs. Known limits, measured against the real\r\n"
    u"; Claude Code prompt:\r\n"
    u";  - A terminal whose screen Tarvin cannot read (no console behind it) is refused, unless\r\n"
    u";    BlindWhenUnreadable=1: then Tarvin types a fixed schedule blind, and that schedule can\r\n"
    u";    approve an open dialog or send a draft of nine or more lines, or one stashed earlier.\r\n"
    u";  - A draft while another waits in Claude Code's stash (Ctrl+S) is refused: putting it\r\n"
    u";    aside would overwrite the stash. A stash with an empty prompt comes back after the command.\r\n"
    u";  - vim NORMAL mode shows no marker: the keys become vim commands, Tarvin sees the command did\r\n"
    u";    not appear, presses no Enter and removes what they typed. Press i first.\r\n"
    u";  - Windows Terminal with several Claude Code tabs of the same title: refused, Tarvin cannot\r\n"
    u";    tell which one is in front.\r\n";

std::u16string DefaultValue(const TSettingRow& row) {
    switch (row.Kind) {
    case TSettingKind::Hotkey:
    case TSettingKind::ClassList:
        return std::u16string(row.DefaultText);
    case TSettingKind::Flag:
    case TSettingKind::Number:
        break;
    }
    return base::Format(u"{0}", row.Default);
}

std::u16string RangeNote(const TSettingRow& row) {
    switch (row.Kind) {
    case TSettingKind::Hotkey:
        return u"Modifiers Ctrl+, Alt+, Shift+ and one key, such as Ctrl+Alt+1 or Ctrl+Shift+F5.";
    case TSettingKind::ClassList:
        return u"Any window class names; an item holding ';' or '\"' goes in double quotes.";
    case TSettingKind::Flag:
        return u"1 or 0.";
    case TSettingKind::Number:
        break;
    }
    return base::Format(u"Range {0} to {1}.", row.Min, row.Max);
}

} // namespace

std::u16string SampleIniText() {
    std::u16string text(Header);
    std::u16string_view section;
    for (const TSettingRow& row : SettingRows) {
        if (row.Section != section) {
            section = row.Section;
            text += base::Format(u"\r\n[{0}]\r\n", section);
        }
        text += base::Format(u"; {0}\r\n; Default {1}. {2}\r\n{3}={1}\r\n", row.Help, DefaultValue(row),
                             RangeNote(row), row.Key);
    }
    return text;
}

} // namespace tarvin
