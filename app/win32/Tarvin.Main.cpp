// The program entry: the real system behind the platform services, the toolkit's Windows backend,
// the application object, and either the first copy's window brought back or the main window and
// the message loop.
// First, so that no toolkit header is read while windows.h's A/W macros are defined.
#include "toolkit/win32/Win32Ui.Windows.h"

#include "app/FormMain.h"
#include "app/Tarvin.CrashReport.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.AppData.h"
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

    // The trap and the reporter come before the application objects, so that they outlive them:
    // an error nothing caught, on any thread, while the application object loads its settings,
    // runs, or saves its forms and the INI at exit, leaves a report and a minidump in the data
    // folder. Destroyed in the reverse order, the reporter hands the trap back before the trap
    // goes. The identity is settled first (the application object settles the same again) so that
    // the data folder is known before the application object exists.
    platform::win32::TWin32CrashTrap crashTrap;
    orvel::TAppDataCore::EstablishIdentity(AppName, os);
    const auto crashReporter = tarvin::InstallCrashReporter(
        crashTrap, AppName, orvel::GetVersionInfo(platform.Shell, platform.Versions, true),
        orvel::TAppDataCore::AppDataFolder(true));

    toolkit::win32::TWin32Backend backend;
    toolkit::TApplication application{backend, platform.MainThread};
    application.OnException = [&crashReporter](const std::exception& Error) {
        crashReporter->ReportException(Error);
    };

    orvel::TAppData app(AppName, WindowClassName, false, os, application);
    app.CompanyName = MakerName;
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
    // A console handed down by whoever started Tarvin is of no use to a windowed program, and while
    // it holds one, Tarvin cannot attach to a terminal's console to read its screen.
    ::FreeConsole();
    try {
        return RunTarvin();
    } catch (const std::exception& error) {
        ReportFatal(base::ExceptionMessage(error));
    }
    return 1;
}
