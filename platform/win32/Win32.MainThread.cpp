#include "platform/win32/Win32.MainThread.h"

#include "platform/win32/Win32.Errors.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace platform::win32 {

namespace {

// The one message the window understands: run what is queued. Private to the window's own class.
constexpr UINT RunQueuedMessage = WM_APP;

std::wstring UniqueClassName(const void* Queue) {
    return L"TarvinMainThreadQueue." + std::to_wstring(GetCurrentProcessId()) + L"." +
           std::to_wstring(reinterpret_cast<std::uintptr_t>(Queue));
}

} // namespace

TWin32MainThread::TWindowClass::TWindowClass(std::wstring Name, WNDPROC Procedure)
    : FName(std::move(Name)), FInstance(GetModuleHandleW(nullptr)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = FInstance;
    wc.lpszClassName = FName.c_str();
    if (RegisterClassExW(&wc) == 0)
        ThrowLastError(u"RegisterClassExW for the main-thread queue");
}

TWin32MainThread::TWindowClass::~TWindowClass() {
    UnregisterClassW(FName.c_str(), FInstance);
}

TWin32MainThread::TWin32MainThread()
    : FMainThread(GetCurrentThreadId()), FClass(UniqueClassName(this), &TWin32MainThread::WindowProc),
      FWindow(CreateWindowExW(0, FClass.Name().c_str(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
    if (!FWindow)
        ThrowLastError(u"CreateWindowExW for the main-thread queue");
    // Nothing can post the run request before the constructor returns, so the window procedure
    // never sees it without the object attached.
    SetWindowLongPtrW(FWindow.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

bool TWin32MainThread::IsMainThread() const {
    return GetCurrentThreadId() == FMainThread;
}

void TWin32MainThread::Queue(std::function<void()> Call, const void* Owner) {
    if (!Call)
        return;
    FCalls.Push(std::move(Call), Owner);
    RequestRun();
}

void TWin32MainThread::RemoveQueued(const void* Owner) {
    FCalls.RemoveOwner(Owner);
}

void TWin32MainThread::RequestRun() {
    // One request in the message queue covers any number of entries, so a burst from a worker
    // neither floods the thread's message queue nor hits its size limit. PostMessageW only fails
    // when that queue is full; the flag then goes back to clear so that the next Queue, or the end
    // of the run in progress, asks again.
    if (!FRunRequested.exchange(true) && PostMessageW(FWindow.Get(), RunQueuedMessage, 0, 0) == FALSE)
        FRunRequested = false;
}

LRESULT CALLBACK TWin32MainThread::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == RunQueuedMessage) {
        if (auto* self = reinterpret_cast<TWin32MainThread*>(GetWindowLongPtrW(Window, GWLP_USERDATA)))
            self->RunQueued();
        return 0;
    }
    return DefWindowProcW(Window, Message, WParam, LParam);
}

// noexcept: an exception must not unwind through the system's message dispatch, so a throwing
// call ends the process instead.
void TWin32MainThread::RunQueued() noexcept {
    // Only the entries waiting now run in this pass; calls queued meanwhile wait for the next
    // request, so a call that keeps queueing itself cannot starve input and painting. The
    // request is cleared first so that a call which pumps messages itself (a modal loop) still
    // sees later entries run.
    FRunRequested = false;
    for (std::size_t budget = FCalls.Size(); budget > 0; --budget) {
        auto call = FCalls.TakeFront();
        if (!call)
            break;
        (*call)();
    }
    if (FCalls.Size() > 0)
        RequestRun();
}

} // namespace platform::win32
