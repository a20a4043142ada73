#include "platform/win32/Win32.Shell.h"

#include "platform/win32/Win32.Text.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace platform::win32 {

namespace {

// The longest path Windows accepts with the extended-length prefix, terminator included.
constexpr DWORD LongestPath = 32768;

std::u16string WithoutTrailingBackslash(std::u16string Path) {
    // A drive root keeps its backslash: "C:" alone would mean the drive's current folder.
    if (Path.size() > 3 && Path.back() == u'\\')
        Path.pop_back();
    return Path;
}

std::u16string ShellFolder(int Csidl) {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, Csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return {};
    return WithoutTrailingBackslash(FromWide(buffer));
}

} // namespace

std::u16string TWin32Shell::ExecutablePath() const {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD copied = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (copied == 0)
            return {};
        if (copied < size)
            return FromWide(buffer.data(), copied);
        // Cut to fit: the answer fills the whole buffer.
        if (size >= LongestPath)
            return {};
        buffer.resize(std::min<DWORD>(size * 2, LongestPath));
    }
}

std::u16string TWin32Shell::RoamingAppDataFolder() const {
    return ShellFolder(CSIDL_APPDATA);
}

std::u16string TWin32Shell::DocumentsFolder() const {
    return ShellFolder(CSIDL_PERSONAL);
}

} // namespace platform::win32
