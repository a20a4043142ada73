#include "tools/icongen/Icongen.Ico.h"

#include "tools/icongen/Icongen.Png.h"

#include <cstdint>

namespace icongen {

namespace {

void Put16(std::string& Out, std::uint32_t Value) {
    Out.push_back(static_cast<char>(Value & 0xFF));
    Out.push_back(static_cast<char>((Value >> 8) & 0xFF));
}

void Put32(std::string& Out, std::uint32_t Value) {
    Put16(Out, Value & 0xFFFF);
    Put16(Out, Value >> 16);
}

// BITMAPINFOHEADER (the height counts the colour rows and the mask rows), the colour rows bottom
// first as BGRA, then the 1-bit mask, set where the icon is transparent.
std::string EncodeBitmap(const TImage& Image) {
    const int size = Image.Size;
    const int maskStride = ((size + 31) / 32) * 4;
    std::string out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(size * size * 4 + maskStride * size));
    for (int i = 0; i < 4; ++i) {
        Put32(out, 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            Put32(out, Image.At(x, y)); // 0xAARRGGBB little-endian is B, G, R, A
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(maskStride), '\0');
        for (int x = 0; x < size; ++x) {
            if ((Image.At(x, y) >> 24) < 128) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
            }
        }
        out += row;
    }
    return out;
}

} // namespace

std::string EncodeIco(const std::vector<TImage>& Images) {
    std::vector<std::string> bodies;
    for (const TImage& image : Images) {
        bodies.push_back(image.Size >= 256 ? EncodePng(image) : EncodeBitmap(image));
    }
    std::string out;
    Put16(out, 0);
    Put16(out, 1); // an icon, not a cursor
    Put16(out, static_cast<std::uint32_t>(Images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(Images.size());
    for (std::size_t i = 0; i < Images.size(); ++i) {
        const int size = Images[i].Size;
        out.push_back(static_cast<char>(size >= 256 ? 0 : size)); // 0 stands for 256
        out.push_back(static_cast<char>(size >= 256 ? 0 : size));
        out.push_back(0); // no palette
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 32); // bits per pixel
        Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const std::string& body : bodies) {
        out += body;
    }
    return out;
}

} // namespace icongen
