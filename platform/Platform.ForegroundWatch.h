#pragma once
// Word of the foreground window changing, as it happens: the hotkey grip follows the terminal the
// moment it comes forward instead of at its next poll.
#include <functional>

namespace platform {

class IForegroundWatch {
public:
    virtual ~IForegroundWatch() = default;
    // From now on OnChange runs on this thread, from its message loop, whenever a window comes to
    // the front; a later call replaces it. Returns false when the system refused the watch (the
    // caller then has only its poll).
    [[nodiscard]] virtual bool Start(std::function<void()> OnChange) = 0;
    // No more calls after this returns; harmless when not started.
    virtual void Stop() = 0;
};

} // namespace platform
