#include "platform/win32/Win32.FileStreams.h"

#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"

#include <algorithm>
#include <limits>

namespace platform::win32 {

namespace {

// ReadFile and WriteFile take 32-bit counts, so larger blocks go in steps.
constexpr std::size_t MaxStep = 0x40000000;

class TWin32FileHandle final : public IFileHandle {
public:
    explicit TWin32FileHandle(TKernelHandle Handle) : FHandle(std::move(Handle)) {}

    std::size_t Read(void* Buffer, std::size_t Count) override {
        auto* out = static_cast<char*>(Buffer);
        std::size_t done = 0;
        while (done < Count) {
            const auto step = static_cast<DWORD>(std::min(Count - done, MaxStep));
            DWORD got = 0;
            if (!ReadFile(FHandle.Get(), out + done, step, &got, nullptr) || got == 0) {
                break;
            }
            done += got;
        }
        return done;
    }

    bool Write(const void* Buffer, std::size_t Count) override {
        const auto* in = static_cast<const char*>(Buffer);
        std::size_t done = 0;
        while (done < Count) {
            const auto step = static_cast<DWORD>(std::min(Count - done, MaxStep));
            DWORD written = 0;
            if (!WriteFile(FHandle.Get(), in + done, step, &written, nullptr) || written == 0) {
                return false;
            }
            done += written;
        }
        return true;
    }

    bool Seek(std::int64_t Position) override {
        if (Position < 0) {
            return false;
        }
        LARGE_INTEGER target{};
        target.QuadPart = Position;
        return SetFilePointerEx(FHandle.Get(), target, nullptr, FILE_BEGIN) != 0;
    }

    std::int64_t Position() const override {
        LARGE_INTEGER zero{};
        LARGE_INTEGER now{};
        if (!SetFilePointerEx(FHandle.Get(), zero, &now, FILE_CURRENT)) {
            return -1;
        }
        return now.QuadPart;
    }

    std::int64_t Size() const override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(FHandle.Get(), &size)) {
            return -1;
        }
        return size.QuadPart;
    }

private:
    TKernelHandle FHandle;
};

TFileOpenResult Open(const std::u16string& Path, DWORD Access, DWORD Share, DWORD Disposition) {
    if (Path.empty() || HasEmbeddedNul(Path)) {
        return {nullptr, TFsResult::Failure(ERROR_INVALID_NAME, SystemErrorMessage(ERROR_INVALID_NAME))};
    }
    TKernelHandle handle(
        CreateFileW(AsWide(Path), Access, Share, nullptr, Disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        const DWORD code = GetLastError();
        return {nullptr, TFsResult::Failure(code, SystemErrorMessage(code))};
    }
    return {std::make_unique<TWin32FileHandle>(std::move(handle)), TFsResult::Success()};
}

} // namespace

TFileOpenResult TWin32FileStreams::OpenRead(const std::u16string& Path) {
    return Open(Path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
}

TFileOpenResult TWin32FileStreams::CreateWrite(const std::u16string& Path) {
    return Open(Path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
}

} // namespace platform::win32
