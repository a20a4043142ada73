#pragma once
// Fonts, text metrics and the canvas that owner-drawn controls paint on.
#include "toolkit/Toolkit.Types.h"

#include <functional>
#include <string>
#include <string_view>

namespace toolkit {

// Font style bits, as the INI file stores them.
inline constexpr std::uint8_t fsBold = 0x01;
inline constexpr std::uint8_t fsItalic = 0x02;
inline constexpr std::uint8_t fsUnderline = 0x04;
inline constexpr std::uint8_t fsStrikeOut = 0x08;
using TFontStyles = std::uint8_t;

// The character set a font gets unless told otherwise: DEFAULT_CHARSET.
inline constexpr std::uint8_t DefaultCharset = 1;

// Size is in points, Height in pixels at PixelsPerInch (negative: character height, as Windows
// means it); setting one sets the other. OnChange runs after every change of a value.
class TFont {
public:
    const std::u16string& Name() const { return FName; }
    void SetName(const std::u16string& Value);
    int Size() const;
    void SetSize(int Points);
    int Height() const { return FHeight; }
    void SetHeight(int Pixels);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    std::uint8_t Charset() const { return FCharset; }
    void SetCharset(std::uint8_t Value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }

    // Copies name, height, colour, style and character set (one OnChange).
    void Assign(const TFont& Source);
    bool SameAs(const TFont& Other) const;

    std::function<void()> OnChange;

private:
    void Changed();

    std::u16string FName = u"Tahoma";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
    std::uint8_t FCharset = DefaultCharset;
    int FPixelsPerInch = 96;
};

struct TTextMetrics {
    int Width = 0;    // of the measured text
    int Height = 0;   // of one line
    int Overhang = 0; // extra width of synthesized italics or bold
};

// What owner-drawing needs of a device context.
class TCanvas {
public:
    virtual ~TCanvas() = default;
    TFont& Font() { return FFont; }
    TColor BrushColor = clWindow;

    virtual void FillRect(const TRect& Rect) = 0;
    // Text in Font() at (X, Y), clipped to Rect, on a transparent background.
    virtual void TextRect(const TRect& Rect, int X, int Y, std::u16string_view Text) = 0;
    virtual TTextMetrics Measure(std::u16string_view Text) = 0;
    int TextWidth(std::u16string_view Text) { return Measure(Text).Width; }

private:
    TFont FFont;
};

} // namespace toolkit
