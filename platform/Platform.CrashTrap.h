#pragma once
// Catching what nothing else caught: the process's last chance to leave a report behind.
#include "base/Base.Exceptions.h"
#include "base/Base.Unicode.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <typeinfo>

namespace platform {

enum class TCrashKind : std::uint8_t {
    OsException,  // a structured exception: access violation, stack overflow, ...
    CppException, // a C++ exception that escaped to the top of a thread or of the loop
};

// Local wall-clock time as the report and the file names show it.
struct TLocalTime {
    std::uint16_t Year = 0;
    std::uint16_t Month = 0;
    std::uint16_t Day = 0;
    std::uint16_t Hour = 0;
    std::uint16_t Minute = 0;
    std::uint16_t Second = 0;
    std::uint16_t Milliseconds = 0;
};

// What is known about one crash at the moment it happens.
struct TCrashFacts {
    TCrashKind Kind = TCrashKind::CppException;
    std::uint32_t Code = 0;    // the OS exception code; 0 for C++ exceptions
    std::uint64_t Address = 0; // the faulting instruction; 0 when unknown
    // For an access violation: whether it read, wrote or executed, and at which address.
    bool HasAccess = false;
    std::uint32_t AccessKind = 0; // 0 read, 1 write, 8 execute (the OS's own numbering)
    std::uint64_t AccessAddress = 0;
    std::u16string TypeName; // the C++ exception's class, when known
    std::u16string Message;  // the C++ exception's message
    std::uint32_t ProcessId = 0;
    std::uint32_t ThreadId = 0;
    TLocalTime Time;
};

// `Facts` with the class and message of a C++ exception; the project's own errors carry their
// message in UTF-16, the rest in what().
[[nodiscard]] inline TCrashFacts WithException(TCrashFacts Facts, const std::exception& Error) {
    Facts.Kind = TCrashKind::CppException;
    Facts.TypeName = base::ReadableTypeName(typeid(Error));
    Facts.Message = base::ExceptionMessage(Error);
    return Facts;
}

// What the trap gives the handler to write the report with. At crash time the heap the program
// uses may be what broke, so everything the handler calls works without it: the texts are built in
// ReportMemory, which Install made ready, and the files are written through the trap.
class ICrashTrap {
public:
    using THandler = std::function<void(const TCrashFacts&)>;
    // Names one Install; 0 names none.
    using TInstallation = std::uint64_t;

    virtual ~ICrashTrap() = default;
    // From now on an exception nothing caught (an OS exception on any thread, or a C++ exception
    // that reaches std::terminate) goes to `Handler`, once per process; the process ends after it
    // returns. A later call replaces the handler. Whatever the report needs at crash time is made
    // here, not then.
    [[nodiscard]] virtual TInstallation Install(THandler Handler) = 0;
    // Takes the handler back when `Installation` still names the installed one: from then on an
    // exception nothing caught ends the process as it would with no trap. Waits for a report that
    // is under way, so that nothing the handler reaches is freed beneath it.
    virtual void Uninstall(TInstallation Installation) = 0;
    // The time, process and thread of now, for a C++ exception caught at the top of the loop.
    [[nodiscard]] virtual TCrashFacts CurrentFacts() const = 0;
    // Memory for the report's texts, apart from the heap the program uses.
    [[nodiscard]] virtual std::pmr::memory_resource& ReportMemory() = 0;
    // Creates one folder whose parent exists; a folder that is already there is success.
    [[nodiscard]] virtual bool MakeFolder(std::u16string_view Path) = 0;
    // A minidump of this process; while the handler runs for an OS exception it carries that
    // exception's context. False when it could not be written.
    [[nodiscard]] virtual bool WriteMiniDump(std::u16string_view Path) = 0;
    // Creates or replaces the file with `Bytes`. False when it could not be written whole.
    [[nodiscard]] virtual bool WriteFile(std::u16string_view Path, std::string_view Bytes) = 0;
    // Tells the user and waits until they have read it.
    virtual void Notify(std::u16string_view Title, std::u16string_view Text) = 0;
};

} // namespace platform
