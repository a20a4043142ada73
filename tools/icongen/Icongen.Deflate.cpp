#include "tools/icongen/Icongen.Deflate.h"

#include <zlib.h>

#include <stdexcept>

namespace icongen {

std::string ZlibCompress(std::string_view Data) {
    uLongf size = compressBound(static_cast<uLong>(Data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(Data.data()),
                  static_cast<uLong>(Data.size()), Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("icongen: zlib could not compress the image");
    }
    out.resize(size);
    return out;
}

std::uint32_t Adler32(std::string_view Data) {
    return static_cast<std::uint32_t>(
        adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef*>(Data.data()), static_cast<uInt>(Data.size())));
}

} // namespace icongen
