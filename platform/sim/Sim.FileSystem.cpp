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
std::u16string Normalise(std::u16string path) {
    for (auto& c : path) {
        if (c == u'/') {
            c = u'\\';
        } else if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
    }
    while (!path.empty() && (path.back() == u'\\' || path.back() == u' ' || path.back() == u'.')) {
        path.pop_back();
    }
    return path;
}

std::u16string ParentOf(const std::u16string& normalised) {
    const auto pos = normalised.rfind(u'\\');
    return pos == std::u16string::npos ? std::u16string() : normalised.substr(0, pos);
}

bool IsUnder(const std::u16string& normalised, const std::u16string& folder) {
    return normalised == folder ||
           (normalised.size() > folder.size() && normalised.compare(0, folder.size(), folder) == 0 &&
            normalised[folder.size()] == u'\\');
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

void TSimFileSystem::AddFolder(const std::u16string& path) {
    std::u16string folder = Normalise(path);
    while (!folder.empty()) {
        FFolders.insert(folder);
        folder = ParentOf(folder);
    }
}

void TSimFileSystem::AddFile(const std::u16string& path, std::string bytes) {
    const std::u16string file = Normalise(path);
    AddFolder(ParentOf(file));
    FFiles[file] = std::move(bytes);
}

void TSimFileSystem::AddFolderLink(const std::u16string& link, const std::u16string& target) {
    const std::u16string normalised = Normalise(link);
    AddFolder(ParentOf(normalised));
    FLinks[normalised] = Normalise(target);
}

void TSimFileSystem::RemoveFolder(const std::u16string& path) {
    const std::u16string folder = Normalise(path);
    std::erase_if(FFolders, [&](const std::u16string& f) { return IsUnder(f, folder); });
    std::erase_if(FFiles, [&](const auto& entry) { return IsUnder(entry.first, folder); });
    std::erase_if(FLinks, [&](const auto& entry) { return IsUnder(entry.first, folder); });
}

void TSimFileSystem::DenyWritesUnder(const std::u16string& folder) { FDenied.insert(Normalise(folder)); }

bool TSimFileSystem::FileExists(const std::u16string& path) const { return FFiles.contains(Normalise(path)); }

bool TSimFileSystem::FolderExists(const std::u16string& path, bool followLink) const {
    const std::u16string folder = Normalise(path);
    if (auto link = FLinks.find(folder); link != FLinks.end()) {
        return !followLink || FFolders.contains(link->second);
    }
    return FFolders.contains(folder);
}

TFsResult TSimFileSystem::CreateFolder(const std::u16string& path) {
    const std::u16string folder = Normalise(path);
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

std::optional<std::string> TSimFileSystem::ReadFile(const std::u16string& path) const {
    auto it = FFiles.find(Normalise(path));
    if (it == FFiles.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<TFsResult> TSimFileSystem::WriteRefusal(const std::u16string& file) const {
    if (!FFolders.contains(ParentOf(file))) {
        return PathNotFound();
    }
    if (FFolders.contains(file)) {
        return AccessDenied();
    }
    for (const auto& denied : FDenied) {
        if (IsUnder(file, denied)) {
            return AccessDenied();
        }
    }
    return std::nullopt;
}

TFsResult TSimFileSystem::WriteFileAtomic(const std::u16string& path, std::string_view bytes) {
    const std::u16string file = Normalise(path);
    if (auto refusal = WriteRefusal(file)) {
        return *refusal;
    }
    FFiles[file] = std::string(bytes);
    ++FWriteCount;
    return TFsResult::Success();
}

std::u16string TSimFileSystem::PathKey(const std::u16string& path) const {
    return Normalise(path);
}

std::string* TSimFileSystem::FileBytes(const std::u16string& path) {
    auto it = FFiles.find(Normalise(path));
    return it == FFiles.end() ? nullptr : &it->second;
}

TFsResult TSimFileSystem::CreateEmptyFile(const std::u16string& path) {
    const std::u16string file = Normalise(path);
    if (auto refusal = WriteRefusal(file)) {
        return *refusal;
    }
    FFiles[file].clear();
    return TFsResult::Success();
}

TFsResult TSimFileSystem::RemoveFile(const std::u16string& path) {
    const std::u16string file = Normalise(path);
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
