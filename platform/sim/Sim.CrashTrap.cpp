#include "platform/sim/Sim.CrashTrap.h"

namespace platform::sim {

bool TSimCrashTrap::WriteMiniDump(const std::u16string& Path) {
    Dumps.push_back(Path);
    if (RefuseDumps) {
        return false;
    }
    return FFiles.WriteFileAtomic(Path, "MDMP").Ok;
}

void TSimCrashTrap::Crash(const TCrashFacts& Facts) {
    if (FHandler) {
        FHandler(Facts);
    } else {
        ++DefaultEnds;
    }
}

} // namespace platform::sim
