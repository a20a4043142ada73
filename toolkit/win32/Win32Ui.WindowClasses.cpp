#include "toolkit/win32/Win32Ui.WindowClasses.h"

#include "toolkit/win32/Win32Ui.WindowProc.h"

namespace toolkit::win32 {

TWindowClasses::~TWindowClasses() {
    for (const auto& name : FRegistered)
        ::UnregisterClassW(name.c_str(), ::GetModuleHandleW(nullptr));
}

bool TWindowClasses::Ensure(const std::wstring& Name) {
    if (FRegistered.contains(Name))
        return true;
    if (Name.empty() || Name.size() > 255)
        return false;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // Double clicks are reported; the whole window is repainted when its size changes, since
    // owner-drawn content and centred text move with it.
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &ToolkitWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (wc.hIcon == nullptr)
        wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = Name.c_str();
    if (::RegisterClassExW(&wc) == 0) {
        // Another backend object of this process may have it already, with the same procedure.
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        if (::GetClassInfoExW(::GetModuleHandleW(nullptr), Name.c_str(), &existing) == FALSE ||
            existing.lpfnWndProc != &ToolkitWindowProc)
            return false;
        return true;
    }
    FRegistered.insert(Name);
    return true;
}

} // namespace toolkit::win32
