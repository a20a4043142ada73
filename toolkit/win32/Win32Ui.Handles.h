#pragma once
// Owning wrappers for the user-interface resources of Win32: GDI objects, menus, icons, windows
// and device contexts. Each releases its resource on every path, moves and cannot be copied.
#include "platform/win32/Win32.Handles.h"
#include "toolkit/win32/Win32Ui.Windows.h"

namespace toolkit::win32 {

using platform::win32::TScoped;

// Fonts, brushes, bitmaps and pens: anything DeleteObject frees.
template <typename THandle> struct TGdiObjectTraits {
    using TValue = THandle;
    static TValue Empty() { return nullptr; }
    static bool IsValid(TValue Value) { return Value != nullptr; }
    static void Close(TValue Value) { ::DeleteObject(Value); }
};
using TFontHandle = TScoped<TGdiObjectTraits<HFONT>>;
using TBrushHandle = TScoped<TGdiObjectTraits<HBRUSH>>;
using TBitmapHandle = TScoped<TGdiObjectTraits<HBITMAP>>;

struct TMenuHandleTraits {
    using TValue = HMENU;
    static TValue Empty() { return nullptr; }
    static bool IsValid(TValue Value) { return Value != nullptr; }
    static void Close(TValue Value) { ::DestroyMenu(Value); }
};
using TMenuHandle = TScoped<TMenuHandleTraits>;

struct TIconHandleTraits {
    using TValue = HICON;
    static TValue Empty() { return nullptr; }
    static bool IsValid(TValue Value) { return Value != nullptr; }
    static void Close(TValue Value) { ::DestroyIcon(Value); }
};
using TIconHandle = TScoped<TIconHandleTraits>;

// A window this program created. A window destroyed by its parent first is only forgotten.
struct TWindowTraits {
    using TValue = HWND;
    static TValue Empty() { return nullptr; }
    static bool IsValid(TValue Value) { return Value != nullptr; }
    static void Close(TValue Value) {
        if (::IsWindow(Value))
            ::DestroyWindow(Value);
    }
};
using TOwnedWindow = TScoped<TWindowTraits>;

// A memory device context from CreateCompatibleDC.
struct TMemoryDcTraits {
    using TValue = HDC;
    static TValue Empty() { return nullptr; }
    static bool IsValid(TValue Value) { return Value != nullptr; }
    static void Close(TValue Value) { ::DeleteDC(Value); }
};
using TMemoryDc = TScoped<TMemoryDcTraits>;

// The device context of a window's client area, from GetDC.
class TWindowDc {
public:
    explicit TWindowDc(HWND Window) : FWindow(Window), FDc(::GetDC(Window)) {}
    ~TWindowDc() {
        if (FDc != nullptr)
            ::ReleaseDC(FWindow, FDc);
    }
    TWindowDc(const TWindowDc&) = delete;
    TWindowDc& operator=(const TWindowDc&) = delete;
    HDC Get() const { return FDc; }

private:
    HWND FWindow;
    HDC FDc;
};

// BeginPaint ... EndPaint around one WM_PAINT.
class TPaintDc {
public:
    explicit TPaintDc(HWND Window) : FWindow(Window) { ::BeginPaint(Window, &FPaint); }
    ~TPaintDc() { ::EndPaint(FWindow, &FPaint); }
    TPaintDc(const TPaintDc&) = delete;
    TPaintDc& operator=(const TPaintDc&) = delete;
    HDC Get() const { return FPaint.hdc; }
    const RECT& Area() const { return FPaint.rcPaint; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
};

// Selects a GDI object into a device context and puts the previous one back.
class TSelection {
public:
    TSelection(HDC Dc, HGDIOBJ Object) : FDc(Dc), FPrevious(::SelectObject(Dc, Object)) {}
    ~TSelection() {
        if (FPrevious != nullptr && FPrevious != HGDI_ERROR)
            ::SelectObject(FDc, FPrevious);
    }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;

private:
    HDC FDc;
    HGDIOBJ FPrevious;
};

} // namespace toolkit::win32
