#include "toolkit/win32/Win32Ui.Picture.h"

#include "platform/win32/Win32.Text.h"
#include "toolkit/win32/Win32Ui.Windows.h"

#include <objbase.h>
#include <wincodec.h>

#include <limits>
#include <utility>

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
    if (FAILED(factory->CreateDecoderFromFilename(platform::win32::AsWide(FileName), nullptr, GENERIC_READ,
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

} // namespace toolkit::win32
