#pragma once
// Tarvin.exe as the Windows end-to-end tests and the demonstration run it: a portable copy in a
// scratch folder (its INI beside it), its main window found by the single-instance class, its log
// box and INI read back, and hotkeys pressed as a keyboard presses them.
#include "platform/win32/Win32.Handles.h"
#include "tests/platform/win32/Win32.TestSupport.h"
#include "tests/tools/termsim/Termsim.Process.h"
#include "tools/termsim/Termsim.RecordReader.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace tarvin::test {

using termsim::test::WaitUntil;
using termsim::test::WindowsPathOf;

inline constexpr wchar_t MainWindowClass[] = L"TarvinWndClass";

inline INPUT KeyRecord(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Ctrl+Alt+Key pressed and let go in one batch, modifiers first, as fingers do it.
inline bool PressCtrlAlt(WORD Key) {
    std::array<INPUT, 6> records = {KeyRecord(VK_CONTROL, false), KeyRecord(VK_MENU, false),
                                    KeyRecord(Key, false),        KeyRecord(Key, true),
                                    KeyRecord(VK_MENU, true),     KeyRecord(VK_CONTROL, true)};
    return SendInput(static_cast<UINT>(records.size()), records.data(), sizeof(INPUT)) == records.size();
}

// True while some other program holds Ctrl+Alt+Key: this process cannot register it. A chord it
// could register is given back at once.
inline bool ChordTaken(WORD Key) {
    constexpr int ProbeId = 0x7A11;
    if (RegisterHotKey(nullptr, ProbeId, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, Key)) {
        UnregisterHotKey(nullptr, ProbeId);
        return false;
    }
    return true;
}

// The text of a window in another process, without hanging on a busy one.
inline std::wstring WindowText(HWND Window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(Window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(Window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

// The messages of a log box text, without their time stamps ("12:01:02  message").
inline std::vector<std::wstring> LogMessages(const std::wstring& Text) {
    std::vector<std::wstring> messages;
    std::size_t start = 0;
    while (start < Text.size()) {
        std::size_t end = Text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            end = Text.size();
        }
        const std::wstring line = Text.substr(start, end - start);
        const std::size_t gap = line.find(L"  ");
        if (!line.empty()) {
            messages.push_back(gap == std::wstring::npos ? line : line.substr(gap + 2));
        }
        start = end + 2;
    }
    return messages;
}

// One portable Tarvin in its own folder. Further copies of the same folder's exe can be started
// with StartCopy; every process is ended on every path out of a test.
class TTarvin {
public:
    // IniText, when given, is the INI file the copy finds at start (UTF-8); without it the start
    // is a first run.
    explicit TTarvin(const std::optional<std::string>& IniText = std::nullopt) {
        std::filesystem::copy_file(WindowsPathOf(TARVIN_EXE), Exe());
        std::ofstream(Folder.Path() / L"portable.marker") << "";
        if (IniText) {
            std::ofstream(IniPath(), std::ios::binary) << *IniText;
        }
    }
    ~TTarvin() {
        for (platform::win32::TKernelHandle& process : FProcesses) {
            if (WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0) {
                TerminateProcess(process.Get(), 1);
                WaitForSingleObject(process.Get(), 5000);
            }
        }
    }
    TTarvin(const TTarvin&) = delete;
    TTarvin& operator=(const TTarvin&) = delete;

    std::filesystem::path Exe() const { return Folder.Path() / L"Tarvin.exe"; }
    std::filesystem::path IniPath() const { return Folder.Path() / L"Tarvin.ini"; }

    // Starts the first copy and waits until its start-up lines are in the log box.
    testing::AssertionResult Start() {
        if (!StartCopy()) {
            return testing::AssertionFailure() << "CreateProcessW failed with error " << GetLastError();
        }
        if (!WaitUntil([this] { return LogHas(L"Tarvin started."); })) {
            return testing::AssertionFailure()
                   << "Tarvin did not write its start-up lines (exited: " << Exited(0) << ")";
        }
        return testing::AssertionSuccess();
    }

    // Starts one more process of the exe; its index for Exited and ExitCode.
    bool StartCopy() {
        std::wstring commandLine = termsim::test::Quoted(Exe().wstring());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!platform::win32::test::CreateProcessRetrying(commandLine, 0, Folder.Path().c_str(), startup,
                                                          process)) {
            return false;
        }
        FProcesses.emplace_back(process.hProcess);
        platform::win32::TKernelHandle thread(process.hThread);
        return true;
    }

    bool Exited(std::size_t Copy) const {
        return Copy < FProcesses.size() && WaitForSingleObject(FProcesses[Copy].Get(), 0) == WAIT_OBJECT_0;
    }
    std::optional<DWORD> ExitCode(std::size_t Copy) const {
        DWORD code = 0;
        if (!Exited(Copy) || !GetExitCodeProcess(FProcesses[Copy].Get(), &code)) {
            return std::nullopt;
        }
        return code;
    }

    // The main window; hidden ones count.
    static HWND Window() { return FindWindowW(MainWindowClass, nullptr); }

    // The log box: the multi-line edit control of the main window.
    static HWND LogBox() {
        HWND found = nullptr;
        EnumChildWindows(
            Window(),
            [](HWND child, LPARAM result) {
                wchar_t name[32] = {};
                GetClassNameW(child, name, 32);
                if (lstrcmpiW(name, L"EDIT") == 0 && (GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE) != 0) {
                    *reinterpret_cast<HWND*>(result) = child;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
    static std::vector<std::wstring> LogLines() {
        const HWND box = LogBox();
        return box == nullptr ? std::vector<std::wstring>{} : LogMessages(WindowText(box));
    }
    static bool LogHas(const std::wstring& Start) {
        for (const std::wstring& line : LogLines()) {
            if (line.starts_with(Start)) {
                return true;
            }
        }
        return false;
    }

    std::string Ini() const { return termsim::test::ReadFileShared(IniPath().wstring()); }

    // Closes the main window as the tray menu's Exit does and waits for the first copy to end.
    testing::AssertionResult Close() {
        const HWND window = Window();
        if (window == nullptr || !PostMessageW(window, WM_CLOSE, 0, 0)) {
            return testing::AssertionFailure() << "no main window to close";
        }
        if (!WaitUntil([this] { return Exited(0); })) {
            return testing::AssertionFailure() << "Tarvin did not end after its window was closed";
        }
        return testing::AssertionSuccess();
    }

    platform::win32::test::TScratchFolder Folder;

private:
    std::vector<platform::win32::TKernelHandle> FProcesses;
};

} // namespace tarvin::test
