#include "platform/sim/Sim.VersionInfo.h"

namespace platform::sim {

namespace {

std::u16string Folded(std::u16string path) {
    for (char16_t& c : path) {
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return path;
}

} // namespace

void TSimVersionInfo::SetFileVersion(const std::u16string& path, TFileVersionWords words) {
    FFiles[Folded(path)] = words;
}

std::optional<TFileVersionWords> TSimVersionInfo::FileVersion(const std::u16string& path) const {
    const auto found = FFiles.find(Folded(path));
    if (found == FFiles.end())
        return std::nullopt;
    return found->second;
}

} // namespace platform::sim
