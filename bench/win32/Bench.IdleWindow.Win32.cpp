// The idle benchmark's baselines: the least a tray program can be. One hidden top-level window;
// in tarvin_bench_idle_window a 200 ms timer whose every tick reads the foreground window and its
// class, as a grip that polls the focus does; in tarvin_bench_quiet_window (built with
// TARVIN_BENCH_NO_TIMER) no timer at all, a program that only waits for messages. Built like
// Tarvin.exe (static, MinGW); each runs until it is closed.
#include <windows.h>

namespace {

#ifdef TARVIN_BENCH_NO_TIMER
constexpr wchar_t ClassName[] = L"TarvinBenchQuietWindow";
constexpr bool Polls = false;
#else
constexpr wchar_t ClassName[] = L"TarvinBenchIdleWindow";
constexpr bool Polls = true;
#endif

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
    windowClass.lpszClassName = ClassName;
    if (RegisterClassExW(&windowClass) == 0) {
        return 1;
    }
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"idle window", WS_OVERLAPPEDWINDOW,
                                        CW_USEDEFAULT, CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
    if (window == nullptr || (Polls && SetTimer(window, PollTimer, PollMs, nullptr) == 0)) {
        return 2;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
