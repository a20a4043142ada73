#include "app/Tarvin.SampleIni.h"

#include "app/Tarvin.Settings.h"
#include "base/Base.Unicode.h"

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
    u"; Known limits of putting a half-typed prompt aside (ClearPromptFirst=1):\r\n"
    u";  - The clearing keys reach five lines below the cursor, and sixteen Ctrl+U clear at most\r\n"
    u";    eight lines. A draft of nine or more lines (seven or more with the cursor near its top)\r\n"
    u";    is not fully put aside: its rest is submitted together with the /effort command.\r\n"
    u";  - A draft you stashed with Ctrl+S comes back after the command, and the next Enter submits it.\r\n"
    u";  - A pasted block shows as a placeholder in the prompt and is not handed back as text.\r\n"
    u";  - In bash mode (!) and in vim NORMAL mode the prompt does not take the keystrokes as typing.\r\n";

std::u16string Decimal(std::int32_t value) {
    return base::AsciiToUtf16(std::to_string(value));
}

std::u16string DefaultValue(const TSettingRow& row) {
    switch (row.Kind) {
    case TSettingKind::Hotkey:
    case TSettingKind::ClassList:
        return std::u16string(row.DefaultText);
    case TSettingKind::Flag:
    case TSettingKind::Number:
        break;
    }
    return Decimal(row.Default);
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
    return u"Range " + Decimal(row.Min) + u" to " + Decimal(row.Max) + u".";
}

} // namespace

std::u16string SampleIniText() {
    std::u16string text(Header);
    std::u16string_view section;
    for (const TSettingRow& row : SettingRows) {
        if (row.Section != section) {
            section = row.Section;
            text += u"\r\n[" + std::u16string(section) + u"]\r\n";
        }
        text += u"; " + std::u16string(row.Help) + u"\r\n";
        text += u"; Default " + DefaultValue(row) + u". " + RangeNote(row) + u"\r\n";
        text += std::u16string(row.Key) + u"=" + DefaultValue(row) + u"\r\n";
    }
    return text;
}

} // namespace tarvin
