#include "app/Tarvin.Sender.h"
#include "platform/win32/Win32.Platform.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

#include <array>

namespace tarvin {
namespace {

using platform::win32::test::WaitUntil;

// Lets go of every modifier however the test ends: a key left down would leak into every later
// test that shares the desktop.
class TModifierRelease {
public:
    explicit TModifierRelease(platform::IInput& input) : FInput(input) {}
    ~TModifierRelease() { ReleaseModifiers(FInput); }
    TModifierRelease(const TModifierRelease&) = delete;
    TModifierRelease& operator=(const TModifierRelease&) = delete;

private:
    platform::IInput& FInput;
};

TEST(Win32Sender, ModifierHeldBySyntheticCtrlIsSeenUntilReleaseModifiers) {
    platform::win32::TWin32Input input;
    const TModifierRelease release(input);
    ASSERT_TRUE(WaitUntil([&] { return !AnyModifierDown(input); })) << "a modifier was already down";

    const std::array ctrlDown{MakeKeyInput(VkControl, 0, 0)};
    const TSendResult pressed = SendInputs(input, ctrlDown);
    ASSERT_TRUE(SendSucceeded(pressed)) << pressed.ErrorCode;
    EXPECT_TRUE(WaitUntil([&] { return AnyModifierDown(input); })) << "the held Ctrl was never seen";

    ReleaseModifiers(input);
    EXPECT_TRUE(WaitUntil([&] { return !AnyModifierDown(input); })) << "a modifier stayed down";
}

} // namespace
} // namespace tarvin
