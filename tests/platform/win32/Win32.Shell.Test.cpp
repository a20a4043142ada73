#include "base/Base.Unicode.h"
#include "platform/win32/Win32.Platform.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace platform::win32 {
namespace {

bool EndsWithNoCase(const std::u16string& text, const std::u16string& tail) {
    if (text.size() < tail.size())
        return false;
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    return std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [&](char16_t a, char16_t b) { return lower(a) == lower(b); });
}

TEST(Win32Shell, ExecutablePathIsTheRunningTestProgram) {
    TWin32Platform platform;
    const std::u16string path = platform.Shell.ExecutablePath();

    EXPECT_TRUE(EndsWithNoCase(path, u"\\win32_platform_test.exe")) << base::Utf16ToUtf8(path);
    EXPECT_TRUE(platform.Files.FileExists(path));
}

TEST(Win32Shell, UserFoldersAreExistingFoldersWithoutTrailingBackslash) {
    TWin32Platform platform;
    for (const std::u16string& folder :
         {platform.Shell.RoamingAppDataFolder(), platform.Shell.DocumentsFolder()}) {
        ASSERT_FALSE(folder.empty());
        EXPECT_NE(folder.back(), u'\\');
        EXPECT_TRUE(platform.Files.FolderExists(folder, true));
    }
    EXPECT_NE(platform.Shell.RoamingAppDataFolder(), platform.Shell.DocumentsFolder());
}

} // namespace
} // namespace platform::win32
