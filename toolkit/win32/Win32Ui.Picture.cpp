#include "toolkit/win32/Win32Ui.Picture.h"

#include "toolkit/win32/Win32Ui.Handles.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace toolkit::win32 {

namespace {

// One COM reference, released with the object.
template <typename TInterface> class TComRef {
public:
    TComRef() = default;
    ~TComRef() {
        if (FPointer != nullptr)
            FPointer->Release();
    }
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    TInterface* operator->() const { return FPointer; }
    TInterface* Get() const { return FPointer; }
    TInterface** Receive() { return &FPointer; }
    void** ReceiveVoid() { return reinterpret_cast<void**>(&FPointer); }

private:
    TInterface* FPointer = nullptr;
};

// COM on this thread for the scope, when nobody initialised it before; a thread that runs COM in
// another apartment already is used as it is.
class TComScope {
public:
    TComScope() : FResult(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~TComScope() {
        if (SUCCEEDED(FResult))
            ::CoUninitialize();
    }
    TComScope(const TComScope&) = delete;
    TComScope& operator=(const TComScope&) = delete;
    bool Usable() const { return SUCCEEDED(FResult) || FResult == RPC_E_CHANGED_MODE; }

private:
    HRESULT FResult;
};

} // namespace

std::optional<TBitmapData> DecodePicture(const std::u16string& FileName) {
    TComScope com;
    if (!com.Usable())
        return std::nullopt;
    // The COM references are released before COM is (declared after the scope).
    TComRef<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory.ReceiveVoid())))
        return std::nullopt;
    TComRef<IWICBitmapDecoder> decoder;
    const std::wstring name(FileName.begin(), FileName.end());
    if (FAILED(factory->CreateDecoderFromFilename(name.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Receive())))
        return std::nullopt;
    TComRef<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.Receive())))
        return std::nullopt;
    TComRef<IWICBitmapSource> converted;
    if (FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), converted.Receive())))
        return std::nullopt;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converted->GetSize(&width, &height)))
        return std::nullopt;
    // A stride or buffer beyond what CopyPixels can count is no picture this program shows.
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    if (width == 0 || height == 0 || pixels * 4 > std::numeric_limits<UINT>::max())
        return std::nullopt;
    TBitmapData bitmap;
    bitmap.Width = static_cast<int>(width);
    bitmap.Height = static_cast<int>(height);
    bitmap.Pixels.resize(static_cast<std::size_t>(pixels));
    if (FAILED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels * 4),
                                     reinterpret_cast<BYTE*>(bitmap.Pixels.data()))))
        return std::nullopt;
    return bitmap;
}

namespace {

// The bitmap's pixels as 32-bit rows, top row first; nothing when the system cannot give them.
std::optional<std::vector<std::uint32_t>> BitmapRows(HDC Dc, HBITMAP Bitmap, int Width, int Height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height));
    if (::GetDIBits(Dc, Bitmap, 0, static_cast<UINT>(Height), rows.data(), &info, DIB_RGB_COLORS) !=
        Height)
        return std::nullopt;
    return rows;
}

} // namespace

std::optional<TBitmapData> IconPicture(HMODULE Module, int Id, int Size) {
    if (Size <= 0)
        return std::nullopt;
    TIconHandle icon(static_cast<HICON>(
        ::LoadImageW(Module, MAKEINTRESOURCEW(Id), IMAGE_ICON, Size, Size, LR_DEFAULTCOLOR)));
    if (!icon)
        return std::nullopt;
    ICONINFO parts{};
    if (::GetIconInfo(icon.Get(), &parts) == FALSE)
        return std::nullopt;
    // GetIconInfo hands the caller copies of both bitmaps.
    const TBitmapHandle color(parts.hbmColor);
    const TBitmapHandle mask(parts.hbmMask);
    BITMAP shape{};
    if (!color || ::GetObjectW(color.Get(), sizeof shape, &shape) == 0 || shape.bmWidth <= 0 ||
        shape.bmHeight <= 0)
        return std::nullopt;
    const TMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc)
        return std::nullopt;
    auto pixels = BitmapRows(dc.Get(), color.Get(), shape.bmWidth, shape.bmHeight);
    if (!pixels)
        return std::nullopt;
    const bool hasAlpha = std::any_of(pixels->begin(), pixels->end(),
                                      [](std::uint32_t Pixel) { return (Pixel >> 24) != 0; });
    if (!hasAlpha) {
        // The mask is white where the icon is transparent.
        const auto holes = mask ? BitmapRows(dc.Get(), mask.Get(), shape.bmWidth, shape.bmHeight) : std::nullopt;
        for (std::size_t i = 0; i < pixels->size(); ++i) {
            const bool transparent = holes && ((*holes)[i] & 0x00FFFFFFu) != 0;
            (*pixels)[i] = transparent ? 0u : ((*pixels)[i] | 0xFF000000u);
        }
    }
    TBitmapData bitmap;
    bitmap.Width = shape.bmWidth;
    bitmap.Height = shape.bmHeight;
    bitmap.Pixels = std::move(*pixels);
    return bitmap;
}

} // namespace toolkit::win32
