#include "platform/sim/Sim.VersionInfo.h"

#include "base/Base.Text.h"

namespace platform::sim {

void TSimVersionInfo::SetFileVersion(const std::u16string& Path, TFileVersionWords Words) {
    FFiles[base::FoldedAscii(Path)] = Words;
}

std::optional<TFileVersionWords> TSimVersionInfo::FileVersion(const std::u16string& Path) const {
    const auto found = FFiles.find(base::FoldedAscii(Path));
    if (found == FFiles.end())
        return std::nullopt;
    return found->second;
}

} // namespace platform::sim
