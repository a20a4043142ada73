// The contract of platform::IMainThread, one typed test over every backend this build has: the
// simulated queue (a test drains it) and, in the Windows build, the real one (a message loop runs
// it). What only one backend does is tested beside it (Sim.MainThread.Test.cpp,
// Win32.MainThread.Test.cpp).
#include "platform/sim/Sim.MainThread.h"
#if defined(_WIN32)
#include "platform/win32/Win32.MainThread.h"
#include "tests/platform/win32/Win32.TestSupport.h"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform {
namespace {

// How each backend gets its queued calls run on this, the main thread: RunUntil runs them until
// Condition holds, and is false if it still does not after a generous wait.
struct TSimBackend {
    using TQueue = sim::TSimMainThread;
    static bool RunUntil(TQueue& Queue, const std::function<bool()>& Condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            Queue.Drain();
            if (Condition()) {
                return true;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::yield(); // workers may still be queueing
        }
    }
};

#if defined(_WIN32)
struct TWin32Backend {
    using TQueue = win32::TWin32MainThread;
    static bool RunUntil(TQueue&, const std::function<bool()>& Condition) {
        return win32::test::WaitUntil(Condition);
    }
};
using TBackends = ::testing::Types<TSimBackend, TWin32Backend>;
#else
using TBackends = ::testing::Types<TSimBackend>;
#endif

class TBackendNames {
public:
    template <class T> static std::string GetName(int) {
        if constexpr (std::is_same_v<T, TSimBackend>) {
            return "Sim";
        } else {
            return "Win32";
        }
    }
};

template <class TBackend> class MainThreadContract : public ::testing::Test {
protected:
    using TQueue = typename TBackend::TQueue;
    bool RunUntil(TQueue& Queue, const std::function<bool()>& Condition) {
        return TBackend::RunUntil(Queue, Condition);
    }
};
TYPED_TEST_SUITE(MainThreadContract, TBackends, TBackendNames);

TYPED_TEST(MainThreadContract, CallsRunOnlyWhenTheMainThreadRunsThemAndInTheOrderQueued) {
    typename TestFixture::TQueue queue;
    std::vector<int> order;
    for (int i = 0; i < 5; ++i) {
        queue.Queue([&order, i] { order.push_back(i); });
    }
    EXPECT_TRUE(order.empty()) << "queueing must not run anything";
    ASSERT_TRUE(this->RunUntil(queue, [&] { return order.size() == 5; }));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TYPED_TEST(MainThreadContract, CallsFromWorkersArriveOnceEachAndInEachWorkersOrder) {
    constexpr int Workers = 4;
    constexpr int CallsPerWorker = 500;
    constexpr std::size_t All = Workers * CallsPerWorker;
    typename TestFixture::TQueue queue;
    // Written only by the queued calls on this thread, while the workers keep queueing.
    std::vector<std::pair<int, int>> arrived;
    std::vector<std::jthread> workers;
    for (int w = 0; w < Workers; ++w) {
        workers.emplace_back([&queue, &arrived, w] {
            for (int n = 0; n < CallsPerWorker; ++n) {
                queue.Queue([&arrived, w, n] { arrived.emplace_back(w, n); });
            }
        });
    }
    ASSERT_TRUE(this->RunUntil(queue, [&] { return arrived.size() >= All; }));
    workers.clear();
    // Once more after the workers stopped: anything it runs would be a call run twice.
    EXPECT_TRUE(this->RunUntil(queue, [] { return true; }));
    ASSERT_EQ(arrived.size(), All);
    std::array<int, Workers> next{};
    for (const auto& [w, n] : arrived) {
        EXPECT_EQ(n, next[static_cast<std::size_t>(w)])
            << "worker " << w << " lost, repeated or reordered a call";
        next[static_cast<std::size_t>(w)] = n + 1;
    }
    EXPECT_TRUE(std::all_of(next.begin(), next.end(), [](int n) { return n == CallsPerWorker; }));
}

TYPED_TEST(MainThreadContract, ACallQueuedByAWorkerRunsOnTheConstructingThread) {
    typename TestFixture::TQueue queue;
    EXPECT_TRUE(queue.IsMainThread());
    bool onWorker = true;
    std::thread::id workerId;
    bool ran = false;
    bool inQueuedCall = false;
    std::thread::id ranOn;
    std::thread([&] {
        workerId = std::this_thread::get_id();
        onWorker = queue.IsMainThread();
        queue.Queue([&] {
            inQueuedCall = queue.IsMainThread();
            ranOn = std::this_thread::get_id();
            ran = true;
        });
    }).join();
    EXPECT_FALSE(onWorker);
    EXPECT_FALSE(ran) << "the call must wait for the main thread";

    ASSERT_TRUE(this->RunUntil(queue, [&] { return ran; }));
    EXPECT_TRUE(inQueuedCall);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_NE(ranOn, workerId);
}

TYPED_TEST(MainThreadContract, RemoveQueuedDropsOnlyThatOwnersCallsAndReleasesWhatTheyHeld) {
    typename TestFixture::TQueue queue;
    const int gone = 0;
    const int staying = 0;
    auto held = std::make_shared<int>(0);
    std::vector<int> order;
    queue.Queue([&order] { order.push_back(1); }, &staying);
    queue.Queue([&order, held] { order.push_back(2); }, &gone);
    queue.Queue([&order] { order.push_back(3); });
    queue.Queue([&order, held] { order.push_back(4); }, &gone);
    queue.Queue([&order] { order.push_back(5); }, &staying);
    ASSERT_EQ(held.use_count(), 3);

    std::thread([&] { queue.RemoveQueued(&gone); }).join(); // safe from any thread
    EXPECT_EQ(held.use_count(), 1) << "dropped calls must release their captures at once";

    // The queue keeps its order, so once the last call ran every earlier one had its turn.
    ASSERT_TRUE(this->RunUntil(queue, [&] { return !order.empty() && order.back() == 5; }));
    EXPECT_EQ(order, (std::vector<int>{1, 3, 5}));
}

TYPED_TEST(MainThreadContract, RemoveQueuedOfAnOwnerWithNothingQueuedDropsNothing) {
    typename TestFixture::TQueue queue;
    const int owner = 0;
    const int other = 0;
    int ran = 0;
    queue.Queue([&] { ++ran; }, &owner);
    queue.Queue([&] { ++ran; });
    queue.RemoveQueued(&other);
    EXPECT_TRUE(this->RunUntil(queue, [&] { return ran == 2; }));
}

TYPED_TEST(MainThreadContract, AnOwnerRemovedByARunningCallIsNotReachedByItsWaitingCall) {
    // An observer unregistered and destroyed by one queued call must not be reached by the next
    // one that was already waiting.
    typename TestFixture::TQueue queue;
    auto observer = std::make_unique<int>(0);
    const void* owner = observer.get();
    int calls = 0;
    bool done = false;
    queue.Queue([&] { ++calls; }, owner);
    queue.Queue([&] {
        queue.RemoveQueued(owner);
        observer.reset();
    });
    queue.Queue([&] { ++*observer; }, owner);
    queue.Queue([&] { done = true; });

    ASSERT_TRUE(this->RunUntil(queue, [&] { return done; }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(observer, nullptr);
}

TYPED_TEST(MainThreadContract, ACallQueuedByACallRunsAfterTheOnesAlreadyWaiting) {
    typename TestFixture::TQueue queue;
    std::vector<int> order;
    queue.Queue([&] {
        order.push_back(1);
        queue.Queue([&] { order.push_back(3); });
    });
    queue.Queue([&] { order.push_back(2); });

    ASSERT_TRUE(this->RunUntil(queue, [&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TYPED_TEST(MainThreadContract, AnEmptyCallIsIgnored) {
    typename TestFixture::TQueue queue;
    bool ran = false;
    queue.Queue(std::function<void()>{});
    queue.Queue([&] { ran = true; });
    EXPECT_TRUE(this->RunUntil(queue, [&] { return ran; }));
}

TYPED_TEST(MainThreadContract, DestroyingTheQueueRunsNoneOfItsPendingCalls) {
    int ran = 0;
    auto held = std::make_shared<int>(0);
    {
        typename TestFixture::TQueue doomed;
        doomed.Queue([&ran, held] { ++ran; });
        std::thread([&] { doomed.Queue([&ran] { ++ran; }); }).join();
    }
    EXPECT_EQ(held.use_count(), 1);

    // Whatever the doomed queue left for the main thread to do was there before a newer queue's
    // call, so by the time that call has run, the leftovers have had their chance too.
    typename TestFixture::TQueue later;
    bool laterRan = false;
    later.Queue([&] { laterRan = true; });
    ASSERT_TRUE(this->RunUntil(later, [&] { return laterRan; }));
    EXPECT_EQ(ran, 0);
}

} // namespace
} // namespace platform
