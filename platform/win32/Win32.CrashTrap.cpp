#include "platform/win32/Win32.CrashTrap.h"

#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"

#include <windows.h>
// dbghelp.h and winternl.h need windows.h first.
#include <dbghelp.h>
#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <new>
#include <optional>
#include <utility>
#include <vector>

namespace platform::win32 {
namespace {

// The crash path's only process-wide state. Windows calls the filter and the runtime calls the
// terminate handler without any context of ours, so they find the installed trap here; the flag
// makes sure one crash is reported once, even when the reporting itself crashes or a second
// thread fails at the same time.
std::atomic<TWin32CrashTrap*> InstalledTrap{nullptr};
std::atomic_flag Reporting = ATOMIC_FLAG_INIT;

// Committed when the trap is installed: a report's texts fit without the heap having to grow.
// Beyond it the heap grows by committing fresh pages, which needs no other heap.
constexpr SIZE_T SpareHeapSize = 64 * 1024;

TLocalTime LocalNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

TCrashFacts FactsOfNow() {
    TCrashFacts facts;
    facts.ProcessId = ::GetCurrentProcessId();
    facts.ThreadId = ::GetCurrentThreadId();
    facts.Time = LocalNow();
    return facts;
}

struct TPrivateHeapTraits {
    using TValue = HANDLE;
    static TValue Empty() { return nullptr; }
    static bool IsValid(TValue Value) { return Value != nullptr; }
    static void Close(TValue Value) { ::HeapDestroy(Value); }
};
using TPrivateHeap = TScoped<TPrivateHeapTraits>;

// The report's memory: a heap of the trap's own, so that neither the process heap nor the C++
// runtime's is walked while a crash is reported.
class THeapMemory final : public std::pmr::memory_resource {
public:
    explicit THeapMemory(HANDLE Heap) : FHeap(Heap) {}

private:
    void* do_allocate(std::size_t Bytes, std::size_t Alignment) override {
        void* block = Alignment <= MEMORY_ALLOCATION_ALIGNMENT
                          ? ::HeapAlloc(FHeap, 0, std::max<std::size_t>(Bytes, 1))
                          : nullptr;
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        return block;
    }
    void do_deallocate(void* Block, std::size_t, std::size_t) override { ::HeapFree(FHeap, 0, Block); }
    bool do_is_equal(const std::pmr::memory_resource& Other) const noexcept override {
        return this == &Other;
    }

    HANDLE FHeap;
};

// A text for a call that wants it NUL-terminated, copied into the report's memory.
class TWideCopy {
public:
    TWideCopy(std::u16string_view Text, std::pmr::memory_resource& Memory)
        : FUnits(Text.size() + 1, L'\0', &Memory) {
        CopyToWide(Text, FUnits);
    }
    const wchar_t* Get() const { return FUnits.data(); }

private:
    std::pmr::vector<wchar_t> FUnits;
};

// A NUL inside a name would silently cut the name Windows sees.
bool IsUsableName(std::u16string_view Path) {
    return !Path.empty() && Path.find(u'\0') == std::u16string_view::npos;
}

// GCC takes the TEB read through gs:0x30 for an index into an empty array.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
PEB* ThisProcessPeb() {
    return NtCurrentTeb()->ProcessEnvironmentBlock;
}
#pragma GCC diagnostic pop

// When the process heap is what broke, or was broken on the way to the failure, the system's own
// work for the report would walk it too: the NT form of every file name, the dump writer's tables.
// Such a heap is put aside for the spare one. Its handle lives in the PEB right after
// SubSystemData, a field the published structure leaves unnamed, so it is replaced only where it is
// found. Validation does not take the heap's lock, which the failing thread may hold.
void PutBrokenProcessHeapAside(HANDLE Spare, const EXCEPTION_POINTERS* Crash) {
    const DWORD exceptionCode = Crash != nullptr ? Crash->ExceptionRecord->ExceptionCode : 0;
    const HANDLE processHeap = ::GetProcessHeap();
    if (Spare == nullptr || (exceptionCode != STATUS_HEAP_CORRUPTION &&
                             ::HeapValidate(processHeap, HEAP_NO_SERIALIZE, nullptr))) {
        return;
    }
    PEB* peb = ThisProcessPeb();
    if (peb->Reserved4[1] == processHeap) {
        peb->Reserved4[1] = Spare;
    }
}

// TerminateProcess on this process does not come back; the loop only tells the compiler so.
[[noreturn]] void EndProcess(DWORD ExitCode) {
    for (;;) {
        ::TerminateProcess(::GetCurrentProcess(), ExitCode);
    }
}

DWORD WINAPI ReportThread(void* Trap) {
    static_cast<TWin32CrashTrap*>(Trap)->ServeReports();
    return 0;
}

LONG WINAPI UnhandledFilter(EXCEPTION_POINTERS* Info) {
    TWin32CrashTrap* trap = InstalledTrap.load();
    if (trap == nullptr) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    TCrashFacts facts = FactsOfNow();
    facts.Kind = TCrashKind::OsException;
    const EXCEPTION_RECORD& record = *Info->ExceptionRecord;
    facts.Code = record.ExceptionCode;
    facts.Address = reinterpret_cast<std::uintptr_t>(record.ExceptionAddress);
    if ((record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION ||
         record.ExceptionCode == EXCEPTION_IN_PAGE_ERROR) &&
        record.NumberParameters >= 2) {
        facts.HasAccess = true;
        facts.AccessKind = static_cast<std::uint32_t>(record.ExceptionInformation[0]);
        facts.AccessAddress = record.ExceptionInformation[1];
    }
    // The process ends with the exception's code, as it would without the filter.
    trap->ReportAndEnd(facts, Info, record.ExceptionCode);
}

[[noreturn]] void OnTerminate() {
    TWin32CrashTrap* trap = InstalledTrap.load();
    // Not abort(): the runtime's own "terminated in an unusual way" box would follow ours.
    constexpr DWORD TerminateCode = 3;
    if (trap == nullptr) {
        EndProcess(TerminateCode);
    }
    TCrashFacts facts = FactsOfNow();
    facts.Kind = TCrashKind::CppException;
    if (const std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& error) {
            facts = WithException(facts, error);
        } catch (...) {
            facts.TypeName = u"an exception of no std::exception class";
        }
    } else {
        facts.Message = u"std::terminate was called without an exception";
    }
    trap->ReportAndEnd(facts, nullptr, TerminateCode);
}

} // namespace

struct TWin32CrashTrap::TState {
    // Held while the handler runs, so that Uninstall waits for a report under way.
    SRWLOCK HandlerLock = SRWLOCK_INIT;
    THandler Handler;
    TInstallation Installed = 0;
    TInstallation LastInstallation = 0;

    // What the process had before the trap came, given back when it goes.
    LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = nullptr;
    std::terminate_handler PreviousTerminate = nullptr;
    UINT PreviousErrorMode = 0;

    // Made by the first Install.
    TPrivateHeap SpareHeap;
    std::optional<THeapMemory> Memory;
    TKernelHandle Wake;     // set by the failing thread, or by the trap's end
    TKernelHandle Written;  // set when the files are done and the user is being told
    TKernelHandle Finished; // set when the handler has returned
    TKernelHandle Thread;
    DWORD ThreadId = 0;
    bool SymbolsReady = false;
    std::atomic<bool> Stopping{false};

    // The crash being reported, set by the failing thread before it wakes the report thread; the
    // facts stay on the failing thread's stack, which waits until the process ends.
    const TCrashFacts* Facts = nullptr;
    EXCEPTION_POINTERS* Pointers = nullptr;
    DWORD FaultingThread = 0;
    DWORD ExitCode = 0;
};

TWin32CrashTrap::TWin32CrashTrap(TNotifier Notifier)
    : FState(std::make_unique<TState>()), FNotifier(std::move(Notifier)) {}

TWin32CrashTrap::~TWin32CrashTrap() {
    TState& state = *FState;
    ::AcquireSRWLockExclusive(&state.HandlerLock);
    THandler released = std::move(state.Handler);
    state.Handler = nullptr;
    state.Installed = 0;
    ::ReleaseSRWLockExclusive(&state.HandlerLock);
    RestoreProcessHooks();
    if (state.Thread) {
        state.Stopping = true;
        ::SetEvent(state.Wake.Get());
        // A report under way ends the process within the limits; what it works with must not be
        // freed beneath it before then.
        if (::WaitForSingleObject(state.Thread.Get(), WriteLimitMs + NoticeLimitMs) != WAIT_OBJECT_0) {
            (void)FState.release();
            return;
        }
    }
    if (state.SymbolsReady) {
        ::SymCleanup(::GetCurrentProcess());
    }
}

void TWin32CrashTrap::Prepare() {
    TState& state = *FState;
    if (state.Wake) {
        return;
    }
    // Made now, while the process is whole: at crash time a new thread, event or heap block may be
    // exactly what cannot be had. Without a thread the failing thread writes the report itself.
    // The dump writer's state for this process, without reading any module's symbols: left to the
    // crash, it would set itself up then, reading every module and allocating as it goes.
    state.SymbolsReady = ::SymInitializeW(::GetCurrentProcess(), nullptr, FALSE) != FALSE;
    state.SpareHeap.Reset(::HeapCreate(0, SpareHeapSize, 0));
    if (state.SpareHeap) {
        state.Memory.emplace(state.SpareHeap.Get());
    }
    state.Wake.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    state.Written.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    state.Finished.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (state.Wake && state.Written && state.Finished) {
        state.Thread.Reset(::CreateThread(nullptr, 0, ReportThread, this, 0, &state.ThreadId));
    }
}

ICrashTrap::TInstallation TWin32CrashTrap::Install(THandler Handler) {
    TState& state = *FState;
    Prepare();
    ::AcquireSRWLockExclusive(&state.HandlerLock);
    // The handlers are freed outside the lock: a crash while one is freed must not find it held.
    THandler replaced = std::exchange(state.Handler, std::move(Handler));
    state.Installed = ++state.LastInstallation;
    const TInstallation installation = state.Installed;
    ::ReleaseSRWLockExclusive(&state.HandlerLock);

    if (InstalledTrap.exchange(this) != this) {
        state.PreviousFilter = ::SetUnhandledExceptionFilter(UnhandledFilter);
        state.PreviousTerminate = std::set_terminate(OnTerminate);
        // The report tells the user; Windows' own "stopped working" dialog would only repeat it.
        state.PreviousErrorMode = ::SetErrorMode(::GetErrorMode() | SEM_NOGPFAULTERRORBOX);
    }
    return installation;
}

void TWin32CrashTrap::Uninstall(TInstallation Installation) {
    TState& state = *FState;
    THandler released;
    ::AcquireSRWLockExclusive(&state.HandlerLock);
    const bool current = Installation != 0 && Installation == state.Installed;
    if (current) {
        released = std::move(state.Handler);
        state.Handler = nullptr;
        state.Installed = 0;
    }
    ::ReleaseSRWLockExclusive(&state.HandlerLock);
    if (current) {
        RestoreProcessHooks();
    }
}

void TWin32CrashTrap::RestoreProcessHooks() {
    TWin32CrashTrap* self = this;
    if (InstalledTrap.compare_exchange_strong(self, nullptr)) {
        const TState& state = *FState;
        ::SetUnhandledExceptionFilter(state.PreviousFilter);
        std::set_terminate(state.PreviousTerminate);
        ::SetErrorMode(state.PreviousErrorMode);
    }
}

TCrashFacts TWin32CrashTrap::CurrentFacts() const {
    return FactsOfNow();
}

std::pmr::memory_resource& TWin32CrashTrap::ReportMemory() {
    if (FState->Memory) {
        return *FState->Memory;
    }
    return *std::pmr::new_delete_resource();
}

bool TWin32CrashTrap::MakeFolder(std::u16string_view Path) {
    if (!IsUsableName(Path)) {
        return false;
    }
    const TWideCopy path(Path, ReportMemory());
    if (::CreateDirectoryW(path.Get(), nullptr)) {
        return true;
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(path.Get());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool TWin32CrashTrap::WriteMiniDump(std::u16string_view Path) {
    if (!IsUsableName(Path)) {
        return false;
    }
    const TState& state = *FState;
    const TKernelHandle file(::CreateFileW(TWideCopy(Path, ReportMemory()).Get(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    // The exception's context belongs to the report written for it, on the report thread or, when
    // there is none, on the failing thread itself.
    const DWORD thread = ::GetCurrentThreadId();
    const bool forTheCrash =
        state.Pointers != nullptr && (thread == state.ThreadId || thread == state.FaultingThread);
    MINIDUMP_EXCEPTION_INFORMATION exception{};
    exception.ThreadId = state.FaultingThread;
    exception.ExceptionPointers = state.Pointers;
    exception.ClientPointers = FALSE;
    // Threads, stacks and the data the stacks point at: enough to see where and why, small enough
    // to attach to a message.
    const auto type = static_cast<MINIDUMP_TYPE>(MiniDumpWithIndirectlyReferencedMemory | MiniDumpScanMemory);
    const BOOL written = ::MiniDumpWriteDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file.Get(), type,
                                             forTheCrash ? &exception : nullptr, nullptr, nullptr);
    return written != FALSE;
}

bool TWin32CrashTrap::WriteFile(std::u16string_view Path, std::string_view Bytes) {
    if (!IsUsableName(Path)) {
        return false;
    }
    const TKernelHandle file(::CreateFileW(TWideCopy(Path, ReportMemory()).Get(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    while (!Bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(Bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file.Get(), Bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        Bytes.remove_prefix(written);
    }
    return ::FlushFileBuffers(file.Get()) != FALSE;
}

void TWin32CrashTrap::Notify(std::u16string_view Title, std::u16string_view Text) {
    const TState& state = *FState;
    // During a crash the files are written by now; what is left is the user's reading, which the
    // failing thread waits for with a limit of its own.
    if (state.Written && ::GetCurrentThreadId() == state.ThreadId) {
        ::SetEvent(state.Written.Get());
    }
    if (FNotifier) {
        FNotifier(Title, Text);
        return;
    }
    std::pmr::memory_resource& memory = ReportMemory();
    // Top-most and system-modal: the program's own windows may be hidden or no longer answering.
    ::MessageBoxW(nullptr, TWideCopy(Text, memory).Get(), TWideCopy(Title, memory).Get(),
                  MB_OK | MB_ICONERROR | MB_SYSTEMMODAL | MB_SETFOREGROUND | MB_TOPMOST);
}

void TWin32CrashTrap::RunHandler() noexcept {
    TState& state = *FState;
    ::AcquireSRWLockExclusive(&state.HandlerLock);
    try {
        if (state.Handler) {
            state.Handler(*state.Facts);
        }
    } catch (...) {
        // The process is on its way out; a failing report must not start a second crash.
    }
    ::ReleaseSRWLockExclusive(&state.HandlerLock);
}

void TWin32CrashTrap::ServeReports() {
    TState& state = *FState;
    // Idle until a crash, or the trap's end, wakes it.
    ::WaitForSingleObject(state.Wake.Get(), INFINITE);
    if (state.Stopping) {
        return;
    }
    PutBrokenProcessHeapAside(state.SpareHeap.Get(), state.Pointers);
    RunHandler();
    ::SetEvent(state.Finished.Get());
}

void TWin32CrashTrap::ReportAndEnd(const TCrashFacts& Facts, void* ExceptionPointers,
                                   std::uint32_t ExitCode) {
    TState& state = *FState;
    const DWORD thread = ::GetCurrentThreadId();
    if (Reporting.test_and_set()) {
        // Another failure is being reported. The report thread failing in its own report ends the
        // process at once; any other thread waits for that report, which ends the process.
        if (thread == state.ThreadId) {
            EndProcess(state.ExitCode);
        }
        if (state.Finished) {
            ::WaitForSingleObject(state.Finished.Get(), WriteLimitMs + NoticeLimitMs);
        }
        EndProcess(ExitCode);
    }
    state.Facts = &Facts;
    state.Pointers = static_cast<EXCEPTION_POINTERS*>(ExceptionPointers);
    state.FaultingThread = thread;
    state.ExitCode = ExitCode;
    if (state.Thread) {
        // The report is written on the thread made for it: after a stack overflow the failing
        // thread has no stack left to write it with, and the dump writer wants to look at the
        // failing thread from outside.
        ::SetEvent(state.Wake.Get());
        const HANDLE progress[] = {state.Written.Get(), state.Finished.Get()};
        if (::WaitForMultipleObjects(2, progress, FALSE, WriteLimitMs) == WAIT_OBJECT_0) {
            ::WaitForSingleObject(state.Finished.Get(), NoticeLimitMs);
        }
    } else {
        PutBrokenProcessHeapAside(state.SpareHeap.Get(), state.Pointers);
        RunHandler();
    }
    EndProcess(ExitCode);
}

} // namespace platform::win32
