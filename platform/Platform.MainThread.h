#pragma once
#include <functional>

namespace platform {

// Hands work to the main (UI) thread: other threads, and the main thread itself, queue calls that
// run there later, one at a time, in the order they were queued.
class IMainThread {
public:
    virtual ~IMainThread() = default;

    // True on the thread that runs the queued calls.
    virtual bool IsMainThread() const = 0;

    // Appends `Call` and returns at once; safe from any thread. It never waits for a queued call
    // to run, only for the short lock around the queue itself. `Owner` binds the entry to an
    // object so that RemoveQueued can drop it when that object goes away; null binds it to none.
    // An empty `Call` is ignored.
    virtual void Queue(std::function<void()> Call, const void* Owner = nullptr) = 0;

    // Drops every entry bound to `Owner` that has not started yet; safe from any thread. A call
    // of that owner that is already running is neither interrupted nor waited for. Called on the
    // main thread - from the owner's destructor, or from inside one of its own calls - it therefore
    // guarantees that no call of the owner starts afterwards, because only the main thread starts
    // calls. Called from another thread it cannot: a call taken off the queue a moment earlier may
    // still be running on the main thread, so an owner must unregister on the main thread before
    // it is destroyed. The dropped calls are destroyed on the calling thread before it returns.
    virtual void RemoveQueued(const void* Owner) = 0;
};

} // namespace platform
