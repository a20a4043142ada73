#pragma once
// The main-thread queue of the simulated desktop: nothing runs until a test drains it, so a test
// decides exactly when queued calls reach their targets.
#include "platform/Platform.CallQueue.h"
#include "platform/Platform.MainThread.h"

#include <cstddef>
#include <thread>

namespace platform::sim {

class TSimMainThread final : public IMainThread {
public:
    // The constructing thread becomes the main thread.
    TSimMainThread();
    // Pending calls are dropped without running.
    ~TSimMainThread() override = default;

    TSimMainThread(const TSimMainThread&) = delete;
    TSimMainThread& operator=(const TSimMainThread&) = delete;

    bool IsMainThread() const override;
    void Queue(std::function<void()> Call, const void* Owner = nullptr) override;
    void RemoveQueued(const void* Owner) override;

    // Runs queued calls in order on the main thread until the queue is empty, so calls queued by
    // the calls it runs also run in this same drain. Returns how many ran. A call that throws
    // stops the drain and the exception reaches the caller; later entries stay queued. Throws
    // std::logic_error off the main thread.
    std::size_t Drain();
    std::size_t PendingCount() const;

private:
    const std::thread::id FMainThread;
    TCallQueue FCalls;
};

} // namespace platform::sim
