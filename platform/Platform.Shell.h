#pragma once
#include <string>

namespace platform {

// Where the program lives and the user's shell folders. Paths are Windows paths without a
// trailing backslash; an empty text means the system could not tell.
class IShell {
public:
    virtual ~IShell() = default;
    virtual std::u16string ExecutablePath() const = 0;
    virtual std::u16string RoamingAppDataFolder() const = 0; // CSIDL_APPDATA
    virtual std::u16string DocumentsFolder() const = 0;      // CSIDL_PERSONAL
};

} // namespace platform
