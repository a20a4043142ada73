#pragma once
#include "platform/Platform.Shell.h"

namespace platform::win32 {

class TWin32Shell final : public IShell {
public:
    // GetModuleFileNameW with a buffer that grows until the whole path fits: paths longer than
    // MAX_PATH are real on systems with long-path support.
    std::u16string ExecutablePath() const override;
    // SHGetFolderPathW for the current user, no token, the current path. A folder that the
    // shell names but that does not exist yet is still answered, so the caller can create it.
    std::u16string RoamingAppDataFolder() const override;
    std::u16string DocumentsFolder() const override;
};

} // namespace platform::win32
