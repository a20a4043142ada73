#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.RWLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace orvel {
namespace {

// Waits for a condition another thread brings about; false when it does not come in time.
bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

// Whether another thread could take the lock at this moment (it gives it back at once).
bool OtherThreadCanWrite(TRWLock& lock) {
    bool got = false;
    std::thread([&] {
        got = lock.TryBeginWrite();
        if (got) {
            lock.EndWrite();
        }
    }).join();
    return got;
}

bool OtherThreadCanRead(TRWLock& lock) {
    bool got = false;
    std::thread([&] {
        got = lock.TryBeginRead();
        if (got) {
            lock.EndRead();
        }
    }).join();
    return got;
}

// A thread that blocks on the lock and reports when it is in; it holds the lock until told.
class THolder {
public:
    THolder(TRWLock& lock, bool write) : FLock(lock) {
        FThread = std::thread([this, write] {
            write ? FLock.BeginWrite() : FLock.BeginRead();
            FIn = true;
            while (!FLeave) {
                std::this_thread::yield();
            }
            write ? FLock.EndWrite() : FLock.EndRead();
            FOut = true;
        });
    }
    ~THolder() {
        FLeave = true;
        FThread.join();
    }
    bool In() const { return FIn; }
    void Leave() {
        FLeave = true;
        EXPECT_TRUE(WaitUntil([this] { return FOut.load(); }));
    }

private:
    TRWLock& FLock;
    std::thread FThread;
    std::atomic<bool> FIn{false};
    std::atomic<bool> FLeave{false};
    std::atomic<bool> FOut{false};
};

TEST(RWLock, TheWriterReentersWriteAndRead) {
    TRWLock lock;
    lock.BeginWrite();
    lock.BeginWrite();
    lock.BeginRead();
    lock.BeginRead();
    EXPECT_TRUE(lock.TryBeginWrite());
    EXPECT_TRUE(lock.TryBeginRead());
    EXPECT_TRUE(lock.WriteHeldByThisThread());
    EXPECT_FALSE(OtherThreadCanRead(lock));
    lock.EndRead();
    lock.EndRead();
    lock.EndRead();
    lock.EndWrite();
    lock.EndWrite();
    EXPECT_FALSE(OtherThreadCanWrite(lock)) << "one write taking is still open";
    lock.EndWrite();
    EXPECT_FALSE(lock.WriteHeldByThisThread());
    EXPECT_TRUE(OtherThreadCanWrite(lock));
}

TEST(RWLock, AWriterThatKeepsAReadAfterLeavingWriteIsAReader) {
    TRWLock lock;
    lock.BeginWrite();
    lock.BeginRead();
    lock.EndWrite();
    EXPECT_TRUE(OtherThreadCanRead(lock));
    EXPECT_FALSE(OtherThreadCanWrite(lock));
    lock.EndRead();
    EXPECT_TRUE(OtherThreadCanWrite(lock));
}

TEST(RWLock, ReadersNestAndShare) {
    TRWLock lock;
    lock.BeginRead();
    lock.BeginRead();
    EXPECT_TRUE(OtherThreadCanRead(lock));
    EXPECT_EQ(lock.ReaderThreads(), 1u);
    lock.EndRead();
    EXPECT_FALSE(OtherThreadCanWrite(lock)) << "one read taking is still open";
    lock.EndRead();
    EXPECT_EQ(lock.ReaderThreads(), 0u);
    EXPECT_TRUE(OtherThreadCanWrite(lock));
}

TEST(RWLock, AReaderKeepsAWriterOfAnotherThreadWaiting) {
    TRWLock lock;
    lock.BeginRead();
    THolder writer(lock, true);
    ASSERT_TRUE(WaitUntil([&] { return lock.WaitingWriters() == 1; }));
    EXPECT_FALSE(writer.In());
    lock.EndRead();
    EXPECT_TRUE(WaitUntil([&] { return writer.In(); }));
    writer.Leave();
}

TEST(RWLock, AWriterKeepsReadersOfOtherThreadsWaiting) {
    TRWLock lock;
    lock.BeginWrite();
    THolder reader(lock, false);
    ASSERT_TRUE(WaitUntil([&] { return lock.WaitingReaders() == 1; }));
    EXPECT_FALSE(reader.In());
    EXPECT_FALSE(OtherThreadCanWrite(lock));
    lock.EndWrite();
    EXPECT_TRUE(WaitUntil([&] { return reader.In(); }));
    reader.Leave();
}

TEST(RWLock, AWaitingWriterKeepsNewReadersOutButLetsANestedReadIn) {
    TRWLock lock;
    lock.BeginRead();
    THolder writer(lock, true);
    ASSERT_TRUE(WaitUntil([&] { return lock.WaitingWriters() == 1; }));
    EXPECT_FALSE(OtherThreadCanRead(lock));
    // Making the holder wait here would make it wait for itself.
    lock.BeginRead();
    lock.EndRead();
    EXPECT_FALSE(writer.In());
    lock.EndRead();
    EXPECT_TRUE(WaitUntil([&] { return writer.In(); }));
    writer.Leave();
}

TEST(RWLock, AWaitingWriterGoesBeforeWaitingReaders) {
    TRWLock lock;
    lock.BeginWrite();
    THolder reader(lock, false);
    ASSERT_TRUE(WaitUntil([&] { return lock.WaitingReaders() == 1; }));
    THolder secondWriter(lock, true);
    ASSERT_TRUE(WaitUntil([&] { return lock.WaitingWriters() == 1; }));
    lock.EndWrite();
    ASSERT_TRUE(WaitUntil([&] { return secondWriter.In(); }));
    EXPECT_FALSE(reader.In());
    EXPECT_EQ(lock.WaitingReaders(), 1u);
    secondWriter.Leave();
    EXPECT_TRUE(WaitUntil([&] { return reader.In(); }));
    reader.Leave();
}

TEST(RWLock, APureReaderAskingForTheWriteLockFailsInsteadOfHanging) {
    TRWLock lock;
    lock.BeginRead();
    EXPECT_THROW(lock.BeginWrite(), EAssertionFailed);
    EXPECT_FALSE(lock.TryBeginWrite());
    EXPECT_TRUE(OtherThreadCanRead(lock));
    lock.EndRead();
    EXPECT_TRUE(OtherThreadCanWrite(lock));
}

TEST(RWLock, ReleasingWhatIsNotHeldFailsAnAssertion) {
    TRWLock lock;
    EXPECT_THROW(lock.EndRead(), EAssertionFailed);
    EXPECT_THROW(lock.EndWrite(), EAssertionFailed);
    THolder writer(lock, true);
    ASSERT_TRUE(WaitUntil([&] { return writer.In(); }));
    EXPECT_THROW(lock.EndWrite(), EAssertionFailed) << "held by another thread";
    writer.Leave();
    EXPECT_TRUE(OtherThreadCanWrite(lock));
}

TEST(RWLock, GuardsReleaseWhenTheWorkRaises) {
    TRWLock lock;
    const auto failUnder = [](auto guardMaker) {
        try {
            auto guard = guardMaker();
            throw EOrvelException(u"work failed");
        } catch (const EOrvelException&) {
        }
    };
    failUnder([&] { return std::make_unique<TWriteLockGuard>(lock); });
    EXPECT_TRUE(OtherThreadCanWrite(lock));
    failUnder([&] { return std::make_unique<TReadLockGuard>(lock); });
    EXPECT_TRUE(OtherThreadCanWrite(lock));
}

TEST(RWLock, ManyThreadsMixingReadsAndWritesKeepACounterExact) {
    TRWLock lock;
    long long counter = 0; // guarded by the lock; checked by the sanitizer build for races
    std::atomic<bool> readsConsistent{true};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                {
                    TWriteLockGuard w(lock);
                    TReadLockGuard nestedRead(lock);
                    TWriteLockGuard nestedWrite(lock);
                    ++counter;
                }
                TReadLockGuard r(lock);
                TReadLockGuard nested(lock);
                if (counter < 1) {
                    readsConsistent = false;
                }
            }
        });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    EXPECT_EQ(counter, 8000);
    EXPECT_TRUE(readsConsistent);
}

} // namespace
} // namespace orvel
