#pragma once
// An in-memory file system with Windows path rules (backslash-separated, drive letters,
// case-insensitive names) and the shell's folders, for deterministic native tests.
#include "platform/Platform.FileSystem.h"
#include "platform/Platform.Shell.h"

#include <map>
#include <set>

namespace platform::sim {

class TSimFileSystem final : public IFileSystem, public IShell {
public:
    // Starts with the drive C:\, the executable C:\Program Files\Tarvin\Tarvin.exe, the roaming
    // application data C:\Users\dev\AppData\Roaming and the Documents folder C:\Users\dev\Documents,
    // each folder existing.
    TSimFileSystem();

    // --- arranging the scene ---
    void AddFolder(const std::u16string& Path);          // with its parents
    void AddFile(const std::u16string& Path, std::string Bytes); // with its parents
    void AddFolderLink(const std::u16string& Link, const std::u16string& Target); // a symbolic link
    void RemoveFolder(const std::u16string& Path);       // with everything below it
    // Writes into this folder (and below it) are refused with ERROR_ACCESS_DENIED (5).
    void DenyWritesUnder(const std::u16string& Folder);
    void SetExecutablePath(std::u16string Path) { FExePath = std::move(Path); }
    void SetRoamingAppDataFolder(std::u16string Path) { FAppData = std::move(Path); }
    void SetDocumentsFolder(std::u16string Path) { FDocuments = std::move(Path); }
    // The file's bytes, for assertions; nothing when it does not exist.
    std::optional<std::string> Contents(const std::u16string& Path) const { return ReadFile(Path); }
    std::size_t WriteCount() const { return FWriteCount; } // successful WriteFileAtomic calls

    // --- for the simulated file handles ---
    // The form under which a path is stored; two paths naming the same file give the same key.
    std::u16string PathKey(const std::u16string& Path) const;
    // The stored bytes of a file, to read and change in place; nullptr when it does not exist.
    std::string* FileBytes(const std::u16string& Path);
    // Creates an empty file or empties an existing one, with the refusals of WriteFileAtomic.
    TFsResult CreateEmptyFile(const std::u16string& Path);

    // IFileSystem
    bool FileExists(const std::u16string& Path) const override;
    bool FolderExists(const std::u16string& Path, bool FollowLink) const override;
    TFsResult CreateFolder(const std::u16string& Path) override;
    std::optional<std::string> ReadFile(const std::u16string& Path) const override;
    TFsResult WriteFileAtomic(const std::u16string& Path, std::string_view Bytes) override;
    TFsResult RemoveFile(const std::u16string& Path) override;

    // IShell
    std::u16string ExecutablePath() const override { return FExePath; }
    std::u16string RoamingAppDataFolder() const override { return FAppData; }
    std::u16string DocumentsFolder() const override { return FDocuments; }

private:
    // Why a write to this normalised file path is refused; nothing when it is allowed.
    std::optional<TFsResult> WriteRefusal(const std::u16string& File) const;

    std::map<std::u16string, std::string> FFiles;   // key: normalised path
    std::set<std::u16string> FFolders;              // normalised
    std::map<std::u16string, std::u16string> FLinks; // normalised link -> normalised target
    std::set<std::u16string> FDenied;
    std::u16string FExePath;
    std::u16string FAppData;
    std::u16string FDocuments;
    std::size_t FWriteCount = 0;
};

} // namespace platform::sim
