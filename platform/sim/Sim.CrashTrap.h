#pragma once
// A crash trap for the native tests: a test raises the crash, the dumps land in the simulated
// file system, and what the user would have been told is kept.
#include "platform/Platform.CrashTrap.h"
#include "platform/sim/Sim.FileSystem.h"

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

    void Install(THandler Handler) override { FHandler = std::move(Handler); }
    [[nodiscard]] TCrashFacts CurrentFacts() const override { return Now; }
    // Writes a small file that starts as a real minidump does, unless dumps are refused.
    [[nodiscard]] bool WriteMiniDump(const std::u16string& Path) override;
    void Notify(const std::u16string& Title, const std::u16string& Text) override {
        Notices.push_back({Title, Text});
    }

    bool Installed() const { return static_cast<bool>(FHandler); }
    // What the installed handler is told when the process crashes now.
    void Crash(const TCrashFacts& Facts);

    TCrashFacts Now;     // the time, process and thread CurrentFacts reports
    bool RefuseDumps = false;
    int DefaultEnds = 0; // crashes that found no handler and ended the process as with no trap
    std::vector<std::u16string> Dumps; // the paths asked for, written or not
    std::vector<TNotice> Notices;

private:
    TSimFileSystem& FFiles;
    THandler FHandler;
};

} // namespace platform::sim
