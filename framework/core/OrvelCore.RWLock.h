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
//
// Writers are the common case (every added log line), so a writer that neither re-enters nor
// meets a reader pays for one plain mutex and a few atomic operations: writers exclude each other
// with FWriteMutex alone, and only readers keep per-thread bookkeeping (under FMutex). A writer
// announces itself in FWriter and then looks at FReaderCount; a reader counts itself in
// FReaderCount and then looks at FWriter. Both are sequentially consistent, so at least one of the
// two sees the other, and whoever sees the other waits (or, a reader, steps back).
#include <atomic>
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

    // The helpers below expect FMutex to be held.
    TReader* FindReader(std::thread::id Thread);
    bool NoWriter() const;
    // Counts a new reader thread in when no writer holds or waits; false when one does.
    bool TryEnterRead(std::thread::id Thread);

    // Fails the assertion when this thread holds only the read lock.
    void RefuseReaderAsWriter(std::thread::id Self);
    // After taking FWriteMutex: announces this writer and waits until no reader is left.
    void EnterWrite(std::thread::id Self);
    // Wakes readers that wait for the writer to go, when there are any.
    void WakeReaders();

    // Writers among themselves.
    std::mutex FWriteMutex;
    // The writer holding the lock, or the default id. Written only by the thread that holds
    // FWriteMutex; a thread comparing it with its own id needs no lock.
    std::atomic<std::thread::id> FWriter{};
    std::size_t FWriteDepth = 0;  // the writer's own, touched only by it
    std::size_t FWriterReads = 0; // read lock takings of the writer while it writes, the same
    std::atomic<std::size_t> FReaderCount{0};    // reader threads in (changed under FMutex)
    std::atomic<std::size_t> FWritersWaiting{0}; // writers waiting for FWriteMutex or for readers to leave
    std::atomic<std::size_t> FReadersWaiting{0}; // readers waiting for a writer (changed under FMutex)

    // Readers' bookkeeping, and the waiting of readers and of writers for readers.
    mutable std::mutex FMutex;
    std::condition_variable FChanged;
    std::vector<TReader> FReaders; // threads holding the read lock, with their nesting depth
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
