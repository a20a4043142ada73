// A window that Tarvin's target check takes for a Claude Code terminal (class "ConsoleWindowClass",
// title "✳ Claude Code") in a process whose security descriptor grants nobody any access. Tarvin
// cannot open the process to read its integrity level, so a hotkey pressed while this window is in
// front is refused with a warning in Tarvin's log, and a warning brings Tarvin's log window up: the
// soak opens that window so, without typing into any terminal. Keys that reach this window do
// nothing. It ends when its window is closed (or by the handle its starter got at creation).
#include <windows.h>

#include <aclapi.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// An empty, protected DACL: no access for anyone. Handles opened before (the starter's) keep theirs.
bool LockThisProcess() {
    ACL empty;
    if (!InitializeAcl(&empty, sizeof empty, ACL_REVISION)) {
        return false;
    }
    return SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT,
                           DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr, &empty,
                           nullptr) == ERROR_SUCCESS;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"ConsoleWindowClass";
    if (RegisterClassExW(&windowClass) == 0 || !LockThisProcess()) {
        return 1;
    }
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"\u2733 Claude Code", WS_OVERLAPPEDWINDOW,
                                        CW_USEDEFAULT, CW_USEDEFAULT, 400, 200, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 2;
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
