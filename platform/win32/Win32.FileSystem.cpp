#include "platform/win32/Win32.FileSystem.h"

#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"

#include <algorithm>
#include <utility>

namespace platform::win32 {

namespace {

bool IsUsablePath(const std::u16string& Path) {
    return !Path.empty() && !HasEmbeddedNul(Path);
}

TFsResult FailureOf(DWORD Code) {
    return TFsResult::Failure(Code, SystemErrorMessage(Code));
}

TFsResult LastFailure() {
    return FailureOf(GetLastError());
}

DWORD AttributesOf(const std::u16string& Path) {
    return IsUsablePath(Path) ? GetFileAttributesW(AsWide(Path)) : INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(DWORD Attributes) {
    return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsReparsePoint(DWORD Attributes) {
    return (Attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The attributes of what a reparse point leads to; INVALID_FILE_ATTRIBUTES when it leads nowhere.
// Opening without FILE_FLAG_OPEN_REPARSE_POINT follows the whole chain of links.
DWORD TargetAttributesOf(const std::u16string& Path) {
    const TKernelHandle target(CreateFileW(AsWide(Path), 0,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!target || !GetFileInformationByHandle(target.Get(), &info))
        return INVALID_FILE_ATTRIBUTES;
    return info.dwFileAttributes;
}

std::u16string Hex8(std::uint32_t Value) {
    std::u16string digits(8, u'0');
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, Value >>= 4)
        *it = u"0123456789abcdef"[Value & 0xF];
    return digits;
}

// A file this process created and has not handed over yet: deleted when the scope ends.
class TTemporaryFile {
public:
    TTemporaryFile() = default;
    explicit TTemporaryFile(std::u16string Path) : FPath(std::move(Path)) {}
    ~TTemporaryFile() { Delete(); }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    TTemporaryFile(TTemporaryFile&& Other) noexcept : FPath(std::exchange(Other.FPath, {})) {}
    TTemporaryFile& operator=(TTemporaryFile&& Other) noexcept {
        if (this != &Other) {
            Delete();
            FPath = std::exchange(Other.FPath, {});
        }
        return *this;
    }

    const std::u16string& Path() const { return FPath; }
    void HandOver() { FPath.clear(); }

private:
    void Delete() {
        if (!FPath.empty())
            DeleteFileW(AsWide(FPath));
    }

    std::u16string FPath;
};

// Creates a new, empty file "<path>.<hex>.tmp" beside `Path`. CREATE_NEW never opens a file
// that is already there, so a name taken by another writer just moves on to the next one.
TKernelHandle CreateTemporaryBeside(const std::u16string& Path, TTemporaryFile& Temporary) {
    constexpr std::uint32_t Attempts = 100;
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const std::uint32_t seed = counter.LowPart ^ (GetCurrentProcessId() << 16) ^ GetCurrentThreadId();
    for (std::uint32_t attempt = 0; attempt < Attempts; ++attempt) {
        std::u16string name = Path + u"." + Hex8(seed + attempt * 0x9E3779B9u) + u".tmp";
        TKernelHandle file(
            CreateFileW(AsWide(name), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            Temporary = TTemporaryFile(std::move(name));
            return file;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return {};
    }
    SetLastError(ERROR_FILE_EXISTS);
    return {};
}

bool WriteAll(HANDLE File, std::string_view Bytes) {
    constexpr std::size_t Chunk = 1u << 24;
    while (!Bytes.empty()) {
        const DWORD size = static_cast<DWORD>(std::min(Bytes.size(), Chunk));
        DWORD written = 0;
        if (!::WriteFile(File, Bytes.data(), size, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        Bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

bool TWin32FileSystem::FileExists(const std::u16string& Path) const {
    DWORD attributes = AttributesOf(Path);
    if (attributes != INVALID_FILE_ATTRIBUTES && IsReparsePoint(attributes))
        attributes = TargetAttributesOf(Path);
    return attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes);
}

bool TWin32FileSystem::FolderExists(const std::u16string& Path, bool FollowLink) const {
    DWORD attributes = AttributesOf(Path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !IsFolder(attributes))
        return false;
    if (!IsReparsePoint(attributes))
        return true;
    if (!FollowLink)
        return false;
    attributes = TargetAttributesOf(Path);
    return attributes != INVALID_FILE_ATTRIBUTES && IsFolder(attributes);
}

TFsResult TWin32FileSystem::CreateFolder(const std::u16string& Path) {
    if (!IsUsablePath(Path))
        return FailureOf(ERROR_INVALID_NAME);
    if (CreateDirectoryW(AsWide(Path), nullptr))
        return TFsResult::Success();
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS && FolderExists(Path, true))
        return TFsResult::Success();
    return FailureOf(error);
}

std::optional<std::string> TWin32FileSystem::ReadFile(const std::u16string& Path) const {
    if (!IsUsablePath(Path))
        return std::nullopt;
    const TKernelHandle file(CreateFileW(AsWide(Path), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;

    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0)
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    // Read to the end rather than to the size seen at the start: the file may still grow.
    char chunk[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr))
            return std::nullopt;
        if (read == 0)
            return bytes;
        bytes.append(chunk, read);
    }
}

TFsResult TWin32FileSystem::WriteFileAtomic(const std::u16string& Path, std::string_view Bytes) {
    if (!IsUsablePath(Path))
        return FailureOf(ERROR_INVALID_NAME);

    TTemporaryFile temporary;
    TKernelHandle file = CreateTemporaryBeside(Path, temporary);
    if (!file)
        return LastFailure();
    if (!WriteAll(file.Get(), Bytes) || !FlushFileBuffers(file.Get()))
        return LastFailure();
    file.Reset(); // the move needs the file closed

    if (!MoveFileExW(AsWide(temporary.Path()), AsWide(Path),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return LastFailure();
    temporary.HandOver();
    return TFsResult::Success();
}

TFsResult TWin32FileSystem::RemoveFile(const std::u16string& Path) {
    if (!IsUsablePath(Path))
        return FailureOf(ERROR_INVALID_NAME);
    if (!DeleteFileW(AsWide(Path)))
        return LastFailure();
    return TFsResult::Success();
}

} // namespace platform::win32
