#pragma once
// Owning wrappers for Win32 resources: each closes its resource on every path, can be moved
// and cannot be copied.
#include <windows.h>

#include <utility>

namespace platform::win32 {

template <typename Traits> class TScoped {
public:
    using TValue = typename Traits::TValue;

    TScoped() = default;
    explicit TScoped(TValue Value) : FValue(Value) {}
    ~TScoped() { Reset(); }

    TScoped(const TScoped&) = delete;
    TScoped& operator=(const TScoped&) = delete;
    TScoped(TScoped&& Other) noexcept : FValue(Other.Release()) {}
    TScoped& operator=(TScoped&& Other) noexcept {
        if (this != &Other)
            Reset(Other.Release());
        return *this;
    }

    TValue Get() const { return FValue; }
    bool IsValid() const { return Traits::IsValid(FValue); }
    explicit operator bool() const { return IsValid(); }

    // For APIs that hand the resource back through an out parameter; closes the old one first.
    TValue* Receive() {
        Reset();
        return &FValue;
    }

    TValue Release() { return std::exchange(FValue, Traits::Empty()); }

    void Reset(TValue Value = Traits::Empty()) {
        if (Traits::IsValid(FValue))
            Traits::Close(FValue);
        FValue = Value;
    }

private:
    TValue FValue = Traits::Empty();
};

// Process, token and file handles. Some APIs fail with null and others with
// INVALID_HANDLE_VALUE, so both count as empty.
struct TKernelHandleTraits {
    using TValue = HANDLE;
    static TValue Empty() { return nullptr; }
    static bool IsValid(TValue Value) { return Value != nullptr && Value != INVALID_HANDLE_VALUE; }
    static void Close(TValue Value) { ::CloseHandle(Value); }
};
using TKernelHandle = TScoped<TKernelHandleTraits>;

// Memory the system allocated for the caller with LocalAlloc (FormatMessageW's buffer).
struct TLocalMemoryTraits {
    using TValue = HLOCAL;
    static TValue Empty() { return nullptr; }
    static bool IsValid(TValue Value) { return Value != nullptr; }
    static void Close(TValue Value) { ::LocalFree(Value); }
};
using TLocalMemory = TScoped<TLocalMemoryTraits>;

// An open registry key. The predefined roots are never held in one.
struct TRegistryKeyTraits {
    using TValue = HKEY;
    static TValue Empty() { return nullptr; }
    static bool IsValid(TValue Value) { return Value != nullptr; }
    static void Close(TValue Value) { ::RegCloseKey(Value); }
};
using TRegistryKeyHandle = TScoped<TRegistryKeyTraits>;

} // namespace platform::win32
