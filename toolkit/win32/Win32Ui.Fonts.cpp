#include "toolkit/win32/Win32Ui.Fonts.h"

#include "platform/win32/Win32.Text.h"

namespace toolkit::win32 {

static_assert(DefaultCharset == DEFAULT_CHARSET);

HFONT TFontCache::Get(const TFont& Font, int Ppi) {
    const int sourcePpi = Font.PixelsPerInch() > 0 ? Font.PixelsPerInch() : 96;
    const int height = ::MulDiv(Font.Height(), Ppi > 0 ? Ppi : 96, sourcePpi);
    TKey key{Font.Name(), height, Font.Style(), Font.Charset()};
    auto found = FFonts.find(key);
    if (found != FFonts.end())
        return found->second.Get();

    LOGFONTW logFont{};
    logFont.lfHeight = height;
    logFont.lfWeight = (Font.Style() & fsBold) != 0 ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = (Font.Style() & fsItalic) != 0;
    logFont.lfUnderline = (Font.Style() & fsUnderline) != 0;
    logFont.lfStrikeOut = (Font.Style() & fsStrikeOut) != 0;
    logFont.lfCharSet = Font.Charset();
    logFont.lfQuality = DEFAULT_QUALITY;
    // Longer names are cut: LOGFONT holds 31 characters and a terminator.
    platform::win32::CopyToWide(Font.Name(), logFont.lfFaceName);
    TFontHandle created(::CreateFontIndirectW(&logFont));
    HFONT result = created.Get();
    if (result == nullptr)
        return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    FFonts.emplace(std::move(key), std::move(created));
    return result;
}

TTextMetrics MeasureIn(HDC Dc, std::u16string_view Text) {
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(Dc, &metrics);
    SIZE extent{};
    if (!Text.empty())
        ::GetTextExtentPoint32W(Dc, platform::win32::WideUnits(Text), static_cast<int>(Text.size()), &extent);
    return TTextMetrics{static_cast<int>(extent.cx), static_cast<int>(metrics.tmHeight),
                        static_cast<int>(metrics.tmOverhang)};
}

} // namespace toolkit::win32
