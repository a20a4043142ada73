#pragma once
#include "platform/Platform.FileSystem.h"

namespace platform::win32 {

// A path holding a NUL is refused (ERROR_INVALID_NAME) rather than cut short at the NUL.
class TWin32FileSystem final : public IFileSystem {
public:
    bool FileExists(const std::u16string& Path) const override;
    // A folder that is a reparse point (symbolic link, junction) counts only when FollowLink
    // is true and the folder it leads to can be opened.
    bool FolderExists(const std::u16string& Path, bool FollowLink) const override;
    // An existing folder is success; an existing file of that name is not.
    TFsResult CreateFolder(const std::u16string& Path) override;
    std::optional<std::string> ReadFile(const std::u16string& Path) const override;
    // The temporary file "<path>.<hex>.tmp" is written, flushed and then moved over `Path` with
    // MoveFileExW(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). On any failure it is
    // deleted again and `Path` keeps its old contents.
    TFsResult WriteFileAtomic(const std::u16string& Path, std::string_view Bytes) override;
    TFsResult RemoveFile(const std::u16string& Path) override;
};

} // namespace platform::win32
