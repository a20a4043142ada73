#pragma once
// A Windows icon file holding one image per size: the 256-pixel image as PNG, the smaller ones as
// 32-bit bitmaps with their transparency mask, as Windows' own icons are made.
#include "tools/icongen/Icongen.Glyph.h"

#include <string>
#include <vector>

namespace icongen {

std::string EncodeIco(const std::vector<TImage>& Images);

} // namespace icongen
