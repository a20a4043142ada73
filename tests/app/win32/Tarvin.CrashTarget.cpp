// Test-only program: installs the crash reporter and then fails the way its first argument says,
// writing into the folder its second argument names. What the user would be told goes to
// "notice.log" in that folder instead of a message box, so that the test can read it and nothing
// waits for a click.
//   access-violation  writes through a null pointer
//   ui-throw          throws from a timer's handler on the user-interface thread
//   terminate         lets a C++ exception escape main
//   after-reporter    destroys the reporter, then lets a C++ exception escape main
//   heap-corruption   breaks the process heap, notes the time in "fault-time.txt" (100 ns units
//                     since 1601), then writes through a null pointer
//   heap-fault        breaks the process heap the same way and notes the time, then asks the heap
//                     for a block: the heap faults on its broken list while it holds its own lock
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

#include <array>
#include <cstring>
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

// Frees two of a row of small blocks on the process heap and writes garbage over their headers and
// over the free-list links the heap keeps inside free blocks, as an overrun from a neighbour would:
// the next allocation on the process heap that walks the list faults.
void BreakTheProcessHeap() {
    const HANDLE heap = GetProcessHeap();
    std::array<char*, 16> blocks{};
    for (char*& block : blocks) {
        block = static_cast<char*>(HeapAlloc(heap, 0, 24));
    }
    for (const std::size_t victim : {std::size_t{5}, std::size_t{7}}) {
        HeapFree(heap, 0, blocks[victim]);
        std::memset(blocks[victim] - 16, 0x41, 48);
    }
}

std::u16string SystemTimeNow() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return base::AsciiToUtf16(std::to_string(ticks));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::wstring mode = argv[1];
    const std::u16string folder = platform::win32::FromWide(argv[2]);

    platform::win32::TWin32FileSystem files;
    platform::win32::TWin32CrashTrap trap([&](std::u16string_view Title, std::u16string_view Text) {
        std::u16string notice(Title);
        notice.append(u"\n").append(Text);
        (void)files.WriteFileAtomic(folder + u"\\notice.log", base::Utf16ToUtf8(notice));
    });
    auto reporter = tarvin::InstallCrashReporter(trap, u"Tarvin", u"9.8.7.6", folder);

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
    if (mode == L"after-reporter") {
        reporter.reset();
        throw std::logic_error("thrown after the reporter was gone");
    }
    if (mode == L"heap-corruption" || mode == L"heap-fault") {
        // Noted while the heap is still whole; nothing between here and the fault allocates.
        (void)files.WriteFileAtomic(folder + u"\\fault-time.txt", base::Utf16ToUtf8(SystemTimeNow()));
        BreakTheProcessHeap();
        if (mode == L"heap-fault") {
            (void)HeapAlloc(GetProcessHeap(), 0, 24);
            return 0;
        }
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return 0;
    }
    return 2;
}
