#include "framework/core/OrvelCore.RWLock.h"

#include "framework/core/OrvelCore.Exceptions.h"

#include <algorithm>

namespace orvel {

TRWLock::TReader* TRWLock::findReader(std::thread::id Thread) {
    const auto it = std::find_if(FReaders.begin(), FReaders.end(),
                                 [Thread](const TReader& r) { return r.Thread == Thread; });
    return it == FReaders.end() ? nullptr : &*it;
}

bool TRWLock::readerMayEnter() const {
    return FWriter == std::thread::id() && FWritersWaiting == 0;
}

bool TRWLock::writerMayEnter() const {
    return FWriter == std::thread::id() && FReaders.empty();
}

void TRWLock::enterRead(std::thread::id Thread) {
    if (TReader* reader = findReader(Thread)) {
        ++reader->Depth;
    } else {
        FReaders.push_back(TReader{Thread, 1});
    }
}

void TRWLock::enterWrite(std::thread::id Thread) {
    FWriter = Thread;
    FWriteDepth = 1;
}

void TRWLock::BeginRead() {
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock<std::mutex> guard(FMutex);
    // The writer itself and a thread already reading go straight in: making them wait would
    // make them wait for themselves.
    if (FWriter == self || findReader(self) != nullptr) {
        enterRead(self);
        return;
    }
    ++FReadersWaiting;
    FChanged.wait(guard, [this] { return readerMayEnter(); });
    --FReadersWaiting;
    enterRead(self);
}

bool TRWLock::TryBeginRead() {
    const std::thread::id self = std::this_thread::get_id();
    std::lock_guard<std::mutex> guard(FMutex);
    if (FWriter == self || findReader(self) != nullptr || readerMayEnter()) {
        enterRead(self);
        return true;
    }
    return false;
}

void TRWLock::EndRead() {
    const std::thread::id self = std::this_thread::get_id();
    std::lock_guard<std::mutex> guard(FMutex);
    TReader* reader = findReader(self);
    Assert(reader != nullptr, u"TRWLock.EndRead: this thread holds no read lock");
    if (--reader->Depth == 0) {
        FReaders.erase(FReaders.begin() + (reader - FReaders.data()));
        if (FReaders.empty()) {
            FChanged.notify_all();
        }
    }
}

void TRWLock::BeginWrite() {
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock<std::mutex> guard(FMutex);
    if (FWriter == self) {
        ++FWriteDepth;
        return;
    }
    Assert(findReader(self) == nullptr,
           u"TRWLock.BeginWrite: a thread holding only the read lock cannot take the write lock");
    ++FWritersWaiting;
    FChanged.wait(guard, [this] { return writerMayEnter(); });
    --FWritersWaiting;
    enterWrite(self);
}

bool TRWLock::TryBeginWrite() {
    const std::thread::id self = std::this_thread::get_id();
    std::lock_guard<std::mutex> guard(FMutex);
    if (FWriter == self) {
        ++FWriteDepth;
        return true;
    }
    if (findReader(self) == nullptr && writerMayEnter()) {
        enterWrite(self);
        return true;
    }
    return false;
}

void TRWLock::EndWrite() {
    const std::thread::id self = std::this_thread::get_id();
    std::lock_guard<std::mutex> guard(FMutex);
    Assert(FWriter == self, u"TRWLock.EndWrite: this thread does not hold the write lock");
    if (--FWriteDepth == 0) {
        FWriter = std::thread::id();
        FChanged.notify_all();
    }
}

std::size_t TRWLock::ReaderThreads() const {
    std::lock_guard<std::mutex> guard(FMutex);
    return FReaders.size();
}

std::size_t TRWLock::WaitingWriters() const {
    std::lock_guard<std::mutex> guard(FMutex);
    return FWritersWaiting;
}

std::size_t TRWLock::WaitingReaders() const {
    std::lock_guard<std::mutex> guard(FMutex);
    return FReadersWaiting;
}

bool TRWLock::WriteHeldByThisThread() const {
    std::lock_guard<std::mutex> guard(FMutex);
    return FWriter == std::this_thread::get_id();
}

} // namespace orvel
