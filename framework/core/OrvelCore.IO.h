#pragma once
// Path routines under Windows rules: the backslash is the delimiter, folder paths end with one,
// a drive root such as C:\ keeps its backslash. UNC paths (\\server\share\...) and the
// extended-length prefix \\?\ are understood. No length limit applies: the program runs on
// Windows versions that accept long paths.
#include "framework/core/OrvelCore.Exceptions.h"
#include "platform/Platform.FileSystem.h"
#include "platform/Platform.Shell.h"

#include <string>

namespace orvel {

inline constexpr char16_t PathDelim = u'\\';

// A path that holds characters Windows does not accept, or no characters at all.
class EInvalidPath : public EOrvelException {
    using EOrvelException::EOrvelException;
};

// Empty stays empty (not a lone backslash).
std::u16string WithTrailingDelimiter(const std::u16string& Path);

// Not empty, and free of control characters, `"`, `<`, `>`, `|`, `*` and `?` (the `?` of a
// leading \\?\ excepted).
bool IsValidPath(const std::u16string& Path);

// A folder whose name ends with a blank never counts as existing, even where Windows would
// resolve it by dropping the blank.
bool FolderExistsStrict(const platform::IFileSystem& Files, const std::u16string& Dir,
                        bool FollowLink = true);

// Creates Dir with its missing parents as far as the system allows; the answer is whether Dir
// exists afterwards. Never raises.
bool ForceFolder(platform::IFileSystem& Files, const std::u16string& Dir);

// Creates Dir with its missing parents. Raises EInvalidPath for an invalid path, EFCreateError
// when its drive or share does not exist or a folder cannot be created (with the system's text).
void CreateFolderTree(platform::IFileSystem& Files, const std::u16string& Dir);

// Everything up to and including the last backslash; empty when Path names no folder. An empty or
// invalid Path raises EInvalidPath ("The path is invalid!", CR LF, Path) unless Silent, which
// answers empty instead.
std::u16string ExtractFolder(const std::u16string& Path, bool Silent);

// The file name without folder (or drive) and without its last extension.
std::u16string FileNameWithoutExt(const std::u16string& Path);

// The user's Documents folder with a trailing backslash; empty when the system cannot tell.
std::u16string DocumentsFolder(const platform::IShell& Shell);

} // namespace orvel
