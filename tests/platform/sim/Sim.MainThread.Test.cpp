// What only the simulated queue does: nothing runs until a test drains it, Drain says how many
// calls ran and refuses to run off the main thread, PendingCount tells what waits, and a throwing
// call stops the drain. The contract both queues keep is in tests/platform/MainThread.Contract.Test.cpp.
#include "platform/sim/Sim.MainThread.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace platform::sim {
namespace {

TEST(SimMainThread, DrainRunsEveryPendingCallAndSaysHowMany) {
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

TEST(SimMainThread, OneDrainRunsWhatEveryWorkerQueued) {
    constexpr int Workers = 4;
    constexpr int CallsPerWorker = 500;
    TSimMainThread mainThread;
    std::size_t arrived = 0;
    {
        std::vector<std::jthread> workers;
        for (int w = 0; w < Workers; ++w)
            workers.emplace_back([&mainThread, &arrived] {
                for (int n = 0; n < CallsPerWorker; ++n)
                    mainThread.Queue([&arrived] { ++arrived; });
            });
    }
    EXPECT_EQ(arrived, 0u);
    EXPECT_EQ(mainThread.Drain(), static_cast<std::size_t>(Workers * CallsPerWorker));
    EXPECT_EQ(arrived, static_cast<std::size_t>(Workers * CallsPerWorker));
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

TEST(SimMainThread, RemoveQueuedTakesOnlyThatOwnersCallsOffThePendingCount) {
    TSimMainThread mainThread;
    const int gone = 0;
    const int staying = 0;
    const int other = 0;
    const void* const owners[] = {&staying, &gone, nullptr, &gone, &staying};
    for (const void* owner : owners)
        mainThread.Queue([] {}, owner);

    mainThread.RemoveQueued(&other);
    EXPECT_EQ(mainThread.PendingCount(), 5u);
    mainThread.RemoveQueued(&gone);
    EXPECT_EQ(mainThread.PendingCount(), 3u);
    EXPECT_EQ(mainThread.Drain(), 3u);
}

TEST(SimMainThread, DrainCountsOnlyTheCallsThatRanAlsoThoseQueuedWhileItRuns) {
    TSimMainThread mainThread;
    auto observer = std::make_unique<int>(0);
    const void* owner = observer.get();
    mainThread.Queue([] {}, owner);
    mainThread.Queue([&] {
        mainThread.RemoveQueued(owner);
        observer.reset();
        mainThread.Queue([] {}); // runs in this same drain
    });
    mainThread.Queue([&] { ++*observer; }, owner);

    EXPECT_EQ(mainThread.Drain(), 3u);
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

TEST(SimMainThread, AnEmptyCallIsNotEvenPending) {
    TSimMainThread mainThread;
    mainThread.Queue(std::function<void()>{});
    EXPECT_EQ(mainThread.PendingCount(), 0u);
    EXPECT_EQ(mainThread.Drain(), 0u);
}

} // namespace
} // namespace platform::sim
