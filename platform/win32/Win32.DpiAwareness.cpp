#include "platform/win32/Win32.DpiAwareness.h"

#include <windows.h>

#include <cstdint>
#include <optional>

namespace platform::win32 {

namespace {

using TContext = HANDLE; // DPI_AWARENESS_CONTEXT
using TGetThreadContext = TContext(WINAPI*)();
using TContextsEqual = BOOL(WINAPI*)(TContext, TContext);
using TGetProcessAwareness = HRESULT(WINAPI*)(HANDLE, int*);

template <class TFunction> TFunction Lookup(HMODULE Module, const char* Name) {
    if (Module == nullptr)
        return nullptr;
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(::GetProcAddress(Module, Name)));
}

TContext ContextOf(std::intptr_t Value) {
    return reinterpret_cast<TContext>(Value);
}

std::optional<TDpiAwareness> ThreadContextAwareness() {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const auto getContext = Lookup<TGetThreadContext>(user32, "GetThreadDpiAwarenessContext");
    const auto equal = Lookup<TContextsEqual>(user32, "AreDpiAwarenessContextsEqual");
    if (getContext == nullptr || equal == nullptr)
        return std::nullopt;
    const TContext context = getContext();
    if (context == nullptr)
        return std::nullopt;
    // The system's own constants, in the order the most specific one wins.
    const struct {
        std::intptr_t Context;
        TDpiAwareness Awareness;
    } known[] = {{-4, TDpiAwareness::PerMonitorV2},
                 {-3, TDpiAwareness::PerMonitor},
                 {-2, TDpiAwareness::System},
                 {-5, TDpiAwareness::UnawareGdiScaled},
                 {-1, TDpiAwareness::Unaware}};
    for (const auto& candidate : known)
        if (equal(context, ContextOf(candidate.Context)) != FALSE)
            return candidate.Awareness;
    return TDpiAwareness::Unknown;
}

std::optional<TDpiAwareness> ProcessAwareness() {
    const HMODULE shcore = ::LoadLibraryW(L"shcore.dll");
    const auto getAwareness = Lookup<TGetProcessAwareness>(shcore, "GetProcessDpiAwareness");
    std::optional<TDpiAwareness> result;
    int value = 0;
    if (getAwareness != nullptr && SUCCEEDED(getAwareness(::GetCurrentProcess(), &value))) {
        switch (value) {
        case 0:
            result = TDpiAwareness::Unaware;
            break;
        case 1:
            result = TDpiAwareness::System;
            break;
        case 2:
            result = TDpiAwareness::PerMonitor;
            break;
        default:
            result = TDpiAwareness::Unknown;
            break;
        }
    }
    if (shcore != nullptr)
        ::FreeLibrary(shcore);
    return result;
}

} // namespace

TDpiAwareness TWin32DpiAwareness::Awareness() const {
    if (const auto awareness = ThreadContextAwareness())
        return *awareness;
    if (const auto awareness = ProcessAwareness())
        return *awareness;
    return ::IsProcessDPIAware() != FALSE ? TDpiAwareness::AwareLegacy : TDpiAwareness::Unaware;
}

} // namespace platform::win32
