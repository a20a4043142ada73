// Tarvin.exe's idle cost under wine beside a bare window that polls at the same rate: both started
// here, left to settle, then measured over the same stretch from outside the same way: CPU time
// (GetProcessTimes, kernel + user) and private memory (K32GetProcessMemoryInfo, PrivateUsage).
// Wine 8.0 reports PrivateUsage as 0 for every process, even for the asking one itself; so the
// kernel's count of each process's private memory, RssAnon + VmSwap of /proc/<pid>/status, is read
// beside it through drive Z:, the process found by its command line.
//   tarvin_bench_idle [SECONDS [SETTLE_SECONDS]]      defaults 60 and 5
// Exit code 0 when both programs ran to the end.
#include "tests/app/win32/Tarvin.Process.h"

#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace tarvin::test;

struct TSample {
    double CpuMs = 0;
    double PrivateKb = 0;      // K32GetProcessMemoryInfo's PrivateUsage
    double AnonKb = -1;        // RssAnon + VmSwap of /proc/<pid>/status; -1 when unread
    double LinuxCpuMs = -1;    // utime + stime of /proc/<pid>/stat; -1 when unread
};

std::string Lower(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char c) { return std::tolower(c); });
    return Text;
}

// The Linux process whose command line holds every one of Needles (lower case); "" when none or
// more than one does.
std::string UnixProcessOf(const std::vector<std::string>& Needles) {
    std::string found;
    std::error_code error;
    // Processes come and go while the folder is read: errors end the walk instead of throwing.
    for (std::filesystem::directory_iterator entry(L"Z:\\proc", error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.empty() || !std::isdigit(static_cast<unsigned char>(name[0]))) {
            continue;
        }
        std::ifstream file(entry->path() / "cmdline", std::ios::binary);
        std::string commandLine((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        // The wine process itself names the exe first; xvfb-run and shells before it name it later.
        commandLine = Lower(commandLine.substr(0, commandLine.find('\0')));
        if (std::all_of(Needles.begin(), Needles.end(),
                        [&](const std::string& needle) { return commandLine.find(needle) != std::string::npos; })) {
            if (!found.empty()) {
                return {};
            }
            found = name;
        }
    }
    return found;
}

// RssAnon + VmSwap in KiB: the process's anonymous memory, resident or swapped out.
double AnonKb(const std::string& UnixPid) {
    std::ifstream status(std::filesystem::path(L"Z:\\proc") / UnixPid / "status");
    std::string line;
    double total = -1;
    while (std::getline(status, line)) {
        if (line.starts_with("RssAnon:") || line.starts_with("VmSwap:")) {
            total = std::max(total, 0.0) + std::atof(line.c_str() + line.find(':') + 1);
        }
    }
    return total;
}

double Ms(const FILETIME& Time) {
    ULARGE_INTEGER value;
    value.LowPart = Time.dwLowDateTime;
    value.HighPart = Time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

// utime + stime of /proc/<pid>/stat in milliseconds: the kernel's own count for the wine process,
// in ticks of USER_HZ, which is 100 on every x86-64 Linux.
double LinuxCpuMs(const std::string& UnixPid) {
    std::ifstream file(std::filesystem::path(L"Z:\\proc") / UnixPid / "stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t afterName = stat.rfind(')');
    if (afterName == std::string::npos) {
        return -1;
    }
    // After the name: state, then fields 4 to 13, then utime and stime (fields 14 and 15).
    std::istringstream fields(stat.substr(afterName + 1));
    std::string field;
    double ticks = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        if (index >= 14) {
            ticks += std::atof(field.c_str());
        }
    }
    return ticks * 10.0;
}

bool Sample(HANDLE Process, const std::string& UnixPid, TSample& Out) {
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
    Out.AnonKb = UnixPid.empty() ? -1 : AnonKb(UnixPid);
    Out.LinuxCpuMs = UnixPid.empty() ? -1 : LinuxCpuMs(UnixPid);
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
    std::string UnixPid;
    TSample First;
    TSample Last;
    double PeakPrivateKb = 0;
    double PeakAnonKb = -1;
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
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, tarvinPid));

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

    // The scratch folder's name is unique to this run; the bare window's exe is built only here.
    const std::string tarvinFolder = Lower(tarvin.Folder.Path().filename().string());
    TMeasured measured[] = {
        {"Tarvin.exe", tarvinProcess.Get(), UnixProcessOf({tarvinFolder, "tarvin.exe"})},
        {"bare window", windowProcess.Get(), UnixProcessOf({"tarvin_bench_idle_window.exe"})}};
    for (TMeasured& m : measured) {
        m.Ok = Sample(m.Process, m.UnixPid, m.First);
        m.PeakPrivateKb = m.First.PrivateKb;
        m.PeakAnonKb = m.First.AnonKb;
    }
    const double start = SecondsNow();
    // One sample a second for the peak; the CPU figure comes from the first and the last.
    while (SecondsNow() - start < seconds) {
        Sleep(1000);
        for (TMeasured& m : measured) {
            TSample now;
            m.Ok = m.Ok && Sample(m.Process, m.UnixPid, now);
            m.PeakPrivateKb = std::max(m.PeakPrivateKb, now.PrivateKb);
            m.PeakAnonKb = std::max(m.PeakAnonKb, now.AnonKb);
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
        // Wine's GetProcessTimes for another process lags the kernel's count (it reads 0 for whole
        // stretches in which /proc counts ticks), so the goal is judged on the larger of the two.
        cpuShare[i] = std::max(cpuMs, m.Last.LinuxCpuMs - m.First.LinuxCpuMs) / (elapsed * 1000.0) * 100.0;
        // PrivateUsage where wine gives one, else the kernel's figure.
        privateKb[i] = m.Last.PrivateKb > 0 ? m.Last.PrivateKb : m.Last.AnonKb;
        const double linuxMs = m.Last.LinuxCpuMs - m.First.LinuxCpuMs;
        std::printf("  %-12s CPU %7.1f ms in %.1f s = %.3f %% of a core (GetProcessTimes); /proc stat: %.0f ms = %.3f %%\n",
                    m.Name, cpuMs, elapsed, cpuMs / (elapsed * 1000.0) * 100.0, linuxMs,
                    linuxMs / (elapsed * 1000.0) * 100.0);
        std::printf("  %-12s PrivateUsage %.0f KiB (peak %.0f); RssAnon+VmSwap of Linux pid %s: %.0f KiB (peak %.0f)%s\n",
                    "", m.Last.PrivateKb, m.PeakPrivateKb, m.UnixPid.empty() ? "?" : m.UnixPid.c_str(), m.Last.AnonKb,
                    m.PeakAnonKb, m.Ok ? "" : " (SAMPLING FAILED)");
    }
    std::printf("  goal CPU <= 0.1 %% of a core (the larger reading): %s (%.3f %%; bare window %.3f %%)\n",
                cpuShare[0] <= 0.1 ? "met" : "NOT met", cpuShare[0], cpuShare[1]);
    if (privateKb[0] > 0 && privateKb[1] > 0) {
        std::printf("  goal private memory <= 2x the bare window's: %s (%.0f KiB against %.0f KiB = %.2fx)\n",
                    privateKb[0] <= 2 * privateKb[1] ? "met" : "NOT met", privateKb[0], privateKb[1],
                    privateKb[0] / privateKb[1]);
    } else {
        std::puts("  goal private memory <= 2x the bare window's: NOT MEASURED (no figure for one of the two)");
        ok = false;
    }
    if (const HWND bare = FindWindowW(L"TarvinBenchIdleWindow", nullptr)) {
        PostMessageW(bare, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(windowProcess.Get(), 5000) != WAIT_OBJECT_0) {
        TerminateProcess(windowProcess.Get(), 1);
    }
    (void)tarvin.Close();
    return ok ? 0 : 1;
}
