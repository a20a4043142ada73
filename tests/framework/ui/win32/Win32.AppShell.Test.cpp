// The application shell in a real executable built with Tarvin's resources, under Wine: the version
// resource, the manifest, the icon, a second process, the start-up entry and the About box.
#include "tests/framework/ui/win32/Win32.ShellScene.h"

#include "framework/ui/FormAbout.h"
#include "tests/platform/win32/Win32.TestSupport.h"
#include "toolkit/win32/Win32Ui.Picture.h"
#include "tools/icongen/Icongen.Glyph.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

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

// Runs the showcase as a second copy of the program and answers what it found.
std::string SecondCopySays() {
    const std::filesystem::path result =
        std::filesystem::temp_directory_path() / ("tarvin-probe-" + std::to_string(::GetCurrentProcessId()));
    std::filesystem::remove(result);
    std::wstring command = L"\"" + ShowcaseExe() + L"\" probe \"" + result.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process) == FALSE)
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

TEST_F(AppShell, ManifestBringsCommonControls6AndPerMonitorV2) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ASSERT_NE(::InitCommonControlsEx(&controls), FALSE);
    const HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    const auto getVersion =
        reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(::GetProcAddress(comctl, "DllGetVersion")));
    ASSERT_NE(getVersion, nullptr);
    DLLVERSIONINFO version{};
    version.cbSize = sizeof version;
    ASSERT_EQ(getVersion(&version), S_OK);
    EXPECT_EQ(version.dwMajorVersion, 6u) << "the comctl32 this process loaded";

    MakeApplication();
    EXPECT_EQ(TfrmAboutApp::DpiAwarenessText(), u"Per-Monitor Aware V2");
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
            ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", name.c_str(),
                           RRF_RT_REG_SZ, nullptr, buffer, &bytes);
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
    EXPECT_EQ(box->lblVersion->Caption(), TAppData::GetVersionInfoV() + u"   |   High-DPI: Per-Monitor Aware V2");
    ASSERT_FALSE(box->imgLogo->Picture().Empty());
    EXPECT_EQ(box->imgLogo->Picture().Width(), 256);
    box->Free();
    Shell.App.MainForm()->Free();
}

} // namespace
} // namespace orvel::win32test
