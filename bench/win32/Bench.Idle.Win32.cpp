// Tarvin.exe's idle cost under wine beside a bare window that polls at the same rate: both started
// here, left to settle, then measured over the same stretch from outside the same way: CPU time
// (GetProcessTimes, kernel + user) and private memory (K32GetProcessMemoryInfo, PrivateUsage).
//   tarvin_bench_idle [SECONDS [SETTLE_SECONDS]]      defaults 60 and 5
// Exit code 0 when both programs ran to the end.
#include "tests/app/win32/Tarvin.Process.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using namespace tarvin::test;

struct TSample {
    double CpuMs = 0;
    double PrivateKb = 0;
};

double Ms(const FILETIME& Time) {
    ULARGE_INTEGER value;
    value.LowPart = Time.dwLowDateTime;
    value.HighPart = Time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

bool Sample(HANDLE Process, TSample& Out) {
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessTimes(Process, &created, &exited, &kernel, &user) ||
        !K32GetProcessMemoryInfo(Process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        return false;
    }
    Out.CpuMs = Ms(kernel) + Ms(user);
    Out.PrivateKb = static_cast<double>(memory.PrivateUsage) / 1024.0;
    return true;
}

double SecondsNow() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct TMeasured {
    const char* Name;
    HANDLE Process;
    TSample First;
    TSample Last;
    double PeakPrivateKb = 0;
    bool Ok = true;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int seconds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 60;
    const int settle = argc > 2 ? std::max(0, _wtoi(argv[2])) : 5;

    // An INI file at start: not a first run, so Tarvin sits hidden in the notification area.
    TTarvin tarvin(std::string{});
    if (!tarvin.Start()) {
        std::puts("idle: Tarvin did not start");
        return 1;
    }
    DWORD tarvinPid = 0;
    GetWindowThreadProcessId(TTarvin::Window(), &tarvinPid);
    platform::win32::TKernelHandle tarvinProcess(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, tarvinPid));

    std::wstring commandLine = termsim::test::Quoted(termsim::test::WindowsPathOf(IDLE_WINDOW_EXE));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!tarvinProcess || !CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                          &startup, &started)) {
        std::puts("idle: could not open Tarvin's process or start the bare window");
        return 1;
    }
    platform::win32::TKernelHandle windowProcess(started.hProcess);
    platform::win32::TKernelHandle windowThread(started.hThread);
    if (!WaitUntil([] { return FindWindowW(L"TarvinBenchIdleWindow", nullptr) != nullptr; })) {
        std::puts("idle: the bare window did not come up");
        TerminateProcess(windowProcess.Get(), 1);
        return 1;
    }
    std::printf("idle: Tarvin.exe (main window %s) beside a bare window with a 200 ms timer; settle %d s, "
                "measure %d s\n",
                IsWindowVisible(TTarvin::Window()) ? "visible" : "hidden", settle, seconds);
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(settle) * 1000);

    TMeasured measured[] = {{"Tarvin.exe", tarvinProcess.Get(), {}, {}, 0, true},
                            {"bare window", windowProcess.Get(), {}, {}, 0, true}};
    for (TMeasured& m : measured) {
        m.Ok = Sample(m.Process, m.First);
        m.PeakPrivateKb = m.First.PrivateKb;
    }
    const double start = SecondsNow();
    // One sample a second for the peak; the CPU figure comes from the first and the last.
    while (SecondsNow() - start < seconds) {
        Sleep(1000);
        for (TMeasured& m : measured) {
            TSample now;
            m.Ok = m.Ok && Sample(m.Process, now);
            m.PeakPrivateKb = std::max(m.PeakPrivateKb, now.PrivateKb);
            m.Last = now;
        }
    }
    const double elapsed = SecondsNow() - start;

    bool ok = true;
    double cpuShare[2] = {};
    double privateKb[2] = {};
    for (int i = 0; i < 2; ++i) {
        const TMeasured& m = measured[i];
        ok = ok && m.Ok && WaitForSingleObject(m.Process, 0) == WAIT_TIMEOUT;
        const double cpuMs = m.Last.CpuMs - m.First.CpuMs;
        cpuShare[i] = cpuMs / (elapsed * 1000.0) * 100.0;
        privateKb[i] = m.Last.PrivateKb;
        std::printf("  %-12s CPU %7.1f ms in %.1f s = %.3f %% of a core; private memory %.0f KiB (peak %.0f KiB)%s\n",
                    m.Name, cpuMs, elapsed, cpuShare[i], m.Last.PrivateKb, m.PeakPrivateKb, m.Ok ? "" : " (SAMPLING FAILED)");
    }
    std::printf("  goal CPU <= 0.1 %% of a core: %s (%.3f %%; bare window %.3f %%)\n", cpuShare[0] <= 0.1 ? "met" : "NOT met",
                cpuShare[0], cpuShare[1]);
    std::printf("  goal private memory <= 2x the bare window's: %s (%.2fx)\n",
                privateKb[0] <= 2 * privateKb[1] ? "met" : "NOT met", privateKb[0] / privateKb[1]);
    if (const HWND bare = FindWindowW(L"TarvinBenchIdleWindow", nullptr)) {
        PostMessageW(bare, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(windowProcess.Get(), 5000) != WAIT_OBJECT_0) {
        TerminateProcess(windowProcess.Get(), 1);
    }
    (void)tarvin.Close();
    return ok ? 0 : 1;
}
