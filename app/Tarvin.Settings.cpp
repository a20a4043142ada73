#include "app/Tarvin.Settings.h"

#include "base/Base.Format.h"
#include "base/Base.Text.h"
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.INIFile.h"
#include "framework/core/OrvelCore.h"

#include <algorithm>
#include <string>

namespace tarvin {
namespace {

struct TKeyName {
    std::u16string_view Name;
    std::uint16_t Code;
};

// Named keys outside the ranges of digits, letters and function keys.
constexpr std::array<TKeyName, 48> KeyNames = {{
    {u"BkSp", 0x08},     {u"Tab", 0x09},         {u"Enter", 0x0D}, {u"Esc", 0x1B},   {u"Space", 0x20},
    {u"PgUp", 0x21},     {u"PgDn", 0x22},        {u"End", 0x23},   {u"Home", 0x24},  {u"Left", 0x25},
    {u"Up", 0x26},       {u"Right", 0x27},       {u"Down", 0x28},  {u"Ins", 0x2D},   {u"Del", 0x2E},
    {u"Pause", 0x13},    {u"Caps Lock", 0x14},   {u"PrtSc", 0x2C}, {u"Print", 0x2C}, {u"Apps", 0x5D},
    {u"Num Lock", 0x90}, {u"Scroll Lock", 0x91}, {u"Num 0", 0x60}, {u"Num 1", 0x61}, {u"Num 2", 0x62},
    {u"Num 3", 0x63},    {u"Num 4", 0x64},       {u"Num 5", 0x65}, {u"Num 6", 0x66}, {u"Num 7", 0x67},
    {u"Num 8", 0x68},    {u"Num 9", 0x69},       {u"Num *", 0x6A}, {u"Num +", 0x6B}, {u"Num -", 0x6D},
    {u"Num .", 0x6E},    {u"Num /", 0x6F},       {u";", 0xBA},     {u"=", 0xBB},     {u",", 0xBC},
    {u"-", 0xBD},        {u".", 0xBE},           {u"/", 0xBF},     {u"`", 0xC0},     {u"[", 0xDB},
    {u"\\", 0xDC},       {u"]", 0xDD},           {u"'", 0xDE},
}};

// 0 when the text names no key.
std::uint16_t KeyCodeOf(std::u16string_view name) {
    if (name.size() == 1) {
        const char16_t c = base::UpperAscii(name[0]);
        if (c >= u'0' && c <= u'9') {
            return c; // VK_0..VK_9 equal the characters
        }
        if (c >= u'A' && c <= u'Z') {
            return c; // VK_A..VK_Z likewise
        }
    }
    if (name.size() >= 2 && name.size() <= 3 && base::UpperAscii(name[0]) == u'F') {
        int number = 0;
        for (char16_t c : name.substr(1)) {
            if (c < u'0' || c > u'9') {
                return 0;
            }
            number = number * 10 + (c - u'0');
        }
        // "F01" is not a key name.
        if (name[1] != u'0' && number >= 1 && number <= 24) {
            return static_cast<std::uint16_t>(0x70 + number - 1);
        }
        return 0;
    }
    for (const TKeyName& key : KeyNames) {
        if (base::SameTextAscii(name, key.Name)) {
            return key.Code;
        }
    }
    return 0;
}

// The user edits the file by hand and restarts; a value that does not take must say why, or the
// edit looks ignored.
void WarnUnusable(const TSettingRow& row, std::u16string_view text, std::u16string_view what) {
    orvel::TAppDataCore::LogWarn(
        base::Format(u"Tarvin.Settings: [{0}] {1}={2} {3}", row.Section, row.Key, text, what));
}

// One key's trimmed, non-blank text into its field. Values in one pair of quotes, as Windows'
// profile functions accept them, count as the text inside, except for the class list, whose own
// syntax uses quotes.
void LoadKey(TSettings& settings, const TSettingRow& row, const std::u16string& text) {
    const std::u16string unquoted = orvel::TrimControl(std::u16string(orvel::UnquotedValue(text)));
    if (row.Kind != TSettingKind::ClassList && unquoted.empty()) {
        return;
    }
    switch (row.Kind) {
    case TSettingKind::Hotkey:
        settings.HotkeyText[row.Level] = unquoted;
        settings.Hotkey[row.Level] = TextToShortCut(unquoted);
        if (settings.Hotkey[row.Level] == 0) {
            WarnUnusable(row, text,
                         base::Format(u"is not a shortcut; the \"{0}\" level has no hotkey", row.Key));
        }
        break;
    case TSettingKind::ClassList:
        settings.FAcceptedClasses = SplitClassList(text);
        break;
    case TSettingKind::Flag:
        if (const auto number = orvel::IntegerValue(text)) {
            settings.*row.Flag = *number != 0;
        } else {
            WarnUnusable(row, text, base::Format(u"is not 0 or 1; using {0}", settings.*row.Flag ? 1 : 0));
        }
        break;
    case TSettingKind::Number:
        if (const auto number = orvel::IntegerValue(text)) {
            settings.*row.Number = std::clamp(*number, row.Min, row.Max);
            if (settings.*row.Number != *number) {
                WarnUnusable(row, text,
                             base::Format(u"is outside {0} to {1}; using {2}", row.Min, row.Max,
                                          settings.*row.Number));
            }
        } else {
            WarnUnusable(row, text, base::Format(u"is not a number; using {0}", settings.*row.Number));
        }
        break;
    }
}

} // namespace

TShortCut TextToShortCut(std::u16string_view Text) {
    struct TPrefix {
        std::u16string_view Text;
        TShortCut Bit;
    };
    static constexpr std::array<TPrefix, 4> Prefixes = {
        {{u"Shift+", scShift}, {u"Ctrl+", scCtrl}, {u"^", scCtrl}, {u"Alt+", scAlt}}};

    TShortCut modifiers = 0;
    bool found = true;
    while (found) {
        found = false;
        for (const TPrefix& prefix : Prefixes) {
            if (base::StartsWithTextAscii(Text, prefix.Text)) {
                modifiers |= prefix.Bit;
                Text.remove_prefix(prefix.Text.size());
                found = true;
                break;
            }
        }
    }
    if (Text.empty()) {
        return 0;
    }
    const std::uint16_t key = KeyCodeOf(Text);
    return key == 0 ? TShortCut{0} : static_cast<TShortCut>(modifiers | key);
}

std::vector<std::u16string> SplitClassList(std::u16string_view Text) {
    std::vector<std::u16string> items;
    std::size_t pos = 0;
    while (pos < Text.size()) {
        std::u16string item;
        if (Text[pos] == u'"') {
            ++pos;
            while (pos < Text.size()) {
                if (Text[pos] == u'"') {
                    if (pos + 1 < Text.size() && Text[pos + 1] == u'"') {
                        item += u'"';
                        pos += 2;
                        continue;
                    }
                    ++pos; // the closing quote
                    break;
                }
                item += Text[pos++];
            }
        }
        const std::size_t end = std::min(Text.find(u';', pos), Text.size());
        item.append(Text.substr(pos, end - pos));
        items.push_back(std::move(item));
        pos = end;
        if (pos < Text.size()) {
            ++pos; // the ';'
            if (pos == Text.size()) {
                items.emplace_back();
            }
        }
    }
    return items;
}

std::u16string JoinClassList(const std::vector<std::u16string>& Items) {
    if (Items.size() == 1 && Items.front().empty()) {
        return u"\"\"";
    }
    std::u16string text;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        if (i > 0) {
            text += u';';
        }
        const std::u16string& item = Items[i];
        // The list text is trimmed as a whole when it is loaded, so a blank at the very start or
        // end of the text would be lost: quote the item that carries it.
        const bool blankEdged =
            !item.empty() && ((i == 0 && item.front() < 33) || (i + 1 == Items.size() && item.back() < 33));
        if (!blankEdged && item.find_first_of(u";\"") == std::u16string::npos) {
            text += item;
            continue;
        }
        text += u'"';
        for (char16_t c : item) {
            text += c;
            if (c == u'"') {
                text += u'"';
            }
        }
        text += u'"';
    }
    return text;
}

TSettings::TSettings() {
    SetDefaults();
}

void TSettings::SetDefaults() {
    for (const TSettingRow& row : SettingRows) {
        switch (row.Kind) {
        case TSettingKind::Hotkey:
            HotkeyText[row.Level] = std::u16string(row.DefaultText);
            Hotkey[row.Level] = TextToShortCut(HotkeyText[row.Level]);
            break;
        case TSettingKind::ClassList:
            FAcceptedClasses = SplitClassList(row.DefaultText);
            break;
        case TSettingKind::Flag:
            this->*row.Flag = row.Default != 0;
            break;
        case TSettingKind::Number:
            this->*row.Number = row.Default;
            break;
        }
    }
    FTitleMarkers.assign(DefaultTitleMarkers.begin(), DefaultTitleMarkers.end());
}

void TSettings::Load(const std::u16string& FileName, platform::IFileSystem& Files) {
    SetDefaults();
    if (!Files.FileExists(FileName)) {
        return;
    }
    orvel::TIniFileEx ini(std::u16string(SectionHotkeys), FileName, Files);
    for (const TSettingRow& row : SettingRows) {
        // A missing key reads as blank, and a blank value keeps the default without a word.
        const std::u16string text =
            orvel::TrimControl(ini.ReadString(std::u16string(row.Section), std::u16string(row.Key), u""));
        if (!text.empty()) {
            LoadKey(*this, row, text);
        }
    }
}

void TSettings::Save(const std::u16string& FileName, platform::IFileSystem& Files) const {
    orvel::TIniFileEx ini(std::u16string(SectionHotkeys), FileName, Files);
    for (const TSettingRow& row : SettingRows) {
        const std::u16string section(row.Section);
        const std::u16string key(row.Key);
        switch (row.Kind) {
        case TSettingKind::Hotkey:
            // Load drops one pair of quotes around a hotkey text, so a text that looks quoted
            // goes out in one more pair to read back as itself.
            ini.WriteString(section, key, orvel::QuotedValue(HotkeyText[row.Level]));
            break;
        case TSettingKind::ClassList:
            ini.WriteString(section, key, JoinClassList(FAcceptedClasses));
            break;
        case TSettingKind::Flag:
            ini.WriteBool(section, key, this->*row.Flag);
            break;
        case TSettingKind::Number:
            ini.WriteInteger(section, key, this->*row.Number);
            break;
        }
    }
}

} // namespace tarvin
