// The idle benchmark's baseline: the least a tray program that polls the focus can be. One hidden
// top-level window, a 200 ms timer and, on each tick, the foreground window and its class read, as
// Tarvin's focus timer does. Built like Tarvin.exe (static, MinGW); it runs until it is ended.
#include <windows.h>

namespace {

constexpr UINT_PTR PollTimer = 1;
constexpr UINT PollMs = 200;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: {
        wchar_t name[256];
        if (const HWND front = GetForegroundWindow()) {
            GetClassNameW(front, name, 256);
        }
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TarvinBenchIdleWindow";
    if (RegisterClassExW(&windowClass) == 0) {
        return 1;
    }
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"idle window", WS_OVERLAPPEDWINDOW,
                                        CW_USEDEFAULT, CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
    if (window == nullptr || SetTimer(window, PollTimer, PollMs, nullptr) == 0) {
        return 2;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
