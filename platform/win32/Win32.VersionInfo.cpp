#include "platform/win32/Win32.VersionInfo.h"

#include "platform/win32/Win32.Text.h"

#include <winver.h>

#include <vector>

namespace platform::win32 {

namespace {

constexpr UINT FixedFileInfoSize = 52;
static_assert(sizeof(VS_FIXEDFILEINFO) == FixedFileInfoSize);

using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);

TOsVersion ReadOsVersion() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr)
        return {};
    // GetProcAddress hands back a generic function pointer; this is its documented signature.
    const auto rtlGetVersion =
        reinterpret_cast<TRtlGetVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (rtlGetVersion == nullptr)
        return {};
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (rtlGetVersion(&info) != 0)
        return {};
    return {info.dwMajorVersion, info.dwMinorVersion};
}

} // namespace

TWin32VersionInfo::TWin32VersionInfo() : FOs(ReadOsVersion()) {}

std::optional<TFileVersionWords> TWin32VersionInfo::FileVersion(const std::u16string& Path) const {
    if (Path.empty() || HasEmbeddedNul(Path))
        return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(AsWide(Path), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(AsWide(Path), 0, size, block.data()))
        return std::nullopt;
    void* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", &fixed, &fixedSize) || fixed == nullptr ||
        fixedSize != FixedFileInfoSize)
        return std::nullopt;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    return TFileVersionWords{info->dwFileVersionMS, info->dwFileVersionLS};
}

} // namespace platform::win32
