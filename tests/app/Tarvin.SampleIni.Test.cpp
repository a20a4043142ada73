#include "app/Tarvin.SampleIni.h"

#include "app/Tarvin.Settings.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.INIFile.h"
#include "platform/sim/Sim.FileSystem.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace tarvin {
namespace {

const std::u16string SamplePath = u"C:\\Tarvin\\Tarvin.sample.ini";

std::string Utf8(std::u16string_view text) {
    return base::Utf16ToUtf8(text);
}

struct TSampleScene {
    platform::sim::TSimFileSystem Files;
    TSampleScene() { Files.AddFile(SamplePath, Utf8(SampleIniText())); }
};

TEST(SampleIni, LoadsAsExactlyTheDefaults) {
    TSampleScene scene;
    TSettings loaded;
    // Start from values unlike every default, so that a key the sample lacks cannot pass unseen.
    loaded.EnterCount = 9;
    loaded.Load(SamplePath, scene.Files);
    const TSettings defaults;
    EXPECT_EQ(loaded.FAcceptedClasses, defaults.FAcceptedClasses);
    EXPECT_EQ(loaded.HotkeyText, defaults.HotkeyText);
    EXPECT_EQ(loaded.Hotkey, defaults.Hotkey);
    for (const TSettingRow& row : SettingRows) {
        if (row.Kind == TSettingKind::Flag) {
            EXPECT_EQ(loaded.*row.Flag, defaults.*row.Flag) << Utf8(row.Key);
        }
        if (row.Kind == TSettingKind::Number) {
            EXPECT_EQ(loaded.*row.Number, defaults.*row.Number) << Utf8(row.Key);
        }
    }
}

TEST(SampleIni, SetsEveryKeyInItsSectionAndExplainsIt) {
    TSampleScene scene;
    orvel::TIniFileEx ini(u"Hotkeys", SamplePath, scene.Files);
    const std::string text = Utf8(SampleIniText());
    for (const TSettingRow& row : SettingRows) {
        // A key missing from the sample would still load as its default; it must be there.
        EXPECT_FALSE(ini.ReadString(std::u16string(row.Section), std::u16string(row.Key), u"").empty())
            << Utf8(row.Section) << "/" << Utf8(row.Key);
        ASSERT_FALSE(row.Help.empty()) << Utf8(row.Key);
        EXPECT_NE(text.find("; " + Utf8(row.Help) + "\r\n"), std::string::npos) << Utf8(row.Key);
        if (row.Kind == TSettingKind::Number) {
            const std::string range = "Range " + std::to_string(row.Min) + " to " + std::to_string(row.Max) + ".";
            EXPECT_NE(text.find(range), std::string::npos) << Utf8(row.Key);
        }
    }
    for (const char* limit : {"BlindWhenUnreadable=1", "stash (Ctrl+S)", "vim NORMAL mode", "several Claude Code tabs"}) {
        EXPECT_NE(text.find(limit), std::string::npos) << limit;
    }
}

TEST(UserReadme, NamesEveryIniKeyAndWhatTheUserMustFind) {
    std::ifstream file(TARVIN_SOURCE_DIR "/dist/README.txt", std::ios::binary);
    ASSERT_TRUE(file.is_open());
    std::ostringstream content;
    content << file.rdbuf();
    const std::string readme = content.str();
    for (const TSettingRow& row : SettingRows) {
        EXPECT_NE(readme.find(Utf8(row.Key) + "="), std::string::npos) << Utf8(row.Key);
        EXPECT_NE(readme.find("[" + Utf8(row.Section) + "]"), std::string::npos) << Utf8(row.Section);
    }
    for (const char* fact : {"\"Start Tarvin when Windows starts\"", "portable.marker", "Tarvin.sample.ini",
                             "BlindWhenUnreadable=1", "stash (Ctrl+S)", "vim NORMAL mode", "several Claude Code tabs",
                             "Windows Terminal"}) {
        EXPECT_NE(readme.find(fact), std::string::npos) << fact;
    }
}

// The project's README names the keys by hand: each one the settings know.
TEST(ProjectReadme, NamesEveryIniKey) {
    std::ifstream file(TARVIN_SOURCE_DIR "/README.md", std::ios::binary);
    ASSERT_TRUE(file.is_open());
    std::ostringstream content;
    content << file.rdbuf();
    const std::string readme = content.str();
    for (const TSettingRow& row : SettingRows) {
        if (row.Kind != TSettingKind::Hotkey) {
            EXPECT_NE(readme.find(Utf8(row.Key)), std::string::npos) << Utf8(row.Key);
        }
        EXPECT_NE(readme.find("`[" + Utf8(row.Section) + "]`"), std::string::npos) << Utf8(row.Section);
    }
}

} // namespace
} // namespace tarvin
