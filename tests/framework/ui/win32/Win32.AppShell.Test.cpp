// The application shell in a real executable built with Tarvin's resources, under Wine: the version
// resource, the manifest, the icon, a second process, the start-up entry and the About box.
#include "tests/framework/ui/win32/Win32.ShellScene.h"

#include "framework/ui/FormAbout.h"
#include "framework/ui/FormAsyncMessage.h"
#include "framework/ui/InternetLabel.h"
#include "framework/ui/OrvelVcl.Common.LogFilter.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "framework/ui/OrvelVcl.Visual.LogForm.h"
#include "tests/platform/win32/Win32.TestSupport.h"
#include "toolkit/win32/Win32Ui.Picture.h"
#include "tools/icongen/Icongen.Glyph.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace orvel::win32test {
namespace {

using platform::win32::AsWide;
using platform::win32::FromWide;
using platform::win32::test::WaitUntil;

// A fresh application object per test, with the one-object rules reset as a new process has them.
class AppShell : public ::testing::Test {
protected:
    AppShell() {
        TAppDataCore::ClearIdentity();
        TAppDataCore::ResetConstructionFlagForTests();
    }
    ~AppShell() override {
        Application.reset();
        TAppDataCore::ClearIdentity();
        TAppDataCore::ResetConstructionFlagForTests();
    }
    // A first run: no settings or saved positions of an earlier test.
    void ForgetSettings() {
        TAppDataCore::EstablishIdentity(TestAppName, Shell.Os);
        ::DeleteFileW(platform::win32::AsWide(TAppDataCore::IniFile()));
        TAppDataCore::ClearIdentity();
    }
    // Frees the application object as the program's end does; another may follow.
    void EndApplication() {
        Application.reset();
        TAppDataCore::ClearIdentity();
        TAppDataCore::ResetConstructionFlagForTests();
    }
    TShellMainForm* MakeHiddenMainForm() {
        Shell.App.SetShowMainForm(false);
        return Application->CreateMainForm<TShellMainForm>(asPosOnly);
    }
    TAppData& MakeApplication() {
        Application = std::make_unique<TAppData>(TestAppName, TestWindowClass, false, Shell.Os, Shell.App);
        return *Application;
    }

    TRealShell Shell;
    std::unique_ptr<TAppData> Application;
};

std::wstring ShowcaseExe() {
    return std::filesystem::path(SHOWCASE_EXE).wstring();
}

HWND WindowOf(toolkit::TControl& Control) {
    return reinterpret_cast<HWND>(Control.Handle());
}

// Waits on the application's own pump, which hands typed keys to the forms' key preview first.
template <typename TCondition>
bool PumpUntil(toolkit::TApplication& App, TCondition Condition,
               std::chrono::milliseconds Timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + Timeout;
    for (;;) {
        App.ProcessMessages();
        if (Condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        ::Sleep(10);
    }
}

// A top-level window of this process with the given class and title, or null.
HWND OwnWindow(const wchar_t* ClassName, const wchar_t* Title) {
    HWND window = ::FindWindowW(ClassName, Title);
    DWORD process = 0;
    if (window != nullptr)
        ::GetWindowThreadProcessId(window, &process);
    return process == ::GetCurrentProcessId() ? window : nullptr;
}

// Plays the user in front of a modal window: on a second thread, waits for the window, hands it
// to Answer, and gives up after a minute so that a window that never comes fails the test.
class TModalAnswerer {
public:
    TModalAnswerer(const wchar_t* ClassName, std::wstring Title, std::function<void(HWND)> Answer)
        : FThread([this, ClassName, Title = std::move(Title), Answer = std::move(Answer)] {
              HWND window = nullptr;
              if (!WaitUntil(
                      [&] {
                          return (window = OwnWindow(ClassName, Title.c_str())) != nullptr &&
                                 ::IsWindowVisible(window) != FALSE;
                      },
                      std::chrono::seconds(60)))
                  return;
              Found = true;
              Answer(window);
          }) {}
    ~TModalAnswerer() { FThread.join(); }
    TModalAnswerer(const TModalAnswerer&) = delete;
    TModalAnswerer& operator=(const TModalAnswerer&) = delete;

    std::atomic<bool> Found = false;

private:
    std::thread FThread;
};

// Runs the showcase as a second copy of the program and answers what it found.
std::string SecondCopySays() {
    const std::filesystem::path result =
        std::filesystem::temp_directory_path() / ("tarvin-probe-" + std::to_string(::GetCurrentProcessId()));
    std::filesystem::remove(result);
    std::wstring command = L"\"" + ShowcaseExe() + L"\" probe \"" + result.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (platform::win32::test::CreateProcessRetrying(command, 0, nullptr, startup, process) == FALSE)
        return "not started";
    const platform::win32::TKernelHandle processHandle(process.hProcess);
    const platform::win32::TKernelHandle threadHandle(process.hThread);
    // Pumped while waiting: the probe may send messages to this process's windows.
    if (!WaitUntil([&] { return ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; },
                   std::chrono::seconds(60)))
        return "no answer";
    std::string answer;
    std::ifstream(result) >> answer;
    std::filesystem::remove(result);
    return answer;
}

TEST_F(AppShell, VersionResourceCarriesTheBuildsOneVersionNumber) {
    MakeApplication();
    EXPECT_EQ(TAppData::GetVersionInfo(true), u"" TARVIN_VERSION_FULL);
    const std::u16string full = TAppData::GetVersionInfo(true);
    EXPECT_EQ(TAppData::GetVersionInfoV(), u" v" + full.substr(0, full.rfind(u'.')));
}

bool RunningOnWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// What the manifest asks for, as the loader granted it: the side-by-side common controls 6 (the
// activation context redirects comctl32 to it) and per-monitor DPI awareness. Wine grants
// per-monitor awareness without telling version 2 apart.
TEST_F(AppShell, ManifestBringsCommonControls6AndPerMonitorDpiAwareness) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ASSERT_NE(::InitCommonControlsEx(&controls), FALSE);
    ACTCTX_SECTION_KEYED_DATA redirection{};
    redirection.cbSize = sizeof redirection;
    EXPECT_NE(::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         L"comctl32.dll", &redirection),
              FALSE)
        << "comctl32 is not redirected to the side-by-side version 6";
    wchar_t loaded[MAX_PATH] = {};
    ::GetModuleFileNameW(::GetModuleHandleW(L"comctl32.dll"), loaded, MAX_PATH);
    EXPECT_NE(std::wstring(loaded).find(L"common-controls_6595b64144ccf1df_6."), std::wstring::npos)
        << loaded;

    MakeApplication();
    EXPECT_EQ(TfrmAboutApp::DpiAwarenessText(),
              RunningOnWine() ? u"Per-Monitor Aware" : u"Per-Monitor Aware V2");
}

// The icon Windows reads from the executable is the glyph icongen draws, at every size it holds.
TEST_F(AppShell, EmbeddedIconIsTheGlyphAtEverySize) {
    for (const int size : {16, 20, 24, 32, 40, 48, 256}) {
        SCOPED_TRACE(size);
        const auto icon = toolkit::win32::IconPicture(::GetModuleHandleW(nullptr), 1, size);
        ASSERT_TRUE(icon.has_value());
        ASSERT_EQ(icon->Width, size);
        ASSERT_EQ(icon->Height, size);
        const icongen::TImage glyph = icongen::RenderGlyph(size);
        int different = 0;
        for (int i = 0; i < size * size; ++i) {
            const std::uint32_t want = glyph.Pixels[static_cast<std::size_t>(i)];
            const std::uint32_t got = icon->Pixels[static_cast<std::size_t>(i)];
            const int alphaGap = std::abs(static_cast<int>(want >> 24) - static_cast<int>(got >> 24));
            const bool opaque = (want >> 24) == 0xFF;
            different += alphaGap > 2 || (opaque && (want & 0x00FFFFFFu) != (got & 0x00FFFFFFu)) ? 1 : 0;
        }
        EXPECT_EQ(different, 0);
    }
}

TEST_F(AppShell, SecondProcessFindsTheFirstByItsMutexAndByItsWindow) {
    EXPECT_EQ(SecondCopySays(), "alone");

    {
        // A first copy that has not made its window yet: the mutex alone refuses the second.
        MakeApplication();
        ASSERT_FALSE(Application->InstanceRunning());
        EXPECT_EQ(SecondCopySays(), "running");
        Application.reset();
        TAppDataCore::ResetConstructionFlagForTests();
    }
    EXPECT_EQ(SecondCopySays(), "alone") << "the mutex goes with the application object";

    {
        // A copy hidden in the tray, found by its window class.
        const platform::win32::test::TTestWindowClass windowClass(L"TarvinShellTestWndClass");
        ASSERT_TRUE(windowClass.Registered());
        const platform::win32::test::TTestWindow window(windowClass, L"Tarvin");
        EXPECT_EQ(SecondCopySays(), "running");
    }
    EXPECT_EQ(SecondCopySays(), "alone");
}

TEST_F(AppShell, MainFormWindowClassIsTheSingleInstanceName) {
    MakeApplication();
    Shell.App.SetShowMainForm(false);
    TShellMainForm* form = Application->CreateMainForm<TShellMainForm>(asNone);
    form->HandleNeeded();
    EXPECT_EQ(reinterpret_cast<HWND>(form->Handle()), ::FindWindowW(L"TarvinShellTestWndClass", nullptr));
    EXPECT_FALSE(::IsWindowVisible(reinterpret_cast<HWND>(form->Handle())));
    form->Free();
}

TEST_F(AppShell, StartUpEntryLandsInTheRegistryAndLeavesIt) {
    MakeApplication();
    const std::u16string exe = Shell.Platform.Shell.ExecutablePath();
    const std::wstring name = std::filesystem::path(std::wstring(AsWide(exe))).stem().wstring();
    const auto read = [&]() -> std::optional<std::u16string> {
        wchar_t buffer[2048] = {};
        DWORD bytes = sizeof buffer;
        const LSTATUS status =
            ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                           name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &bytes);
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        return FromWide(buffer);
    };

    ASSERT_TRUE(Application->RunSelfAtStartUp(true));
    EXPECT_EQ(read(), u"\"" + exe + u"\"");
    ASSERT_TRUE(Application->RunSelfAtStartUp(false));
    EXPECT_EQ(read(), std::nullopt);
    EXPECT_TRUE(Application->RunSelfAtStartUp(false)) << "a missing value is no failure";
}

TEST_F(AppShell, AboutBoxShowsTheVersionTheDpiModeAndTheIconAsLogo) {
    MakeApplication();
    Shell.App.SetShowMainForm(false);
    Application->CreateMainForm<TShellMainForm>(asNone);
    TfrmAboutApp* box = Application->CreateForm<TfrmAboutApp>(false, asNone);
    EXPECT_EQ(box->lblAppName->Caption(), TestAppName);
    EXPECT_EQ(box->lblVersion->Caption(),
              TAppData::GetVersionInfoV() + u"   |   High-DPI: " + TfrmAboutApp::DpiAwarenessText());
    ASSERT_FALSE(box->imgLogo->Picture().Empty());
    EXPECT_EQ(box->imgLogo->Picture().Width(), 256);
    box->Free();
    Shell.App.MainForm()->Free();
}

TEST_F(AppShell, LogWindowIsMadeHiddenBeforeTheMainFormAndComesForwardOnWarningsAndErrors) {
    ForgetSettings();
    MakeApplication();
    TShellMainForm* mainForm = MakeHiddenMainForm();
    TfrmRamLog* log = Application->LogWindow();
    ASSERT_NE(log, nullptr);
    const auto& forms = Shell.App.Screen().Forms();
    const auto logAt = std::find(forms.begin(), forms.end(), log);
    const auto mainAt = std::find(forms.begin(), forms.end(), mainForm);
    ASSERT_NE(logAt, forms.end());
    EXPECT_LT(logAt, mainAt) << "the log window exists before the main form";
    EXPECT_EQ(log->Owner(), nullptr);

    const HWND window = WindowOf(*log);
    EXPECT_FALSE(::IsWindowVisible(window));
    // The user types into another window (a terminal, mid-burst): the log comes up on top of it
    // and leaves it the keyboard.
    platform::win32::test::TTestWindowClass typingClass(L"TarvinTypingHere");
    platform::win32::test::TTestWindow typing(typingClass, L"typing here",
                                              platform::win32::test::TTestWindow::TShow::Visible);
    ASSERT_TRUE(PumpUntil(Shell.App, [&] {
        ::SetForegroundWindow(typing.Handle());
        return ::GetForegroundWindow() == typing.Handle();
    }));
    TAppDataCore::LogWarn(u"Ctrl+Alt+5 is taken by another program.");
    ASSERT_TRUE(PumpUntil(Shell.App, [&] { return ::IsWindowVisible(window) != FALSE; }));
    EXPECT_EQ(::GetForegroundWindow(), typing.Handle()) << "the log window took the keyboard";
    const auto above = [](HWND upper, HWND lower) {
        for (HWND next = ::GetWindow(upper, GW_HWNDNEXT); next != nullptr;
             next = ::GetWindow(next, GW_HWNDNEXT)) {
            if (next == lower)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(above(window, typing.Handle())) << "the log window stays behind the window in front";
    typing.Destroy();

    // Minimised by the user, restored by the next error.
    ::ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil(Shell.App, [&] { return ::IsIconic(window) != FALSE; }));
    TAppDataCore::LogError(u"The terminal runs as administrator.");
    EXPECT_TRUE(
        PumpUntil(Shell.App, [&] { return ::IsIconic(window) == FALSE && ::IsWindowVisible(window); }));

    // Closed by the user: hidden, not destroyed; the next warning shows the same window.
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil(Shell.App, [&] { return ::IsWindowVisible(window) == FALSE; }));
    EXPECT_TRUE(::IsWindow(window));
    TAppDataCore::LogWarn(u"again");
    EXPECT_TRUE(PumpUntil(Shell.App, [&] { return ::IsWindowVisible(window) != FALSE; }));
    EXPECT_EQ(Application->LogWindow(), log);
}

TEST_F(AppShell, LogWindowOptionsClickedByTheUserAreThoseOfTheNextRun) {
    ForgetSettings();
    MakeApplication();
    MakeHiddenMainForm();
    {
        TfrmRamLog& log = *Application->FormLog();
        ASSERT_TRUE(log.chkShowDate->Checked());
        ASSERT_TRUE(log.chkLogOnError->Checked());
        // The user's clicks on the real boxes.
        ::SendMessageW(WindowOf(*log.chkShowDate), BM_CLICK, 0, 0);
        ::SendMessageW(WindowOf(*log.chkLogOnError), BM_CLICK, 0, 0);
        ASSERT_FALSE(log.Log->ShowDate());
        ASSERT_FALSE(Application->ShowLogOnError());
        log.Log->SetVerbosity(lvWarnings);
    }
    Shell.App.MainForm()->Free();
    EndApplication();

    MakeApplication();
    MakeHiddenMainForm();
    TfrmRamLog& log = *Application->LogWindow();
    EXPECT_FALSE(log.chkShowDate->Checked());
    EXPECT_FALSE(log.Log->ShowDate());
    EXPECT_TRUE(log.Log->ShowTime());
    EXPECT_FALSE(log.chkLogOnError->Checked());
    EXPECT_EQ(::SendMessageW(WindowOf(*log.chkLogOnError), BM_GETCHECK, 0, 0), BST_UNCHECKED)
        << "the window shows the model's state";
    EXPECT_EQ(log.Log->Verbosity(), lvWarnings);
    EXPECT_TRUE(log.Log->AutoScroll());
}

TEST_F(AppShell, LogWindowIsNeverNarrowerThanItsBottomStrip) {
    ForgetSettings();
    MakeApplication();
    MakeHiddenMainForm();
    TfrmRamLog& log = *Application->FormLog();
    log.Show();
    const HWND window = WindowOf(log);
    // The user drags the frame narrower than the strip.
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::SetWindowPos(window, nullptr, 0, 0, 200, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER);
    ::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, log.Width()) << "the model follows the window";
    // Side by side, no control of the strip overlaps the next.
    std::vector<RECT> strip;
    for (toolkit::TControl* control : log.pnlBottom->Controls()) {
        RECT r{};
        ::GetWindowRect(WindowOf(*control), &r);
        strip.push_back(r);
    }
    ASSERT_EQ(strip.size(), 6u);
    std::sort(strip.begin(), strip.end(), [](const RECT& a, const RECT& b) { return a.left < b.left; });
    for (std::size_t i = 1; i < strip.size(); ++i)
        EXPECT_LE(strip[i - 1].right, strip[i].left) << "control " << i;
}

TEST_F(AppShell, AboutBoxIsModalAndEscapeClosesIt) {
    ForgetSettings();
    MakeApplication();
    MakeHiddenMainForm();
    TModalAnswerer user(nullptr, L"About", [](HWND Box) { ::PostMessageW(Box, WM_CHAR, 27, 0); });
    TfrmAboutApp* box = TfrmAboutApp::CreateFormModal();
    EXPECT_TRUE(user.Found);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(::IsWindowVisible(WindowOf(*box))) << "hidden, kept until the application ends";
    EXPECT_EQ(box->lblCompany->Caption(), Application->CompanyName);
    EXPECT_EQ(box->lblCompany->Link(), Application->ProductHome);
    EXPECT_NE(Application->ProductHome.find(u"://"), std::u16string::npos) << "a link the shell can open";
}

TEST_F(AppShell, MessageFormShowsAtOnceStaysOnTopAndEnterFreesIt) {
    MakeApplication();
    MakeHiddenMainForm();
    ShowMessageAsync(u"Settings saved.", u"Shell test message");
    const HWND form = OwnWindow(nullptr, L"Shell test message");
    ASSERT_NE(form, nullptr) << "shown before the call returned";
    EXPECT_TRUE(::IsWindowVisible(form));
    EXPECT_NE(::GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    HWND focused = ::GetFocus();
    ASSERT_TRUE(focused == form || ::IsChild(form, focused));
    ::PostMessageW(focused, WM_CHAR, 13, 0);
    EXPECT_TRUE(PumpUntil(Shell.App, [&] { return ::IsWindow(form) == FALSE; })) << "closed and freed";
}

TEST_F(AppShell, MessageBoxIsTitledWithTheApplicationAndAnswersTheButtonPressed) {
    MakeApplication();
    MakeHiddenMainForm();
    std::wstring body;
    const std::wstring title =
        std::wstring(platform::win32::AsWide(std::u16string(TestAppName))) + L" - Warning";
    TModalAnswerer user(L"#32770", title, [&](HWND Box) {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(Box, 0xFFFF, text, 256);
        body = text;
        ::PostMessageW(Box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(ShowAppWarning(u"Disk almost full. CRLF Save now."), IDOK);
    EXPECT_TRUE(user.Found);
    EXPECT_EQ(body, L"Disk almost full.\r\nSave now.");
}

} // namespace
} // namespace orvel::win32test
