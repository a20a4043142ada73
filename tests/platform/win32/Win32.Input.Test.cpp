#include "platform/win32/Win32.Platform.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

#include <array>

namespace platform::win32 {
namespace {

using test::WaitUntil;

constexpr std::uint16_t KeyDownBit = 0x8000;

TKeyInput Key(std::uint16_t virtualKey, std::uint32_t flags) {
    TKeyInput record;
    record.wVk = virtualKey;
    record.dwFlags = flags;
    return record;
}

// Lets go of Ctrl however the test ends: a key left down would leak into every later test
// that shares the desktop.
class TCtrlRelease {
public:
    explicit TCtrlRelease(IInput& input) : FInput(input) {}
    ~TCtrlRelease() {
        const std::array up{Key(VK_CONTROL, KeyEventKeyUp)};
        FInput.SendInputBatch(up);
    }
    TCtrlRelease(const TCtrlRelease&) = delete;
    TCtrlRelease& operator=(const TCtrlRelease&) = delete;

private:
    IInput& FInput;
};

TEST(Win32Input, SentCtrlDownShowsInTheAsyncStateAndKeyUpClearsIt) {
    TWin32Input input;
    const TCtrlRelease release(input);

    const std::array down{Key(VK_CONTROL, 0)};
    const TSendInputAnswer pressed = input.SendInputBatch(down);
    EXPECT_EQ(pressed.Inserted, 1u);
    EXPECT_TRUE(WaitUntil([&] { return (input.AsyncKeyState(VK_CONTROL) & KeyDownBit) != 0; }))
        << "Ctrl never showed as down";

    const std::array up{Key(VK_CONTROL, KeyEventKeyUp)};
    const TSendInputAnswer released = input.SendInputBatch(up);
    EXPECT_EQ(released.Inserted, 1u);
    EXPECT_TRUE(WaitUntil([&] { return (input.AsyncKeyState(VK_CONTROL) & KeyDownBit) == 0; }))
        << "Ctrl stayed down after its key-up";
}

TEST(Win32Input, WholeBatchGoesOutInOneCall) {
    TWin32Input input;
    const TCtrlRelease release(input);

    const std::array chord{Key(VK_CONTROL, 0), Key(VK_SHIFT, 0), Key(VK_SHIFT, KeyEventKeyUp),
                           Key(VK_CONTROL, KeyEventKeyUp)};
    const TSendInputAnswer answer = input.SendInputBatch(chord);

    EXPECT_EQ(answer.Inserted, chord.size());
    EXPECT_EQ(answer.LastError, 0u);
}

TEST(Win32Input, EmptyBatchIsNotSent) {
    TWin32Input input;
    // Handed to Windows, an empty batch would fail with ERROR_INVALID_PARAMETER.
    SetLastError(ERROR_ACCESS_DENIED);
    const TSendInputAnswer answer = input.SendInputBatch({});

    EXPECT_EQ(answer.Inserted, 0u);
    EXPECT_EQ(answer.LastError, 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

} // namespace
} // namespace platform::win32
