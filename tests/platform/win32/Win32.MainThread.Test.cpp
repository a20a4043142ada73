#include "platform/win32/Win32.MainThread.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace platform::win32 {
namespace {

using test::WaitUntil;

TEST(Win32MainThread, ACallQueuedFromAWorkerRunsOnTheMainThreadWhenMessagesArePumped) {
    TWin32MainThread mainThread;
    const DWORD mainId = GetCurrentThreadId();
    std::atomic<DWORD> ranOn = 0;
    DWORD workerId = 0;
    std::thread([&] {
        workerId = GetCurrentThreadId();
        mainThread.Queue([&] { ranOn = GetCurrentThreadId(); });
    }).join();
    EXPECT_EQ(ranOn, 0u) << "the call must wait for the main thread's message loop";

    ASSERT_TRUE(WaitUntil([&] { return ranOn != 0; }));
    EXPECT_EQ(ranOn, mainId);
    EXPECT_NE(ranOn, workerId);
}

TEST(Win32MainThread, IsMainThreadOnlyOnTheCreatingThread) {
    TWin32MainThread mainThread;
    EXPECT_TRUE(mainThread.IsMainThread());
    bool onWorker = true;
    std::thread([&] { onWorker = mainThread.IsMainThread(); }).join();
    EXPECT_FALSE(onWorker);
}

TEST(Win32MainThread, AThousandCallsFromTwoWorkersArriveOnceEachInEachWorkersOrder) {
    constexpr int Workers = 2;
    constexpr int CallsPerWorker = 500;
    TWin32MainThread mainThread;
    // Written only by the queued calls on this thread; the workers keep queueing while it pumps.
    std::vector<std::pair<int, int>> arrived;
    std::vector<std::jthread> workers;
    for (int w = 0; w < Workers; ++w)
        workers.emplace_back([&mainThread, &arrived, w] {
            for (int n = 0; n < CallsPerWorker; ++n)
                mainThread.Queue([&arrived, w, n] { arrived.emplace_back(w, n); });
        });

    ASSERT_TRUE(
        WaitUntil([&] { return arrived.size() >= static_cast<std::size_t>(Workers * CallsPerWorker); }));
    workers.clear();
    // One more pump once the workers have stopped: anything it delivers would be a call run twice.
    EXPECT_TRUE(WaitUntil([] { return true; }));
    ASSERT_EQ(arrived.size(), static_cast<std::size_t>(Workers * CallsPerWorker));
    std::array<int, Workers> next{};
    for (const auto& [w, n] : arrived) {
        EXPECT_EQ(n, next[w]) << "worker " << w << " lost, repeated or reordered a call";
        next[w] = n + 1;
    }
}

TEST(Win32MainThread, RemoveQueuedDropsOnlyThatOwnersPendingCalls) {
    TWin32MainThread mainThread;
    const int gone = 0;
    const int staying = 0;
    auto held = std::make_shared<int>(0);
    std::vector<int> order;
    mainThread.Queue([&order] { order.push_back(1); }, &staying);
    mainThread.Queue([&order, held] { order.push_back(2); }, &gone);
    mainThread.Queue([&order] { order.push_back(3); });
    mainThread.Queue([&order, held] { order.push_back(4); }, &gone);
    mainThread.Queue([&order] { order.push_back(5); }, &staying);

    std::thread([&] { mainThread.RemoveQueued(&gone); }).join();
    EXPECT_EQ(held.use_count(), 1) << "dropped calls must release their captures at once";

    // The queue is FIFO, so once the last call has run every earlier one has had its turn.
    ASSERT_TRUE(WaitUntil([&] { return !order.empty() && order.back() == 5; }));
    EXPECT_EQ(order, (std::vector<int>{1, 3, 5}));
}

TEST(Win32MainThread, AnObserverRemovedByARunningCallIsNotReachedByItsWaitingCall) {
    TWin32MainThread mainThread;
    auto observer = std::make_unique<int>(0);
    const void* owner = observer.get();
    bool done = false;
    mainThread.Queue([&] {
        mainThread.RemoveQueued(owner);
        observer.reset();
    });
    mainThread.Queue([&] { ++*observer; }, owner);
    mainThread.Queue([&] { done = true; });

    ASSERT_TRUE(WaitUntil([&] { return done; }));
    EXPECT_EQ(observer, nullptr);
}

TEST(Win32MainThread, DestroyingTheQueueRunsNoneOfItsPendingCalls) {
    int ran = 0;
    auto held = std::make_shared<int>(0);
    {
        TWin32MainThread doomed;
        doomed.Queue([&ran, held] { ++ran; });
        std::thread([&] { doomed.Queue([&ran] { ++ran; }); }).join();
    }
    EXPECT_EQ(held.use_count(), 1);

    // The doomed queue's request was posted first, so by the time a newer queue's call has run
    // the stale request has been through the message loop too.
    TWin32MainThread later;
    bool laterRan = false;
    later.Queue([&] { laterRan = true; });
    ASSERT_TRUE(WaitUntil([&] { return laterRan; }));
    EXPECT_EQ(ran, 0);
}

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
