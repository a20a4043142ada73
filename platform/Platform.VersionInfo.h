#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The two file-version words of an executable's fixed file information: the high word of
// Ms is the major number, its low word the minor; the high word of Ls the release, its low word
// the build.
struct TFileVersionWords {
    std::uint32_t Ms = 0;
    std::uint32_t Ls = 0;
    friend bool operator==(const TFileVersionWords&, const TFileVersionWords&) = default;
};

struct TOsVersion {
    std::uint32_t Major = 0;
    std::uint32_t Minor = 0;
    friend bool operator==(const TOsVersion&, const TOsVersion&) = default;
};

// Version facts of files and of the running system.
class IVersionInfo {
public:
    virtual ~IVersionInfo() = default;
    // Nothing when the file has no readable version resource whose root block is the 52-byte
    // fixed file information.
    virtual std::optional<TFileVersionWords> FileVersion(const std::u16string& Path) const = 0;
    // The system's real version as read at start-up (10.0 on Windows 10 and 11); 0.0 when unknown.
    virtual TOsVersion OsVersion() const = 0;
};

} // namespace platform
