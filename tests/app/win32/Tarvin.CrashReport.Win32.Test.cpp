// The crash reporter in a process of its own that really fails: the report, the minidump and the
// notice must all be there afterwards.
#include "platform/win32/Win32.Handles.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using platform::win32::TKernelHandle;
using platform::win32::test::TScratchFolder;

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::filesystem::path TargetExe() {
    wchar_t self[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH + 1);
    return std::filesystem::path(self).parent_path() / L"tarvin_crash_target.exe";
}

struct TCrashRun {
    DWORD ExitCode = 0;
    std::uint64_t EndedAt = 0; // when the wait saw the target end, in 100 ns units since 1601
    std::vector<std::filesystem::path> Reports;
    std::vector<std::filesystem::path> Dumps;
    std::string Notice;
};

// Runs the target to its end; a generous wait, since Wine starts a process slowly.
testing::AssertionResult RunTarget(const std::wstring& mode, const TScratchFolder& folder, TCrashRun& run) {
    std::wstring commandLine =
        L"\"" + TargetExe().wstring() + L"\" " + mode + L" \"" + folder.Path().wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!platform::win32::test::CreateProcessRetrying(commandLine, 0, nullptr, startup, process)) {
        return testing::AssertionFailure() << "CreateProcessW failed with error " << GetLastError();
    }
    const TKernelHandle processHandle(process.hProcess);
    const TKernelHandle thread(process.hThread);
    if (WaitForSingleObject(processHandle.Get(), 120000) != WAIT_OBJECT_0) {
        TerminateProcess(processHandle.Get(), 1);
        return testing::AssertionFailure() << "the target did not end";
    }
    FILETIME ended{};
    GetSystemTimeAsFileTime(&ended);
    run.EndedAt = (static_cast<std::uint64_t>(ended.dwHighDateTime) << 32) | ended.dwLowDateTime;
    GetExitCodeProcess(processHandle.Get(), &run.ExitCode);
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        const std::wstring name = entry.path().filename().wstring();
        if (name.rfind(L"Tarvin-crash-", 0) == 0 && entry.path().extension() == L".txt")
            run.Reports.push_back(entry.path());
        if (name.rfind(L"Tarvin-crash-", 0) == 0 && entry.path().extension() == L".dmp")
            run.Dumps.push_back(entry.path());
    }
    run.Notice = ReadAll(folder.Path() / L"notice.log");
    return testing::AssertionSuccess();
}

void ExpectOneReportWithDump(const TCrashRun& run, const std::vector<std::string>& reportLines,
                             const std::string& noticeLine) {
    ASSERT_EQ(run.Reports.size(), 1u);
    ASSERT_EQ(run.Dumps.size(), 1u);
    const std::string report = ReadAll(run.Reports[0]);
    for (const std::string& line : reportLines)
        EXPECT_NE(report.find(line), std::string::npos) << "missing " << line << " in\n" << report;
    EXPECT_NE(report.find("Minidump: " + run.Dumps[0].filename().string()), std::string::npos) << report;
    // A minidump starts with its signature "MDMP" and holds at least the thread list.
    const std::string dump = ReadAll(run.Dumps[0]);
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
    EXPECT_GT(dump.size(), 1000u);

    EXPECT_EQ(run.Notice.rfind("Tarvin\n", 0), 0u) << run.Notice;
    EXPECT_NE(run.Notice.find(run.Reports[0].string()), std::string::npos) << run.Notice;
    EXPECT_NE(run.Notice.find(run.Dumps[0].string()), std::string::npos) << run.Notice;
    EXPECT_NE(run.Notice.find(noticeLine), std::string::npos) << run.Notice;
}

// Each way of failing: the target's exit code, what its report must say and what the user is told.
struct TFailure {
    const wchar_t* Mode;
    DWORD ExitCode;
    std::vector<std::string> ReportLines;
    std::string NoticeLine;
};

TEST(CrashReporterOnWindows, EachUnhandledFailureLeavesReportDumpAndNotice) {
    const TFailure failures[] = {
        // The filter reports it and lets the process end with the exception's code.
        {L"access-violation",
         static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION),
         {"Product: Tarvin\r\n", "Version: 9.8.7.6\r\n",
          "Exception: EXCEPTION_ACCESS_VIOLATION (0xC0000005)\r\n",
          "Message: The program tried to write to address 0x0000000000000000.\r\n", "Address: 0x", "Time: 2"},
         "has to close"},
        // The application's exception handler reports it; the program goes on and ends normally.
        {L"ui-throw",
         0,
         {"Product: Tarvin\r\n", "Version: 9.8.7.6\r\n", "Exception: C++ exception std::runtime_error\r\n",
          "Message: handler failed on purpose\r\n"},
         "keeps running"},
        // std::terminate reports it and ends the process with 3.
        {L"terminate",
         3,
         {"Product: Tarvin\r\n", "Exception: C++ exception std::logic_error\r\n",
          "Message: nobody caught this\r\n"},
         "has to close"},
    };
    for (const TFailure& failure : failures) {
        SCOPED_TRACE(std::filesystem::path(failure.Mode).string());
        TScratchFolder folder;
        TCrashRun run;
        ASSERT_TRUE(RunTarget(failure.Mode, folder, run));
        EXPECT_EQ(run.ExitCode, failure.ExitCode);
        ExpectOneReportWithDump(run, failure.ReportLines, failure.NoticeLine);
    }
}

// Once the reporter is gone the trap is handed back: an exception nothing caught takes the
// runtime's own way out (abort, exit code 3) and finds no reporter, so nothing is written.
TEST(CrashReporterOnWindows, AfterTheReporterIsGoneAFailureLeavesNoReport) {
    TScratchFolder folder;
    TCrashRun run;
    ASSERT_TRUE(RunTarget(L"after-reporter", folder, run));
    EXPECT_EQ(run.ExitCode, 3u);
    EXPECT_TRUE(run.Reports.empty());
    EXPECT_TRUE(run.Dumps.empty());
    EXPECT_TRUE(run.Notice.empty()) << run.Notice;
}

// A failure after the process heap broke, and one inside the broken heap while it holds its lock:
// the report must need neither that heap nor a thread made at crash time, and the process must end
// within the trap's limit of 10 s rather than hang. The target notes the time just before it breaks
// the heap; the wait for it is generous, so that a hang shows as a failure of its own.
TEST(CrashReporterOnWindows, AFailureWithTheProcessHeapBrokenIsReportedAndEndsInTime) {
    for (const wchar_t* mode : {L"heap-corruption", L"heap-fault"}) {
        SCOPED_TRACE(std::filesystem::path(mode).string());
        TScratchFolder folder;
        TCrashRun run;
        ASSERT_TRUE(RunTarget(mode, folder, run));
        EXPECT_EQ(run.ExitCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
        ExpectOneReportWithDump(
            run, {"Product: Tarvin\r\n", "Exception: EXCEPTION_ACCESS_VIOLATION (0xC0000005)\r\n"},
            "has to close");
        const std::string faultTime = ReadAll(folder.Path() / L"fault-time.txt");
        ASSERT_FALSE(faultTime.empty());
        const std::uint64_t faultedAt = std::stoull(faultTime);
        constexpr std::uint64_t TenSeconds = 10ull * 1000 * 1000 * 10;
        EXPECT_LT(run.EndedAt - faultedAt, TenSeconds)
            << "ended " << (run.EndedAt - faultedAt) / 10000 << " ms after the fault";
    }
}

} // namespace
