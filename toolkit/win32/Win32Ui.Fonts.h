#pragma once
// GDI fonts for toolkit fonts, created once per distinct look and kept while the backend lives:
// controls and canvases share them, and nothing deletes a font a window still uses.
#include "toolkit/Toolkit.Graphics.h"
#include "toolkit/win32/Win32Ui.Handles.h"

#include <map>
#include <string>
#include <tuple>

namespace toolkit::win32 {

class TFontCache {
public:
    // Font drawn at Ppi pixels per inch (its height is scaled from the font's own density).
    HFONT Get(const TFont& Font, int Ppi);

private:
    using TKey = std::tuple<std::u16string, int, TFontStyles, std::uint8_t>;
    std::map<TKey, TFontHandle> FFonts;
};

// TEXTMETRIC and extent of Text in the font selected into Dc.
TTextMetrics MeasureIn(HDC Dc, std::u16string_view Text);

} // namespace toolkit::win32
