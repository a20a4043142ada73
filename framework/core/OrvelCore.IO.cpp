#include "framework/core/OrvelCore.IO.h"

#include "framework/core/OrvelCore.h"

#include <optional>
#include <string_view>
#include <vector>

namespace orvel {
namespace {

constexpr std::u16string_view ExtendedPrefix = u"\\\\?\\";
constexpr std::u16string_view ExtendedUncPrefix = u"\\\\?\\UNC\\";

bool StartsWith(const std::u16string& Text, std::u16string_view Prefix) {
    return std::u16string_view(Text).substr(0, Prefix.size()) == Prefix;
}

bool IsDriveLetter(char16_t C) {
    return (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z');
}

// Position just past the next `Count` backslashes from `From`, or the end of Path.
std::size_t PastDelimiters(const std::u16string& Path, std::size_t From, int Count) {
    std::size_t at = From;
    for (int i = 0; i < Count; ++i) {
        const std::size_t next = Path.find(PathDelim, at);
        if (next == std::u16string::npos) {
            return Path.size();
        }
        at = next + 1;
    }
    return at;
}

// Length of the part of Path that is no folder to create: "C:\", "C:", "\", "\\server\share\",
// "\\?\C:\", "\\?\UNC\server\share\", "\\?\Volume{...}\"; 0 for a relative path.
std::size_t RootLength(const std::u16string& Path) {
    if (StartsWith(Path, ExtendedUncPrefix)) {
        return PastDelimiters(Path, ExtendedUncPrefix.size(), 2);
    }
    if (StartsWith(Path, ExtendedPrefix)) {
        return PastDelimiters(Path, ExtendedPrefix.size(), 1);
    }
    if (StartsWith(Path, u"\\\\")) {
        return PastDelimiters(Path, 2, 2);
    }
    if (Path.size() >= 2 && IsDriveLetter(Path[0]) && Path[1] == u':') {
        return (Path.size() >= 3 && Path[2] == PathDelim) ? 3 : 2;
    }
    return (!Path.empty() && Path[0] == PathDelim) ? 1 : 0;
}

// The root names a drive or share whose existence can be checked (not "\" nor "C:").
bool RootIsCheckable(const std::u16string& Root) {
    return Root.size() >= 3;
}

// Root, then each folder from the outermost to Dir itself, without trailing backslashes.
std::vector<std::u16string> FolderChain(const std::u16string& Dir) {
    const std::size_t rootLength = RootLength(Dir);
    std::vector<std::u16string> chain;
    std::u16string prefix = Dir.substr(0, rootLength);
    std::size_t at = rootLength;
    while (at < Dir.size()) {
        std::size_t end = Dir.find(PathDelim, at);
        if (end == std::u16string::npos) {
            end = Dir.size();
        }
        if (end > at) { // doubled backslashes name no folder
            if (!prefix.empty() && prefix.back() != PathDelim && prefix.size() > rootLength) {
                prefix += PathDelim;
            }
            prefix.append(Dir, at, end - at);
            chain.push_back(prefix);
        }
        at = end + 1;
    }
    return chain;
}

struct TCreateFailure {
    std::u16string Folder;
    platform::TFsResult Result;
};

// Creates the missing folders of Dir from the outermost inwards; stops at the first refusal.
std::optional<TCreateFailure> CreateMissingFolders(platform::IFileSystem& Files, const std::u16string& Dir) {
    for (const std::u16string& folder : FolderChain(Dir)) {
        if (Files.FolderExists(folder, true)) {
            continue;
        }
        platform::TFsResult result = Files.CreateFolder(folder);
        // Another process may have created it in the meantime; only a folder still missing counts.
        if (!result.Ok && !Files.FolderExists(folder, true)) {
            return TCreateFailure{folder, std::move(result)};
        }
    }
    return std::nullopt;
}

std::u16string InvalidPathMessage(const std::u16string& Path) {
    return u"The path is invalid!\r\n" + Path;
}

} // namespace

std::u16string WithTrailingDelimiter(const std::u16string& Path) {
    if (Path.empty() || Path.back() == PathDelim) {
        return Path;
    }
    return Path + PathDelim;
}

bool IsValidPath(const std::u16string& Path) {
    if (Path.empty()) {
        return false;
    }
    const std::size_t start = StartsWith(Path, ExtendedPrefix) ? ExtendedPrefix.size() : 0;
    for (std::size_t i = start; i < Path.size(); ++i) {
        const char16_t c = Path[i];
        if (c < 32 || c == u'"' || c == u'<' || c == u'>' || c == u'|' || c == u'*' || c == u'?') {
            return false;
        }
    }
    return true;
}

bool FolderExistsStrict(const platform::IFileSystem& Files, const std::u16string& Dir, bool FollowLink) {
    if (Dir.empty()) {
        return false;
    }
    // Look at the folder's own name, behind any trailing backslash.
    std::size_t end = Dir.size();
    const std::size_t rootLength = RootLength(Dir);
    while (end > rootLength && Dir[end - 1] == PathDelim) {
        --end;
    }
    if (end > 0 && Dir[end - 1] == u' ') {
        return false;
    }
    return Files.FolderExists(Dir, FollowLink);
}

bool ForceFolder(platform::IFileSystem& Files, const std::u16string& Dir) {
    if (Dir.empty() || !IsValidPath(Dir)) {
        return false;
    }
    CreateMissingFolders(Files, Dir);
    return FolderExistsStrict(Files, Dir);
}

void CreateFolderTree(platform::IFileSystem& Files, const std::u16string& Dir) {
    if (!IsValidPath(Dir)) {
        throw EInvalidPath(InvalidPathMessage(Dir));
    }
    const std::u16string root = Dir.substr(0, RootLength(Dir));
    if (RootIsCheckable(root) && !Files.FolderExists(root, true)) {
        throw EFCreateError(u"Cannot create the folder \"" + Dir + u"\": the drive " + root +
                            u" does not exist.");
    }
    if (const auto failure = CreateMissingFolders(Files, Dir)) {
        throw EFCreateError(u"Cannot create the folder \"" + failure->Folder + u"\": " +
                            failure->Result.Message);
    }
}

std::u16string ExtractFolder(const std::u16string& Path, bool Silent) {
    if (!IsValidPath(Path)) {
        if (Silent) {
            return {};
        }
        throw EInvalidPath(InvalidPathMessage(Path));
    }
    const std::size_t last = Path.rfind(PathDelim);
    return last == std::u16string::npos ? std::u16string() : Path.substr(0, last + 1);
}

std::u16string FileNameWithoutExt(const std::u16string& Path) {
    const std::size_t cut = Path.find_last_of(u"\\:");
    const std::u16string name = cut == std::u16string::npos ? Path : Path.substr(cut + 1);
    const std::size_t dot = LastIndexOfChar(u'.', name);
    if (dot > 0) {
        return CopyRange(name, 1, static_cast<std::ptrdiff_t>(dot) - 1);
    }
    return name;
}

std::u16string DocumentsFolder(const platform::IShell& Shell) {
    return WithTrailingDelimiter(Shell.DocumentsFolder());
}

} // namespace orvel
