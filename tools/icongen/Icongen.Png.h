#pragma once
// An image as a PNG file: 8-bit RGBA, every row with the "Sub" filter, one IDAT chunk.
#include "tools/icongen/Icongen.Glyph.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace icongen {

std::string EncodePng(const TImage& Image);

// The CRC-32 of PNG chunks and zip files.
std::uint32_t Crc32(std::string_view Data);

} // namespace icongen
