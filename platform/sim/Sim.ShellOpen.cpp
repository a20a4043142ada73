#include "platform/sim/Sim.ShellOpen.h"

namespace platform::sim {

TShellOpenResult TSimShellOpen::Open(const std::u16string& target) {
    FOpened.push_back(target);
    return TShellOpenResult{FAnswer > 32, FAnswer};
}

} // namespace platform::sim
