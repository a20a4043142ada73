#include "platform/sim/Sim.FileSystem.h"

#include <vector>

namespace platform::sim {
namespace {

constexpr std::uint32_t ErrorFileNotFound = 2;
constexpr std::uint32_t ErrorPathNotFound = 3;
constexpr std::uint32_t ErrorAccessDenied = 5;
constexpr std::uint32_t ErrorAlreadyExists = 183;

TFsResult PathNotFound() { return TFsResult::Failure(ErrorPathNotFound, u"The system cannot find the path specified."); }
TFsResult AccessDenied() { return TFsResult::Failure(ErrorAccessDenied, u"Access is denied."); }

// The form under which a path is stored: forward slashes as backslashes, no trailing
// delimiter ("C:\" is kept as "C:"), letters folded to upper case, and the trailing blanks and
// dots of the last name dropped, as the Win32 path parser does.
std::u16string Normalise(std::u16string Path) {
    for (auto& c : Path) {
        if (c == u'/') {
            c = u'\\';
        } else if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
    }
    while (!Path.empty() && (Path.back() == u'\\' || Path.back() == u' ' || Path.back() == u'.')) {
        Path.pop_back();
    }
    return Path;
}

std::u16string ParentOf(const std::u16string& Normalised) {
    const auto pos = Normalised.rfind(u'\\');
    return pos == std::u16string::npos ? std::u16string() : Normalised.substr(0, pos);
}

bool IsUnder(const std::u16string& Normalised, const std::u16string& Folder) {
    return Normalised == Folder ||
           (Normalised.size() > Folder.size() && Normalised.compare(0, Folder.size(), Folder) == 0 &&
            Normalised[Folder.size()] == u'\\');
}

} // namespace

TSimFileSystem::TSimFileSystem()
    : FExePath(u"C:\\Program Files\\Tarvin\\Tarvin.exe"), FAppData(u"C:\\Users\\dev\\AppData\\Roaming"),
      FDocuments(u"C:\\Users\\dev\\Documents") {
    AddFolder(u"C:\\Program Files\\Tarvin");
    AddFolder(FAppData);
    AddFolder(FDocuments);
    AddFile(FExePath, "MZ");
}

void TSimFileSystem::AddFolder(const std::u16string& Path) {
    std::u16string folder = Normalise(Path);
    while (!folder.empty()) {
        FFolders.insert(folder);
        folder = ParentOf(folder);
    }
}

void TSimFileSystem::AddFile(const std::u16string& Path, std::string Bytes) {
    const std::u16string file = Normalise(Path);
    AddFolder(ParentOf(file));
    FFiles[file] = std::move(Bytes);
}

void TSimFileSystem::AddFolderLink(const std::u16string& Link, const std::u16string& Target) {
    const std::u16string normalised = Normalise(Link);
    AddFolder(ParentOf(normalised));
    FLinks[normalised] = Normalise(Target);
}

void TSimFileSystem::RemoveFolder(const std::u16string& Path) {
    const std::u16string folder = Normalise(Path);
    std::erase_if(FFolders, [&](const std::u16string& F) { return IsUnder(F, folder); });
    std::erase_if(FFiles, [&](const auto& Entry) { return IsUnder(Entry.first, folder); });
    std::erase_if(FLinks, [&](const auto& Entry) { return IsUnder(Entry.first, folder); });
}

void TSimFileSystem::DenyWritesUnder(const std::u16string& Folder) { FDenied.insert(Normalise(Folder)); }

bool TSimFileSystem::FileExists(const std::u16string& Path) const { return FFiles.contains(Normalise(Path)); }

bool TSimFileSystem::FolderExists(const std::u16string& Path, bool FollowLink) const {
    const std::u16string folder = Normalise(Path);
    if (auto link = FLinks.find(folder); link != FLinks.end()) {
        return !FollowLink || FFolders.contains(link->second);
    }
    return FFolders.contains(folder);
}

TFsResult TSimFileSystem::CreateFolder(const std::u16string& Path) {
    const std::u16string folder = Normalise(Path);
    if (FolderExists(folder, true)) {
        return TFsResult::Success();
    }
    if (FFiles.contains(folder) || FLinks.contains(folder)) {
        return TFsResult::Failure(ErrorAlreadyExists, u"Cannot create a file when that file already exists.");
    }
    const std::u16string parent = ParentOf(folder);
    if (parent.empty() || !FFolders.contains(parent)) {
        return PathNotFound();
    }
    for (const auto& denied : FDenied) {
        if (IsUnder(folder, denied)) {
            return AccessDenied();
        }
    }
    FFolders.insert(folder);
    return TFsResult::Success();
}

std::optional<std::string> TSimFileSystem::ReadFile(const std::u16string& Path) const {
    auto it = FFiles.find(Normalise(Path));
    if (it == FFiles.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<TFsResult> TSimFileSystem::WriteRefusal(const std::u16string& File) const {
    if (!FFolders.contains(ParentOf(File))) {
        return PathNotFound();
    }
    if (FFolders.contains(File)) {
        return AccessDenied();
    }
    for (const auto& denied : FDenied) {
        if (IsUnder(File, denied)) {
            return AccessDenied();
        }
    }
    return std::nullopt;
}

TFsResult TSimFileSystem::WriteFileAtomic(const std::u16string& Path, std::string_view Bytes) {
    const std::u16string file = Normalise(Path);
    if (auto refusal = WriteRefusal(file)) {
        return *refusal;
    }
    FFiles[file] = std::string(Bytes);
    ++FWriteCount;
    return TFsResult::Success();
}

std::u16string TSimFileSystem::PathKey(const std::u16string& Path) const {
    return Normalise(Path);
}

std::string* TSimFileSystem::FileBytes(const std::u16string& Path) {
    auto it = FFiles.find(Normalise(Path));
    return it == FFiles.end() ? nullptr : &it->second;
}

TFsResult TSimFileSystem::CreateEmptyFile(const std::u16string& Path) {
    const std::u16string file = Normalise(Path);
    if (auto refusal = WriteRefusal(file)) {
        return *refusal;
    }
    FFiles[file].clear();
    return TFsResult::Success();
}

TFsResult TSimFileSystem::RemoveFile(const std::u16string& Path) {
    const std::u16string file = Normalise(Path);
    if (!FFiles.contains(file)) {
        return TFsResult::Failure(ErrorFileNotFound, u"The system cannot find the file specified.");
    }
    for (const auto& denied : FDenied) {
        if (IsUnder(file, denied)) {
            return AccessDenied();
        }
    }
    FFiles.erase(file);
    return TFsResult::Success();
}

} // namespace platform::sim
