#pragma once
#include "platform/Platform.Types.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Files and folders under Windows path rules: backslash-separated, case-insensitive names.
class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    virtual bool FileExists(const std::u16string& Path) const = 0;
    // With FollowLink a symbolic link counts only when its target folder exists; without it the
    // link itself counts as a folder entry.
    virtual bool FolderExists(const std::u16string& Path, bool FollowLink) const = 0;
    // Creates one folder whose parent exists; a folder that is already there is success.
    virtual TFsResult CreateFolder(const std::u16string& Path) = 0;
    // The whole file as bytes; nothing when it cannot be read.
    virtual std::optional<std::string> ReadFile(const std::u16string& Path) const = 0;
    // Writes a temporary file beside `Path` and then replaces `Path` with it, so that a crash
    // leaves either the old or the new file, never a torn one.
    virtual TFsResult WriteFileAtomic(const std::u16string& Path, std::string_view Bytes) = 0;
    virtual TFsResult RemoveFile(const std::u16string& Path) = 0;
};

} // namespace platform
