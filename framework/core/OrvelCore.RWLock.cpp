#include "framework/core/OrvelCore.RWLock.h"

#include "framework/core/OrvelCore.Exceptions.h"

#include <algorithm>

namespace orvel {

namespace {

// How long a writer that finds another writer in waits on the spot before it sleeps: the holder
// of the write lock usually only appends a line and leaves within a few dozen nanoseconds, far less
// than going to sleep and being woken costs.
constexpr int WriterSpins = 64;

void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

} // namespace

TRWLock::TReader* TRWLock::FindReader(std::thread::id Thread) {
    const auto it = std::find_if(FReaders.begin(), FReaders.end(),
                                 [Thread](const TReader& R) { return R.Thread == Thread; });
    return it == FReaders.end() ? nullptr : &*it;
}

bool TRWLock::NoWriter() const {
    return FWriter.load() == std::thread::id() && FWritersWaiting.load() == 0;
}

bool TRWLock::TryEnterRead(std::thread::id Thread) {
    if (!NoWriter()) {
        return false;
    }
    FReaders.reserve(FReaders.size() + 1); // the only step that can fail comes before any change
    FReaderCount.fetch_add(1);
    if (FWriter.load() != std::thread::id()) {
        // A writer came in at this very moment and may already wait for the readers: it goes first.
        if (FReaderCount.fetch_sub(1) == 1) {
            FChanged.notify_all();
        }
        return false;
    }
    FReaders.push_back(TReader{Thread, 1});
    return true;
}

void TRWLock::BeginRead() {
    const std::thread::id self = std::this_thread::get_id();
    // The writer itself and a thread already reading go straight in: making them wait would
    // make them wait for themselves.
    if (FWriter.load(std::memory_order_relaxed) == self) {
        ++FWriterReads;
        return;
    }
    std::unique_lock<std::mutex> guard(FMutex);
    if (TReader* reader = FindReader(self)) {
        ++reader->Depth;
        return;
    }
    if (TryEnterRead(self)) {
        return;
    }
    // Counted before the next look at the writer, so that a leaving writer knows to wake us.
    FReadersWaiting.fetch_add(1);
    FChanged.wait(guard, [this, self] { return TryEnterRead(self); });
    FReadersWaiting.fetch_sub(1);
}

bool TRWLock::TryBeginRead() {
    const std::thread::id self = std::this_thread::get_id();
    if (FWriter.load(std::memory_order_relaxed) == self) {
        ++FWriterReads;
        return true;
    }
    std::lock_guard<std::mutex> guard(FMutex);
    if (TReader* reader = FindReader(self)) {
        ++reader->Depth;
        return true;
    }
    return TryEnterRead(self);
}

void TRWLock::EndRead() {
    const std::thread::id self = std::this_thread::get_id();
    if (FWriter.load(std::memory_order_relaxed) == self && FWriterReads > 0) {
        --FWriterReads;
        return;
    }
    std::lock_guard<std::mutex> guard(FMutex);
    TReader* reader = FindReader(self);
    Assert(reader != nullptr, u"TRWLock.EndRead: this thread holds no read lock");
    if (--reader->Depth == 0) {
        FReaders.erase(FReaders.begin() + (reader - FReaders.data()));
        if (FReaderCount.fetch_sub(1) == 1) {
            FChanged.notify_all(); // a writer may wait for the last reader
        }
    }
}

void TRWLock::RefuseReaderAsWriter(std::thread::id Self) {
    // A thread's own reading shows in the count it made itself; only then is the list looked at.
    if (FReaderCount.load() == 0) {
        return;
    }
    std::lock_guard<std::mutex> guard(FMutex);
    Assert(FindReader(Self) == nullptr,
           u"TRWLock.BeginWrite: a thread holding only the read lock cannot take the write lock");
}

void TRWLock::EnterWrite(std::thread::id Self) {
    // Announced before looking at the readers: from here on no new reader gets in.
    FWriter.store(Self);
    if (FReaderCount.load() != 0) {
        std::unique_lock<std::mutex> guard(FMutex);
        FWritersWaiting.fetch_add(1);
        FChanged.wait(guard, [this] { return FReaderCount.load() == 0; });
        FWritersWaiting.fetch_sub(1);
    }
    FWriteDepth = 1;
    FWriterReads = 0;
}

void TRWLock::BeginWrite() {
    const std::thread::id self = std::this_thread::get_id();
    if (FWriter.load(std::memory_order_relaxed) == self) {
        ++FWriteDepth;
        return;
    }
    RefuseReaderAsWriter(self);
    bool taken = FWriteMutex.try_lock();
    for (int spin = 0; !taken && spin < WriterSpins; ++spin) {
        CpuRelax();
        // Only looking until the holder is gone keeps the mutex's cache line where it is.
        taken = FWriter.load(std::memory_order_relaxed) == std::thread::id() && FWriteMutex.try_lock();
    }
    if (!taken) {
        // Counted while it waits, so that readers arriving meanwhile let it go first; it stops
        // counting only once it has announced itself as the writer.
        FWritersWaiting.fetch_add(1);
        FWriteMutex.lock();
        FWriter.store(self);
        FWritersWaiting.fetch_sub(1);
    }
    EnterWrite(self);
}

bool TRWLock::TryBeginWrite() {
    const std::thread::id self = std::this_thread::get_id();
    if (FWriter.load(std::memory_order_relaxed) == self) {
        ++FWriteDepth;
        return true;
    }
    if (FReaderCount.load() != 0) {
        std::lock_guard<std::mutex> guard(FMutex);
        if (FindReader(self) != nullptr) {
            return false;
        }
    }
    if (!FWriteMutex.try_lock()) {
        return false;
    }
    FWriter.store(self);
    if (FReaderCount.load() != 0) {
        FWriter.store(std::thread::id());
        FWriteMutex.unlock();
        WakeReaders();
        return false;
    }
    FWriteDepth = 1;
    FWriterReads = 0;
    return true;
}

void TRWLock::WakeReaders() {
    if (FReadersWaiting.load() == 0) {
        return;
    }
    // Taking the mutex once makes sure a reader that counted itself waiting is asleep, not between
    // its look at the writer and its wait.
    { std::lock_guard<std::mutex> guard(FMutex); }
    FChanged.notify_all();
}

void TRWLock::EndWrite() {
    const std::thread::id self = std::this_thread::get_id();
    Assert(FWriter.load(std::memory_order_relaxed) == self,
           u"TRWLock.EndWrite: this thread does not hold the write lock");
    if (--FWriteDepth > 0) {
        return;
    }
    if (FWriterReads > 0) {
        // Still reading after the last write release: from now on an ordinary reader.
        std::lock_guard<std::mutex> guard(FMutex);
        FReaders.push_back(TReader{self, FWriterReads});
        FReaderCount.fetch_add(1);
        FWriterReads = 0;
    }
    FWriter.store(std::thread::id());
    FWriteMutex.unlock();
    WakeReaders();
}

std::size_t TRWLock::ReaderThreads() const {
    std::lock_guard<std::mutex> guard(FMutex);
    return FReaders.size();
}

std::size_t TRWLock::WaitingWriters() const {
    return FWritersWaiting.load();
}

std::size_t TRWLock::WaitingReaders() const {
    return FReadersWaiting.load();
}

bool TRWLock::WriteHeldByThisThread() const {
    return FWriter.load() == std::this_thread::get_id();
}

} // namespace orvel
