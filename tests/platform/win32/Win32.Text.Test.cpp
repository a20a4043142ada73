#include "platform/win32/Win32.Text.h"

#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

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

TEST(Win32Text, CountedTextAndWideCopiesKeepEveryUnit) {
    const std::u16string text = u"ab✳\U0001F600cd";
    const std::u16string_view middle = std::u16string_view(text).substr(2, 3);

    EXPECT_EQ(std::wstring_view(WideUnits(middle), middle.size()), L"✳\U0001F600");
    EXPECT_EQ(ToWideString(middle), L"✳\U0001F600");
    EXPECT_EQ(FromWide(std::wstring_view(L"x\0y", 3)), std::u16string(u"x\0y", 3));
}

// A fixed array of a Win32 record: cut to fit with its terminator, never inside a surrogate pair.
TEST(Win32Text, CopyToWideCutsToTheArrayWithoutSplittingAPair) {
    const std::u16string smile = u"\U0001F600";
    const struct {
        const char* Label;
        std::u16string Text;
        std::wstring Expected;
    } cases[] = {
        {"fits", u"abc", L"abc"},
        {"exactly fills", u"abcde", L"abcde"},
        {"cut", u"abcdefgh", L"abcde"},
        {"pair fits whole", u"abc" + smile, L"abc\U0001F600"},
        {"pair would be cut", u"abcd" + smile, L"abcd"},
        {"empty", u"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        wchar_t buffer[6];
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        CopyToWide(c.Text, buffer);
        EXPECT_EQ(std::wstring(buffer), c.Expected);
    }
}

TEST(Win32Text, WindowTextReadsTheWholeTitle) {
    test::TTestWindowClass windowClass(L"TarvinTextTest-" + std::to_wstring(GetTickCount64()));
    ASSERT_TRUE(windowClass.Registered());
    std::wstring longTitle;
    for (int i = 0; i < 300; ++i)
        longTitle += L"✳類";
    test::TTestWindow window(windowClass, longTitle);
    ASSERT_NE(window.Handle(), nullptr);

    EXPECT_EQ(WindowText(window.Handle()), FromWide(longTitle));
    SetWindowTextW(window.Handle(), L"");
    EXPECT_EQ(WindowText(window.Handle()), u"");
}

} // namespace
} // namespace platform::win32
