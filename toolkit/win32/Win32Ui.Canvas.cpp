#include "toolkit/win32/Win32Ui.Canvas.h"

#include "platform/win32/Win32.Text.h"
#include "toolkit/win32/Win32Ui.Colors.h"
#include "toolkit/win32/Win32Ui.Handles.h"

namespace toolkit::win32 {

TDcCanvas::TDcCanvas(HDC Dc, TFontCache& Fonts, int Ppi) : FDc(Dc), FFonts(Fonts), FPpi(Ppi) {}

void TDcCanvas::FillRect(const TRect& Rect) {
    const RECT area{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    TBrushHandle brush(::CreateSolidBrush(ToColorRef(BrushColor)));
    if (brush)
        ::FillRect(FDc, &area, brush.Get());
}

void TDcCanvas::TextRect(const TRect& Rect, int X, int Y, std::u16string_view Text) {
    const RECT clip{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    TSelection font(FDc, FFonts.Get(Font(), FPpi));
    const int oldMode = ::SetBkMode(FDc, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(FDc, ToColorRef(Font().Color(), clWindowText));
    ::ExtTextOutW(FDc, X, Y, ETO_CLIPPED, &clip, platform::win32::WideUnits(Text),
                  static_cast<UINT>(Text.size()), nullptr);
    ::SetTextColor(FDc, oldColor);
    ::SetBkMode(FDc, oldMode);
}

TTextMetrics TDcCanvas::Measure(std::u16string_view Text) {
    TSelection font(FDc, FFonts.Get(Font(), FPpi));
    return MeasureIn(FDc, Text);
}

} // namespace toolkit::win32
