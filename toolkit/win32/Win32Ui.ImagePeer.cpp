#include "toolkit/win32/Win32Ui.ImagePeer.h"

#include "toolkit/win32/Win32Ui.Backend.h"
#include "toolkit/win32/Win32Ui.Colors.h"

#include <algorithm>
#include <vector>

namespace toolkit::win32 {

namespace {

// The picture laid over a solid background: StretchDIBits copies colour only, so the transparent
// parts of a picture (an icon's round corners) would otherwise come out black.
std::vector<std::uint32_t> OverBackground(const TBitmapData& Bitmap, COLORREF Background) {
    const std::uint32_t backRed = GetRValue(Background);
    const std::uint32_t backGreen = GetGValue(Background);
    const std::uint32_t backBlue = GetBValue(Background);
    std::vector<std::uint32_t> pixels(Bitmap.Pixels.size());
    std::transform(Bitmap.Pixels.begin(), Bitmap.Pixels.end(), pixels.begin(), [&](std::uint32_t Pixel) {
        const std::uint32_t alpha = Pixel >> 24;
        const auto mix = [alpha](std::uint32_t Front, std::uint32_t Back) {
            return (Front * alpha + Back * (255 - alpha) + 127) / 255;
        };
        const std::uint32_t blue = mix(Pixel & 0xFF, backBlue);
        const std::uint32_t green = mix((Pixel >> 8) & 0xFF, backGreen);
        const std::uint32_t red = mix((Pixel >> 16) & 0xFF, backRed);
        return 0xFF000000u | (red << 16) | (green << 8) | blue;
    });
    return pixels;
}

} // namespace

void TImagePeer::Sync(TChange What) {
    TPaintedPeer::Sync(What);
    if (What != TChange::Bounds && What != TChange::Visible)
        ::InvalidateRect(Window(), nullptr, FALSE);
}

void TImagePeer::Paint(HDC Dc, const RECT& Client) {
    // An image shows its parent's colour around the picture.
    const TColor background = FImage.Parent() != nullptr ? FImage.Parent()->Color() : FImage.Color();
    const COLORREF backgroundRef = ToColorRef(background, clBtnFace);
    ::FillRect(Dc, &Client, Backend().Brush(backgroundRef));
    const TBitmapData& bitmap = FImage.Picture().Bitmap();
    const TRect dest = FImage.DestRect();
    if (FImage.Picture().Empty() || dest.Width() <= 0 || dest.Height() <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bitmap.Width;
    info.bmiHeader.biHeight = -bitmap.Height; // rows top first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetStretchBltMode(Dc, HALFTONE);
    const std::vector<std::uint32_t> pixels = OverBackground(bitmap, backgroundRef);
    ::StretchDIBits(Dc, dest.Left, dest.Top, dest.Width(), dest.Height(), 0, 0, bitmap.Width, bitmap.Height,
                    pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace toolkit::win32
