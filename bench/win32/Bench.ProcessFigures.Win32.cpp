#include "bench/win32/Bench.ProcessFigures.Win32.h"

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tarvin::bench {

namespace {

const std::filesystem::path ProcRoot = L"Z:\\proc";

double Ms(const FILETIME& Time) {
    ULARGE_INTEGER value;
    value.LowPart = Time.dwLowDateTime;
    value.HighPart = Time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

std::string ReadWhole(const std::filesystem::path& Path) {
    std::ifstream file(Path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// RssAnon + VmSwap in KiB: the process's anonymous memory, resident or swapped out.
double AnonKb(const std::string& UnixPid) {
    std::istringstream status(ReadWhole(ProcRoot / UnixPid / "status"));
    std::string line;
    double total = -1;
    while (std::getline(status, line)) {
        if (line.starts_with("RssAnon:") || line.starts_with("VmSwap:")) {
            total = std::max(total, 0.0) + std::atof(line.c_str() + line.find(':') + 1);
        }
    }
    return total;
}

// utime + stime of /proc/<pid>/stat in milliseconds, in ticks of USER_HZ (100 on x86-64 Linux).
double StatCpuMs(const std::string& UnixPid) {
    const std::string stat = ReadWhole(ProcRoot / UnixPid / "stat");
    const std::size_t afterName = stat.rfind(')');
    if (afterName == std::string::npos) {
        return -1;
    }
    // After the name: the state, fields 4 to 13, then utime and stime (fields 14 and 15).
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

// The nanoseconds every live thread of the process spent on a CPU (the first field of each
// thread's schedstat), in milliseconds: a finer count than the 10 ms ticks of /proc/<pid>/stat.
double RunCpuMs(const std::string& UnixPid) {
    std::error_code error;
    double totalNs = 0;
    bool any = false;
    for (std::filesystem::directory_iterator entry(ProcRoot / UnixPid / "task", error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string schedstat = ReadWhole(entry->path() / "schedstat");
        if (!schedstat.empty()) {
            totalNs += std::strtod(schedstat.c_str(), nullptr);
            any = true;
        }
    }
    return any ? totalNs / 1e6 : -1;
}

// --- handles: wineserver's table of every process's handles ---

struct THandleEntry {
    void* Object;
    ULONG_PTR UniqueProcessId;
    ULONG_PTR HandleValue;
    ULONG GrantedAccess;
    USHORT CreatorBackTraceIndex;
    USHORT ObjectTypeIndex;
    ULONG HandleAttributes;
    ULONG Reserved;
};
struct THandleTable {
    ULONG_PTR NumberOfHandles;
    ULONG_PTR Reserved;
    THandleEntry Handles[1];
};
constexpr ULONG SystemExtendedHandleInformation = 64;
constexpr NTSTATUS StatusInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

long long HandlesInSystemTable(DWORD Pid) {
    std::vector<std::uint8_t> buffer(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status =
            NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(SystemExtendedHandleInformation),
                                     buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == StatusInfoLengthMismatch) {
            buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 65536));
            continue;
        }
        if (status != 0) {
            return -1;
        }
        const auto* table = reinterpret_cast<const THandleTable*>(buffer.data());
        long long count = 0;
        for (ULONG_PTR i = 0; i < table->NumberOfHandles; ++i) {
            count += table->Handles[i].UniqueProcessId == Pid ? 1 : 0;
        }
        return count;
    }
    return -1;
}

TCount HandleCount(HANDLE Process, DWORD Pid) {
    DWORD count = 0;
    if (GetProcessHandleCount(Process, &count) && count > 0) {
        return {static_cast<long long>(count), "GetProcessHandleCount"};
    }
    return {HandlesInSystemTable(Pid), "wineserver's handle list (NtQuerySystemInformation)"};
}

// --- GDI objects: the process's own GDI handle table, which its PEB points at ---

// One entry of the GDI handle table (GDI_HANDLE_ENTRY); a free entry has type 0.
#pragma pack(push, 1)
struct TGdiEntry {
    std::uint64_t Object;
    std::uint32_t Owner;
    std::uint16_t Unique;
    std::uint8_t Type;
    std::uint8_t Flags;
    std::uint64_t UserPointer;
};
#pragma pack(pop)
static_assert(sizeof(TGdiEntry) == 24);
constexpr std::size_t GdiTableEntries = 0x10000;
// PEB.GdiSharedHandleTable in a 64-bit process.
constexpr std::size_t PebGdiTableOffset = 0xF8;

long long GdiObjectsInTable(HANDLE Process) {
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    if (NtQueryInformationProcess(Process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) {
        return -1;
    }
    std::uint64_t table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(Process, reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress) + PebGdiTableOffset,
                           &table, sizeof table, &read) ||
        table == 0) {
        return -1;
    }
    // Handles are given out from the front of the table. It is read a page at a time up to the
    // first page never written (all zero): reading a page the process never touched makes the
    // kernel give it one, which would grow the very memory the soak watches.
    constexpr std::size_t PageBytes = 4096;
    const auto* base = reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(table));
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < GdiTableEntries * sizeof(TGdiEntry)) {
        std::uint8_t page[PageBytes];
        if (!ReadProcessMemory(Process, base + bytes.size(), page, PageBytes, &read)) {
            return -1;
        }
        bytes.insert(bytes.end(), page, page + PageBytes);
        if (std::all_of(page, page + PageBytes, [](std::uint8_t b) { return b == 0; })) {
            break;
        }
    }
    long long live = 0;
    for (std::size_t at = 0; at + sizeof(TGdiEntry) <= bytes.size(); at += sizeof(TGdiEntry)) {
        TGdiEntry entry;
        std::memcpy(&entry, bytes.data() + at, sizeof entry);
        live += entry.Type != 0 ? 1 : 0;
    }
    return live;
}

// --- USER objects: where GetGuiResources is a stub, the process's windows are counted ---

struct TWindowCount {
    DWORD Pid;
    long long Count = 0;
};

BOOL CALLBACK CountOne(HWND Window, LPARAM Param) {
    auto* count = reinterpret_cast<TWindowCount*>(Param);
    DWORD pid = 0;
    GetWindowThreadProcessId(Window, &pid);
    count->Count += pid == count->Pid ? 1 : 0;
    return TRUE;
}

BOOL CALLBACK CountTree(HWND Window, LPARAM Param) {
    auto* count = reinterpret_cast<TWindowCount*>(Param);
    DWORD pid = 0;
    GetWindowThreadProcessId(Window, &pid);
    if (pid == count->Pid) {
        ++count->Count;
        EnumChildWindows(Window, CountOne, Param);
    }
    return TRUE;
}

long long WindowsOf(DWORD Pid) {
    TWindowCount count{Pid};
    EnumWindows(CountTree, reinterpret_cast<LPARAM>(&count));
    // Message-only windows are not top-level windows; they are found under HWND_MESSAGE.
    for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
         window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
        CountTree(window, reinterpret_cast<LPARAM>(&count));
    }
    return count.Count;
}

TCount GuiCount(HANDLE Process, DWORD Kind, DWORD Pid) {
    SetLastError(0);
    const DWORD count = GetGuiResources(Process, Kind);
    if (count > 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        return {static_cast<long long>(count), "GetGuiResources"};
    }
    if (Kind == GR_GDIOBJECTS) {
        return {GdiObjectsInTable(Process), "live entries of the process's GDI handle table"};
    }
    return {WindowsOf(Pid), "its windows only (top-level, child, message-only)"};
}

} // namespace

double AnonKbOf(const std::string& UnixPid) {
    return AnonKb(UnixPid);
}

std::string LowerAscii(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char c) { return std::tolower(c); });
    return Text;
}

std::string UnixProcessOf(const std::vector<std::string>& Needles) {
    std::string found;
    std::error_code error;
    // Processes come and go while the folder is read: errors end the walk instead of throwing.
    for (std::filesystem::directory_iterator entry(ProcRoot, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.empty() || !std::isdigit(static_cast<unsigned char>(name[0]))) {
            continue;
        }
        std::string commandLine = ReadWhole(entry->path() / "cmdline");
        // The wine process itself names the exe first; xvfb-run and shells before it name it later.
        commandLine = LowerAscii(commandLine.substr(0, commandLine.find('\0')));
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

TAnonSplit AnonSplitOf(const std::string& UnixPid, const std::string& ExeName) {
    TAnonSplit split;
    std::istringstream smaps(ReadWhole(ProcRoot / UnixPid / "smaps"));
    std::string line;
    std::string path;
    const std::string exe = LowerAscii(ExeName);
    bool any = false;
    while (std::getline(smaps, line)) {
        // A mapping's header: "start-end perms offset dev inode [path]".
        if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) && line.find('-') < line.find(' ')) {
            std::istringstream fields(line);
            std::string range, perms, offset, device, inode;
            fields >> range >> perms >> offset >> device >> inode;
            path.clear();
            std::getline(fields >> std::ws, path);
            if (!exe.empty() && LowerAscii(path).find(exe) != std::string::npos) {
                const std::size_t dash = range.find('-');
                const double bytes = static_cast<double>(std::stoull(range.substr(dash + 1), nullptr, 16) -
                                                         std::stoull(range.substr(0, dash), nullptr, 16));
                split.ExeMapped = std::max(split.ExeMapped, 0.0) + bytes / 1024.0;
            }
            continue;
        }
        if (!line.starts_with("Anonymous:")) {
            continue;
        }
        const double kb = std::atof(line.c_str() + 10);
        if (!any) {
            split.Unnamed = split.UnixHeap = split.InFiles = 0;
            any = true;
        }
        if (path.empty() || path == "[stack]" || path.starts_with("[anon")) {
            split.Unnamed += kb;
        } else if (path == "[heap]") {
            split.UnixHeap += kb;
        } else if (!path.starts_with("[")) {
            split.InFiles += kb;
        }
    }
    return split;
}

TWatchedProcess::TWatchedProcess(HANDLE Process, std::string UnixPid)
    : FProcess(Process), FPid(GetProcessId(Process)), FUnixPid(std::move(UnixPid)) {}

bool TWatchedProcess::Sample(TProcessFigures& Out, bool WithObjects) const {
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (WaitForSingleObject(FProcess, 0) != WAIT_TIMEOUT || !GetProcessTimes(FProcess, &created, &exited, &kernel, &user) ||
        !K32GetProcessMemoryInfo(FProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        return false;
    }
    Out.CpuMs = Ms(kernel) + Ms(user);
    Out.PrivateKb = static_cast<double>(memory.PrivateUsage) / 1024.0;
    Out.AnonKb = FUnixPid.empty() ? -1 : AnonKb(FUnixPid);
    Out.StatCpuMs = FUnixPid.empty() ? -1 : StatCpuMs(FUnixPid);
    Out.RunCpuMs = FUnixPid.empty() ? -1 : RunCpuMs(FUnixPid);
    if (WithObjects) {
        Out.Handles = HandleCount(FProcess, FPid);
        Out.GdiObjects = GuiCount(FProcess, GR_GDIOBJECTS, FPid);
        Out.UserObjects = GuiCount(FProcess, GR_USEROBJECTS, FPid);
    }
    return true;
}

} // namespace tarvin::bench
