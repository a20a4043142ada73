#include "platform/win32/Win32.Text.h"

#include <gtest/gtest.h>

namespace platform::win32 {
namespace {

TEST(Win32Text, SystemErrorMessageIsTheSystemsTextWithoutItsLineBreak) {
    const std::u16string message = SystemErrorMessage(ERROR_FILE_NOT_FOUND);

    ASSERT_FALSE(message.empty());
    EXPECT_NE(message.back(), u'\n');
    EXPECT_NE(message.back(), u'\r');
    EXPECT_NE(message.back(), u' ');
}

TEST(Win32Text, CodeWithoutASystemMessageStillGetsWords) {
    constexpr DWORD NoSuchCode = 0x0BADC0DE;
    EXPECT_EQ(SystemErrorMessage(NoSuchCode), u"System error 195936478");
}

TEST(Win32Text, WideTextCrossesUnitForUnit) {
    const std::u16string text = u"Tarvin✳類\U0001F600";
    const wchar_t* wide = AsWide(text);

    EXPECT_EQ(std::wstring(wide), L"Tarvin✳類\U0001F600");
    EXPECT_EQ(FromWide(wide), text);
    EXPECT_EQ(FromWide(nullptr), u"");
}

} // namespace
} // namespace platform::win32
