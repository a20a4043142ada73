#include "platform/sim/Sim.ShellOpen.h"

namespace platform::sim {

TShellOpenResult TSimShellOpen::Open(const std::u16string& Target) {
    FOpened.push_back(Target);
    return TShellOpenResult{FAnswer > 32, FAnswer};
}

} // namespace platform::sim
