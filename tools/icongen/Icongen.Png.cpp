#include "tools/icongen/Icongen.Png.h"

#include "tools/icongen/Icongen.Deflate.h"

#include <array>

#include <zlib.h>

namespace icongen {

namespace {

void PutBigEndian(std::string& Out, std::uint32_t Value) {
    for (const int shift : {24, 16, 8, 0}) {
        Out.push_back(static_cast<char>((Value >> shift) & 0xFF));
    }
}

void PutChunk(std::string& Out, std::string_view Type, std::string_view Data) {
    PutBigEndian(Out, static_cast<std::uint32_t>(Data.size()));
    std::string typed(Type);
    typed += Data;
    Out += typed;
    PutBigEndian(Out, Crc32(typed));
}

} // namespace

std::uint32_t Crc32(std::string_view Data) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(Data.data()), static_cast<uInt>(Data.size())));
}

std::string EncodePng(const TImage& Image) {
    std::string rows;
    rows.reserve(static_cast<std::size_t>(Image.Size) * (Image.Size * 4 + 1));
    for (int y = 0; y < Image.Size; ++y) {
        rows.push_back(1); // Sub: each byte less the one four bytes (a pixel) before it
        std::array<unsigned char, 4> left{};
        for (int x = 0; x < Image.Size; ++x) {
            const std::uint32_t pixel = Image.At(x, y);
            const std::array<unsigned char, 4> rgba = {static_cast<unsigned char>(pixel >> 16),
                                                       static_cast<unsigned char>(pixel >> 8),
                                                       static_cast<unsigned char>(pixel),
                                                       static_cast<unsigned char>(pixel >> 24)};
            for (int i = 0; i < 4; ++i) {
                rows.push_back(static_cast<char>(static_cast<unsigned char>(rgba[i] - left[i])));
            }
            left = rgba;
        }
    }
    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(Image.Size));
    PutBigEndian(header, static_cast<std::uint32_t>(Image.Size));
    header += std::string("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, adaptive, no interlace

    std::string png = "\x89PNG\r\n\x1A\n";
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibCompress(rows));
    PutChunk(png, "IEND", "");
    return png;
}

} // namespace icongen
