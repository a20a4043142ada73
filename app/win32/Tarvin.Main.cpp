// The program entry: the real system behind the platform services, the toolkit's Windows backend,
// the application object, and either the first copy's window brought back or the main window and
// the message loop.
// First, so that no toolkit header is read while windows.h's A/W macros are defined.
#include "toolkit/win32/Win32Ui.Windows.h"

#include "app/FormMain.h"
#include "app/Tarvin.CrashReport.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.ExeVersion.h"
#include "framework/ui/OrvelVcl.Common.Window.h"
#include "framework/ui/OrvelVcl.Visual.AppData.h"
#include "platform/win32/Win32.CrashTrap.h"
#include "platform/win32/Win32.Platform.h"
#include "platform/win32/Win32.Text.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/win32/Win32Ui.Backend.h"

#include <exception>
#include <string>

namespace {

constexpr char16_t AppName[] = u"Tarvin";
constexpr char16_t WindowClassName[] = u"TarvinWndClass";
constexpr char16_t MakerName[] = u"Halvorn";

int RunTarvin() {
    platform::win32::TWin32Platform platform;
    platform::TServices os = platform.Services();
    toolkit::win32::TWin32Backend backend;
    toolkit::TApplication application{backend, platform.MainThread};

    platform::win32::TWin32CrashTrap crashTrap;

    orvel::TAppData app(AppName, WindowClassName, false, os, application);
    app.CompanyName = MakerName;
    // As soon as the data folder is known, so that reports lie beside the settings and logs; an
    // error nothing caught, on any thread, leaves a report and a minidump there.
    const auto crashReporter =
        tarvin::InstallCrashReporter(crashTrap, platform.Files, AppName,
                                     orvel::GetVersionInfo(platform.Shell, platform.Versions, true),
                                     orvel::TAppDataCore::AppDataFolder(true));
    application.OnException = [&crashReporter](const std::exception& Error) { crashReporter->ReportException(Error); };
    if (app.InstanceRunning()) {
        // The first copy hears the bring-forward message and logs that a second one came and went.
        (void)orvel::RestoreWindowByName(os.WindowControl, app.SingleInstClassName());
        return 0;
    }
    application.SetMainFormOnTaskBar(true);
    app.CreateMainForm<tarvin::TMainForm>(orvel::asPosOnly);
    app.Run();
    return 0;
}

// An error nothing else caught: said once, in words, rather than a silent exit.
void ReportFatal(const std::u16string& Message) {
    const std::u16string text = u"Tarvin stopped because of an error it could not handle:\n\n" + Message;
    ::MessageBoxW(nullptr, platform::win32::AsWide(text), platform::win32::AsWide(std::u16string(AppName)),
                  MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

} // namespace

int wmain() {
    try {
        return RunTarvin();
    } catch (const std::exception& error) {
        ReportFatal(base::ExceptionMessage(error));
    }
    return 1;
}
