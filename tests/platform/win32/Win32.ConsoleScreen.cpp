// Shows consoles with known rows for the screen reader's test, in one of three shapes:
//   console_screen classic <ready file>   a console program in a console window of its own
//   console_screen host <ready file> <n>   a terminal-like window that owns n hidden consoles
//                                          (one per tab), each a child console_screen tab
//   console_screen tab <i> <ready file>    one tab: a console with rows naming the tab
// Each writes "<window handle> <pid>" to its ready file once its rows stand, then waits to be
// killed. The rows: a rule, a prompt line whose third cell is drawn in reverse video, an indented
// line, a wide glyph, and the tab's name.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void WriteReady(const std::wstring& path, HWND window) {
    FILE* file = _wfopen((path + L".tmp").c_str(), L"w");
    if (file == nullptr)
        return;
    std::fprintf(file, "%llu %lu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                 GetCurrentProcessId());
    std::fclose(file);
    MoveFileExW((path + L".tmp").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void DrawRows(const std::wstring& name) {
    HANDLE out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(out, &info);
    const SHORT top = info.srWindow.Top;
    const std::vector<std::wstring> rows = {L"\u2500\u2500\u2500\u2500\u2500\u2500", L"\u276F fix the parser",
                                            L"  second line", L"\u5B57 wide", L"tab " + name};
    for (SHORT r = 0; r < static_cast<SHORT>(rows.size()); ++r) {
        DWORD written = 0;
        WriteConsoleOutputCharacterW(out, rows[r].c_str(), static_cast<DWORD>(rows[r].size()),
                                     COORD{0, static_cast<SHORT>(top + r)}, &written);
    }
    const WORD reverse = static_cast<WORD>(info.wAttributes | COMMON_LVB_REVERSE_VIDEO);
    DWORD written = 0;
    WriteConsoleOutputAttribute(out, &reverse, 1, COORD{2, static_cast<SHORT>(top + 1)}, &written);
    SetConsoleTitleW((L"Console " + name).c_str());
    CloseHandle(out);
}

[[noreturn]] void WaitForever() {
    for (;;)
        Sleep(1000);
}

int Classic(const std::wstring& ready) {
    DrawRows(L"classic");
    WriteReady(ready, GetConsoleWindow());
    WaitForever();
}

int Tab(const std::wstring& index, const std::wstring& ready) {
    DrawRows(index);
    WriteReady(ready, GetConsoleWindow());
    WaitForever();
}

std::string ReadAll(const std::wstring& path) {
    std::string content;
    if (FILE* file = _wfopen(path.c_str(), L"r")) {
        char buffer[128];
        while (std::fgets(buffer, sizeof buffer, file))
            content += buffer;
        std::fclose(file);
    }
    return content;
}

int Host(const std::wstring& ready, int tabs) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarvinTestTerminalHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowW(wc.lpszClassName, L"Test terminal", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                              nullptr, wc.hInstance, nullptr);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (int i = 1; i <= tabs; ++i) {
        const std::wstring tabReady = ready + L".tab" + std::to_wstring(i);
        DeleteFileW(tabReady.c_str());
        std::wstring command = L"\"" + std::wstring(self) + L"\" tab " + std::to_wstring(i) + L" \"" + tabReady + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                            &si, &pi))
            return 3;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        std::string line;
        for (int wait = 0; wait < 2000 && (line = ReadAll(tabReady)).empty(); ++wait)
            Sleep(10);
        const HWND console = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoull(line.empty() ? "0" : line)));
        // A tabbed terminal owns its pseudo consoles' windows and keeps them out of sight.
        ShowWindow(console, SW_HIDE);
        SetWindowLongPtrW(console, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(host));
    }
    ShowWindow(host, SW_SHOW);
    WriteReady(ready, host);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"classic" && argc > 2)
        return Classic(argv[2]);
    if (mode == L"tab" && argc > 3)
        return Tab(argv[2], argv[3]);
    if (mode == L"host" && argc > 3)
        return Host(argv[2], _wtoi(argv[3]));
    return 2;
}
