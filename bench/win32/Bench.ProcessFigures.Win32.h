#pragma once
// What one process costs, read from outside: CPU time, private memory, handles, GDI and USER
// objects. Each figure is asked of Windows first; where wine 8 answers with a stub (PrivateUsage
// and GetProcessHandleCount read 0, GetGuiResources fails with ERROR_CALL_NOT_IMPLEMENTED) it is
// taken where wine or the Linux kernel really keeps it, and the figure says which source it came
// from.
#include <windows.h>

#include <string>
#include <vector>

namespace tarvin::bench {

struct TCount {
    long long Value = -1; // -1: no source gave a figure
    const char* Source = "none";
};

struct TProcessFigures {
    double CpuMs = 0;          // GetProcessTimes, kernel + user
    double StatCpuMs = -1;     // utime + stime of /proc/<pid>/stat (10 ms ticks, dead threads included)
    double RunCpuMs = -1;      // the first field of /proc/<pid>/task/*/schedstat: nanoseconds on a CPU
    double PrivateKb = 0;      // K32GetProcessMemoryInfo's PrivateUsage
    double AnonKb = -1;        // RssAnon + VmSwap of /proc/<pid>/status
    TCount Handles;
    TCount GdiObjects;
    TCount UserObjects;

    // The private memory figure the goals use: PrivateUsage where the system gives one, else the
    // kernel's count of the process's anonymous memory.
    double PrivateOrAnonKb() const { return PrivateKb > 0 ? PrivateKb : AnonKb; }
    const char* PrivateSource() const {
        return PrivateKb > 0 ? "PrivateUsage" : "RssAnon+VmSwap of /proc/<pid>/status";
    }
};

// A process watched from outside. The handle is borrowed: it needs PROCESS_QUERY_INFORMATION and
// PROCESS_VM_READ.
class TWatchedProcess {
public:
    TWatchedProcess(HANDLE Process, std::string UnixPid);

    // False when the process could not be asked (it is gone). The object counts are taken only
    // WithObjects: they walk tables of the whole system and of the process, which an idle
    // measurement must not pay for every second.
    bool Sample(TProcessFigures& Out, bool WithObjects = false) const;
    const std::string& UnixPid() const { return FUnixPid; }
    DWORD Pid() const { return FPid; }

private:
    HANDLE FProcess;
    DWORD FPid;
    std::string FUnixPid;
};

// Where a process's anonymous memory lies, from /proc/<pid>/smaps (KiB; -1 when unread).
struct TAnonSplit {
    double Unnamed = -1;  // unnamed mappings: the Windows heaps, stacks, and PE images wine copied
    double UnixHeap = -1; // [heap]: the Linux side of wine (X11, fontconfig, FreeType)
    double InFiles = -1;  // written pages of mapped files (DLLs' data and relocations)
    double ExeMapped = -1; // how much of the process's own exe is mapped from its file (not anonymous)
};
TAnonSplit AnonSplitOf(const std::string& UnixPid, const std::string& ExeName);

// The Linux process (wine runs each Windows process as one) whose command line holds every one of
// Needles, compared in lower case; "" when none or more than one does.
std::string UnixProcessOf(const std::vector<std::string>& Needles);

// RssAnon + VmSwap of /proc/<UnixPid>/status in KiB ("self": the calling process), -1 when unread.
double AnonKbOf(const std::string& UnixPid);

// Lower-case ASCII, for command lines and folder names.
std::string LowerAscii(std::string Text);

} // namespace tarvin::bench
