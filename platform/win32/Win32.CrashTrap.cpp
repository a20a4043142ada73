#include "platform/win32/Win32.CrashTrap.h"

#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"

#include <windows.h>
// dbghelp.h needs windows.h first.
#include <dbghelp.h>

#include <atomic>
#include <exception>

namespace platform::win32 {
namespace {

// The crash path's only process-wide state. Windows calls the filter and the runtime calls the
// terminate handler without any context of ours, so they find the installed trap here; the flag
// makes sure one crash is reported once, even when the reporting itself crashes or a second
// thread fails at the same time.
std::atomic<TWin32CrashTrap*> InstalledTrap{nullptr};
std::atomic_flag Reporting = ATOMIC_FLAG_INIT;

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

struct THandlerCall {
    TWin32CrashTrap* Trap;
    const TCrashFacts* Facts;
    EXCEPTION_POINTERS* Pointers;
    DWORD Thread;
};

DWORD WINAPI HandlerThread(void* parameter) {
    const auto* call = static_cast<THandlerCall*>(parameter);
    call->Trap->RunHandler(*call->Facts, call->Pointers, call->Thread);
    return 0;
}

LONG WINAPI UnhandledFilter(EXCEPTION_POINTERS* info) {
    TWin32CrashTrap* trap = InstalledTrap.load();
    if (trap == nullptr || Reporting.test_and_set()) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    TCrashFacts facts = FactsOfNow();
    facts.Kind = TCrashKind::OsException;
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    facts.Code = record.ExceptionCode;
    facts.Address = reinterpret_cast<std::uintptr_t>(record.ExceptionAddress);
    if ((record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION || record.ExceptionCode == EXCEPTION_IN_PAGE_ERROR) &&
        record.NumberParameters >= 2) {
        facts.HasAccess = true;
        facts.AccessKind = static_cast<std::uint32_t>(record.ExceptionInformation[0]);
        facts.AccessAddress = record.ExceptionInformation[1];
    }
    // The report is written on a fresh thread: after a stack overflow the failing thread has no
    // stack left to write it with, and the dump writer wants to look at the failing thread from
    // outside.
    THandlerCall call{trap, &facts, info, ::GetCurrentThreadId()};
    const TKernelHandle thread(::CreateThread(nullptr, 0, HandlerThread, &call, 0, nullptr));
    if (thread) {
        ::WaitForSingleObject(thread.Get(), INFINITE);
    } else {
        trap->RunHandler(facts, info, call.Thread);
    }
    return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void OnTerminate() {
    TWin32CrashTrap* trap = InstalledTrap.load();
    if (trap != nullptr && !Reporting.test_and_set()) {
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
        trap->RunHandler(facts, nullptr, 0);
    }
    // Not abort(): the runtime's own "terminated in an unusual way" box would follow ours.
    ::TerminateProcess(::GetCurrentProcess(), 3);
    for (;;) {
    }
}

} // namespace

TWin32CrashTrap::TWin32CrashTrap(TNotifier Notifier) : FNotifier(std::move(Notifier)) {}

TWin32CrashTrap::~TWin32CrashTrap() {
    TWin32CrashTrap* self = this;
    if (InstalledTrap.compare_exchange_strong(self, nullptr)) {
        ::SetUnhandledExceptionFilter(nullptr);
    }
}

void TWin32CrashTrap::Install(THandler Handler) {
    FHandler = std::move(Handler);
    InstalledTrap.store(this);
    ::SetUnhandledExceptionFilter(UnhandledFilter);
    std::set_terminate(OnTerminate);
    // The report tells the user; Windows' own "stopped working" dialog would only repeat it.
    ::SetErrorMode(::GetErrorMode() | SEM_NOGPFAULTERRORBOX);
}

TCrashFacts TWin32CrashTrap::CurrentFacts() const {
    return FactsOfNow();
}

bool TWin32CrashTrap::WriteMiniDump(const std::u16string& Path) {
    const TKernelHandle file(::CreateFileW(AsWide(Path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    MINIDUMP_EXCEPTION_INFORMATION exception{};
    exception.ThreadId = FFaultingThread;
    exception.ExceptionPointers = static_cast<EXCEPTION_POINTERS*>(FExceptionPointers);
    exception.ClientPointers = FALSE;
    // Threads, stacks and the data the stacks point at: enough to see where and why, small enough
    // to attach to a message.
    const auto type = static_cast<MINIDUMP_TYPE>(MiniDumpWithIndirectlyReferencedMemory | MiniDumpScanMemory);
    const BOOL written =
        ::MiniDumpWriteDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file.Get(), type,
                            FExceptionPointers != nullptr ? &exception : nullptr, nullptr, nullptr);
    return written != FALSE;
}

void TWin32CrashTrap::Notify(const std::u16string& Title, const std::u16string& Text) {
    if (FNotifier) {
        FNotifier(Title, Text);
        return;
    }
    // Top-most and system-modal: the program's own windows may be hidden or no longer answering.
    ::MessageBoxW(nullptr, AsWide(Text), AsWide(Title),
                  MB_OK | MB_ICONERROR | MB_SYSTEMMODAL | MB_SETFOREGROUND | MB_TOPMOST);
}

void TWin32CrashTrap::RunHandler(const TCrashFacts& Facts, void* ExceptionPointers, std::uint32_t FaultingThread) {
    FExceptionPointers = ExceptionPointers;
    FFaultingThread = FaultingThread;
    try {
        if (FHandler) {
            FHandler(Facts);
        }
    } catch (...) {
        // The process is on its way out; a failing report must not start a second crash.
    }
    FExceptionPointers = nullptr;
    FFaultingThread = 0;
}

} // namespace platform::win32
