#pragma once
// The thread-safe FIFO of calls behind every IMainThread backend: any thread pushes, the main thread
// takes one entry at a time, and an owner's entries can be dropped before they start.
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

class TCallQueue {
public:
    void Push(std::function<void()> Call, const void* Owner) {
        const std::lock_guard lock(FLock);
        FEntries.push_back(TEntry{std::move(Call), Owner});
    }

    // The dropped calls are destroyed after the lock is released, so a captured object whose
    // destructor queues or removes calls cannot deadlock on it.
    void RemoveOwner(const void* Owner) {
        std::vector<TEntry> dropped;
        const std::lock_guard lock(FLock);
        std::deque<TEntry> kept;
        for (auto& entry : FEntries) {
            if (entry.Owner == Owner)
                dropped.push_back(std::move(entry));
            else
                kept.push_back(std::move(entry));
        }
        FEntries.swap(kept);
    }

    // One entry at a time, so that the caller runs it outside the lock and RemoveOwner still
    // reaches every entry that has not started.
    std::optional<std::function<void()>> TakeFront() {
        const std::lock_guard lock(FLock);
        if (FEntries.empty())
            return std::nullopt;
        std::function<void()> call = std::move(FEntries.front().Call);
        FEntries.pop_front();
        return call;
    }

    std::size_t Size() const {
        const std::lock_guard lock(FLock);
        return FEntries.size();
    }

private:
    struct TEntry {
        std::function<void()> Call;
        const void* Owner = nullptr;
    };

    mutable std::mutex FLock;
    std::deque<TEntry> FEntries;
};

} // namespace platform
