#pragma once
// A canvas over a device context someone else owns (the DC of one WM_PAINT).
#include "toolkit/Toolkit.Graphics.h"
#include "toolkit/win32/Win32Ui.Fonts.h"

#include "toolkit/win32/Win32Ui.Windows.h"

namespace toolkit::win32 {

class TDcCanvas final : public TCanvas {
public:
    // Fonts are drawn at Ppi pixels per inch, the density of the monitor the window is on.
    TDcCanvas(HDC Dc, TFontCache& Fonts, int Ppi);

    void FillRect(const TRect& Rect) override;
    void TextRect(const TRect& Rect, int X, int Y, std::u16string_view Text) override;
    TTextMetrics Measure(std::u16string_view Text) override;

private:
    HDC FDc;
    TFontCache& FFonts;
    int FPpi;
};

} // namespace toolkit::win32
