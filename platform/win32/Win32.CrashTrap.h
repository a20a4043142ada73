#pragma once
// The unhandled-exception filter, the terminate handler, and what the crash report is written with:
// minidumps, files and the user's notice. Whatever a report needs is made when the trap is
// installed, so that a crash that broke the heap, or left a lock of it held, still gets its report
// and still ends.
#include "platform/Platform.CrashTrap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace platform::win32 {

class TWin32CrashTrap final : public ICrashTrap {
public:
    using TNotifier = std::function<void(std::u16string_view Title, std::u16string_view Text)>;

    // How long the failing thread waits for the dump and the report to be written, and then for
    // the user to read the notice, before it ends the process regardless.
    static constexpr std::uint32_t WriteLimitMs = 10'000;
    static constexpr std::uint32_t NoticeLimitMs = 10 * 60'000;

    // Without a notifier the user is told in a message box.
    explicit TWin32CrashTrap(TNotifier Notifier = nullptr);
    // Uninstalls itself when it is the installed trap, ends its report thread and frees what
    // Install made.
    ~TWin32CrashTrap() override;
    TWin32CrashTrap(const TWin32CrashTrap&) = delete;
    TWin32CrashTrap& operator=(const TWin32CrashTrap&) = delete;

    // The first call makes the report thread, its events and the spare heap the report's texts
    // are built in.
    [[nodiscard]] TInstallation Install(THandler Handler) override;
    void Uninstall(TInstallation Installation) override;
    [[nodiscard]] TCrashFacts CurrentFacts() const override;
    [[nodiscard]] std::pmr::memory_resource& ReportMemory() override;
    [[nodiscard]] bool MakeFolder(std::u16string_view Path) override;
    [[nodiscard]] bool WriteMiniDump(std::u16string_view Path) override;
    [[nodiscard]] bool WriteFile(std::u16string_view Path, std::string_view Bytes) override;
    void Notify(std::u16string_view Title, std::u16string_view Text) override;

    // Called by the process-wide filter and terminate handler; not for other callers. Hands the
    // crash to the report thread, waits for it within the limits and ends the process with
    // `ExitCode`.
    [[noreturn]] void ReportAndEnd(const TCrashFacts& Facts, void* ExceptionPointers, std::uint32_t ExitCode);
    // The report thread's body; not for other callers.
    void ServeReports();

private:
    struct TState; // the handler, the report thread and what it works with; windows.h stays in the .cpp

    void Prepare();
    void RunHandler() noexcept;
    void RestoreProcessHooks();

    std::unique_ptr<TState> FState;
    TNotifier FNotifier;
};

} // namespace platform::win32
