#include "platform/win32/Win32.ForegroundWatch.h"

#include <map>
#include <mutex>

namespace platform::win32 {
namespace {

// The hook procedure gets no context of ours, only the hook's handle, so the running watches are
// found by it here: the one process-wide table of this backend.
std::mutex WatchesLock;
std::map<HWINEVENTHOOK, TWin32ForegroundWatch*>& Watches() {
    static std::map<HWINEVENTHOOK, TWin32ForegroundWatch*> watches;
    return watches;
}

} // namespace

TWin32ForegroundWatch::~TWin32ForegroundWatch() {
    Stop();
}

bool TWin32ForegroundWatch::Start(std::function<void()> OnChange) {
    Stop();
    FOnChange = std::move(OnChange);
    FHook = ::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnEvent, 0, 0,
                              WINEVENT_OUTOFCONTEXT);
    if (FHook == nullptr) {
        FOnChange = nullptr;
        return false;
    }
    const std::lock_guard lock(WatchesLock);
    Watches()[FHook] = this;
    return true;
}

void TWin32ForegroundWatch::Stop() {
    if (FHook == nullptr) {
        return;
    }
    {
        const std::lock_guard lock(WatchesLock);
        Watches().erase(FHook);
    }
    ::UnhookWinEvent(FHook);
    FHook = nullptr;
    FOnChange = nullptr;
}

void CALLBACK TWin32ForegroundWatch::OnEvent(HWINEVENTHOOK Hook, DWORD Event, HWND, LONG, LONG, DWORD, DWORD) {
    if (Event != EVENT_SYSTEM_FOREGROUND) {
        return;
    }
    TWin32ForegroundWatch* watch = nullptr;
    {
        const std::lock_guard lock(WatchesLock);
        if (auto it = Watches().find(Hook); it != Watches().end()) {
            watch = it->second;
        }
    }
    // Events are delivered on the thread that started the watch, the one that also stops it.
    if (watch != nullptr && watch->FOnChange) {
        watch->FOnChange();
    }
}

} // namespace platform::win32
