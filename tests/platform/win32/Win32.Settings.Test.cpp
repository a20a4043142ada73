#include "app/Tarvin.Settings.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Platform.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

namespace tarvin {
namespace {

using platform::win32::AsWide;
using platform::win32::TKernelHandle;
using platform::win32::test::TScratchFolder;

class Win32Settings : public ::testing::Test {
protected:
    platform::win32::TWin32FileSystem Files;
    TScratchFolder Scratch;
};

TEST_F(Win32Settings, NonAsciiClassNamesSurviveSaveAndLoadOnRealFiles) {
    const std::u16string path = Scratch / L"Tarvin✳\\Tarvin.ini";
    TSettings saved;
    saved.FAcceptedClasses = {u"コンソール✳Class;x", u"ConsoleWindowClass"};
    saved.EnterCount = 7;
    saved.TraceGrip = true;

    saved.Save(path, Files);
    TSettings loaded;
    loaded.Load(path, Files);

    EXPECT_EQ(loaded.FAcceptedClasses, saved.FAcceptedClasses);
    EXPECT_EQ(loaded.EnterCount, 7);
    EXPECT_TRUE(loaded.TraceGrip);
    const std::optional<std::string> bytes = Files.ReadFile(path);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_NE(bytes->find("\xE3\x82\xB3\xE3\x83\xB3\xE3\x82\xBD\xE3\x83\xBC\xE3\x83\xAB"), std::string::npos)
        << "the class name is not stored as UTF-8";
}

TEST_F(Win32Settings, RefusedSaveRaisesAndKeepsTheOldFile) {
    const std::u16string path = Scratch / L"Tarvin.ini";
    TSettings first;
    first.EnterCount = 2;
    first.Save(path, Files);
    const std::optional<std::string> before = Files.ReadFile(path);
    // Held open without FILE_SHARE_DELETE, the file cannot be replaced.
    const TKernelHandle holder(
        CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);

    TSettings second;
    second.EnterCount = 9;
    EXPECT_THROW(second.Save(path, Files), orvel::EIniFileException);
    EXPECT_EQ(Files.ReadFile(path), before);
}

} // namespace
} // namespace tarvin
