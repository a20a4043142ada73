#pragma once
// Version facts for native tests: a table of file versions by path (names compared without regard
// to ASCII case) and a system version that a test sets. It is a test double, not a product.
#include "platform/Platform.VersionInfo.h"

#include <map>

namespace platform::sim {

class TSimVersionInfo final : public IVersionInfo {
public:
    void SetFileVersion(const std::u16string& Path, TFileVersionWords Words);
    void SetOsVersion(TOsVersion Version) { FOs = Version; }

    std::optional<TFileVersionWords> FileVersion(const std::u16string& Path) const override;
    TOsVersion OsVersion() const override { return FOs; }

private:
    std::map<std::u16string, TFileVersionWords> FFiles; // by folded path
    TOsVersion FOs{10, 0};
};

} // namespace platform::sim
