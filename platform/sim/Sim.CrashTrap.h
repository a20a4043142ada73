#pragma once
// A crash trap for the native tests: a test raises the crash, the dumps and reports land in the
// simulated file system, and what the user would have been told is kept.
#include "platform/Platform.CrashTrap.h"
#include "platform/sim/Sim.FileSystem.h"

#include <cstddef>
#include <string>
#include <vector>

namespace platform::sim {

class TSimCrashTrap final : public ICrashTrap {
public:
    struct TNotice {
        std::u16string Title;
        std::u16string Text;
    };

    explicit TSimCrashTrap(TSimFileSystem& Files) : FFiles(Files) {}

    [[nodiscard]] TInstallation Install(THandler Handler) override;
    void Uninstall(TInstallation Installation) override;
    [[nodiscard]] TCrashFacts CurrentFacts() const override { return Now; }
    [[nodiscard]] std::pmr::memory_resource& ReportMemory() override { return FMemory; }
    [[nodiscard]] bool MakeFolder(std::u16string_view Path) override;
    // Writes a small file that starts as a real minidump does, unless dumps are refused.
    [[nodiscard]] bool WriteMiniDump(std::u16string_view Path) override;
    [[nodiscard]] bool WriteFile(std::u16string_view Path, std::string_view Bytes) override;
    void Notify(std::u16string_view Title, std::u16string_view Text) override {
        Notices.push_back({std::u16string(Title), std::u16string(Text)});
    }

    bool Installed() const { return static_cast<bool>(FHandler); }
    // The process crashes now: the installed handler is told, or, with none, the process ends as
    // it would with no trap.
    void Crash(const TCrashFacts& Facts);
    // Bytes the report took from ReportMemory and has not given back, and the most it held at once.
    std::size_t ReportBytesHeld() const { return FMemory.Held; }
    std::size_t ReportBytesPeak() const { return FMemory.Peak; }

    TCrashFacts Now; // the time, process and thread CurrentFacts reports
    bool RefuseDumps = false;
    int DefaultEnds = 0;               // crashes that found no handler and ended the process as with no trap
    std::vector<std::u16string> Dumps; // the paths asked for, written or not
    std::vector<TNotice> Notices;

private:
    // Counts what the report takes, so that a test sees the texts were built there.
    struct TCountingMemory final : std::pmr::memory_resource {
        std::size_t Held = 0;
        std::size_t Peak = 0;
        void* do_allocate(std::size_t Bytes, std::size_t Alignment) override;
        void do_deallocate(void* Block, std::size_t Bytes, std::size_t Alignment) override;
        bool do_is_equal(const std::pmr::memory_resource& Other) const noexcept override {
            return this == &Other;
        }
    };

    TSimFileSystem& FFiles;
    THandler FHandler;
    TInstallation FInstalled = 0;
    TInstallation FLastInstallation = 0;
    TCountingMemory FMemory;
};

} // namespace platform::sim
