#pragma once
// A multi-reader/single-writer lock whose holders may re-enter it.
//
// - Any number of threads may hold the read lock together; the write lock excludes every other
//   thread.
// - The thread holding the write lock may take the write lock or the read lock again, and a thread
//   holding the read lock may take it again, even while a writer waits. Each taking is matched by
//   one release.
// - A thread that holds only the read lock cannot take the write lock (that would wait for itself
//   forever); the attempt fails an assertion instead.
// - Writers go first: a waiting writer keeps new readers out, and when a writer leaves, a waiting
//   writer goes before waiting readers. Threads that add log lines are thus never held up for
//   long by a reader walking a long list; readers get in whenever no writer holds or waits.
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

namespace orvel {

class TRWLock {
public:
    TRWLock() = default;
    TRWLock(const TRWLock&) = delete;
    TRWLock& operator=(const TRWLock&) = delete;

    void BeginRead();
    // Takes the read lock only when it can be had at once.
    bool TryBeginRead();
    void EndRead();

    void BeginWrite();
    // Takes the write lock only when it can be had at once.
    bool TryBeginWrite();
    void EndWrite();

    // What the lock looks like at this moment (for diagnostics and tests).
    std::size_t ReaderThreads() const;
    std::size_t WaitingWriters() const;
    std::size_t WaitingReaders() const;
    bool WriteHeldByThisThread() const;

private:
    struct TReader {
        std::thread::id Thread;
        std::size_t Depth = 0;
    };

    // All private helpers expect FMutex to be held.
    TReader* findReader(std::thread::id Thread);
    bool readerMayEnter() const;
    bool writerMayEnter() const;
    void enterRead(std::thread::id Thread);
    void enterWrite(std::thread::id Thread);

    mutable std::mutex FMutex;
    std::condition_variable FChanged;
    std::thread::id FWriter; // default id: no writer
    std::size_t FWriteDepth = 0;
    std::vector<TReader> FReaders; // threads holding the read lock, with their nesting depth
    std::size_t FWritersWaiting = 0;
    std::size_t FReadersWaiting = 0;
};

// Holds the read lock for its lifetime.
class TReadLockGuard {
public:
    explicit TReadLockGuard(TRWLock& Lock) : FLock(Lock) { FLock.BeginRead(); }
    ~TReadLockGuard() { FLock.EndRead(); }
    TReadLockGuard(const TReadLockGuard&) = delete;
    TReadLockGuard& operator=(const TReadLockGuard&) = delete;

private:
    TRWLock& FLock;
};

// Holds the write lock for its lifetime.
class TWriteLockGuard {
public:
    explicit TWriteLockGuard(TRWLock& Lock) : FLock(Lock) { FLock.BeginWrite(); }
    ~TWriteLockGuard() { FLock.EndWrite(); }
    TWriteLockGuard(const TWriteLockGuard&) = delete;
    TWriteLockGuard& operator=(const TWriteLockGuard&) = delete;

private:
    TRWLock& FLock;
};

} // namespace orvel
