#pragma once
// The unhandled-exception filter, the terminate handler, minidumps and the user's notice.
#include "platform/Platform.CrashTrap.h"

#include <functional>
#include <string>

namespace platform::win32 {

class TWin32CrashTrap final : public ICrashTrap {
public:
    using TNotifier = std::function<void(const std::u16string& Title, const std::u16string& Text)>;
    // Without a notifier the user is told in a message box.
    explicit TWin32CrashTrap(TNotifier Notifier = nullptr);
    // Uninstalls itself when it is the installed trap.
    ~TWin32CrashTrap() override;
    TWin32CrashTrap(const TWin32CrashTrap&) = delete;
    TWin32CrashTrap& operator=(const TWin32CrashTrap&) = delete;

    void Install(THandler Handler) override;
    [[nodiscard]] TCrashFacts CurrentFacts() const override;
    [[nodiscard]] bool WriteMiniDump(const std::u16string& Path) override;
    void Notify(const std::u16string& Title, const std::u16string& Text) override;

    // Called by the process-wide filter and terminate handler; not for other callers.
    void RunHandler(const TCrashFacts& Facts, void* ExceptionPointers, std::uint32_t FaultingThread);

private:
    THandler FHandler;
    TNotifier FNotifier;
    // Set while the handler runs for an OS exception, so that the minidump carries its context.
    void* FExceptionPointers = nullptr;
    std::uint32_t FFaultingThread = 0;
};

} // namespace platform::win32
