// The application shell as a program, built with Tarvin's resources, for what a test process cannot
// show of itself.
//   framework_shell_showcase probe RESULT_FILE
//       a second copy: writes "running" or "alone" to RESULT_FILE, as InstanceRunning answers.
//   framework_shell_showcase log|about|message SHOWN_MARKER STOP_MARKER
//       shows the log window (lines of every level), the About box or a message form, writes
//       SHOWN_MARKER with the
//       window's rectangle "left top width height" once it is painted, and runs until STOP_MARKER
//       exists (or two minutes have passed, so that a lost script cannot leave it running).
#include "tests/framework/ui/win32/Win32.ShellScene.h"

#include "framework/ui/FormAbout.h"
#include "framework/ui/FormAsyncMessage.h"
#include "framework/ui/OrvelVcl.Common.LogFilter.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "framework/ui/OrvelVcl.Visual.LogForm.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace orvel;
using namespace orvel::win32test;
using platform::win32::test::WaitUntil;

int Probe(const std::filesystem::path& Result) {
    TRealShell shell;
    TAppData app(TestAppName, TestWindowClass, false, shell.Os, shell.App);
    const bool running = app.InstanceRunning();
    std::ofstream(Result) << (running ? "running" : "alone") << "\n";
    return 0;
}

void LogEveryLevel(TRamLog& Log) {
    Log.AddDebug(u"Focus timer: foreground window 0x000A01C4 is CASCADIA_HOSTING_WINDOW_CLASS");
    Log.AddVerb(u"Target check: class accepted, no title marker required");
    Log.AddHint(u"The hotkeys are held only while a Claude Code terminal is in front.");
    Log.AddInfo(u"Ctrl+Alt+3: typed \"/effort high\" into Windows Terminal");
    Log.AddImpo(u"Settings loaded from C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\Tarvin.ini");
    Log.AddWarn(u"Ctrl+Alt+5 is taken by another program; that hotkey stays free.");
    Log.AddError(u"The terminal runs as administrator: Windows would discard the keystrokes.");
}

// Every window of the form has painted once none waits for a repaint.
bool Painted(HWND Window) {
    bool pending = ::GetUpdateRect(Window, nullptr, FALSE) != FALSE;
    ::EnumChildWindows(
        Window,
        [](HWND Child, LPARAM Pending) {
            if (::GetUpdateRect(Child, nullptr, FALSE) != FALSE)
                *reinterpret_cast<bool*>(Pending) = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&pending));
    return !pending;
}

int Show(const std::string& Mode, const std::filesystem::path& Shown, const std::filesystem::path& Stop) {
    TRealShell shell;
    // A fresh start every time: the windows open where a first run opens them.
    TAppDataCore::ClearIdentity();
    {
        TAppDataCore::EstablishIdentity(u"Tarvin", shell.Os);
        const std::u16string ini = TAppDataCore::IniFile();
        ::DeleteFileW(platform::win32::AsWide(ini));
        TAppDataCore::ClearIdentity();
    }
    TAppData app(u"Tarvin", u"TarvinShowcaseWndClass", false, shell.Os, shell.App);
    shell.App.SetShowMainForm(false);
    app.CreateMainForm<TShellMainForm>(asPosOnly);

    toolkit::TForm* form = nullptr;
    if (Mode == "log") {
        TfrmRamLog* log = app.FormLog();
        log->LogFilter->SetShowDebugMsg(true);
        log->Log->SetVerbosity(lvDebug);
        LogEveryLevel(*app.RamLog);
        form = log;
    } else if (Mode == "about") {
        form = app.CreateForm<TfrmAboutApp>(true, asNone);
    } else {
        ShowMessageAsync(u"Tarvin keeps running in the notification area. Right-click its icon there "
                         u"to open the window or to exit.",
                         u"Tarvin");
        form = shell.App.Screen().Forms().back();
    }
    form->Show();
    HWND window = reinterpret_cast<HWND>(form->Handle());
    if (!WaitUntil([&] { return form->Visible() && Painted(window); }, std::chrono::seconds(30))) {
        std::fputs("the window was not painted\n", stderr);
        return 1;
    }
    RECT rect{};
    ::GetWindowRect(window, &rect);
    std::ofstream(Shown) << rect.left << ' ' << rect.top << ' ' << (rect.right - rect.left) << ' '
                         << (rect.bottom - rect.top) << "\n";
    const bool stopped = WaitUntil([&] { return std::filesystem::exists(Stop); }, std::chrono::seconds(120));
    return stopped ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::string mode = argc > 1 ? std::filesystem::path(argv[1]).string() : "";
    if (mode == "probe" && argc == 3) {
        return Probe(argv[2]);
    }
    if ((mode == "log" || mode == "about" || mode == "message") && argc == 4) {
        return Show(mode, argv[2], argv[3]);
    }
    std::fputs("usage: framework_shell_showcase probe RESULT | log|about|message SHOWN STOP\n", stderr);
    return 2;
}
