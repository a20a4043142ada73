#pragma once
// Helpers for the tests that run against the real system under Wine: waiting for a condition
// while the thread's messages are pumped, test windows, a scratch folder, and the files the build
// and other processes hand over.
#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace platform::win32::test {

// The build hands over a Unix path; wine maps the Unix root to drive Z:.
inline std::u16string WindowsPathOf(std::string_view unixPath) {
    std::u16string path = u"Z:";
    for (const char c : unixPath)
        path += c == '/' ? u'\\' : static_cast<char16_t>(c);
    return path;
}

// Wide text as UTF-8, for a failure message.
inline std::string Utf8Of(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr,
                        nullptr);
    return utf8;
}

// A whole file that another process may still be writing.
inline std::string ReadFileShared(const std::wstring& path) {
    const TKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string content;
    if (!file)
        return content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    return content;
}

// CreateProcessW for the tests' helper programs. Under a busy wine it now and then fails with
// ERROR_INTERNAL_ERROR while another process starts or ends at the same moment; that start is
// made again, a few times, before the failure is the test's.
inline BOOL CreateProcessRetrying(std::wstring CommandLine, DWORD Flags, const wchar_t* Folder,
                                  STARTUPINFOW& Startup, PROCESS_INFORMATION& Process) {
    for (int attempt = 1;; ++attempt) {
        std::wstring command = CommandLine; // CreateProcessW may write into it
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, Flags, nullptr, Folder, &Startup,
                           &Process))
            return TRUE;
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 5)
            return FALSE;
        Sleep(static_cast<DWORD>(50 * attempt));
    }
}

// True as soon as `condition` holds; false when it still does not after `timeout`.
template <typename TCondition>
bool WaitUntil(TCondition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        Sleep(10);
    }
}

// A window class registered for the lifetime of the object.
class TTestWindowClass {
public:
    explicit TTestWindowClass(std::wstring name) : FName(std::move(name)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = FName.c_str();
        FAtom = RegisterClassExW(&wc);
    }
    ~TTestWindowClass() {
        if (FAtom != 0)
            UnregisterClassW(FName.c_str(), GetModuleHandleW(nullptr));
    }
    TTestWindowClass(const TTestWindowClass&) = delete;
    TTestWindowClass& operator=(const TTestWindowClass&) = delete;

    bool Registered() const { return FAtom != 0; }
    const std::wstring& Name() const { return FName; }

private:
    std::wstring FName;
    ATOM FAtom = 0;
};

// A top-level window, destroyed with the object unless destroyed earlier. Only a window that must
// come to the front is shown: without a window manager, Wine waits two seconds for every shown
// window to be taken down again.
class TTestWindow {
public:
    enum class TShow { Hidden, Visible };

    TTestWindow(const TTestWindowClass& windowClass, const std::wstring& title, TShow show = TShow::Hidden)
        : FHandle(CreateWindowExW(0, windowClass.Name().c_str(), title.c_str(),
                                  WS_OVERLAPPEDWINDOW | (show == TShow::Visible ? WS_VISIBLE : 0), 100, 100,
                                  320, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
    ~TTestWindow() { Destroy(); }
    TTestWindow(const TTestWindow&) = delete;
    TTestWindow& operator=(const TTestWindow&) = delete;

    HWND Handle() const { return FHandle; }
    std::uintptr_t Value() const { return reinterpret_cast<std::uintptr_t>(FHandle); }
    void Destroy() {
        if (FHandle != nullptr)
            DestroyWindow(std::exchange(FHandle, nullptr));
    }

private:
    HWND FHandle = nullptr;
};

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TScratchFolder {
public:
    TScratchFolder() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        FPath = std::filesystem::path(temp) / (L"tarvin-win32-" + std::to_wstring(GetCurrentProcessId()) +
                                               L"-" + std::to_wstring(GetTickCount64()));
        std::filesystem::create_directories(FPath);
    }
    ~TScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // `name` inside the folder, as the platform interfaces take paths.
    std::u16string operator/(const std::wstring& name) const { return FromWide((FPath / name).wstring()); }
    std::u16string Self() const { return FromWide(FPath.wstring()); }

private:
    std::filesystem::path FPath;
};

} // namespace platform::win32::test
