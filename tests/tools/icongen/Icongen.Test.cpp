#include "tools/icongen/Icongen.Deflate.h"
#include "tools/icongen/Icongen.Glyph.h"
#include "tools/icongen/Icongen.Ico.h"
#include "tools/icongen/Icongen.Png.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace icongen {
namespace {

constexpr int IconSizes[] = {16, 20, 24, 32, 40, 48, 256};

std::uint32_t Little32(const std::string& Bytes, std::size_t At) {
    return static_cast<unsigned char>(Bytes[At]) | static_cast<unsigned char>(Bytes[At + 1]) << 8 |
           static_cast<unsigned char>(Bytes[At + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(Bytes[At + 3])) << 24;
}
std::uint32_t Little16(const std::string& Bytes, std::size_t At) {
    return static_cast<unsigned char>(Bytes[At]) | static_cast<unsigned char>(Bytes[At + 1]) << 8;
}
std::uint32_t Big32(const std::string& Bytes, std::size_t At) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(Bytes[At])) << 24 |
           static_cast<unsigned char>(Bytes[At + 1]) << 16 | static_cast<unsigned char>(Bytes[At + 2]) << 8 |
           static_cast<unsigned char>(Bytes[At + 3]);
}

// What makes the glyph read at any size: five whole bars, each separated from the next by at least
// one column of tile, each taller than the one before, inside the tile and clear of its rounded
// corners; the tile's corners transparent and its middle opaque.
TEST(IcongenGlyph, FiveSeparateRisingBarsAtEveryIconSize) {
    for (const int size : IconSizes) {
        SCOPED_TRACE(size);
        const TGlyphLayout layout = LayoutFor(size);
        const TImage image = RenderGlyph(size);
        ASSERT_EQ(image.Pixels.size(), static_cast<std::size_t>(size * size));
        for (int i = 0; i < BarCount; ++i) {
            const TBar& bar = layout.Bars[i];
            EXPECT_GE(bar.Right - bar.Left, 2) << "bar " << i;
            EXPECT_GE(bar.Left, 1);
            EXPECT_LE(bar.Right, size - 1);
            EXPECT_GE(bar.Top, 1);
            EXPECT_LE(bar.Bottom, size - 1);
            if (i > 0) {
                EXPECT_GE(bar.Left - layout.Bars[i - 1].Right, 1) << "a gap before bar " << i;
                EXPECT_LT(bar.Top, layout.Bars[i - 1].Top) << "bar " << i << " rises";
                EXPECT_EQ(bar.Bottom, layout.Bars[i - 1].Bottom) << "one baseline";
            }
            const std::uint32_t colour = i == BarCount - 1 ? TopBarColour : BarColour;
            for (const int x : {bar.Left, bar.Right - 1}) {
                for (const int y : {bar.Top, bar.Bottom - 1}) {
                    EXPECT_EQ(image.At(x, y), colour) << "bar " << i << " at " << x << "," << y;
                }
            }
            if (i > 0) {
                const std::uint32_t gap = image.At(bar.Left - 1, bar.Bottom - 1);
                EXPECT_NE(gap & 0x00FFFFFFu, BarColour & 0x00FFFFFFu) << "the gap shows the tile";
                EXPECT_EQ(gap >> 24, 0xFFu);
            }
        }
        EXPECT_LT(image.At(0, 0) >> 24, 16u) << "round corners";
        EXPECT_LT(image.At(size - 1, size - 1) >> 24, 16u);
        EXPECT_EQ(image.At(size / 2, 0) >> 24, 0xFFu) << "straight edges are opaque";
    }
}

TEST(IcongenChecksums, KnownValues) {
    EXPECT_EQ(Crc32(""), 0u);
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Adler32(""), 1u);
    EXPECT_EQ(Adler32("Wikipedia"), 0x11E60398u);
}

// A decoder of its own reads the PNG back to the very pixels: ImageMagick, which the build machine
// has for the screenshots.
TEST(IcongenPng, DecodesToTheGlyphsPixels) {
    for (const int size : {16, 48, 256}) {
        const TImage image = RenderGlyph(size);
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() / ("icongen-test-" + std::to_string(size) + ".png");
        std::ofstream(file, std::ios::binary) << EncodePng(image);
        const std::string command = "convert '" + file.string() + "' -depth 8 rgba:- 2>/dev/null";
        std::string rgba;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
                rgba.append(buffer, got);
            }
            pclose(pipe);
        }
        std::filesystem::remove(file);
        ASSERT_EQ(rgba.size(), static_cast<std::size_t>(size * size * 4)) << "ImageMagick could not read the PNG";
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const std::size_t at = static_cast<std::size_t>(y * size + x) * 4;
                const std::uint32_t decoded = static_cast<std::uint32_t>(static_cast<unsigned char>(rgba[at + 3])) << 24 |
                                              static_cast<unsigned char>(rgba[at]) << 16 |
                                              static_cast<unsigned char>(rgba[at + 1]) << 8 |
                                              static_cast<unsigned char>(rgba[at + 2]);
                ASSERT_EQ(decoded, image.At(x, y)) << size << " px at " << x << "," << y;
            }
        }
    }
}

TEST(IcongenPng, ChunksAreWellFormedWithValidChecksums) {
    const std::string png = EncodePng(RenderGlyph(48));
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    std::vector<std::string> types;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = Big32(png, at);
        const std::string type = png.substr(at + 4, 4);
        types.push_back(type);
        ASSERT_LE(at + 12 + length, png.size());
        EXPECT_EQ(Big32(png, at + 8 + length), Crc32(png.substr(at + 4, 4 + length))) << type;
        if (type == "IHDR") {
            EXPECT_EQ(Big32(png, at + 8), 48u);
            EXPECT_EQ(Big32(png, at + 12), 48u);
            EXPECT_EQ(png.substr(at + 16, 5), std::string("\x08\x06\x00\x00\x00", 5));
        }
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

TEST(IcongenIco, DirectoryListsEverySizeWithItsOwnImage) {
    std::vector<TImage> images;
    for (const int size : {256, 48, 16}) {
        images.push_back(RenderGlyph(size));
    }
    const std::string ico = EncodeIco(images);
    EXPECT_EQ(Little16(ico, 0), 0u);
    EXPECT_EQ(Little16(ico, 2), 1u);
    ASSERT_EQ(Little16(ico, 4), 3u);
    std::size_t expectedOffset = 6 + 3 * 16;
    for (std::size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE(images[i].Size);
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(static_cast<unsigned char>(ico[entry]), images[i].Size == 256 ? 0 : images[i].Size);
        EXPECT_EQ(Little16(ico, entry + 6), 32u);
        const std::uint32_t bytes = Little32(ico, entry + 8);
        const std::uint32_t offset = Little32(ico, entry + 12);
        EXPECT_EQ(offset, expectedOffset);
        ASSERT_LE(offset + bytes, ico.size());
        if (images[i].Size == 256) {
            EXPECT_EQ(ico.substr(offset, 8), std::string("\x89PNG\r\n\x1A\n", 8));
        } else {
            const int size = images[i].Size;
            EXPECT_EQ(Little32(ico, offset), 40u);
            EXPECT_EQ(Little32(ico, offset + 8), static_cast<std::uint32_t>(2 * size)) << "colour and mask rows";
            const std::uint32_t maskBytes = static_cast<std::uint32_t>(((size + 31) / 32) * 4 * size);
            EXPECT_EQ(bytes, 40u + static_cast<std::uint32_t>(size * size * 4) + maskBytes);
            // The bottom-left pixel comes first and is a transparent corner; its mask bit is set.
            EXPECT_LT(static_cast<unsigned char>(ico[offset + 40 + 3]), 16);
            EXPECT_NE(static_cast<unsigned char>(ico[offset + 40 + size * size * 4]) & 0x80, 0);
        }
        expectedOffset = offset + bytes;
    }
    EXPECT_EQ(expectedOffset, ico.size());
}

} // namespace
} // namespace icongen
