// One screen read as the burst does it before every key that could submit: the product's own
// platform::win32::TWin32ScreenReader::ReadScreen on a running `termsim --console` window (attach
// to its console, read the visible rows, free the console). The first read of a reader searches
// the processes for one attached to the console; later reads try the one found first. One reader
// does them all, as Tarvin keeps one; each read is timed alone with QueryPerformanceCounter and
// checked: read, one console, the draft on it.
//   tarvin_bench_screen [READS]        default 200, after the first
// Exit code 0 when every read found the draft.
#include "bench/win32/Bench.ProcessFigures.Win32.h"
#include "bench/win32/Bench.Stats.h"
#include "bench/win32/Bench.Terminal.Win32.h"
#include "platform/win32/Win32.Clock.h"
#include "platform/win32/Win32.ScreenReader.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <utility>
#include <string>
#include <vector>

namespace {

using namespace tarvin::bench;

constexpr char16_t DraftText[] = u"refactor the parser, then";

bool ShowsDraft(const platform::TScreenRead& Read) {
    if (Read.Status != platform::TScreenReadStatus::Read || Read.Screens.size() != 1) {
        return false;
    }
    for (const std::u16string& row : Read.Screens.front().Rows) {
        if (row.find(DraftText) != std::u16string::npos) {
            return true;
        }
    }
    return false;
}


BOOL WINAPI IgnoreConsoleEvent(DWORD) {
    return TRUE;
}

// The reader's calls made one by one on the console it found, each timed: where a read's time
// goes. Not the product's code, the same calls in the same order.
struct TSteps {
    static constexpr int Count = 9;
    static constexpr const char* Names[Count] = {
        "find the owned console window (EnumWindows)", "AttachConsole", "GetConsoleWindow", "CreateFileW CONOUT$",
        "GetConsoleScreenBufferInfo", "ReadConsoleOutputW (the visible rows)", "GetConsoleTitleW",
        "CloseHandle CONOUT$", "FreeConsole (and the Ctrl handlers)"};
    std::vector<double> Ms[Count];
};

BOOL CALLBACK FindOwned(HWND Window, LPARAM Param) {
    auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(Param);
    if (GetWindow(Window, GW_OWNER) == search->first) {
        search->second = Window;
    }
    return TRUE;
}

bool StepThrough(HWND Terminal, DWORD Pid, TSteps& Steps) {
    long long at = platform::win32::QpcMicroseconds();
    int step = 0;
    const auto lap = [&] {
        const long long now = platform::win32::QpcMicroseconds();
        Steps.Ms[step++].push_back(static_cast<double>(now - at) / 1000.0);
        at = now;
    };
    std::pair<HWND, HWND> search{Terminal, nullptr};
    EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&search));
    lap();
    SetConsoleCtrlHandler(IgnoreConsoleEvent, TRUE);
    const bool attached = AttachConsole(Pid) != FALSE;
    lap();
    const bool same = GetConsoleWindow() == search.second;
    lap();
    HANDLE output = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    lap();
    CONSOLE_SCREEN_BUFFER_INFO info{};
    const bool infoRead = GetConsoleScreenBufferInfo(output, &info) != FALSE;
    lap();
    const int width = info.srWindow.Right - info.srWindow.Left + 1;
    const int height = info.srWindow.Bottom - info.srWindow.Top + 1;
    std::vector<CHAR_INFO> cells(static_cast<std::size_t>(std::max(1, width * height)));
    SMALL_RECT region = info.srWindow;
    const bool cellsRead = ReadConsoleOutputW(output, cells.data(), COORD{static_cast<SHORT>(width), static_cast<SHORT>(height)},
                                              COORD{0, 0}, &region) != FALSE;
    lap();
    wchar_t title[512] = {};
    GetConsoleTitleW(title, 512);
    lap();
    CloseHandle(output);
    lap();
    FreeConsole();
    SetConsoleCtrlHandler(IgnoreConsoleEvent, FALSE);
    lap();
    return attached && same && infoRead && cellsRead;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const int reads = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
        // The reader refuses to attach elsewhere while this process has a console of its own, as
        // Tarvin lets go of one handed down by its starter. Output goes to the pipe it was given.
        FreeConsole();
        platform::win32::test::TScratchFolder folder;
        TBenchTerminal terminal(folder.Path(), L"screen",
                                {L"--console", L"--prompt", L"refactor the parser, then", L"--cursor", L"0,8"});
        if (!terminal.Start()) {
            std::puts("screen: termsim did not come up");
            return 1;
        }
        const auto window = reinterpret_cast<platform::TWindowHandle>(terminal.Window());
        platform::win32::TWin32ScreenReader reader;

        long long start = platform::win32::QpcMicroseconds();
        const platform::TScreenRead first = reader.ReadScreen(window);
        const double firstMs = static_cast<double>(platform::win32::QpcMicroseconds() - start) / 1000.0;
        const double anonBefore = AnonKbOf("self");
        std::vector<double> times;
        std::vector<double> roundTrips;
        int wrong = ShowsDraft(first) ? 0 : 1;
        for (int i = 0; i < reads; ++i) {
            start = platform::win32::QpcMicroseconds();
            const platform::TScreenRead read = reader.ReadScreen(window);
            times.push_back(static_cast<double>(platform::win32::QpcMicroseconds() - start) / 1000.0);
            wrong += ShowsDraft(read) ? 0 : 1;
            // The baseline, taken between the reads: the least exchange with another process, one
            // message to termsim's window and its answer.
            start = platform::win32::QpcMicroseconds();
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(terminal.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
            roundTrips.push_back(static_cast<double>(platform::win32::QpcMicroseconds() - start) / 1000.0);
        }
        const double anonAfter = AnonKbOf("self");
        const std::size_t rows = first.Screens.empty() ? 0 : first.Screens.front().Rows.size();
        const TSpread s = SpreadOf(times);
        std::printf("screen: TWin32ScreenReader::ReadScreen on termsim --console (100x30, %zu rows read), one reader\n",
                    rows);
        std::printf("  first read (searches the processes): %.2f ms%s\n", firstMs,
                    ShowsDraft(first) ? "" : "  (DID NOT SHOW THE DRAFT)");
        std::printf("  next %d reads: median %.2f ms, smallest %.2f ms, largest %.2f ms\n", reads, s.Median, s.Min,
                    s.Max);
        const TSpread trip = SpreadOf(roundTrips);
        std::printf("  baseline between the reads: one SendMessage (WM_NULL) to termsim's window and back: median %.2f "
                    "ms (%.2f .. %.2f); a read costs %.1f of them\n",
                    trip.Median, trip.Min, trip.Max, trip.Median > 0 ? s.Median / trip.Median : 0.0);
        std::printf("  reads that did not show the draft: %d of %d\n", wrong, reads + 1);
        std::printf("  this process's anonymous memory (RssAnon+VmSwap) across the %d reads: %.0f KiB -> %.0f KiB "
                    "(%+.2f KiB a read)\n",
                    reads, anonBefore, anonAfter, (anonAfter - anonBefore) / reads);
        std::printf("  goal one read <= 5 ms (median): %s (%.2f ms; largest %.2f ms)\n", Verdict(s.Median <= 5.0),
                    s.Median, s.Max);
        DWORD pid = 0;
        GetWindowThreadProcessId(terminal.Window(), &pid);
        TSteps steps;
        bool stepsOk = true;
        for (int i = 0; i < reads; ++i) {
            stepsOk = StepThrough(terminal.Window(), pid, steps) && stepsOk;
        }
        std::printf("  where the time goes: the reader's calls made one by one, %d times%s\n", reads,
                    stepsOk ? "" : " (SOME FAILED)");
        double sum = 0;
        for (int i = 0; i < TSteps::Count; ++i) {
            const TSpread step = SpreadOf(steps.Ms[i]);
            sum += step.Median;
            std::printf("    %-44s median %6.2f ms  (%.2f .. %.2f)\n", TSteps::Names[i], step.Median, step.Min, step.Max);
        }
        std::printf("    %-44s        %6.2f ms\n", "sum of the medians", sum);
        return wrong == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::printf("screen: %s\n", error.what());
        return 1;
    }
}
