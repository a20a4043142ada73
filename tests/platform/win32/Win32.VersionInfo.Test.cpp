// Version resources of real executables, read through the real backend.
#include "framework/core/OrvelCore.ExeVersion.h"
#include "framework/core/OrvelCore.WinVersion.h"
#include "platform/win32/Win32.Platform.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace orvel {
namespace {

using platform::win32::test::WindowsPathOf;

// The running executable's path pointed somewhere else.
class TShellAt final : public platform::IShell {
public:
    explicit TShellAt(std::u16string exe) : FExe(std::move(exe)) {}
    std::u16string ExecutablePath() const override { return FExe; }
    std::u16string RoamingAppDataFolder() const override { return {}; }
    std::u16string DocumentsFolder() const override { return {}; }

private:
    std::u16string FExe;
};

class Win32VersionInfo : public ::testing::Test {
protected:
    platform::win32::TWin32Platform Platform;
};

TEST_F(Win32VersionInfo, ExecutableWithAVersionResourceGivesItsFileVersion) {
    TExeVersion version;
    ASSERT_TRUE(GetVersionInfoFile(Platform.Versions, WindowsPathOf(VERSIONED_EXE), version));
    EXPECT_EQ(version, (TExeVersion{1, 4, 0, 17}));

    const TShellAt shell(WindowsPathOf(VERSIONED_EXE));
    EXPECT_EQ(GetVersionInfo(shell, Platform.Versions, true), u"1.4.0.17");
    EXPECT_EQ(GetVersionInfo(shell, Platform.Versions, false), u"1.4.0");
    EXPECT_EQ(GetVersionInfoV(shell, Platform.Versions), u" v1.4.0");
}

TEST_F(Win32VersionInfo, ExecutableWithoutAVersionResourceOrNoFileAtAllIsFalseWithZeros) {
    for (const std::u16string& path :
         {WindowsPathOf(RESTORE_TARGET_EXE), WindowsPathOf(VERSIONED_EXE) + u".missing"}) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        TExeVersion version{1, 2, 3, 4};
        EXPECT_FALSE(GetVersionInfoFile(Platform.Versions, path, version));
        EXPECT_EQ(version, TExeVersion{});
        EXPECT_EQ(GetVersionInfo(TShellAt(path), Platform.Versions, true), u"N/A");
    }
}

TEST_F(Win32VersionInfo, RunningTestProgramHasNoVersionResource) {
    ASSERT_FALSE(Platform.Shell.ExecutablePath().empty());
    EXPECT_EQ(GetVersionInfo(Platform.Shell, Platform.Versions, true), u"N/A");
    EXPECT_EQ(GetVersionInfoV(Platform.Shell, Platform.Versions), u" vN/A");
}

TEST_F(Win32VersionInfo, SystemVersionIsKnown) {
    // Which version wine claims is its own affair; it must claim one.
    const platform::TOsVersion os = Platform.Versions.OsVersion();
    EXPECT_GE(os.Major, 5u);
    EXPECT_EQ(IsWindows8Up(Platform.Versions), IsWindows8Up(os));
}

} // namespace
} // namespace orvel
