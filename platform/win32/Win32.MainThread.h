#pragma once
// The main-thread queue on the real system: queued calls run from the window procedure of a
// message-only window that belongs to the UI thread, so they run whenever that thread pumps
// messages - in the application's loop and in any modal loop alike.
#include "platform/Platform.CallQueue.h"
#include "platform/Platform.MainThread.h"
#include "platform/win32/Win32.Handles.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace platform::win32 {

class TWin32MainThread final : public IMainThread {
public:
    // On the UI thread, which becomes the main thread. Throws EOSError when the window
    // class or the window cannot be created.
    TWin32MainThread();
    // On the main thread, outside the queued calls, once no other thread can still queue.
    // Pending calls are dropped without running.
    ~TWin32MainThread() override = default;

    TWin32MainThread(const TWin32MainThread&) = delete;
    TWin32MainThread& operator=(const TWin32MainThread&) = delete;

    bool IsMainThread() const override;
    void Queue(std::function<void()> Call, const void* Owner = nullptr) override;
    void RemoveQueued(const void* Owner) override;

private:
    // A window class registered under a name of its own for the lifetime of the object, so that
    // any number of queues can coexist and none leaves a registration behind.
    class TWindowClass {
    public:
        TWindowClass(std::wstring Name, WNDPROC Procedure);
        ~TWindowClass();
        TWindowClass(const TWindowClass&) = delete;
        TWindowClass& operator=(const TWindowClass&) = delete;

        const std::wstring& Name() const { return FName; }

    private:
        std::wstring FName;
        HINSTANCE FInstance = nullptr;
    };

    struct TWindowTraits {
        using TValue = HWND;
        static TValue Empty() { return nullptr; }
        static bool IsValid(TValue Value) { return Value != nullptr; }
        static void Close(TValue Value) { ::DestroyWindow(Value); }
    };

    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
    void RunQueued() noexcept;
    // Posts a run request unless one is already waiting in the message queue.
    void RequestRun();

    const DWORD FMainThread;
    TCallQueue FCalls;
    // A run request is in the message queue and has not been picked up yet.
    std::atomic<bool> FRunRequested = false;
    // Declared last so the window goes first, then its class, then the pending entries.
    TWindowClass FClass;
    TScoped<TWindowTraits> FWindow;
};

} // namespace platform::win32
