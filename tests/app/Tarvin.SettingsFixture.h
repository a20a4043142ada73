#pragma once
// Settings away from their defaults and settings compared, both walking SettingRows: a key added
// to the rows is changed and compared here without anyone remembering to.
#include "app/Tarvin.Settings.h"
#include "base/Base.Unicode.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tarvin::fixture {

// Hotkey texts that are no defaults, one of them no key at all (kept as typed, parsed to nothing).
inline constexpr std::array<std::u16string_view, EffortLevelCount> ChangedHotkeyTexts = {
    u"Shift+Num 5", u"^Alt+F12", u"Ctrl+Caps Lock", u"Alt+;", u"no such key"};

// Every field of SettingRows away from its default: the hotkeys above, a class list that needs the
// list's quoting (a ';', a quote, an empty item, blanks, CJK), every flag flipped and every number
// at the end of its range furthest from its default.
inline void ChangeEveryField(TSettings& Settings) {
    for (const TSettingRow& row : SettingRows) {
        switch (row.Kind) {
        case TSettingKind::Hotkey:
            Settings.HotkeyText[row.Level] = std::u16string(ChangedHotkeyTexts[row.Level]);
            Settings.Hotkey[row.Level] = TextToShortCut(Settings.HotkeyText[row.Level]);
            break;
        case TSettingKind::ClassList:
            Settings.FAcceptedClasses = {u"A;B", u"with \"quote\"", u"", u" Plain", u"\u7A97\u53E3"};
            break;
        case TSettingKind::Flag:
            Settings.*row.Flag = row.Default == 0;
            break;
        case TSettingKind::Number:
            Settings.*row.Number = row.Max - row.Default >= row.Default - row.Min ? row.Max : row.Min;
            break;
        }
    }
}

// Every field that SettingRows names is equal in both, each difference reported by its key.
inline void ExpectSameFields(const TSettings& Actual, const TSettings& Expected) {
    for (const TSettingRow& row : SettingRows) {
        const std::string key = base::Utf16ToUtf8(row.Key);
        switch (row.Kind) {
        case TSettingKind::Hotkey:
            EXPECT_EQ(Actual.HotkeyText[row.Level], Expected.HotkeyText[row.Level]) << key;
            EXPECT_EQ(Actual.Hotkey[row.Level], Expected.Hotkey[row.Level]) << key;
            break;
        case TSettingKind::ClassList:
            EXPECT_EQ(Actual.FAcceptedClasses, Expected.FAcceptedClasses) << key;
            break;
        case TSettingKind::Flag:
            EXPECT_EQ(Actual.*row.Flag, Expected.*row.Flag) << key;
            break;
        case TSettingKind::Number:
            EXPECT_EQ(Actual.*row.Number, Expected.*row.Number) << key;
            break;
        }
    }
}

} // namespace tarvin::fixture
