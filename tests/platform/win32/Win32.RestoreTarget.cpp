// A stand-in for the first copy of the program: a hidden top-level window of the class given on
// the command line. Like the program's main window it shows itself when it handles the
// bring-forward message, and it appends one line per such message to the record file. It ends when
// its window is closed.
//
// Usage: restore_target CLASS RECORD-FILE
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

constexpr UINT BringForward = 0x0441;

void Append(const std::wstring& recordPath, const std::string& line) {
    const HANDLE file = CreateFileW(recordPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The record path arrives with WM_NCCREATE and stays with the window.
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    const auto* recordPath = reinterpret_cast<const std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case BringForward:
        ShowWindow(window, SW_SHOW);
        if (recordPath != nullptr)
            Append(*recordPath,
                   "bring-forward " + std::to_string(wParam) + " " + std::to_string(lParam) + "\n");
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int main() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count != 3)
        return 2;
    const std::wstring className = args[1];
    std::wstring recordPath = args[2];
    LocalFree(args);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className.c_str();
    if (RegisterClassExW(&wc) == 0)
        return 3;
    const HWND window = CreateWindowExW(0, className.c_str(), L"Restore target", WS_OVERLAPPEDWINDOW, 120,
                                        120, 320, 200, nullptr, nullptr, wc.hInstance, &recordPath);
    if (window == nullptr)
        return 4;
    Append(recordPath, "ready\n");

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
