#include "toolkit/win32/Win32Ui.Clipboard.h"

#include "platform/win32/Win32.Handles.h"
#include "toolkit/Toolkit.Clipboard.h"

#include <algorithm>
#include <cstring>

namespace toolkit::win32 {

namespace {

class TOpenClipboard {
public:
    explicit TOpenClipboard(HWND Owner) {
        if (::OpenClipboard(Owner) == FALSE)
            throw EClipboardException();
    }
    ~TOpenClipboard() { ::CloseClipboard(); }
    TOpenClipboard(const TOpenClipboard&) = delete;
    TOpenClipboard& operator=(const TOpenClipboard&) = delete;
};

// Global memory until the clipboard takes it over.
struct TGlobalMemoryTraits {
    using TValue = HGLOBAL;
    static TValue Empty() { return nullptr; }
    static bool IsValid(TValue Value) { return Value != nullptr; }
    static void Close(TValue Value) { ::GlobalFree(Value); }
};
using TGlobalMemory = platform::win32::TScoped<TGlobalMemoryTraits>;

class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL Memory) : FMemory(Memory), FData(::GlobalLock(Memory)) {}
    ~TGlobalLock() {
        if (FData != nullptr)
            ::GlobalUnlock(FMemory);
    }
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;
    void* Data() const { return FData; }

private:
    HGLOBAL FMemory;
    void* FData;
};

} // namespace

void WriteClipboardText(HWND Owner, const std::u16string& Text) {
    const SIZE_T bytes = (Text.size() + 1) * sizeof(char16_t);
    TGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        throw std::bad_alloc();
    {
        TGlobalLock lock(memory.Get());
        if (lock.Data() == nullptr)
            throw std::bad_alloc();
        std::memcpy(lock.Data(), Text.c_str(), bytes);
    }
    TOpenClipboard open(Owner);
    ::EmptyClipboard();
    if (::SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr)
        memory.Release(); // the clipboard owns it now
    else
        throw EClipboardException(u"Cannot put text on the clipboard");
}

std::optional<std::u16string> ReadClipboardText(HWND Owner) {
    TOpenClipboard open(Owner);
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr)
        return std::nullopt;
    TGlobalLock lock(data);
    if (lock.Data() == nullptr)
        return std::nullopt;
    // The text ends at its terminator, or at the end of the block when a program left none.
    const auto* text = static_cast<const char16_t*>(lock.Data());
    const std::size_t units = ::GlobalSize(data) / sizeof(char16_t);
    return std::u16string(text, std::find(text, text + units, u'\0'));
}

} // namespace toolkit::win32
