// Bringing windows forward on the real desktop: a hidden window of a second process, as the
// second copy of the program finds the first, and windows of this process.
#include "framework/ui/OrvelVcl.Common.Window.h"
#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Platform.h"
#include "platform/win32/Win32.Text.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>

namespace orvel {
namespace {

using platform::win32::TKernelHandle;
using platform::win32::test::TTestWindow;
using platform::win32::test::TTestWindowClass;
using platform::win32::test::WaitUntil;

constexpr auto Timeout = std::chrono::seconds(20);

using platform::win32::test::ReadFileShared;
using platform::win32::test::WindowsPathOf;

// The restore target in its own process, with a window class of its own and a record file; the
// process is ended and the file deleted on every path out of a test.
class TRestoreTarget {
public:
    TRestoreTarget()
        : FClass(L"TarvinRestoreTarget-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(GetTickCount64())) {
        wchar_t folder[MAX_PATH + 1] = {};
        wchar_t path[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, folder);
        GetTempFileNameW(folder, L"rst", 0, path);
        FRecord = path;
        std::wstring commandLine = L"\"" + platform::win32::ToWideString(WindowsPathOf(RESTORE_TARGET_EXE)) +
                                   L"\" \"" + FClass + L"\" \"" + FRecord + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (platform::win32::test::CreateProcessRetrying(commandLine, 0, nullptr, startup, process)) {
            FProcess.Reset(process.hProcess);
            const TKernelHandle thread(process.hThread);
        }
    }
    ~TRestoreTarget() {
        if (FProcess && WaitForSingleObject(FProcess.Get(), 0) != WAIT_OBJECT_0) {
            TerminateProcess(FProcess.Get(), 1);
            WaitForSingleObject(FProcess.Get(), 5000);
        }
        DeleteFileW(FRecord.c_str());
    }
    TRestoreTarget(const TRestoreTarget&) = delete;
    TRestoreTarget& operator=(const TRestoreTarget&) = delete;

    const std::wstring& ClassName() const { return FClass; }
    HWND Window() const { return FindWindowW(FClass.c_str(), nullptr); }
    std::string Record() const { return ReadFileShared(FRecord); }

    testing::AssertionResult Started() const {
        if (!FProcess)
            return testing::AssertionFailure() << "CreateProcessW failed with error " << GetLastError();
        if (!WaitUntil([&] { return Record() == "ready\n" && Window() != nullptr; }, Timeout))
            return testing::AssertionFailure() << "the target never showed up; record: " << Record();
        return testing::AssertionSuccess();
    }

    // Closes the window, which ends the program; its exit code, or a failure when it does not end.
    testing::AssertionResult Quit() const {
        PostMessageW(Window(), WM_CLOSE, 0, 0);
        if (WaitForSingleObject(FProcess.Get(),
                                static_cast<DWORD>(std::chrono::milliseconds(Timeout).count())) !=
            WAIT_OBJECT_0)
            return testing::AssertionFailure() << "the target did not end";
        DWORD code = 99;
        GetExitCodeProcess(FProcess.Get(), &code);
        if (code != 0)
            return testing::AssertionFailure() << "the target ended with " << code;
        return testing::AssertionSuccess();
    }

private:
    std::wstring FClass;
    std::wstring FRecord;
    TKernelHandle FProcess;
};

class Win32WindowHelpers : public ::testing::Test {
protected:
    platform::win32::TWin32Platform Platform;
    platform::IWindowControl& Control = Platform.WindowControl;
};

TEST_F(Win32WindowHelpers, HiddenWindowOfASecondProcessGetsTheMessageAndComesForward) {
    TRestoreTarget target;
    ASSERT_TRUE(target.Started());
    const HWND window = target.Window();
    ASSERT_FALSE(IsWindowVisible(window));

    EXPECT_TRUE(RestoreWindowByName(Control, platform::win32::FromWide(target.ClassName())));

    // The message was sent synchronously: it was handled, and the target showed itself in answer,
    // before the call returned.
    EXPECT_EQ(target.Record(), "ready\nbring-forward 0 0\n");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, Timeout))
        << "the target never came to the front";
    EXPECT_TRUE(target.Quit());
}

TEST_F(Win32WindowHelpers, ClassThatNoWindowHasIsNotFound) {
    const std::wstring unused = L"TarvinNoSuchClass-" + std::to_wstring(GetTickCount64());
    EXPECT_FALSE(RestoreWindowByName(Control, platform::win32::FromWide(unused)));
}

TEST_F(Win32WindowHelpers, MinimisedWindowComesBackAsItWasBefore) {
    TTestWindowClass windowClass(L"TarvinRestoreLocal-" + std::to_wstring(GetTickCount64()));
    ASSERT_TRUE(windowClass.Registered());
    for (const bool maximised : {false, true}) {
        SCOPED_TRACE(maximised);
        TTestWindow window(windowClass, L"restore me", TTestWindow::TShow::Visible);
        ASSERT_NE(window.Handle(), nullptr);
        if (maximised)
            ShowWindow(window.Handle(), SW_MAXIMIZE);
        ShowWindow(window.Handle(), SW_MINIMIZE);
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(window.Handle()) != FALSE; }, Timeout));

        RestoreWindow(Control, window.Value());

        EXPECT_TRUE(WaitUntil([&] { return IsIconic(window.Handle()) == FALSE; }, Timeout));
        EXPECT_EQ(IsZoomed(window.Handle()) != FALSE, maximised);
    }
}

TEST_F(Win32WindowHelpers, WindowAlreadyInFrontIsForeground) {
    TTestWindowClass windowClass(L"TarvinForeground-" + std::to_wstring(GetTickCount64()));
    ASSERT_TRUE(windowClass.Registered());
    TTestWindow window(windowClass, L"in front", TTestWindow::TShow::Visible);
    ASSERT_NE(window.Handle(), nullptr);
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (GetForegroundWindow() == window.Handle())
                return true;
            SetForegroundWindow(window.Handle());
            return false;
        },
        Timeout));

    EXPECT_TRUE(ForceForegroundWindow(Control, window.Value()));
    EXPECT_EQ(GetForegroundWindow(), window.Handle());
}

} // namespace
} // namespace orvel
