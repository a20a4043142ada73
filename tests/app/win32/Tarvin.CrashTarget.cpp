// Test-only program: installs the crash reporter and then fails the way its first argument says,
// writing into the folder its second argument names. What the user would be told goes to
// "notice.log" in that folder instead of a message box, so that the test can read it and nothing
// waits for a click.
//   access-violation  writes through a null pointer
//   ui-throw          throws from a timer's handler on the user-interface thread
//   terminate         lets a C++ exception escape main
// First, so that no toolkit header is read while windows.h's A/W macros are defined.
#include "toolkit/win32/Win32Ui.Windows.h"

#include "app/Tarvin.CrashReport.h"
#include "base/Base.Unicode.h"
#include "platform/win32/Win32.CrashTrap.h"
#include "platform/win32/Win32.FileSystem.h"
#include "platform/win32/Win32.MainThread.h"
#include "platform/win32/Win32.Text.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Timer.h"
#include "toolkit/win32/Win32Ui.Backend.h"

#include <stdexcept>
#include <string>

namespace {

int FailOnTheUiThread(tarvin::TCrashReporter& Reporter) {
    platform::win32::TWin32MainThread mainThread;
    toolkit::win32::TWin32Backend backend;
    toolkit::TApplication app{backend, mainThread};
    app.OnException = [&](const std::exception& Error) {
        Reporter.ReportException(Error);
        app.Terminate();
    };
    auto* timer = new toolkit::TTimer(&app);
    timer->SetInterval(10);
    timer->OnTimer = [timer](toolkit::TComponent*) {
        timer->SetEnabled(false);
        throw std::runtime_error("handler failed on purpose");
    };
    timer->SetEnabled(true);
    app.Run();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::wstring mode = argv[1];
    const std::u16string folder = platform::win32::FromWide(argv[2]);

    platform::win32::TWin32FileSystem files;
    platform::win32::TWin32CrashTrap trap([&](const std::u16string& Title, const std::u16string& Text) {
        (void)files.WriteFileAtomic(folder + u"\\notice.log", base::Utf16ToUtf8(Title + u"\n" + Text));
    });
    const auto reporter = tarvin::InstallCrashReporter(trap, files, u"Tarvin", u"9.8.7.6", folder);

    if (mode == L"access-violation") {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return 0;
    }
    if (mode == L"ui-throw") {
        return FailOnTheUiThread(*reporter);
    }
    if (mode == L"terminate") {
        throw std::logic_error("nobody caught this");
    }
    return 2;
}
