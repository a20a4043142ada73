#include "toolkit/win32/Win32Ui.ImagePeer.h"

#include "toolkit/win32/Win32Ui.Backend.h"
#include "toolkit/win32/Win32Ui.Colors.h"

namespace toolkit::win32 {

void TImagePeer::Sync(TChange What) {
    TPaintedPeer::Sync(What);
    if (What != TChange::Bounds && What != TChange::Visible)
        ::InvalidateRect(Window(), nullptr, FALSE);
}

void TImagePeer::Paint(HDC Dc, const RECT& Client) {
    // An image shows its parent's colour around the picture.
    const TColor background = FImage.Parent() != nullptr ? FImage.Parent()->Color() : FImage.Color();
    ::FillRect(Dc, &Client, Backend().Brush(ToColorRef(background, clBtnFace)));
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
    ::StretchDIBits(Dc, dest.Left, dest.Top, dest.Width(), dest.Height(), 0, 0, bitmap.Width, bitmap.Height,
                    bitmap.Pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace toolkit::win32
