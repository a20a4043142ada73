#include "platform/win32/Win32.ScreenReader.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace platform::win32 {
namespace {

using test::TTestWindow;
using test::TTestWindowClass;
using test::WaitUntil;

const std::wstring ProgramPath = ToWideString(test::WindowsPathOf(CONSOLE_SCREEN_EXE));

// console_screen in one of its shapes, killed with everything it started when the test ends.
class TConsoleProgram {
public:
    TConsoleProgram(const std::wstring& arguments, DWORD creationFlags) {
        FReady = (FFolder.Path() / L"ready").wstring();
        FJob.Reset(CreateJobObjectW(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(FJob.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
        std::wstring command = L"\"" + ProgramPath + L"\" " + arguments + L" \"" + FReady + L"\"";
        if (arguments.starts_with(L"host"))
            command = L"\"" + ProgramPath + L"\" host \"" + FReady + L"\" " + arguments.substr(5);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (platform::win32::test::CreateProcessRetrying(command, creationFlags | CREATE_SUSPENDED, nullptr,
                                                         si, pi)) {
            AssignProcessToJobObject(FJob.Get(), pi.hProcess);
            ResumeThread(pi.hThread);
            CloseHandle(pi.hThread);
            FProcess.Reset(pi.hProcess);
        }
    }
    ~TConsoleProgram() { TerminateJobObject(FJob.Get(), 0); }

    // The window the program announced once its rows stood.
    HWND WaitForWindow() {
        std::string line;
        WaitUntil([&] { return !(line = test::ReadFileShared(FReady)).empty(); }, std::chrono::seconds(30));
        return line.empty() ? nullptr : reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoull(line)));
    }

private:
    test::TScratchFolder FFolder;
    std::wstring FReady;
    TKernelHandle FJob;
    TKernelHandle FProcess;
};

std::vector<std::u16string> ExpectedRows(std::u16string_view name) {
    return {u"\u2500\u2500\u2500\u2500\u2500\u2500", u"\u276F fix the parser", u"  second line",
            u"\u5B57 wide", u"tab " + std::u16string(name)};
}

// The first rows of a screen, as many as expected.
std::vector<std::u16string> Head(const TConsoleScreen& screen, std::size_t count) {
    std::vector<std::u16string> rows(screen.Rows.begin(),
                                     screen.Rows.begin() +
                                         static_cast<std::ptrdiff_t>(std::min(count, screen.Rows.size())));
    return rows;
}

class Win32ScreenReader : public ::testing::Test {
protected:
    void SetUp() override {
        // The reader attaches to other consoles, which a process can only do without one of its own.
        FreeConsole();
    }
    TWin32ScreenReader Reader;
};

TEST_F(Win32ScreenReader, ReadsTheVisibleRowsOfAConsoleWindowAndLeavesItsConsoleAgain) {
    TConsoleProgram program(L"classic", CREATE_NEW_CONSOLE);
    const HWND console = program.WaitForWindow();
    ASSERT_NE(console, nullptr);

    const TScreenRead read = Reader.ReadScreen(reinterpret_cast<TWindowHandle>(console));

    ASSERT_EQ(read.Status, TScreenReadStatus::Read);
    ASSERT_EQ(read.Screens.size(), 1u);
    const TConsoleScreen& screen = read.Screens.front();
    EXPECT_EQ(Head(screen, 5), ExpectedRows(u"classic"));
    // Blank rows below stay, emptied of their trailing blanks.
    ASSERT_GT(screen.Rows.size(), 5u);
    EXPECT_EQ(screen.Rows[5], u"");
    EXPECT_EQ(screen.Highlight, (TScreenCell{1, 2}));
    EXPECT_EQ(screen.Title, u"Console classic");
    EXPECT_EQ(GetConsoleWindow(), nullptr) << "the reader stayed attached";
}

TEST_F(Win32ScreenReader, ReadsEveryConsoleATerminalWindowHostsOneScreenPerTab) {
    TConsoleProgram program(L"host 2", DETACHED_PROCESS);
    const HWND host = program.WaitForWindow();
    ASSERT_NE(host, nullptr);

    // Twice: the second read goes straight to the processes the first one found.
    for (int round = 0; round < 2; ++round) {
        const TScreenRead read = Reader.ReadScreen(reinterpret_cast<TWindowHandle>(host));
        ASSERT_EQ(read.Status, TScreenReadStatus::Read) << "round " << round;
        ASSERT_EQ(read.Screens.size(), 2u);
        std::vector<std::u16string> titles{read.Screens[0].Title, read.Screens[1].Title};
        std::sort(titles.begin(), titles.end());
        EXPECT_EQ(titles, (std::vector<std::u16string>{u"Console 1", u"Console 2"}));
        for (const TConsoleScreen& screen : read.Screens) {
            EXPECT_EQ(Head(screen, 5), ExpectedRows(screen.Title.substr(8)));
        }
    }
    EXPECT_EQ(GetConsoleWindow(), nullptr) << "the reader stayed attached";
}

TEST_F(Win32ScreenReader, AWindowThatIsNoConsoleAndHostsNoneIsUnreadableWithAReason) {
    TTestWindowClass windowClass(L"TarvinNotAConsole");
    TTestWindow window(windowClass, L"plain", TTestWindow::TShow::Visible);

    const TScreenRead read = Reader.ReadScreen(window.Value());

    EXPECT_EQ(read.Status, TScreenReadStatus::Unreadable);
    EXPECT_TRUE(read.Screens.empty());
    EXPECT_FALSE(read.Reason.empty());
    EXPECT_EQ(Reader.ReadScreen(0).Status, TScreenReadStatus::Unreadable);
    EXPECT_EQ(GetConsoleWindow(), nullptr);
}

} // namespace
} // namespace platform::win32
