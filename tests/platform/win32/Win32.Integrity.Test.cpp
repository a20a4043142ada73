#include "platform/win32/Win32.Platform.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace platform::win32 {
namespace {

// Process IDs are multiples of 4 and Windows ignores the two low bits, so this one is taken
// from the top of the range, far above any ID a test prefix hands out.
constexpr TProcessId AbsentPid = 0x7FFFFFF0u;

TEST(Win32Integrity, OwnLevelIsKnownAndReadAgainThroughTheProcessId) {
    TWin32Integrity integrity;
    const std::uint32_t own = integrity.OwnIntegrityLevel();

    EXPECT_NE(own, UnknownIntegrityLevel);
    EXPECT_EQ(integrity.ProcessIntegrityLevel(GetCurrentProcessId()), own);
}

TEST(Win32Integrity, ProcessZeroAndAnAbsentProcessAreUnknown) {
    const HANDLE absent = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, AbsentPid);
    if (absent != nullptr)
        CloseHandle(absent);
    ASSERT_EQ(absent, nullptr) << "a process with the test's absent ID exists";

    TWin32Integrity integrity;
    EXPECT_EQ(integrity.ProcessIntegrityLevel(0), UnknownIntegrityLevel);
    EXPECT_EQ(integrity.ProcessIntegrityLevel(AbsentPid), UnknownIntegrityLevel);
}

} // namespace
} // namespace platform::win32
