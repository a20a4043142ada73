#include "app/Tarvin.Settings.h"

#include "tests/app/Tarvin.SettingsFixture.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.INIFile.h"
#include "framework/core/OrvelCore.IniEncoding.h"
#include "platform/sim/Sim.FileSystem.h"

#include <gtest/gtest.h>

#include <functional>

namespace tarvin {
namespace {

using Strings = std::vector<std::u16string>;

const std::u16string IniFolder = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin";
const std::u16string IniPath = IniFolder + u"\\Tarvin.ini";

std::string Utf8(std::u16string_view text) {
    return base::Utf16ToUtf8(text);
}

// Every key Save writes, in the order it writes them.
struct TKey {
    std::u16string Section;
    std::u16string Ident;
};
const std::vector<TKey> SavedKeys = {
    {u"Hotkeys", u"low"},
    {u"Hotkeys", u"medium"},
    {u"Hotkeys", u"high"},
    {u"Hotkeys", u"xhigh"},
    {u"Hotkeys", u"max"},
    {u"Target", u"AcceptedClasses"},
    {u"Target", u"RequireTitleMarker"},
    {u"Target", u"HotkeyOnlyOnTerminal"},
    {u"Sending", u"EnterCount"},
    {u"Sending", u"EnterDelayMs"},
    {u"Sending", u"ClearPromptFirst"},
    {u"Sending", u"ClearDelayMs"},
    {u"Sending", u"RestorePromptAfter"},
    {u"Sending", u"BeepOnRefusal"},
    {u"Sending", u"TraceGrip"},
    {u"Sending", u"BlindWhenUnreadable"},
};

// Reads a key back the way any other part of the program would.
std::u16string IniValue(platform::IFileSystem& files, const TKey& key) {
    orvel::TIniFileEx ini(key.Section, IniPath, files);
    return ini.ReadString(key.Section, key.Ident, u"<missing>");
}

bool IniHasKey(platform::IFileSystem& files, const TKey& key) {
    orvel::TIniFileEx ini(key.Section, IniPath, files);
    return ini.ValueExists(key.Section, key.Ident);
}

TSettings LoadFrom(platform::sim::TSimFileSystem& files, const std::u16string& iniText) {
    files.AddFile(IniPath, Utf8(iniText));
    TSettings settings;
    settings.Load(IniPath, files);
    return settings;
}

// Passes everything through, but refuses file writes once `allowed` of them have succeeded.
class TWriteLimitedFiles final : public platform::IFileSystem {
public:
    TWriteLimitedFiles(platform::IFileSystem& inner, std::size_t allowed)
        : FInner(inner), FAllowed(allowed) {}

    bool FileExists(const std::u16string& path) const override { return FInner.FileExists(path); }
    bool FolderExists(const std::u16string& path, bool followLink) const override {
        return FInner.FolderExists(path, followLink);
    }
    platform::TFsResult CreateFolder(const std::u16string& path) override {
        return FInner.CreateFolder(path);
    }
    std::optional<std::string> ReadFile(const std::u16string& path) const override {
        return FInner.ReadFile(path);
    }
    platform::TFsResult WriteFileAtomic(const std::u16string& path, std::string_view bytes) override {
        if (FAllowed == 0) {
            return platform::TFsResult::Failure(5, u"Access is denied.");
        }
        --FAllowed;
        return FInner.WriteFileAtomic(path, bytes);
    }
    platform::TFsResult RemoveFile(const std::u16string& path) override { return FInner.RemoveFile(path); }

private:
    platform::IFileSystem& FInner;
    std::size_t FAllowed;
};

TEST(SettingsDefaults, HoldTheDocumentedValues) {
    const TSettings settings;
    const std::array<TShortCut, EffortLevelCount> hotkeys = {0xC031, 0xC032, 0xC033, 0xC034, 0xC035};
    for (TEffortLevel level : AllEffortLevels) {
        SCOPED_TRACE(Utf8(EffortWord[level]));
        EXPECT_EQ(settings.HotkeyText[level], DefaultHotkeyText[level]);
        EXPECT_EQ(settings.Hotkey[level], hotkeys[level]);
    }
    EXPECT_EQ(settings.FAcceptedClasses, (Strings{u"CASCADIA_HOSTING_WINDOW_CLASS", u"ConsoleWindowClass"}));
    EXPECT_EQ(settings.FTitleMarkers, (Strings{u"\u25D0", u"\u2733", u"Claude"}));
    EXPECT_FALSE(settings.RequireTitleMarker);
    EXPECT_TRUE(settings.HotkeyOnlyOnTerminal);
    EXPECT_EQ(settings.EnterCount, 3);
    EXPECT_EQ(settings.EnterDelayMs, 250);
    EXPECT_TRUE(settings.ClearPromptFirst);
    EXPECT_EQ(settings.ClearDelayMs, 60);
    EXPECT_TRUE(settings.RestorePromptAfter);
    EXPECT_TRUE(settings.BeepOnRefusal);
    EXPECT_FALSE(settings.TraceGrip);
}

TEST(SettingsDefaults, SetDefaultsUndoesEveryChange) {
    TSettings settings;
    fixture::ChangeEveryField(settings);
    settings.FTitleMarkers.clear();

    settings.SetDefaults();

    const TSettings fresh;
    fixture::ExpectSameFields(settings, fresh);
    EXPECT_EQ(settings.FTitleMarkers, fresh.FTitleMarkers);
}

TEST(SettingsLoad, MissingFileKeepsDefaultsAndCreatesNothing) {
    platform::sim::TSimFileSystem files;
    TSettings settings;
    settings.EnterCount = 42; // Load must reset it, and must not clamp a default away
    settings.Load(IniPath, files);

    EXPECT_EQ(settings.EnterCount, 3);
    EXPECT_EQ(settings.HotkeyText[elLow], u"Ctrl+Alt+1");
    EXPECT_FALSE(files.FileExists(IniPath));
    EXPECT_FALSE(files.FolderExists(IniFolder, true));
    EXPECT_EQ(files.WriteCount(), 0u);
}

TEST(SettingsLoad, LoadStartsFromTheDefaults) {
    platform::sim::TSimFileSystem files;
    files.AddFile(IniPath, "[Sending]\r\nTraceGrip=1\r\n");
    TSettings settings;
    settings.FAcceptedClasses = {u"Stale"};
    settings.EnterCount = 9;
    settings.Load(IniPath, files);

    EXPECT_EQ(settings.FAcceptedClasses, TSettings().FAcceptedClasses);
    EXPECT_EQ(settings.EnterCount, 3);
    EXPECT_TRUE(settings.TraceGrip);
}

struct TScalarCase {
    const char* Section;
    const char* Key;
    const char* Value;
    std::function<std::int32_t(const TSettings&)> Field;
    std::int32_t Expected;
};

TEST(SettingsLoad, ScalarValuesAreParsedAndClamped) {
    const auto enterCount = [](const TSettings& s) { return s.EnterCount; };
    const auto enterDelay = [](const TSettings& s) { return s.EnterDelayMs; };
    const auto clearDelay = [](const TSettings& s) { return s.ClearDelayMs; };
    const auto requireMarker = [](const TSettings& s) { return std::int32_t{s.RequireTitleMarker}; };
    const auto onlyOnTerminal = [](const TSettings& s) { return std::int32_t{s.HotkeyOnlyOnTerminal}; };
    const auto clearFirst = [](const TSettings& s) { return std::int32_t{s.ClearPromptFirst}; };
    const auto restore = [](const TSettings& s) { return std::int32_t{s.RestorePromptAfter}; };
    const auto beep = [](const TSettings& s) { return std::int32_t{s.BeepOnRefusal}; };
    const auto trace = [](const TSettings& s) { return std::int32_t{s.TraceGrip}; };

    const std::vector<TScalarCase> cases = {
        {"Sending", "EnterCount", "0", enterCount, 1},
        {"Sending", "EnterCount", "99", enterCount, 10},
        {"Sending", "EnterCount", "abc", enterCount, 3},
        {"Sending", "EnterCount", "0x5", enterCount, 5},
        {"Sending", "EnterCount", "0XA", enterCount, 10},
        {"Sending", "EnterCount", "$7", enterCount, 7},
        {"Sending", "EnterCount", "-4", enterCount, 1},
        {"Sending", "EnterCount", "", enterCount, 3},
        {"Sending", "EnterCount", "7", enterCount, 7},
        {"Sending", "EnterDelayMs", "10", enterDelay, 50},
        {"Sending", "EnterDelayMs", "6000", enterDelay, 5000},
        {"Sending", "EnterDelayMs", "1234", enterDelay, 1234},
        {"Sending", "ClearDelayMs", "1000", clearDelay, 500},
        {"Sending", "ClearDelayMs", "5", clearDelay, 20},
        {"Sending", "ClearDelayMs", "20", clearDelay, 20},
        {"Target", "RequireTitleMarker", "yes", requireMarker, 0},
        {"Target", "RequireTitleMarker", "2", requireMarker, 1},
        {"Target", "RequireTitleMarker", "1", requireMarker, 1},
        {"Target", "HotkeyOnlyOnTerminal", "0", onlyOnTerminal, 0},
        {"Target", "HotkeyOnlyOnTerminal", "true", onlyOnTerminal, 1},
        {"Sending", "ClearPromptFirst", "false", clearFirst, 1},
        {"Sending", "ClearPromptFirst", "0", clearFirst, 0},
        {"Sending", "RestorePromptAfter", "0", restore, 0},
        {"Sending", "BeepOnRefusal", "0", beep, 0},
        {"Sending", "TraceGrip", "1", trace, 1},
        {"Sending", "TraceGrip", "-1", trace, 1},
        {"Sending", "TraceGrip", "on", trace, 0},
    };
    for (const TScalarCase& c : cases) {
        SCOPED_TRACE(std::string(c.Key) + "=" + c.Value);
        platform::sim::TSimFileSystem files;
        const TSettings settings = LoadFrom(files, base::AsciiToUtf16(std::string("[") + c.Section + "]\r\n" +
                                                                      c.Key + "=" + c.Value + "\r\n"));
        EXPECT_EQ(c.Field(settings), c.Expected);
    }
}

TEST(SettingsLoad, HotkeyTextsAreTrimmedAndParsed) {
    struct TCase {
        TEffortLevel Level;
        std::u16string Value;
        std::u16string Text;
        TShortCut ShortCut;
    };
    const std::vector<TCase> cases = {
        {elLow, u"", u"Ctrl+Alt+1", 0xC031},
        {elLow, u"   ", u"Ctrl+Alt+1", 0xC031},
        {elLow, u"\t\x01 ", u"Ctrl+Alt+1", 0xC031},
        {elLow, u"  Ctrl+Shift+F5  ", u"Ctrl+Shift+F5", 0x6074},
        {elLow, u"\tAlt+F12\x1F", u"Alt+F12", 0x807B},
        {elMedium, u"Ctrl+Alt+Q+", u"Ctrl+Alt+Q+", 0},
        {elMedium, u"ctrl+alt+2", u"ctrl+alt+2", 0xC032},
        {elHigh, u"Hyper+3", u"Hyper+3", 0},
        {elXHigh, u"Ctrl+Num 4", u"Ctrl+Num 4", 0x4064},
        {elMax, u"^Shift+End", u"^Shift+End", 0x6023},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Utf8(EffortWord[c.Level]) + "=" + Utf8(c.Value));
        platform::sim::TSimFileSystem files;
        const TSettings settings = LoadFrom(files, u"[Hotkeys]\r\n" + std::u16string(EffortWord[c.Level]) +
                                                       u"=" + c.Value + u"\r\n");
        EXPECT_EQ(settings.HotkeyText[c.Level], c.Text);
        EXPECT_EQ(settings.Hotkey[c.Level], c.ShortCut);
        for (TEffortLevel other : AllEffortLevels) {
            if (other != c.Level) {
                EXPECT_EQ(settings.HotkeyText[other], DefaultHotkeyText[other]);
            }
        }
    }
}

TEST(SettingsLoad, AcceptedClassesReplaceTheListUnlessBlank) {
    const Strings defaults = TSettings().FAcceptedClasses;
    struct TCase {
        std::u16string Value;
        Strings Expected;
    };
    const std::vector<TCase> cases = {
        {u"", defaults},
        {u"   \t", defaults},
        {u" ; ", {u"", u""}},
        {u"Alpha ; Beta", {u"Alpha ", u" Beta"}},
        {u"  Only  ", {u"Only"}},
        {u"Gamma;", {u"Gamma", u""}},
        {u"\"a;b\";c", {u"a;b", u"c"}},
        {u"ConsoleWindowClass;ConsoleWindowClass", {u"ConsoleWindowClass", u"ConsoleWindowClass"}},
        {u"\u00C9cran;\u7A97", {u"\u00C9cran", u"\u7A97"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("AcceptedClasses=" + Utf8(c.Value));
        platform::sim::TSimFileSystem files;
        const TSettings settings = LoadFrom(files, u"[Target]\r\nAcceptedClasses=" + c.Value + u"\r\n");
        EXPECT_EQ(settings.FAcceptedClasses, c.Expected);
    }
}

TEST(SettingsLoad, TitleMarkersNeverComeFromTheFile) {
    platform::sim::TSimFileSystem files;
    const TSettings settings = LoadFrom(files, u"[Target]\r\nTitleMarkers=Foo\r\nFTitleMarkers=Bar\r\n");
    EXPECT_EQ(settings.FTitleMarkers, TSettings().FTitleMarkers);
}

TEST(SettingsSave, WritesEveryKeyWithItsEffectiveValue) {
    platform::sim::TSimFileSystem files;
    TSettings settings = LoadFrom(files, u"[Hotkeys]\r\nlow=Ctrl+Alt+9\r\n");
    settings.Save(IniPath, files);

    const std::vector<std::u16string> expected = {
        u"Ctrl+Alt+9", u"Ctrl+Alt+2", u"Ctrl+Alt+3",
        u"Ctrl+Alt+4", u"Ctrl+Alt+5", u"CASCADIA_HOSTING_WINDOW_CLASS;ConsoleWindowClass",
        u"0",          u"1",          u"3",
        u"250",        u"1",          u"60",
        u"1",          u"1",          u"0",
        u"0"};
    ASSERT_EQ(expected.size(), SavedKeys.size());
    for (std::size_t i = 0; i < SavedKeys.size(); ++i) {
        SCOPED_TRACE(Utf8(SavedKeys[i].Section + u"/" + SavedKeys[i].Ident));
        EXPECT_EQ(IniValue(files, SavedKeys[i]), expected[i]);
    }
}

TEST(SettingsSave, ShutdownLoadThenSaveNormalisesTheFile) {
    platform::sim::TSimFileSystem files;
    TSettings settings =
        LoadFrom(files, u"; hand-written\r\n"
                        u"[Hotkeys]\r\nlow=  Ctrl+Shift+F5 \r\nmedium=\r\nhigh=Ctrl+Alt+Q+\r\n"
                        u"[Sending]\r\nEnterCount=99\r\nClearDelayMs=1\r\nBeepOnRefusal=abc\r\n"
                        u"[Other]\r\nKeep=me\r\n");
    settings.Save(IniPath, files);

    EXPECT_EQ(IniValue(files, {u"Hotkeys", u"low"}), u"Ctrl+Shift+F5");
    EXPECT_EQ(IniValue(files, {u"Hotkeys", u"medium"}), u"Ctrl+Alt+2");
    EXPECT_EQ(IniValue(files, {u"Hotkeys", u"high"}), u"Ctrl+Alt+Q+");
    EXPECT_EQ(IniValue(files, {u"Sending", u"EnterCount"}), u"10");
    EXPECT_EQ(IniValue(files, {u"Sending", u"ClearDelayMs"}), u"20");
    EXPECT_EQ(IniValue(files, {u"Sending", u"BeepOnRefusal"}), u"1");
    EXPECT_EQ(IniValue(files, {u"Other", u"Keep"}), u"me");
}

TEST(SettingsSave, RoundTripKeepsEveryField) {
    platform::sim::TSimFileSystem files;
    TSettings saved;
    fixture::ChangeEveryField(saved);
    saved.Save(IniPath, files);

    TSettings loaded;
    loaded.Load(IniPath, files);
    fixture::ExpectSameFields(loaded, saved);
}

TEST(SettingsSave, ListOfOneEmptyClassSurvivesARoundTrip) {
    platform::sim::TSimFileSystem files;
    TSettings saved;
    saved.FAcceptedClasses = {u""};
    saved.Save(IniPath, files);

    TSettings loaded;
    loaded.Load(IniPath, files);
    EXPECT_EQ(loaded.FAcceptedClasses, Strings{u""});
}

TEST(SettingsSave, RefusedFolderRaisesTheWriteErrorAndWritesNothing) {
    platform::sim::TSimFileSystem files;
    files.AddFolder(IniFolder);
    files.DenyWritesUnder(IniFolder);
    const TSettings settings;
    try {
        settings.Save(IniPath, files);
        FAIL() << "Save did not raise";
    } catch (const orvel::EIniFileException& e) {
        EXPECT_EQ(e.Message(), u"Unable to write to " + IniPath);
    }
    EXPECT_FALSE(files.FileExists(IniPath));
}

TEST(SettingsSave, WriteRefusedMidwayLeavesTheLaterKeysUnwritten) {
    for (std::size_t allowed = 0; allowed < SettingRows.size(); ++allowed) {
        SCOPED_TRACE("writes allowed: " + std::to_string(allowed));
        platform::sim::TSimFileSystem files;
        TWriteLimitedFiles limited(files, allowed);
        EXPECT_THROW(TSettings().Save(IniPath, limited), orvel::EIniFileException);
        for (std::size_t i = 0; i < SettingRows.size(); ++i) {
            const TKey key{std::u16string(SettingRows[i].Section), std::u16string(SettingRows[i].Key)};
            EXPECT_EQ(IniHasKey(files, key), i < allowed) << Utf8(key.Ident);
        }
    }
}

TEST(ShortCutParsing, ReadsModifiersAndKeyNames) {
    struct TCase {
        std::u16string Text;
        TShortCut Expected;
    };
    const std::vector<TCase> cases = {
        // modifiers, in any order and number, ignoring case
        {u"Ctrl+Alt+1", 0xC031},
        {u"Ctrl+Shift+F5", 0x6074},
        {u"ctrl+alt+2", 0xC032},
        {u"ALT+CTRL+3", 0xC033},
        {u"^A", 0x4041},
        {u"^^a", 0x4041},
        {u"Shift+Shift+Z", 0x205A},
        {u"Alt+Shift+Ctrl+Del", 0xE02E},
        {u"Q", 0x0051},
        // what cannot be read
        {u"", 0},
        {u"Shift+", 0},
        {u"Ctrl+Alt+", 0},
        {u"^", 0},
        {u"Ctrl+Alt+Q+", 0},
        {u"Ctrl + A", 0},
        {u" Ctrl+A", 0},
        {u"Ctrl+A ", 0},
        {u"Win+A", 0},
        {u"Ctrl+AB", 0},
        {u"F0", 0},
        {u"F25", 0},
        {u"F01", 0},
        {u"F", 0x46}, // the letter, not a function key
        {u"Ctrl+\u00C4", 0},
        // the named keys
        {u"BkSp", 0x08},
        {u"Tab", 0x09},
        {u"Enter", 0x0D},
        {u"Esc", 0x1B},
        {u"Space", 0x20},
        {u"PgUp", 0x21},
        {u"PgDn", 0x22},
        {u"End", 0x23},
        {u"Home", 0x24},
        {u"Left", 0x25},
        {u"Up", 0x26},
        {u"Right", 0x27},
        {u"Down", 0x28},
        {u"Ins", 0x2D},
        {u"Del", 0x2E},
        {u"0", 0x30},
        {u"9", 0x39},
        {u"A", 0x41},
        {u"z", 0x5A},
        {u"F1", 0x70},
        {u"f12", 0x7B},
        {u"F24", 0x87},
        // the further names of this program
        {u"Pause", 0x13},
        {u"Caps Lock", 0x14},
        {u"PrtSc", 0x2C},
        {u"Print", 0x2C},
        {u"Apps", 0x5D},
        {u"Num Lock", 0x90},
        {u"scroll lock", 0x91},
        {u"Num 0", 0x60},
        {u"Num 9", 0x69},
        {u"Num *", 0x6A},
        {u"Num +", 0x6B},
        {u"Num -", 0x6D},
        {u"Num .", 0x6E},
        {u"Num /", 0x6F},
        {u";", 0xBA},
        {u"=", 0xBB},
        {u",", 0xBC},
        {u"-", 0xBD},
        {u".", 0xBE},
        {u"/", 0xBF},
        {u"`", 0xC0},
        {u"[", 0xDB},
        {u"\\", 0xDC},
        {u"]", 0xDD},
        {u"'", 0xDE},
        {u"Ctrl+Alt+Num +", 0xC06B},
        {u"Shift+-", 0x20BD},
        {u"Num10", 0},
        {u"Num  1", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("\"" + Utf8(c.Text) + "\"");
        EXPECT_EQ(TextToShortCut(c.Text), c.Expected);
    }
}

TEST(ClassListText, SplitsAtSemicolonsHonouringQuotes) {
    struct TCase {
        std::u16string Text;
        Strings Items;
    };
    const std::vector<TCase> cases = {
        {u"", {}},
        {u";", {u"", u""}},
        {u" ; ", {u" ", u" "}},
        {u"a", {u"a"}},
        {u"a;b", {u"a", u"b"}},
        {u"a;", {u"a", u""}},
        {u";a", {u"", u"a"}},
        {u"a;;b", {u"a", u"", u"b"}},
        {u" a ; b ", {u" a ", u" b "}},
        {u"a,b c", {u"a,b c"}},
        {u"\"a;b\"", {u"a;b"}},
        {u"\"a;b\";c", {u"a;b", u"c"}},
        {u"\"say \"\"hi\"\"\"", {u"say \"hi\""}},
        {u"\"\"", {u""}},
        {u"\"\";\"\"", {u"", u""}},
        {u"x\"y", {u"x\"y"}},
        {u"\"ab\"cd;e", {u"abcd", u"e"}},
        {u"\"open;end", {u"open;end"}},
        {u"\"a\";", {u"a", u""}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("\"" + Utf8(c.Text) + "\"");
        EXPECT_EQ(SplitClassList(c.Text), c.Items);
    }
}

TEST(ClassListText, JoinQuotesOnlyWhatNeedsItAndReadsBack) {
    struct TCase {
        Strings Items;
        std::u16string Text;
    };
    const std::vector<TCase> cases = {
        {{}, u""},
        {{u"CASCADIA_HOSTING_WINDOW_CLASS", u"ConsoleWindowClass"},
         u"CASCADIA_HOSTING_WINDOW_CLASS;ConsoleWindowClass"},
        {{u"a ", u" b"}, u"a ; b"},
        {{u" a ", u" b "}, u"\" a \";\" b \""},
        {{u"a;b", u"c"}, u"\"a;b\";c"},
        {{u"say \"hi\""}, u"\"say \"\"hi\"\"\""},
        {{u"\""}, u"\"\"\"\""},
        {{u"", u""}, u";"},
        {{u"a", u""}, u"a;"},
        {{u""}, u"\"\""},
        {{u"x\"y", u";"}, u"\"x\"\"y\";\";\""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("\"" + Utf8(c.Text) + "\"");
        EXPECT_EQ(JoinClassList(c.Items), c.Text);
        EXPECT_EQ(SplitClassList(JoinClassList(c.Items)), c.Items);
    }
}

TEST(SettingsSave, ClassNamesWithBlankEdgesSurviveSaveAndLoad) {
    platform::sim::TSimFileSystem files;
    TSettings settings;
    settings.FAcceptedClasses = {u" Lead", u"Tail\t", u" "};
    settings.Save(u"C:\\Cfg\\Tarvin.ini", files);
    TSettings reloaded;
    reloaded.Load(u"C:\\Cfg\\Tarvin.ini", files);
    EXPECT_EQ(reloaded.FAcceptedClasses, settings.FAcceptedClasses);
}

TEST(SettingsSave, ValueWithAStrayCarriageReturnLoadsAndSavesAgain) {
    platform::sim::TSimFileSystem files;
    files.AddFile(u"C:\\Cfg\\Tarvin.ini", "[Hotkeys]\r\nmedium=Ctrl+Alt+2\r3\r\n");
    TSettings settings;
    settings.Load(u"C:\\Cfg\\Tarvin.ini", files);
    EXPECT_EQ(settings.HotkeyText[elMedium], u"Ctrl+Alt+2");
    EXPECT_NO_THROW(settings.Save(u"C:\\Cfg\\Tarvin.ini", files));
}

TEST(SettingRows, NameEveryKeyOnceInTheOrderTheFileHoldsThem) {
    ASSERT_EQ(SettingRows.size(), SavedKeys.size());
    for (std::size_t i = 0; i < SettingRows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(SettingRows[i].Section, SavedKeys[i].Section);
        EXPECT_EQ(SettingRows[i].Key, SavedKeys[i].Ident);
    }
    for (TEffortLevel level : AllEffortLevels) {
        EXPECT_EQ(SettingRows[level].Kind, TSettingKind::Hotkey);
        EXPECT_EQ(SettingRows[level].Level, level);
        EXPECT_EQ(SettingRows[level].Key, EffortWord[level]);
    }
}

TEST(SettingRows, EachRowDescribesHowLoadTreatsItsKey) {
    for (const TSettingRow& row : SettingRows) {
        SCOPED_TRACE(Utf8(row.Key));
        const auto load = [&](std::u16string_view value) {
            platform::sim::TSimFileSystem files;
            return LoadFrom(files, u"[" + std::u16string(row.Section) + u"]\r\n" + std::u16string(row.Key) +
                                       u"=" + std::u16string(value) + u"\r\n");
        };
        const TSettings defaults;
        switch (row.Kind) {
        case TSettingKind::Hotkey:
            EXPECT_EQ(defaults.HotkeyText[row.Level], row.DefaultText);
            EXPECT_EQ(load(u" F7 ").Hotkey[row.Level], 0x76);
            EXPECT_EQ(load(u" ").HotkeyText[row.Level], row.DefaultText);
            break;
        case TSettingKind::ClassList:
            EXPECT_EQ(JoinClassList(defaults.FAcceptedClasses), row.DefaultText);
            EXPECT_EQ(load(u"Only").FAcceptedClasses, Strings{u"Only"});
            EXPECT_EQ(load(u" ").FAcceptedClasses, defaults.FAcceptedClasses);
            break;
        case TSettingKind::Flag:
            EXPECT_EQ(defaults.*row.Flag, row.Default != 0);
            EXPECT_FALSE(load(u"0").*row.Flag);
            EXPECT_TRUE(load(u"7").*row.Flag);
            EXPECT_EQ(load(u"on").*row.Flag, row.Default != 0);
            break;
        case TSettingKind::Number:
            EXPECT_EQ(defaults.*row.Number, row.Default);
            EXPECT_GE(row.Default, row.Min);
            EXPECT_LE(row.Default, row.Max);
            EXPECT_EQ(load(base::AsciiToUtf16(std::to_string(row.Min - 1))).*row.Number, row.Min);
            EXPECT_EQ(load(base::AsciiToUtf16(std::to_string(row.Max + 1))).*row.Number, row.Max);
            EXPECT_EQ(load(base::AsciiToUtf16(std::to_string(row.Max))).*row.Number, row.Max);
            EXPECT_EQ(load(u"many").*row.Number, row.Default);
            break;
        }
    }
}

// The bytes Save wrote before the keys became rows of one table, captured from that code: a file
// written anew with the defaults and with every field changed, and a hand-edited file that the
// shutdown load and save rewrite.
TEST(SettingsSave, WritesTheSameBytesAsBeforeTheKeysBecameRows) {
    struct TCase {
        const char* Name;
        std::string Before; // the file before the save, empty for none
        std::function<void(TSettings&)> Change;
        std::string Written;
    };
    const std::vector<TCase> cases = {
        {"defaults into a new file", "", [](TSettings&) {},
         "[Hotkeys]\r\n"
         "low=Ctrl+Alt+1\r\n"
         "medium=Ctrl+Alt+2\r\n"
         "high=Ctrl+Alt+3\r\n"
         "xhigh=Ctrl+Alt+4\r\n"
         "max=Ctrl+Alt+5\r\n"
         "\r\n"
         "[Target]\r\n"
         "AcceptedClasses=CASCADIA_HOSTING_WINDOW_CLASS;ConsoleWindowClass\r\n"
         "RequireTitleMarker=0\r\n"
         "HotkeyOnlyOnTerminal=1\r\n"
         "\r\n"
         "[Sending]\r\n"
         "EnterCount=3\r\n"
         "EnterDelayMs=250\r\n"
         "ClearPromptFirst=1\r\n"
         "ClearDelayMs=60\r\n"
         "RestorePromptAfter=1\r\n"
         "BeepOnRefusal=1\r\n"
         "TraceGrip=0\r\n"
         "BlindWhenUnreadable=0\r\n"},
        {"every field changed, into a new file", "",
         fixture::ChangeEveryField,
         "[Hotkeys]\r\n"
         "low=Shift+Num 5\r\n"
         "medium=^Alt+F12\r\n"
         "high=Ctrl+Caps Lock\r\n"
         "xhigh=Alt+;\r\n"
         "max=no such key\r\n"
         "\r\n"
         "[Target]\r\n"
         "AcceptedClasses=\"A;B\";\"with \"\"quote\"\"\";; Plain;\xE7\xAA\x97\xE5\x8F\xA3\r\n"
         "RequireTitleMarker=1\r\n"
         "HotkeyOnlyOnTerminal=0\r\n"
         "\r\n"
         "[Sending]\r\n"
         "EnterCount=10\r\n"
         "EnterDelayMs=5000\r\n"
         "ClearPromptFirst=0\r\n"
         "ClearDelayMs=500\r\n"
         "RestorePromptAfter=0\r\n"
         "BeepOnRefusal=0\r\n"
         "TraceGrip=1\r\n"
         "BlindWhenUnreadable=1\r\n"},
        {"hand-edited file loaded and saved again",
         "; Tarvin, edited by hand\n[Sending]\nEnterCount = 99\nTraceGrip=1\n\n"
         "[MainForm]\nLeft=10\n\n[hotkeys]\n  LOW =  Ctrl+Shift+F5 \nmedium=\n\n",
         [](TSettings&) {},
         "; Tarvin, edited by hand\r\n"
         "[Sending]\r\n"
         "EnterCount =10\r\n"
         "TraceGrip=1\r\n"
         "EnterDelayMs=250\r\n"
         "ClearPromptFirst=1\r\n"
         "ClearDelayMs=60\r\n"
         "RestorePromptAfter=1\r\n"
         "BeepOnRefusal=1\r\n"
         "BlindWhenUnreadable=0\r\n"
         "\r\n"
         "[MainForm]\r\n"
         "Left=10\r\n"
         "\r\n"
         "[hotkeys]\r\n"
         "  LOW =Ctrl+Shift+F5\r\n"
         "medium=Ctrl+Alt+2\r\n"
         "high=Ctrl+Alt+3\r\n"
         "xhigh=Ctrl+Alt+4\r\n"
         "max=Ctrl+Alt+5\r\n"
         "\r\n"
         "[Target]\r\n"
         "AcceptedClasses=CASCADIA_HOSTING_WINDOW_CLASS;ConsoleWindowClass\r\n"
         "RequireTitleMarker=0\r\n"
         "HotkeyOnlyOnTerminal=1\r\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        platform::sim::TSimFileSystem files;
        TSettings settings;
        if (!c.Before.empty()) {
            files.AddFile(IniPath, c.Before);
            settings.Load(IniPath, files);
        }
        c.Change(settings);
        settings.Save(IniPath, files);
        EXPECT_EQ(files.Contents(IniPath), c.Written);
    }
}

TEST(SettingsLoad, ValuesAsPeopleWriteThemByHand) {
    struct TCase {
        const char* Name;
        std::u16string Text;
        std::function<void(const TSettings&)> Check;
    };
    const std::vector<TCase> cases = {
        {"quoted number", u"[Sending]\r\nEnterCount=\"7\"\r\n",
         [](const TSettings& s) { EXPECT_EQ(s.EnterCount, 7); }},
        {"single-quoted number clamped", u"[Sending]\r\nClearDelayMs='1000'\r\n",
         [](const TSettings& s) { EXPECT_EQ(s.ClearDelayMs, 500); }},
        {"quoted Boolean", u"[Sending]\r\nClearPromptFirst=\"0\"\r\n",
         [](const TSettings& s) { EXPECT_FALSE(s.ClearPromptFirst); }},
        {"quoted hotkey", u"[Hotkeys]\r\nlow=\"Ctrl+Alt+9\"\r\nhigh= ' Shift+F5 ' \r\n",
         [](const TSettings& s) {
             EXPECT_EQ(s.HotkeyText[elLow], u"Ctrl+Alt+9");
             EXPECT_EQ(s.Hotkey[elLow], 0xC039);
             EXPECT_EQ(s.HotkeyText[elHigh], u"Shift+F5");
             EXPECT_EQ(s.Hotkey[elHigh], 0x2074);
         }},
        {"empty quotes keep the default", u"[Hotkeys]\r\nlow=\"\"\r\n[Sending]\r\nEnterCount=''\r\n",
         [](const TSettings& s) {
             EXPECT_EQ(s.HotkeyText[elLow], u"Ctrl+Alt+1");
             EXPECT_EQ(s.EnterCount, 3);
         }},
        {"the apostrophe key is no quote", u"[Hotkeys]\r\nmax=Ctrl+'\r\n",
         [](const TSettings& s) { EXPECT_EQ(s.Hotkey[elMax], 0x40DE); }},
        {"class list keeps its own quotes", u"[Target]\r\nAcceptedClasses=\"a\";\"b;c\"\r\n",
         [](const TSettings& s) {
             EXPECT_EQ(s.FAcceptedClasses, (Strings{u"a", u"b;c"}));
         }},
        {"header with a comment after it", u"[Sending] ; see [docs]\r\nEnterCount=7\r\n",
         [](const TSettings& s) { EXPECT_EQ(s.EnterCount, 7); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        platform::sim::TSimFileSystem files;
        c.Check(LoadFrom(files, c.Text));
    }
}

// What happens at exit: the settings are loaded again and saved over the user's file.
TEST(SettingsSave, ShutdownRoundTripKeepsANotepadUnicodeFileUnicode) {
    const auto utf16 = [](std::u16string_view text) {
        return "\xFF\xFE" + *orvel::EncodeIniText(text, orvel::TIniEncoding::Utf16LE);
    };
    platform::sim::TSimFileSystem files;
    files.AddFile(IniPath, utf16(u"[Hotkeys]\r\nlow=Ctrl+Alt+9\r\n[Sending]\r\nEnterCount=7\r\n"));
    TSettings settings;
    settings.Load(IniPath, files);
    ASSERT_EQ(settings.EnterCount, 7);
    ASSERT_EQ(settings.Hotkey[elLow], 0xC039);

    settings.Save(IniPath, files);

    EXPECT_EQ(files.Contents(IniPath),
              utf16(u"[Hotkeys]\r\n"
                    u"low=Ctrl+Alt+9\r\n"
                    u"medium=Ctrl+Alt+2\r\n"
                    u"high=Ctrl+Alt+3\r\n"
                    u"xhigh=Ctrl+Alt+4\r\n"
                    u"max=Ctrl+Alt+5\r\n"
                    u"[Sending]\r\n"
                    u"EnterCount=7\r\n"
                    u"EnterDelayMs=250\r\n"
                    u"ClearPromptFirst=1\r\n"
                    u"ClearDelayMs=60\r\n"
                    u"RestorePromptAfter=1\r\n"
                    u"BeepOnRefusal=1\r\n"
                    u"TraceGrip=0\r\n"
                    u"BlindWhenUnreadable=0\r\n"
                    u"\r\n"
                    u"[Target]\r\n"
                    u"AcceptedClasses=CASCADIA_HOSTING_WINDOW_CLASS;ConsoleWindowClass\r\n"
                    u"RequireTitleMarker=0\r\n"
                    u"HotkeyOnlyOnTerminal=1\r\n"));
    TSettings reloaded;
    reloaded.Load(IniPath, files);
    EXPECT_EQ(reloaded.EnterCount, 7);
    EXPECT_EQ(reloaded.HotkeyText[elLow], u"Ctrl+Alt+9");
}

TEST(SettingsSave, ShutdownRoundTripKeepsAnAnsiClassName) {
    platform::sim::TSimFileSystem files;
    files.AddFile(IniPath, "[Target]\r\nAcceptedClasses=\xC9"
                           "cran;ConsoleWindowClass\r\n");
    TSettings settings;
    settings.Load(IniPath, files);
    ASSERT_EQ(settings.FAcceptedClasses, (Strings{u"\u00C9cran", u"ConsoleWindowClass"}));

    settings.Save(IniPath, files);

    const std::string written = files.Contents(IniPath).value_or("");
    EXPECT_TRUE(written.starts_with("[Target]\r\nAcceptedClasses=\xC9"
                                    "cran;ConsoleWindowClass\r\n"))
        << written;
    TSettings reloaded;
    reloaded.Load(IniPath, files);
    EXPECT_EQ(reloaded.FAcceptedClasses, settings.FAcceptedClasses);
}

TEST(SettingsSave, HotkeyTextThatLooksQuotedReadsBackAsItself) {
    platform::sim::TSimFileSystem files;
    TSettings saved;
    saved.HotkeyText[elLow] = u"'x'";
    saved.HotkeyText[elMedium] = u"\"Ctrl+Alt+2\"";
    saved.Save(IniPath, files);
    TSettings loaded;
    loaded.Load(IniPath, files);
    EXPECT_EQ(loaded.HotkeyText[elLow], u"'x'");
    EXPECT_EQ(loaded.Hotkey[elLow], 0);
    EXPECT_EQ(loaded.HotkeyText[elMedium], u"\"Ctrl+Alt+2\"");
    EXPECT_EQ(loaded.Hotkey[elMedium], 0);
}

} // namespace
} // namespace tarvin
