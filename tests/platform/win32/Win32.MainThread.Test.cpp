// What only the real queue does, on a real message loop: other messages keep flowing, a call that
// pumps messages lets the calls behind it run, several queues live side by side. The contract both
// queues keep is in tests/platform/MainThread.Contract.Test.cpp.
#include "platform/win32/Win32.MainThread.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

namespace platform::win32 {
namespace {

using test::WaitUntil;

TEST(Win32MainThread, ACallThatKeepsQueueingItselfLetsOtherMessagesThrough) {
    constexpr UINT Marker = WM_APP + 7;
    TWin32MainThread mainThread;
    int runs = 0;
    int runsWhenMarkerArrived = -1;
    std::function<void()> again = [&] {
        ++runs;
        if (runsWhenMarkerArrived < 0 && runs < 10000)
            mainThread.Queue(again);
    };
    mainThread.Queue(again);
    ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), Marker, 0, 0));

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (runsWhenMarkerArrived < 0 && std::chrono::steady_clock::now() < deadline) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(10);
            continue;
        }
        if (msg.hwnd == nullptr && msg.message == Marker)
            runsWhenMarkerArrived = runs;
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(runsWhenMarkerArrived, 1) << "the re-queued call must wait behind the message posted before it";
    // Let the last re-queued run finish so nothing outlives the captured locals.
    EXPECT_TRUE(WaitUntil([&] { return runs == 2; }));
}

TEST(Win32MainThread, CallsQueuedInsideACallRunWhileThatCallPumpsMessages) {
    // A call that opens a modal loop (a message box, a dialog) must not hold back the calls
    // queued behind it.
    TWin32MainThread mainThread;
    bool innerRan = false;
    bool innerRanBeforeOuterReturned = false;
    bool outerDone = false;
    mainThread.Queue([&] {
        std::thread([&] { mainThread.Queue([&] { innerRan = true; }); }).join();
        innerRanBeforeOuterReturned = WaitUntil([&] { return innerRan; });
        outerDone = true;
    });

    ASSERT_TRUE(WaitUntil([&] { return outerDone; }));
    EXPECT_TRUE(innerRanBeforeOuterReturned);
}

TEST(Win32MainThread, ManyQueuesCanLiveSideBySide) {
    TWin32MainThread first;
    TWin32MainThread second;
    bool firstRan = false;
    bool secondRan = false;
    first.Queue([&] { firstRan = true; });
    second.Queue([&] { secondRan = true; });
    EXPECT_TRUE(WaitUntil([&] { return firstRan && secondRan; }));
}

} // namespace
} // namespace platform::win32
