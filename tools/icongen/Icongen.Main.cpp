// icongen OUTPUT.ico [--png SIZE OUTPUT.png]
// Writes Tarvin's application icon in the sizes Windows asks for (tray, title bars, Explorer's
// views), and optionally one size as a PNG picture to look at.
#include "tools/icongen/Icongen.Glyph.h"
#include "tools/icongen/Icongen.Ico.h"
#include "tools/icongen/Icongen.Png.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

bool WriteFile(const char* Path, const std::string& Bytes) {
    std::ofstream file(Path, std::ios::binary | std::ios::trunc);
    file.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 5 && std::string(argv[2]) == "--png")) {
        std::fprintf(stderr, "usage: icongen OUTPUT.ico [--png SIZE OUTPUT.png]\n");
        return 2;
    }
    std::vector<icongen::TImage> images;
    for (const int size : {256, 48, 40, 32, 24, 20, 16}) {
        images.push_back(icongen::RenderGlyph(size));
    }
    if (!WriteFile(argv[1], icongen::EncodeIco(images))) {
        std::fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
        return 1;
    }
    if (argc == 5) {
        const int size = std::stoi(argv[3]);
        if (size < 1 || size > 1024 || !WriteFile(argv[4], icongen::EncodePng(icongen::RenderGlyph(size)))) {
            std::fprintf(stderr, "icongen: cannot write %s at size %s\n", argv[4], argv[3]);
            return 1;
        }
    }
    return 0;
}
