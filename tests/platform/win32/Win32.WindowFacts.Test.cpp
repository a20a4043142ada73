#include "platform/win32/Win32.Platform.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

namespace platform::win32 {
namespace {

using test::TTestWindow;
using test::TTestWindowClass;
using test::WaitUntil;

const std::wstring ClassText = L"Tarvin✳Test类";
const std::wstring TitleText = L"Claude ✳ コンソール — ünïcødé";

class Win32WindowFacts : public ::testing::Test {
protected:
    TWin32Platform Platform;
    TServices Services = Platform.Services();
    TTestWindowClass WindowClass{ClassText};
};

TEST_F(Win32WindowFacts, ForegroundWindowIsTheWindowBroughtToTheFrontWithItsFacts) {
    ASSERT_TRUE(WindowClass.Registered());
    TTestWindow window(WindowClass, TitleText, TTestWindow::TShow::Visible);
    ASSERT_NE(window.Handle(), nullptr);

    // Asked again while waiting, in case another program on the shared display took the front.
    ASSERT_TRUE(WaitUntil([&] {
        if (Services.Windows.ForegroundWindow() == window.Value())
            return true;
        SetForegroundWindow(window.Handle());
        return false;
    })) << "the test window never came to the front";

    // Read through the handle itself: another program on the shared display may take the front.
    const TWindowHandle front = window.Value();
    EXPECT_EQ(Services.Windows.ClassName(front), FromWide(ClassText));
    EXPECT_EQ(Services.Windows.Title(front), FromWide(TitleText));
    EXPECT_EQ(Services.Windows.OwningProcessId(front), GetCurrentProcessId());
}

TEST_F(Win32WindowFacts, TitleLongerThan511UnitsComesBackCutTo511) {
    ASSERT_TRUE(WindowClass.Registered());
    std::wstring longTitle;
    while (longTitle.size() < 600)
        longTitle += L"ab✳類";
    longTitle.resize(600);
    TTestWindow window(WindowClass, longTitle);
    ASSERT_NE(window.Handle(), nullptr);

    EXPECT_EQ(Services.Windows.Title(window.Value()), FromWide(longTitle.substr(0, 511)));
}

TEST_F(Win32WindowFacts, EmptyTitleIsEmptyText) {
    ASSERT_TRUE(WindowClass.Registered());
    TTestWindow window(WindowClass, L"");
    ASSERT_NE(window.Handle(), nullptr);

    EXPECT_EQ(Services.Windows.Title(window.Value()), u"");
    EXPECT_EQ(Services.Windows.ClassName(window.Value()), FromWide(ClassText));
}

TEST_F(Win32WindowFacts, NoWindowAndDestroyedWindowGiveEmptyFacts) {
    ASSERT_TRUE(WindowClass.Registered());
    TTestWindow window(WindowClass, TitleText);
    ASSERT_NE(window.Handle(), nullptr);
    const TWindowHandle destroyed = window.Value();
    window.Destroy();

    for (const TWindowHandle handle : {TWindowHandle{0}, destroyed}) {
        SCOPED_TRACE(handle);
        EXPECT_EQ(Services.Windows.ClassName(handle), u"");
        EXPECT_EQ(Services.Windows.Title(handle), u"");
        EXPECT_EQ(Services.Windows.OwningProcessId(handle), 0u);
    }
}

} // namespace
} // namespace platform::win32
