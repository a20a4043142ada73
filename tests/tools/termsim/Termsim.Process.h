#pragma once
// termsim as a process the Windows tests start: its command line, the record it writes, its window
// in front. Killed and its record deleted on every path out of a test.
#include "platform/Platform.Types.h"
#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"
#include "tests/platform/win32/Win32.TestSupport.h"
#include "tools/termsim/Termsim.Record.h"
#include "tools/termsim/Termsim.RecordReader.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace termsim::test {

using TEvents = std::vector<TRecordEvent>;

// Generous: a loaded machine runs several wine processes at once.
inline constexpr auto Timeout = std::chrono::seconds(30);

// The build hands over a Unix path; wine maps the Unix root to drive Z:.
inline std::wstring WindowsPathOf(std::string_view unixPath) {
    return platform::win32::ToWideString(platform::win32::test::WindowsPathOf(unixPath));
}

// One command-line argument, quoted so that CommandLineToArgvW gives it back unchanged.
inline std::wstring Quoted(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

// Waits, with the thread's messages pumped, up to the generous timeout.
template <typename TCondition> bool WaitUntil(TCondition condition) {
    return platform::win32::test::WaitUntil(condition, Timeout);
}

using platform::win32::test::ReadFileShared;

inline std::wstring NewRecordPath() {
    wchar_t folder[MAX_PATH + 1];
    wchar_t path[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    GetTempFileNameW(folder, L"tsm", 0, path);
    return path;
}

// One termsim process and its record file; the process is killed and the file deleted on every
// path out of a test.
class TTermsim {
public:
    explicit TTermsim(const std::vector<std::wstring>& options) : FRecordPath(NewRecordPath()) {
        std::wstring commandLine = Quoted(WindowsPathOf(TERMSIM_EXE)) + L" --record " + Quoted(FRecordPath);
        for (const std::wstring& option : options) {
            commandLine += L" " + Quoted(option);
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (platform::win32::test::CreateProcessRetrying(commandLine, 0, nullptr, startup, process)) {
            FProcess.Reset(process.hProcess);
            platform::win32::TKernelHandle thread(process.hThread);
            FProcessId = process.dwProcessId;
        }
    }

    ~TTermsim() {
        if (FProcess) {
            TerminateProcess(FProcess.Get(), 0);
            WaitForSingleObject(FProcess.Get(), 5000);
        }
        DeleteFileW(FRecordPath.c_str());
    }

    TTermsim(const TTermsim&) = delete;
    TTermsim& operator=(const TTermsim&) = delete;

    DWORD ProcessId() const { return FProcessId; }
    HWND Window() const { return FWindow; }
    platform::TWindowHandle WindowValue() const { return reinterpret_cast<platform::TWindowHandle>(FWindow); }

    TEvents Events() const { return ParseRecord(ReadFileShared(FRecordPath)); }

    bool Exited() const { return WaitForSingleObject(FProcess.Get(), 0) == WAIT_OBJECT_0; }

    // The window is up, has announced itself and has the keyboard focus.
    testing::AssertionResult Start() {
        if (!FProcess) {
            return testing::AssertionFailure() << "CreateProcessW failed with error " << GetLastError();
        }
        const bool announced = WaitUntil([this] {
            for (const TRecordEvent& event : Events()) {
                if (const auto* ready = std::get_if<TReadyEvent>(&event)) {
                    FWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(ready->Window));
                    return true;
                }
            }
            return Exited();
        });
        if (!announced || FWindow == nullptr) {
            return testing::AssertionFailure()
                   << "termsim did not announce its window (exited: " << Exited() << ")";
        }
        if (!WaitUntil([this] { return GetForegroundWindow() == FWindow; })) {
            return testing::AssertionFailure() << "termsim's window did not come to the front";
        }
        FBaseline = Events().size();
        return testing::AssertionSuccess();
    }

    // The events since Start, once there are at least `count` of them or the time is up.
    TEvents WaitForEvents(std::size_t count) const {
        TEvents events;
        WaitUntil([&] {
            events = Events();
            return events.size() >= FBaseline + count;
        });
        return TEvents(events.begin() + static_cast<std::ptrdiff_t>(std::min(FBaseline, events.size())),
                       events.end());
    }

private:
    std::wstring FRecordPath;
    platform::win32::TKernelHandle FProcess;
    DWORD FProcessId = 0;
    HWND FWindow = nullptr;
    std::size_t FBaseline = 0;
};

// Events as record lines, so that a mismatch shows as a line-by-line diff.
inline std::string RecordText(const TEvents& events) {
    std::string text;
    for (const TRecordEvent& event : events) {
        text += FormatRecordLine(event);
    }
    return text;
}

} // namespace termsim::test
