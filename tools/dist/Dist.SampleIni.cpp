// Writes Tarvin.sample.ini for the release archive: `tarvin_sample_ini <output file>`.
#include "app/Tarvin.SampleIni.h"
#include "base/Base.Unicode.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvin_sample_ini <output file>\n");
        return 2;
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << base::Utf16ToUtf8(tarvin::SampleIniText());
    file.close();
    if (!file) {
        std::fprintf(stderr, "tarvin_sample_ini: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
