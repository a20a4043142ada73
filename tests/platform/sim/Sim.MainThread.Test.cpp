#include "platform/sim/Sim.MainThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace platform::sim {
namespace {

TEST(SimMainThread, DrainRunsCallsInTheOrderTheyWereQueued) {
    TSimMainThread mainThread;
    std::vector<int> order;
    for (int i = 0; i < 5; ++i)
        mainThread.Queue([&order, i] { order.push_back(i); });

    EXPECT_TRUE(order.empty()) << "queueing must not run anything";
    EXPECT_EQ(mainThread.PendingCount(), 5u);
    EXPECT_EQ(mainThread.Drain(), 5u);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(mainThread.PendingCount(), 0u);
    EXPECT_EQ(mainThread.Drain(), 0u);
}

TEST(SimMainThread, CallsFromFourWorkersEachArriveExactlyOnceAndInEachWorkersOrder) {
    constexpr int Workers = 4;
    constexpr int CallsPerWorker = 500;
    TSimMainThread mainThread;
    std::vector<std::pair<int, int>> arrived; // touched only by the draining main thread
    {
        std::vector<std::jthread> workers;
        for (int w = 0; w < Workers; ++w)
            workers.emplace_back([&mainThread, &arrived, w] {
                for (int n = 0; n < CallsPerWorker; ++n)
                    mainThread.Queue([&arrived, w, n] { arrived.emplace_back(w, n); });
            });
    }
    EXPECT_TRUE(arrived.empty());
    EXPECT_EQ(mainThread.Drain(), static_cast<std::size_t>(Workers * CallsPerWorker));

    ASSERT_EQ(arrived.size(), static_cast<std::size_t>(Workers * CallsPerWorker));
    std::array<int, Workers> next{};
    for (const auto& [w, n] : arrived) {
        EXPECT_EQ(n, next[w]) << "worker " << w << " lost, repeated or reordered a call";
        next[w] = n + 1;
    }
    EXPECT_TRUE(std::all_of(next.begin(), next.end(), [](int n) { return n == CallsPerWorker; }));
}

TEST(SimMainThread, IsMainThreadOnlyOnTheConstructingThread) {
    TSimMainThread mainThread;
    EXPECT_TRUE(mainThread.IsMainThread());
    bool onWorker = true;
    std::thread([&] { onWorker = mainThread.IsMainThread(); }).join();
    EXPECT_FALSE(onWorker);

    bool inQueuedCall = false;
    mainThread.Queue([&] { inQueuedCall = mainThread.IsMainThread(); });
    mainThread.Drain();
    EXPECT_TRUE(inQueuedCall);
}

TEST(SimMainThread, DrainOffTheMainThreadIsRefusedAndRunsNothing) {
    TSimMainThread mainThread;
    bool ran = false;
    mainThread.Queue([&] { ran = true; });
    bool refused = false;
    std::thread([&] {
        try {
            mainThread.Drain();
        } catch (const std::logic_error&) {
            refused = true;
        }
    }).join();
    EXPECT_TRUE(refused);
    EXPECT_FALSE(ran);
    EXPECT_EQ(mainThread.PendingCount(), 1u);
}

TEST(SimMainThread, RemoveQueuedDropsOnlyThatOwnersEntriesAndReleasesWhatTheyHeld) {
    TSimMainThread mainThread;
    const int gone = 0;
    const int staying = 0;
    auto held = std::make_shared<int>(0);
    std::vector<int> order;
    mainThread.Queue([&order] { order.push_back(1); }, &staying);
    mainThread.Queue([&order, held] { order.push_back(2); }, &gone);
    mainThread.Queue([&order] { order.push_back(3); });
    mainThread.Queue([&order, held] { order.push_back(4); }, &gone);
    mainThread.Queue([&order] { order.push_back(5); }, &staying);
    ASSERT_EQ(held.use_count(), 3);

    mainThread.RemoveQueued(&gone);
    EXPECT_EQ(mainThread.PendingCount(), 3u);
    EXPECT_EQ(held.use_count(), 1) << "dropped calls must release their captures at once";

    EXPECT_EQ(mainThread.Drain(), 3u);
    EXPECT_EQ(order, (std::vector<int>{1, 3, 5}));
}

TEST(SimMainThread, RemoveQueuedOfAnOwnerWithNothingQueuedChangesNothing) {
    TSimMainThread mainThread;
    const int owner = 0;
    const int other = 0;
    mainThread.Queue([] {}, &owner);
    mainThread.Queue([] {});
    mainThread.RemoveQueued(&other);
    EXPECT_EQ(mainThread.PendingCount(), 2u);
}

TEST(SimMainThread, AnOwnerRemovedByAnEarlierCallOfTheSameDrainIsNotCalledAgain) {
    // An observer unregistered and destroyed by one queued call must not be reached by the
    // next one that was already waiting.
    TSimMainThread mainThread;
    auto observer = std::make_unique<int>(0);
    const void* owner = observer.get();
    int calls = 0;
    mainThread.Queue([&] { ++calls; }, owner);
    mainThread.Queue([&] {
        mainThread.RemoveQueued(owner);
        observer.reset();
    });
    mainThread.Queue([&] { ++*observer; }, owner);

    EXPECT_EQ(mainThread.Drain(), 2u);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(observer, nullptr);
}

TEST(SimMainThread, ACallQueuedDuringADrainRunsInTheSameDrainAfterTheWaitingOnes) {
    TSimMainThread mainThread;
    std::vector<int> order;
    mainThread.Queue([&] {
        order.push_back(1);
        mainThread.Queue([&] { order.push_back(3); });
    });
    mainThread.Queue([&] { order.push_back(2); });

    EXPECT_EQ(mainThread.Drain(), 3u);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(mainThread.PendingCount(), 0u);
}

TEST(SimMainThread, AThrowingCallStopsTheDrainAndLeavesTheRestQueued) {
    TSimMainThread mainThread;
    bool later = false;
    mainThread.Queue([] { throw std::runtime_error("boom"); });
    mainThread.Queue([&] { later = true; });

    EXPECT_THROW(mainThread.Drain(), std::runtime_error);
    EXPECT_FALSE(later);
    EXPECT_EQ(mainThread.PendingCount(), 1u);
    EXPECT_EQ(mainThread.Drain(), 1u);
    EXPECT_TRUE(later);
}

TEST(SimMainThread, AnEmptyCallIsIgnored) {
    TSimMainThread mainThread;
    mainThread.Queue(std::function<void()>{});
    EXPECT_EQ(mainThread.PendingCount(), 0u);
    EXPECT_EQ(mainThread.Drain(), 0u);
}

TEST(SimMainThread, DestroyingTheQueueRunsNoneOfThePendingCalls) {
    bool ran = false;
    auto held = std::make_shared<int>(0);
    {
        TSimMainThread mainThread;
        mainThread.Queue([&ran, held] { ran = true; });
    }
    EXPECT_FALSE(ran);
    EXPECT_EQ(held.use_count(), 1);
}

} // namespace
} // namespace platform::sim
