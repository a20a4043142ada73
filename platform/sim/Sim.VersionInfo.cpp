#include "platform/sim/Sim.VersionInfo.h"

#include "base/Base.Text.h"

namespace platform::sim {

void TSimVersionInfo::SetFileVersion(const std::u16string& path, TFileVersionWords words) {
    FFiles[base::FoldedAscii(path)] = words;
}

std::optional<TFileVersionWords> TSimVersionInfo::FileVersion(const std::u16string& path) const {
    const auto found = FFiles.find(base::FoldedAscii(path));
    if (found == FFiles.end())
        return std::nullopt;
    return found->second;
}

} // namespace platform::sim
