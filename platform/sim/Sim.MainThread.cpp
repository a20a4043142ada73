#include "platform/sim/Sim.MainThread.h"

#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace platform::sim {

TSimMainThread::TSimMainThread() : FMainThread(std::this_thread::get_id()) {}

bool TSimMainThread::IsMainThread() const {
    return std::this_thread::get_id() == FMainThread;
}

void TSimMainThread::Queue(std::function<void()> call, const void* owner) {
    if (!call)
        return;
    const std::lock_guard lock(FLock);
    FEntries.push_back(TEntry{std::move(call), owner});
}

void TSimMainThread::RemoveQueued(const void* owner) {
    // The dropped calls are destroyed after the lock is released, so a captured object whose
    // destructor queues or removes calls cannot deadlock on it.
    std::vector<TEntry> dropped;
    {
        const std::lock_guard lock(FLock);
        std::deque<TEntry> kept;
        for (auto& entry : FEntries) {
            if (entry.Owner == owner)
                dropped.push_back(std::move(entry));
            else
                kept.push_back(std::move(entry));
        }
        FEntries.swap(kept);
    }
}

std::size_t TSimMainThread::Drain() {
    if (!IsMainThread())
        throw std::logic_error("TSimMainThread::Drain called off the main thread");
    std::size_t ran = 0;
    for (;;) {
        // One entry at a time, run outside the lock: the call may queue or remove entries, and
        // RemoveQueued must still reach every entry that has not started.
        std::optional<TEntry> next;
        {
            const std::lock_guard lock(FLock);
            if (FEntries.empty())
                return ran;
            next.emplace(std::move(FEntries.front()));
            FEntries.pop_front();
        }
        ++ran;
        next->Call();
    }
}

std::size_t TSimMainThread::PendingCount() const {
    const std::lock_guard lock(FLock);
    return FEntries.size();
}

} // namespace platform::sim
