#include "platform/sim/Sim.CrashTrap.h"

#include <algorithm>
#include <utility>

namespace platform::sim {

ICrashTrap::TInstallation TSimCrashTrap::Install(THandler Handler) {
    FHandler = std::move(Handler);
    FInstalled = ++FLastInstallation;
    return FInstalled;
}

void TSimCrashTrap::Uninstall(TInstallation Installation) {
    if (Installation != 0 && Installation == FInstalled) {
        FHandler = nullptr;
        FInstalled = 0;
    }
}

bool TSimCrashTrap::MakeFolder(std::u16string_view Path) {
    const std::u16string path(Path);
    return FFiles.FolderExists(path, true) || FFiles.CreateFolder(path).Ok;
}

bool TSimCrashTrap::WriteMiniDump(std::u16string_view Path) {
    Dumps.emplace_back(Path);
    if (RefuseDumps) {
        return false;
    }
    return FFiles.WriteFileAtomic(std::u16string(Path), "MDMP").Ok;
}

bool TSimCrashTrap::WriteFile(std::u16string_view Path, std::string_view Bytes) {
    return FFiles.WriteFileAtomic(std::u16string(Path), Bytes).Ok;
}

void TSimCrashTrap::Crash(const TCrashFacts& Facts) {
    if (FHandler) {
        FHandler(Facts);
    } else {
        ++DefaultEnds;
    }
}

void* TSimCrashTrap::TCountingMemory::do_allocate(std::size_t Bytes, std::size_t Alignment) {
    void* block = std::pmr::new_delete_resource()->allocate(Bytes, Alignment);
    Held += Bytes;
    Peak = std::max(Peak, Held);
    return block;
}

void TSimCrashTrap::TCountingMemory::do_deallocate(void* Block, std::size_t Bytes, std::size_t Alignment) {
    std::pmr::new_delete_resource()->deallocate(Block, Bytes, Alignment);
    Held -= Bytes;
}

} // namespace platform::sim
